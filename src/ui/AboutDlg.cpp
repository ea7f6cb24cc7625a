#include "AboutDlg.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QUrl>
#include <QVBoxLayout>

#include <string>
#include <utility>

#include "AboutAddresses.h"
#include "Base64.h"
#include "Contrast.h"
#include "LexigroveApp.h"
#include "ProgramInfo.h"
#include "ScreenReader.h"
#include "WindowPlacement.h"

using lexigrove::Dispatch;
using lexigrove::LexigroveApp;

TFrmAbout* FrmAbout = nullptr;

namespace lexigrove {

namespace {

ShellOpenHandler& Handler() {
    static ShellOpenHandler handler;
    return handler;
}

}  // namespace

void ShellOpen(const QString& address) {
    if (Handler()) {
        Handler()(address);
        return;
    }
    // Qt hands the address to the desktop (a portal or xdg-open) and does
    // not wait for the browser; whether that worked is of no concern here.
    (void)QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler) { return std::exchange(Handler(), std::move(handler)); }

}  // namespace lexigrove

namespace {

const QString kTitle = QString::fromLatin1(lexigrove::kProgramCaption);

QFont TitleFont() {
    QFont font = LexigroveApp::WindowFont();
    font.setPixelSize(29);
    return font;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// A label that sizes itself to its text, shows it as plain text (no
// accelerator, no markup) and lets what is under it show through.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QPoint at, const QFont& font) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setText(text);
    label->setAccessibleName(text);
    label->adjustSize();
    label->move(at);
    return label;
}

}  // namespace

TFrmAbout::TFrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("About.."));
    // An ordinary resizable frame with the system menu, minimise and
    // maximise; as a dialog it stays above the window that opened it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setFont(LexigroveApp::WindowFont());

    CreateControls();

    // Until a window manager frames the window, the client area is all of it.
    fittedClientSize_ = kOuterSize;
    resize(kOuterSize);
    Button1->setFocus();
}

TFrmAbout::~TFrmAbout() { FormDestroy(this); }

