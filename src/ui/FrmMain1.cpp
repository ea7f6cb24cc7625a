#include "FrmMain1.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QShortcutEvent>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>

#include "AboutDlg.h"
#include "CheckMarkAccessible.h"
#include "GroupBoxStyle.h"
#include "KsCheckLst.h"
#include "LengthOptions.h"
#include "LexigroveApp.h"
#include "ProgramInfo.h"
#include "ScreenReader.h"
#include "SearchEdit.h"
#include "SearchCommand.h"
#include "WindowPlacement.h"

using lexigrove::Dispatch;
using lexigrove::LexigroveApp;

namespace {

constexpr int kClientWidth = 316;
constexpr int kClientHeight = 400;
const char* const kTagProperty = "Tag";

QFont EntryFont() {
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(13);
    return font;
}

void PaintBlueOnWhite(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, QColor(0, 0, 255));
    widget->setPalette(palette);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, QRect geometry, int tag,
                        Qt::FocusPolicy focus) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setProperty(kTagProperty, tag);
    button->setFocusPolicy(focus);
    return button;
}

QGroupBox* MakeGroupBox(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* box = new QGroupBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    return box;
}

}  // namespace

TFrmMain::TFrmMain(QWidget* parent, lexigrove::WordListCache::ListLoader loader)
    : QMainWindow(parent), cache_(std::move(loader)) {
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QString::fromLatin1(lexigrove::kProgramCaption));
    // A fixed frame: title bar, system menu, minimise and close, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(LexigroveApp::Icon());
    setFont(LexigroveApp::WindowFont());

    CreateControls();
    CreateMenus();
    surface_ = std::make_unique<lexigrove::MainWindowSurface>(
        lexigrove::MainWindowControls{this, tSearch, Clear1, mResults, pbar1, cOpt, {b1, b2, b3}});
    lexigrove::SetUpLengthOptions(*cOpt);
    SetTabOrder();
    SetAccessibleNames();
    WireHandlers();
    CreateShortcuts();
    SetToolTips();
    lexigrove::WhileScreenReaderRuns(this, [this](bool running) { SetTabStops(running); });
    lexigrove::TellFocusedRowOnEntry(cOpt);

    // The client area below the menu bar is fixed; the window takes its
    // size from it and the menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    layout()->activate();
    tSearch->setFocus();
}

TFrmMain::~TFrmMain() { FormDestroy(this); }

void TFrmMain::CreateControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    // Creation order is stacking order, later ones on top.
    GroupBox1 = MakeGroupBox(client, "GroupBox1", "Results", {8, 220, 301, 173});
    mResults = new QPlainTextEdit(GroupBox1);
    mResults->setObjectName(QStringLiteral("mResults"));
    lexigrove::LayOutLongLinesInLinearTime(*mResults);
    mResults->setGeometry(8, 16, 282, 123);
    mResults->setFont(EntryFont());
    PaintBlueOnWhite(mResults);
    mResults->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    mResults->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mResults->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mResults->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    mResults->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    mResults->setTabChangesFocus(true);
    mResults->setFocusPolicy(Qt::ClickFocus);
    bClear = MakeButton(GroupBox1, "bClear", "Clear text", {190, 142, 101, 25}, 0, Qt::ClickFocus);
    pbar1 = new QProgressBar(GroupBox1);
    pbar1->setObjectName(QStringLiteral("pbar1"));
    pbar1->setGeometry(8, 145, 175, 18);
    pbar1->setOrientation(Qt::Horizontal);
    pbar1->setTextVisible(false);
    pbar1->setFocusPolicy(Qt::NoFocus);

    GroupBox2 = MakeGroupBox(client, "GroupBox2", "Enter your text", {8, 2, 301, 83});
    Image1 = new QLabel(GroupBox2);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(234, 9, 62, 31);
    Image1->setPixmap(LexigroveApp::DonateBadge(devicePixelRatioF()));
    Image1->setCursor(Qt::PointingHandCursor);
    tSearch = new lexigrove::SearchEdit(GroupBox2);
    tSearch->setObjectName(QStringLiteral("tSearch"));
    tSearch->setGeometry(9, 18, 218, 21);
    tSearch->setFont(EntryFont());
    PaintBlueOnWhite(tSearch);
    tSearch->setFocusPolicy(Qt::StrongFocus);
    b1 = MakeButton(GroupBox2, "b1", "&Unscramble", {21, 47, 75, 25}, lexigrove::kUnscramble, Qt::StrongFocus);
    b2 = MakeButton(GroupBox2, "b2", "&Wild", {106, 47, 75, 25}, lexigrove::kWild, Qt::StrongFocus);
    b3 = MakeButton(GroupBox2, "b3", "&Exact", {189, 47, 75, 25}, lexigrove::kExact, Qt::StrongFocus);

    GroupBox3 = MakeGroupBox(client, "GroupBox3", "Word length matches (Unscramble)", {8, 89, 301, 128});
    cOpt = new TKsCheckListBox(GroupBox3);
    cOpt->setObjectName(QStringLiteral("cOpt"));
    cOpt->setGeometry(6, 16, 289, 81);
    bUncheck = MakeButton(GroupBox3, "bUncheck", "Uncheck All", {157, 97, 75, 25}, 0, Qt::ClickFocus);
    bCheck = MakeButton(GroupBox3, "bCheck", "Check All", {68, 97, 75, 25}, 1, Qt::ClickFocus);

    auto* frameStyle = new lexigrove::CaptionOnFrameStyle;
    frameStyle->setParent(this);
    for (QGroupBox* box : {GroupBox1, GroupBox2, GroupBox3}) box->setStyle(frameStyle);
}

