#include "FrmMain1.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcutEvent>
#include <QStyleOptionGroupBox>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QValidator>
#include <qdrawutil.h>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "AboutDlg.h"
#include "CheckMarkAccessible.h"
#include "KsCheckLst.h"
#include "LengthOptions.h"
#include "LexigroveApp.h"
#include "ProgramInfo.h"
#include "SearchCommand.h"
#include "WindowFrame.h"

using lexigrove::Dispatch;
using lexigrove::LexigroveApp;

namespace {

constexpr int kClientWidth = 316;
constexpr int kClientHeight = 400;
// How long a window manager may take to frame a window just shown, in ms.
constexpr int kFrameWait = 3000;
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

QString FromBytes(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
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

// Places a top-level widget of outer size `outer` in the middle of `screen`,
// never past its top or left edge.
QPoint CentredOn(const QScreen* screen, QSize outer) {
    const QRect area = screen->geometry();
    return {area.x() + std::max(0, (area.width() - outer.width()) / 2),
            area.y() + std::max(0, (area.height() - outer.height()) / 2)};
}

// Group boxes with the caption on the frame: the frame's top edge runs
// through the middle of the caption, which stands in a gap of the line, so
// the frame stays clear of the controls inside.
class CaptionOnFrameStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || box == nullptr) return QProxyStyle::subControlRect(control, option, part, widget);
        const int captionHeight = box->fontMetrics.height();
        switch (part) {
            case SC_GroupBoxFrame:
                return box->rect.adjusted(0, captionHeight / 2, 0, 0);
            case SC_GroupBoxLabel: {
                const int textWidth = box->fontMetrics.size(Qt::TextShowMnemonic, box->text).width();
                return {box->rect.left() + kCaptionLeft, box->rect.top(), textWidth + 2 * kCaptionPadding,
                        captionHeight};
            }
            case SC_GroupBoxContents:
                return box->rect.adjusted(2, captionHeight, -2, -2);
            default:
                return QProxyStyle::subControlRect(control, option, part, widget);
        }
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || box == nullptr) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QRect caption = subControlRect(control, option, SC_GroupBoxLabel, widget);
        if (box->subControls & SC_GroupBoxFrame) {
            painter->save();
            QRegion outside(box->rect);
            if (!box->text.isEmpty()) outside -= caption;
            painter->setClipRegion(outside, Qt::IntersectClip);
            // An etched line: a shadow line with a light one beside it.
            qDrawShadeRect(painter, subControlRect(control, option, SC_GroupBoxFrame, widget), box->palette, true, 1);
            painter->restore();
        }
        if ((box->subControls & SC_GroupBoxLabel) && !box->text.isEmpty()) {
            int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
            if (!styleHint(SH_UnderlineShortcut, option, widget)) flags |= Qt::TextHideMnemonic;
            drawItemText(painter, caption.adjusted(kCaptionPadding, 0, -kCaptionPadding, 0), flags, box->palette,
                         (box->state & State_Enabled) != 0, box->text, QPalette::WindowText);
        }
    }

private:
    static constexpr int kCaptionLeft = 6;
    static constexpr int kCaptionPadding = 2;
};

// A single-line edit box keeps of a paste only what comes before its first
// line break. The text already held has none, so the first line break lies
// in what was just put in, which ends at the caret.
class FirstLineOfInsertion : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& caret) const override {
        for (qsizetype lineBreak = FirstLineBreak(input); lineBreak >= 0; lineBreak = FirstLineBreak(input)) {
            const qsizetype insertionEnd = std::max<qsizetype>(caret, lineBreak + 1);
            input.remove(lineBreak, insertionEnd - lineBreak);
            caret = static_cast<int>(lineBreak);
        }
        return Acceptable;
    }

private:
    static qsizetype FirstLineBreak(const QString& text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            if (c == u'\r' || c == u'\n' || c == u'\u2028' || c == u'\u2029') return i;
        }
        return -1;
    }
};

