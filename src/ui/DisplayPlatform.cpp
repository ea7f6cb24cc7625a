#include "DisplayPlatform.h"

#include <QByteArray>
#include <QtGlobal>

namespace lexigrove {

bool RequestX11ThenWayland() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return false;
    qputenv("QT_QPA_PLATFORM", QByteArray(kX11ThenWayland));
    return true;
}

void WithdrawPlatformRequest() { qunsetenv("QT_QPA_PLATFORM"); }

}  // namespace lexigrove