void TFrmAbout::CreateControls() {
    // The controls stand at fixed places on a client area that scrolls when
    // the window is smaller than they need, and otherwise fills the window.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("Scroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    // Close is the only control that takes the focus, so Enter always
    // reaches it, whatever the user clicked.
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setWidgetResizable(true);
    auto* client = new QWidget;
    client->setObjectName(QStringLiteral("ClientArea"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller);

    // Creation order is stacking order: the silver title lies under the
    // dark one, 2 pixels right of it and 1 below.
    // The shadow is silver unless the title would not stand out from it,
    // as on a dark palette, where it takes the nearest colour that lets it.
    const QColor title = palette().color(QPalette::WindowText);
    Label2 = MakeLabel(client, "Label2", kTitle, {16, 14}, TitleFont());
    SetTextColour(Label2, lexigrove::Readable(QColor(192, 192, 192), title, lexigrove::kTextContrast));
    // A screen reader reads the title once.
    lexigrove::HideFromScreenReaders(Label2);
    Label1 = MakeLabel(client, "Label1", kTitle, {14, 13}, TitleFont());
    Label3 =
        MakeLabel(client, "Label3", QStringLiteral("By Lexigrove contributors"), {97, 52}, LexigroveApp::WindowFont());
    Label4 = MakeLabel(client, "Label4", QStringLiteral("\u00A9 2026 Lexigrove contributors"), {97, 72},
                       LexigroveApp::WindowFont());

    QFont linkFont = LexigroveApp::WindowFont();
    linkFont.setUnderline(true);
    Label5 = MakeLabel(client, "Label5", QString::fromLatin1(lexigrove::kHomePageAddress), {97, 92}, linkFont);
    // Blue, or where blue is hard to read on the window's face (a dark
    // palette), the palette's link colour, made readable if need be.
    const QColor face = palette().color(QPalette::Window);
    const QColor blue(0, 0, 255);
    SetTextColour(Label5, lexigrove::ContrastRatio(blue, face) >= lexigrove::kTextContrast
                              ? blue
                              : lexigrove::Readable(palette().color(QPalette::Link), face, lexigrove::kTextContrast));
    Label5->setCursor(Qt::PointingHandCursor);
    Label5->setAccessibleDescription(QStringLiteral("Opens the home page in your web browser"));
    Label5->installEventFilter(this);
    lexigrove::ReadAsLink(Label5, [this] { Dispatch([&] { Label5Click(Label5); }); });

    Image1 = new QLabel(client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(LexigroveApp::DonateBadge(devicePixelRatioF()));
    Image1->setGeometry(17, 65, 62, 31);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setAccessibleName(QStringLiteral("Donate"));
    Image1->setAccessibleDescription(QStringLiteral("Opens the donation page in your web browser"));
    Image1->installEventFilter(this);
    lexigrove::ReadAsLink(Image1, [this] { Dispatch([&] { Image1Click(Image1); }); });

    Label7 = MakeLabel(client, "Label7", QStringLiteral("ENABLE word list"), {109, 133}, LexigroveApp::WindowFont());
    Label7->setAccessibleDescription(QStringLiteral("The public-domain word list that Lexigrove searches"));
    QFont bold = LexigroveApp::WindowFont();
    bold.setBold(true);
    Label6 = MakeLabel(client, "Label6", QStringLiteral("Special Thanks:"), {82, 114}, bold);

    Button1 = new QPushButton(QStringLiteral("Close"), client);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(94, 160, 75, 25);
    Button1->setAccessibleName(QStringLiteral("Close"));
    connect(Button1, &QPushButton::clicked, this, [this] { Dispatch([&] { Button1Click(Button1); }); });

    // Scroll bars appear once the window is smaller than the controls reach.
    QRect reach;
    for (const QWidget* control : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        reach |= control->geometry();
    client->setMinimumSize(reach.right() + 1, reach.bottom() + 1);
    scroller->setWidget(client);
    // The default button of the window it belongs to by now.
    Button1->setDefault(true);

    // A screen reader sums the window up, on opening, in its description:
    // each line of text once, the title and the address among them. It
    // reads the lines themselves as a heading and text, which no summary
    // repeats, and the address and the badge as links.
    lexigrove::ReadAsHeading(Label1);
    for (QLabel* line : {Label3, Label4, Label6, Label7}) lexigrove::ReadAsParagraph(line);
    setAccessibleDescription(QStringList{Label1->text(), Label3->text(), Label4->text(), Label5->text(),
                                         Label6->text() + QLatin1Char(' ') + Label7->text()}
                                 .join(QStringLiteral(". ")));
}

void TFrmAbout::FitOuterSize() {
    if (size() != fittedClientSize_ || frameGeometry().size() == size()) return;
    FitOuterSizeFor(lexigrove::FrameOf(*this), true);
}

void TFrmAbout::FitOuterSizeFor(const QMarginsF& frame, bool own) {
    const QSizeF around(frame.left() + frame.right(), frame.top() + frame.bottom());
    fittedClientSize_ = (QSizeF(kOuterSize) - around).toSize();
    fittedToFrame_ = own;
    resize(fittedClientSize_);
}

bool TFrmAbout::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    // A window manager frames the window once it is shown; Qt reports the
    // frame with the move or resize that follows.
    if (!fittedToFrame_ && isVisible() &&
        (event->type() == QEvent::Show || event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
        frameGeometry().size() != size()) {
        fittedToFrame_ = true;
        FitOuterSize();
    }
    return handled;
}

void TFrmAbout::closeEvent(QCloseEvent* event) {
    FormClose(this, event);
    if (event->isAccepted()) QDialog::closeEvent(event);
}

void TFrmAbout::keyPressEvent(QKeyEvent* event) {
    // The window has no cancel button, so Escape does nothing. Enter and
    // Return press Close, the default button, wherever the focus is.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        Button1->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFrmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label5 || watched == Image1) {
        // A click is the left button going down and coming up over the same
        // control.
        if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            pressed_ = watched;
        } else if (event->type() == QEvent::MouseButtonRelease &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            const bool clicked = pressed_ == watched && static_cast<QWidget*>(watched)->rect().contains(
                                                            static_cast<QMouseEvent*>(event)->position().toPoint());
            pressed_ = nullptr;
            if (clicked && watched == Label5) Dispatch([&] { Label5Click(Label5); });
            if (clicked && watched == Image1) Dispatch([&] { Image1Click(Image1); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Handlers

void TFrmAbout::Button1Click(QObject* /*Sender*/) { close(); }

void TFrmAbout::FormClose(QObject* /*Sender*/, QCloseEvent* Event) {
    // Closing destroys the window rather than hiding it for later. Shown
    // modally, the opener destroys it as soon as the showing ends; shown
    // any other way, it goes by itself.
    Event->accept();
    if (!isModal()) deleteLater();
}

void TFrmAbout::FormDestroy(QObject* /*Sender*/) {
    if (FrmAbout == this) FrmAbout = nullptr;
}

void TFrmAbout::Label5Click(QObject* /*Sender*/) { lexigrove::ShellOpen(Label5->text()); }

void TFrmAbout::Image1Click(QObject* /*Sender*/) {
    // The address is stored encoded and exists decoded only for this click.
    // Like any C string it ends at its first NUL.
    const std::string address = lexigrove::Base64Decode(lexigrove::kDonationAddressBase64);
    lexigrove::ShellOpen(QString::fromUtf8(address.c_str()));
}