// Places a top-level widget so that its outer rectangle, with a frame of
// `frame` around the client area, starts at `outer`. Before the native window
// exists QWidget::move places the frame; afterwards, until the window
// manager has framed the window, it places the client area.
void PlaceOuterAt(QWidget* window, QPoint outer, const QMargins& frame) {
    if (window->testAttribute(Qt::WA_WState_Created)) outer += QPoint(frame.left(), frame.top());
    window->move(outer);
}

// How long the windows wait for the window manager to tell their frame
// before they are first shown, in ms.
constexpr int kFrameAnswerWait = 250;

// The search command's message box stands in the middle of the screen, not
// over the window.
class ScreenCentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        if (screen != nullptr) move(CentredOn(screen, frameGeometry().size()));
    }
};

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
    lexigrove::SetUpLengthOptions(*cOpt);
    SetTabOrder();
    SetAccessibleNames();
    WireHandlers();

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
    results_ = std::make_unique<lexigrove::ResultsLog>(mResults);
    bClear = MakeButton(GroupBox1, "bClear", "Clear text", {190, 142, 101, 25}, 0, Qt::ClickFocus);
    pbar1 = new QProgressBar(GroupBox1);
    pbar1->setObjectName(QStringLiteral("pbar1"));
    pbar1->setGeometry(8, 145, 175, 18);
    pbar1->setOrientation(Qt::Horizontal);
    pbar1->setTextVisible(false);
    pbar1->setFocusPolicy(Qt::NoFocus);
    ShowProgress();

    GroupBox2 = MakeGroupBox(client, "GroupBox2", "Enter your text", {8, 2, 301, 83});
    Image1 = new QLabel(GroupBox2);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(234, 9, 62, 31);
    Image1->setPixmap(LexigroveApp::DonateBadge(devicePixelRatioF()));
    Image1->setCursor(Qt::PointingHandCursor);
    tSearch = new QLineEdit(GroupBox2);
    tSearch->setObjectName(QStringLiteral("tSearch"));
    tSearch->setGeometry(9, 18, 218, 21);
    tSearch->setFont(EntryFont());
    PaintBlueOnWhite(tSearch);
    tSearch->setMaxLength(std::numeric_limits<int>::max());
    tSearch->setValidator(new FirstLineOfInsertion(tSearch));
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

    auto* frameStyle = new CaptionOnFrameStyle;
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
    Clear1 = options1->addAction(QStringLiteral("&Clear results before Find"));
    Clear1->setCheckable(true);
    lexigrove::ReportCheckMark(mnuTop);
    lexigrove::ReportCheckMark(Clear1);

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
    // Only the edit box and the three search buttons are tab stops.
    QWidget::setTabOrder(tSearch, b1);
    QWidget::setTabOrder(b1, b2);
    QWidget::setTabOrder(b2, b3);
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
    tSearch->setAccessibleDescription(
        QStringLiteral("Letters to unscramble, or a pattern with a question mark for any letter"));
    cOpt->setAccessibleDescription(QStringLiteral("The word lengths that Unscramble lists"));
}