void TFrmMain::CreateMenus() {
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(MainMenu1);

    Search1 = MainMenu1->addMenu(QStringLiteral("&File"));
    Search1->setObjectName(QStringLiteral("Search1"));
    mClear = Search1->addAction(QStringLiteral("&Clear"));
    N1 = Search1->addSeparator();
    mExit = Search1->addAction(QStringLiteral("E&xit"));

    options1 = MainMenu1->addMenu(QStringLiteral("&Options"));
    options1->setObjectName(QStringLiteral("options1"));
    mnuTop = options1->addAction(QStringLiteral("&Always on Top"));
    mnuTop->setCheckable(true);
    // A Wayland client cannot keep its window above the others; the item
    // stays, and says so.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        const QString limit =
            QStringLiteral("Wayland lets no program keep its window on top; your desktop's window menu may offer it");
        mnuTop->setToolTip(limit);
        mnuTop->setStatusTip(limit);
        options1->setToolTipsVisible(true);
    }
    // Its mark, which the item flips itself, is the option: the searches
    // read it.
    Clear1 = options1->addAction(QStringLiteral("&Clear results before Find"));
    Clear1->setCheckable(true);
    lexigrove::AnnounceCheckMark(mnuTop);
    lexigrove::AnnounceCheckMark(Clear1);

    // A command of its own on the menu bar, with no menu under it.
    Lists1 = MainMenu1->addAction(QStringLiteral("&About"));

    mClear->setObjectName(QStringLiteral("mClear"));
    N1->setObjectName(QStringLiteral("N1"));
    mExit->setObjectName(QStringLiteral("mExit"));
    mnuTop->setObjectName(QStringLiteral("mnuTop"));
    Clear1->setObjectName(QStringLiteral("Clear1"));
    Lists1->setObjectName(QStringLiteral("Lists1"));
}

void TFrmMain::SetTabOrder() {
    // Only the edit box and the three search buttons are tab stops; while a
    // screen reader runs, the controls after them are too (SetTabStops).
    QWidget* const order[] = {tSearch, b1, b2, b3, cOpt, bCheck, bUncheck, mResults, bClear};
    for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void TFrmMain::SetTabStops(bool screenReader) {
    for (QWidget* control : std::initializer_list<QWidget*>{cOpt, bCheck, bUncheck, mResults, bClear})
        control->setFocusPolicy(screenReader ? Qt::StrongFocus : Qt::ClickFocus);
}

void TFrmMain::CreateShortcuts() {
    // Keys for the controls that Tab passes by; Alt and a letter of the
    // control's caption, clear of the search buttons' Alt+U, Alt+W and
    // Alt+E and the menu bar's Alt+F, Alt+O and Alt+A. The tooltips, the
    // README and the manual page list them.
    const std::pair<QKeyCombination, std::function<void()>> keys[] = {
        // The lengths, with a row chosen so that Space ticks at once.
        {Qt::ALT | Qt::Key_L,
         [this] {
             if (cOpt->ItemIndex() < 0) cOpt->SetItemIndex(0);
             cOpt->setFocus(Qt::ShortcutFocusReason);
         }},
        {Qt::ALT | Qt::Key_K, [this] { bCheck->click(); }},
        {Qt::ALT | Qt::Key_N, [this] { bUncheck->click(); }},
        {Qt::ALT | Qt::Key_T, [this] { bClear->click(); }},
        {Qt::ALT | Qt::Key_R, [this] { mResults->setFocus(Qt::ShortcutFocusReason); }},
    };
    for (const auto& [key, run] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, run);
    }
}

