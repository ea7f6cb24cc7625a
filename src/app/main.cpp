// Lexigrove: starts the application, shows the main window, runs the event
// loop until the window closes, and ends with exit status 0.
#include "DisplayPlatform.h"
#include "FrmMain1.h"
#include "LexigroveApp.h"
#include "ProgramInfo.h"
#include "WindowPlacement.h"

int main(int argc, char** argv) {
    // X11 first, Wayland second, where the user chose no platform.
    const bool platformRequested = lexigrove::RequestX11ThenWayland();
    lexigrove::LexigroveApp app(argc, argv);
    if (platformRequested) lexigrove::WithdrawPlatformRequest();
    // Ties the window to its desktop entry (the Wayland app id; on X11 the
    // entry's StartupWMClass names the window class, "Lexigrove").
    QGuiApplication::setDesktopFileName(QString::fromLatin1(lexigrove::kApplicationId));

    TFrmMain FrmMain;
    lexigrove::ShowCentred(FrmMain);

    // Closing the window ends the loop; the window's destruction then
    // releases the word lists.
    return app.exec();
}