void TFrmMain::WireHandlers() {
    for (QPushButton* button : {b1, b2, b3}) {
        connect(button, &QPushButton::clicked, this, [this, button] { Dispatch([&] { bFindClick(button); }); });
        button->installEventFilter(this);
    }
    for (QPushButton* button : {bCheck, bUncheck})
        connect(button, &QPushButton::clicked, this, [this, button] { Dispatch([&] { bCheckToggleClick(button); }); });
    connect(bClear, &QPushButton::clicked, this, [this] { Dispatch([&] { bClearClick(bClear); }); });
    connect(mClear, &QAction::triggered, this, [this] { Dispatch([&] { bClearClick(mClear); }); });
    connect(mExit, &QAction::triggered, this, [this] { Dispatch([&] { mExitClick(mExit); }); });
    connect(Lists1, &QAction::triggered, this, [this] { Dispatch([&] { Lists1Click(Lists1); }); });

    // A checkable action flips its own mark before it reports the trigger;
    // the mark is put back so that the handler alone decides it.
    connect(mnuTop, &QAction::triggered, this, [this](bool checked) {
        mnuTop->setChecked(!checked);
        Dispatch([&] { mnuTopClick(mnuTop); });
    });
    connect(Clear1, &QAction::triggered, this, [this](bool checked) {
        Clear1->setChecked(!checked);
        Dispatch([&] { Clear1Click(Clear1); });
    });

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
    if (event->type() == QEvent::KeyPress && (watched == b1 || watched == b2 || watched == b3)) {
        // Enter presses the focused search button, as Space does.
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

void TFrmMain::CentreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    move(CentredOn(screen, frameGeometry().size()));
}

void TFrmMain::ShowCentred() {
    // Where the window manager tells the frame beforehand, the window shows
    // in its place at once.
    const QMargins frame = lexigrove::AskFrameExtents(this, kFrameAnswerWait).value_or(QMargins());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        PlaceOuterAt(this, CentredOn(screen, size().grownBy(frame)), frame);
    centringWithFrame_ = true;
    show();
    // Without a window manager no frame comes; the window stays where it is.
    QTimer::singleShot(kFrameWait, this, [this] { centringWithFrame_ = false; });
}

bool TFrmMain::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    // Qt learns the frame from the window manager's reparenting and frame
    // extents, and reports it with the move or resize that follows, which
    // comes before the window is first painted when the window manager
    // tells the extents early.
    if (centringWithFrame_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
        frameGeometry().size() != size()) {
        centringWithFrame_ = false;
        CentreOnScreen();
    }
    return handled;
}

// Handlers

void TFrmMain::bFindClick(QObject* Sender) {
    results_->ForgetDeferredError();
    lexigrove::bFindClick(*this, cache_, Tag(Sender));
    results_->RaiseDeferredError();
}

void TFrmMain::tSearchKeyPress(QObject* /*Sender*/, QChar Key) {
    if (Key == QLatin1Char('\r')) bFindClick(b1);
}

void TFrmMain::bCheckToggleClick(QObject* Sender) {
    const bool checked = Tag(Sender) == 1;
    for (int i = 0; i < cOpt->count(); ++i) cOpt->SetChecked(i, checked);
}

void TFrmMain::bClearClick(QObject* /*Sender*/) {
    ResultsClear();
    tSearch->setText(QString());
}

void TFrmMain::mExitClick(QObject* /*Sender*/) { close(); }

void TFrmMain::mnuTopClick(QObject* /*Sender*/) {
    mnuTop->setChecked(!mnuTop->isChecked());
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

void TFrmMain::Clear1Click(QObject* /*Sender*/) { Clear1->setChecked(!Clear1->isChecked()); }

void TFrmMain::Lists1Click(QObject* /*Sender*/) {
    FrmAbout = new TFrmAbout(this);
    PlaceAboutWindow(FrmAbout);
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
    progress_.SetPosition(0);
    ShowProgress();
    results_->Flush();
    mResults->setTextCursor(QTextCursor(mResults->document()));
    mResults->verticalScrollBar()->setValue(0);
}

void TFrmMain::PlaceAboutWindow(TFrmAbout* about) const {
    // The About window's frame as the window manager tells it, else one like
    // this window's: the client area is sized for it, and sized again once
    // the window's own frame is known.
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins frame = lexigrove::AskFrameExtents(about, kFrameAnswerWait)
                               .value_or(QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                                                  outer.right() - inner.right(), outer.bottom() - inner.bottom()));
    PlaceOuterAt(about, AboutWindowPlace(outer, TFrmAbout::kOuterSize), frame);
    about->FitOuterSizeFor(frame);
}

QPoint TFrmMain::AboutWindowPlace(const QRect& main, const QSize& about) {
    return {main.left() + main.width() / 2 - about.width() / 2, main.top() + main.height() / 2 - about.height() / 2};
}

void TFrmMain::FormDestroy(QObject* /*Sender*/) { cache_.Release(); }

// SearchSurface