void TFrmMain::SetToolTips() {
    // Short lines: a tooltip does not wrap its text.
    const std::pair<QWidget*, const char*> tips[] = {
        {tSearch, "Letters to unscramble, or a pattern with a question mark\nfor any letter; Enter runs Unscramble"},
        {b1,
         "Lists the words these letters spell, in the lengths ticked below;\n"
         "none is ticked at start: Alt+L goes to them, Space ticks one (Alt+U)"},
        {b2, "Lists the words that match the pattern,\na question mark for any letter (Alt+W)"},
        {b3, "Tells whether the word is in the list (Alt+E)"},
        {cOpt, "The word lengths that Unscramble lists, none ticked at start:\narrow keys move, Space ticks (Alt+L)"},
        {bCheck, "Ticks every word length (Alt+K)"},
        {bUncheck, "Unticks every word length (Alt+N)"},
        {bClear, "Empties the results and the edit box (Alt+T)"},
        {mResults, "The words found; select them and copy with Ctrl+C (Alt+R)"},
    };
    for (const auto& [control, tip] : tips) control->setToolTip(QString::fromLatin1(tip));
}

void TFrmMain::SetAccessibleNames() {
    // What a screen reader announces for each control.
    const std::pair<QWidget*, const char*> names[] = {
        {GroupBox1, "Results"},
        {mResults, "Results"},
        {bClear, "Clear text"},
        {pbar1, "Search progress"},
        {GroupBox2, "Enter your text"},
        {Image1, "Donate"},
        {tSearch, "Letters or pattern"},
        {b1, "Unscramble"},
        {b2, "Wild"},
        {b3, "Exact"},
        {GroupBox3, "Word length matches (Unscramble)"},
        {cOpt, "Word lengths"},
        {bUncheck, "Uncheck All"},
        {bCheck, "Check All"},
        {MainMenu1, "Menu"},
    };
    for (const auto& [control, name] : names) control->setAccessibleName(QString::fromLatin1(name));
    // Their tooltips describe them (SetToolTips).
}

void TFrmMain::WireHandlers() {
    for (QPushButton* button : {b1, b2, b3}) {
        connect(button, &QPushButton::clicked, this, [this, button] { Dispatch([&] { bFindClick(button); }); });
        button->installEventFilter(this);
    }
    for (QPushButton* button : {bCheck, bUncheck}) {
        connect(button, &QPushButton::clicked, this, [this, button] { Dispatch([&] { bCheckToggleClick(button); }); });
        button->installEventFilter(this);
    }
    bClear->installEventFilter(this);
    connect(bClear, &QPushButton::clicked, this, [this] { Dispatch([&] { bClearClick(bClear); }); });
    connect(mClear, &QAction::triggered, this, [this] { Dispatch([&] { bClearClick(mClear); }); });
    connect(mExit, &QAction::triggered, this, [this] { Dispatch([&] { mExitClick(mExit); }); });
    connect(Lists1, &QAction::triggered, this, [this] { Dispatch([&] { Lists1Click(Lists1); }); });

    // The item has flipped its own mark by the time it reports the trigger.
    connect(mnuTop, &QAction::triggered, this, [this] { Dispatch([&] { mnuTopClick(mnuTop); }); });

    tSearch->installEventFilter(this);
}

