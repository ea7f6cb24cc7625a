// The About window: the program's title with a drop shadow, the credits, a
// link to the home page, the donate badge and a Close button. The main
// window's About command builds one, shows it modally and destroys it.
#pragma once

#include <QDialog>
#include <QMargins>
#include <QSize>
#include <QString>

#include <functional>

class QCloseEvent;
class QLabel;
class QPushButton;

namespace lexigrove {

// Hands a web address to the desktop to open in the user's browser, a
// separate program. It never waits for the browser and reports nothing: an
// address the desktop cannot open is simply not opened.
void ShellOpen(const QString& address);

// Replaces what ShellOpen does, so that tests can see the addresses without
// launching anything; an empty handler restores the desktop's. Returns the
// handler it replaces.
using ShellOpenHandler = std::function<void(const QString& address)>;
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

}  // namespace lexigrove

class TFrmAbout : public QDialog {
    Q_OBJECT

public:
    // Outer size, frame and title bar included.
    static constexpr QSize kOuterSize{282, 225};

    explicit TFrmAbout(QWidget* parent = nullptr);
    ~TFrmAbout() override;

    TFrmAbout(const TFrmAbout&) = delete;
    TFrmAbout& operator=(const TFrmAbout&) = delete;

    // Sizes the client area so that, with a frame of `frame` (in logical
    // pixels) around it, the outer size is kOuterSize. `own`: the frame is
    // the one the window manager gives this window, not a guess.
    void FitOuterSizeFor(const QMarginsF& frame, bool own);

    void Button1Click(QObject* Sender);
    void FormClose(QObject* Sender, QCloseEvent* Event);
    void FormDestroy(QObject* Sender);
    void Label5Click(QObject* Sender);
    void Image1Click(QObject* Sender);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Components, in the order the window declares them; they are created
    // in stacking order (the shadow first, Close last). Each carries its
    // member's name as its object name.
    QPushButton* Button1 = nullptr;  // "Close"
    QLabel* Label1 = nullptr;        // the title
    QLabel* Label2 = nullptr;        // the title's grey shadow
    QLabel* Label3 = nullptr;        // the authors
    QLabel* Label4 = nullptr;        // the copyright line
    QLabel* Label5 = nullptr;        // the home page link
    QLabel* Image1 = nullptr;        // the donate badge
    QLabel* Label7 = nullptr;        // the word list's name
    QLabel* Label6 = nullptr;        // "Special Thanks:"

    void CreateControls();

    // Makes the outer size kOuterSize once the frame's size is known, unless
    // the user has resized the window meanwhile.
    void FitOuterSize();

    QSize fittedClientSize_;
    // Whether the outer size has been made with the window's own frame.
    bool fittedToFrame_ = false;
    // The clickable control the left button went down on.
    QObject* pressed_ = nullptr;
};

// The About window while it exists; empty otherwise.
extern TFrmAbout* FrmAbout;