std::string TFrmMain::ReadText() const {
    // The engine counts bytes, the user characters: each character becomes
    // one byte. One written with several code points (a letter with an
    // accent of its own, a surrogate pair) counts as one, and any character
    // outside ASCII becomes a byte that is neither a letter nor '?', so it
    // never matches a letter and never stands for one. Those characters are
    // kept, in order, to be written back in their place.
    readText_ = tSearch->text();
    readOthers_.clear();
    const bool ascii = std::all_of(readText_.cbegin(), readText_.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii) {
        const QByteArray latin1 = readText_.toLatin1();
        return {latin1.constData(), static_cast<std::size_t>(latin1.size())};
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(readText_.size()));
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, readText_);
    qsizetype start = 0;
    for (qsizetype end = characters.toNextBoundary(); end != -1; end = characters.toNextBoundary()) {
        if (end - start == 1 && readText_[start].unicode() < 0x80) {
            bytes += static_cast<char>(readText_[start].unicode());
        } else {
            bytes += kOtherCharacter;
            readOthers_.emplace_back(start, end - start);
        }
        start = end;
    }
    return bytes;
}

QString TFrmMain::TypedText(std::string_view bytes) const {
    // The bytes hold the characters read last in their order, each as one
    // byte; those outside ASCII go back to what the user typed.
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    std::size_t other = 0;
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) < 0x80) {
            text += QLatin1Char(byte);
        } else if (other < readOthers_.size()) {
            const auto [start, length] = readOthers_[other++];
            text += QStringView(readText_).mid(start, length);
        } else {
            text += QChar(QChar::ReplacementCharacter);
        }
    }
    return text;
}

void TFrmMain::WriteText(const std::string& text) { tSearch->setText(TypedText(text)); }

void TFrmMain::ShowMessage(const std::string& text) {
    ScreenCentredMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(LexigroveApp::kTitle), FromBytes(text),
                                QMessageBox::Ok, this);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

bool TFrmMain::ClearBeforeFind() const { return Clear1->isChecked(); }

int TFrmMain::ResultsLineCount() const { return results_->LineCount(); }

void TFrmMain::ResultsAppend(std::string_view line) {
    // A line that repeats the search text carries its characters outside
    // ASCII as single bytes; they are put back.
    if (std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        const QByteArray typed = TypedText(line).toUtf8();
        results_->Append({typed.constData(), static_cast<std::size_t>(typed.size())});
    } else {
        results_->Append(line);
    }
}

void TFrmMain::ResultsClear() { results_->Clear(); }

void TFrmMain::ResultsBeginUpdate() { results_->BeginUpdate(); }

void TFrmMain::ResultsEndUpdate() { results_->EndUpdate(); }

void TFrmMain::ResultsScrollToCaret() {
    results_->Flush();
    mResults->ensureCursorVisible();
}

void TFrmMain::ProgressSetMaximum(int maximum) {
    progress_.SetMaximum(maximum);
    ShowProgress();
}

void TFrmMain::ProgressSetPosition(int position) {
    progress_.SetPosition(position);
    ShowProgress();
}

int TFrmMain::ProgressPosition() const { return progress_.Position(); }

void TFrmMain::ShowProgress() {
    // Qt draws a bar of range 0 to 0 as a busy animation; an empty range
    // shows as an empty bar instead.
    pbar1->setRange(0, std::max(progress_.Maximum(), 1));
    pbar1->setValue(progress_.Position());
}

bool TFrmMain::OptionsEnabled() const { return cOpt->isEnabled(); }

int TFrmMain::OptionsCount() const { return cOpt->count(); }

bool TFrmMain::OptionsChecked(int index) const { return cOpt->GetChecked(index); }

void TFrmMain::SetSearchButtonsEnabled(bool enabled) {
    if (!enabled) {
        // A clicked button holds the focus. Disabling it leaves the focus
        // with no control, rather than passing it on to the next one.
        QWidget* focused = focusWidget();
        if (focused == b1 || focused == b2 || focused == b3) focused->clearFocus();
    }
    b1->setEnabled(enabled);
    b2->setEnabled(enabled);
    b3->setEnabled(enabled);
}