bool TFrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tSearch && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        QString typed = key->text();
        if (typed.isEmpty() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
            typed = QStringLiteral("\r");
        for (const QChar character : typed) Dispatch([&] { tSearchKeyPress(tSearch, character); });
        return false;  // the edit box goes on with the key as usual
    }
    if (event->type() == QEvent::KeyPress && (watched == b1 || watched == b2 || watched == b3 || watched == bCheck ||
                                              watched == bUncheck || watched == bClear)) {
        // Enter presses the focused button, as Space does.
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            static_cast<QPushButton*>(watched)->click();
            return true;
        }
    }
    if (event->type() == QEvent::Shortcut && (watched == b1 || watched == b2 || watched == b3)) {
        // Alt+U, Alt+W and Alt+E press the button without taking the focus
        // from where the user is typing.
        if (!static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
            static_cast<QPushButton*>(watched)->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

int TFrmMain::Tag(const QObject* control) { return control != nullptr ? control->property(kTagProperty).toInt() : 0; }

// Handlers

void TFrmMain::bFindClick(QObject* Sender) {
    surface_->Results().ForgetDeferredError();
    surface_->StartTally();
    lexigrove::bFindClick(*surface_, cache_, Tag(Sender));
    surface_->Results().RaiseDeferredError();
    AnnounceOutcome(Sender);
}

void TFrmMain::AnnounceOutcome(QObject* Sender) {
    const lexigrove::MainWindowSurface::Tally& tally = surface_->SearchTally();
    // The message box speaks for itself.
    if (tally.message) return;
    const int mode = Tag(Sender);
    QString said;
    if (mode == lexigrove::kExact && tally.lines > 0)
        said = QString::fromStdString(tally.last);
    else if (tally.lines == 0)
        said = QStringLiteral("No words found");
    else
        said = tally.lines == 1 ? QStringLiteral("1 word found") : QStringLiteral("%1 words found").arg(tally.lines);
    bool anyLength = false;
    for (int i = 0; i < cOpt->count(); ++i) anyLength = anyLength || cOpt->GetChecked(i);
    if (mode == lexigrove::kUnscramble && !anyLength)
        said += QStringLiteral(": no word length is ticked; Alt+L goes to them");
    lexigrove::Announce(qobject_cast<QWidget*>(Sender), said);
}

void TFrmMain::tSearchKeyPress(QObject* /*Sender*/, QChar Key) {
    if (Key == QLatin1Char('\r')) bFindClick(b1);
}

void TFrmMain::bCheckToggleClick(QObject* Sender) {
    const bool checked = Tag(Sender) == 1;
    for (int i = 0; i < cOpt->count(); ++i) cOpt->SetChecked(i, checked);
    lexigrove::Announce(qobject_cast<QWidget*>(Sender),
                        checked ? QStringLiteral("Every word length ticked") : QStringLiteral("No word length ticked"));
}

void TFrmMain::bClearClick(QObject* Sender) {
    surface_->ResultsClear();
    tSearch->setText(QString());
    lexigrove::Announce(qobject_cast<QWidget*>(Sender), QStringLiteral("Results and text cleared"));
}

void TFrmMain::mExitClick(QObject* /*Sender*/) { close(); }

void TFrmMain::mnuTopClick(QObject* /*Sender*/) {
    const bool onTop = mnuTop->isChecked();

    const bool wasVisible = isVisible();
    const bool wasActive = isActiveWindow();
    const QPoint where = pos();
    // Changing the stacking rebuilds the window, which hides it.
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);

    ShowControlsAsRebuilt();

    if (wasVisible) {
        move(where);
        show();
        if (wasActive) activateWindow();
    }
}

void TFrmMain::Lists1Click(QObject* /*Sender*/) {
    FrmAbout = new TFrmAbout(this);
    lexigrove::PlaceAboutWindow(*this, *FrmAbout);
    FrmAbout->exec();
    // Destroying the window empties the reference, which is also how it
    // reads should the window already be gone.
    delete FrmAbout;
    FrmAbout = nullptr;
}

void TFrmMain::ShowControlsAsRebuilt() {
    // The controls come back as a rebuilt window shows them: texts, marks,
    // the bar's range and the option states are kept, the option list
    // selects its first row, the bar stands at 0 and the pane shows its
    // first line.
    cOpt->RecreateWindow();
    surface_->ProgressSetPosition(0);
    surface_->Results().Flush();
    mResults->setTextCursor(QTextCursor(mResults->document()));
    mResults->verticalScrollBar()->setValue(0);
}

void TFrmMain::FormDestroy(QObject* /*Sender*/) { cache_.Release(); }
