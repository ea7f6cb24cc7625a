// Lexigrove: starts the application, shows the main window, runs the event
// loop until the window closes, and ends with exit status 0.
#include <QTimer>

#include "FrmMain1.h"
#include "LexigroveApp.h"

int main(int argc, char** argv) {
    LexigroveApp app(argc, argv);

    TFrmMain FrmMain;
    FrmMain.CentreOnScreen();
    FrmMain.show();
    // A window manager adds its frame only once the window is up; centre
    // again with the frame counted.
    QTimer::singleShot(0, &FrmMain, [&FrmMain] {
        if (FrmMain.frameGeometry().size() != FrmMain.size()) FrmMain.CentreOnScreen();
    });

    // Closing the window ends the loop; the window's destruction then
    // releases the word lists.
    return app.exec();
}
