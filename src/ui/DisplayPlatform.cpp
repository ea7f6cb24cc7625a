#include "DisplayPlatform.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace lexigrove {

bool PreferX11(const char* qpaPlatform, const char* display, int argc, const char* const* argv,
               const std::function<bool(const char* display)>& xDisplayAnswers) {
    if (qpaPlatform != nullptr && *qpaPlatform != '\0') return false;
    // Qt takes "-platform NAME" or "--platform NAME"; without a name after
    // it the option is ignored.
    for (int i = 1; i + 1 < argc; ++i) {
        const char* arg = argv[i];
        if (arg == nullptr || arg[0] != '-') continue;
        if (arg[1] == '-') ++arg;
        if (std::strcmp(arg, "-platform") == 0) return false;
    }
    if (display == nullptr || *display == '\0') return false;
    return xDisplayAnswers(display);
}

namespace {

xcb_connection_t* probe = nullptr;

}  // namespace

bool XDisplayAnswers(const char* display) {
    if (display == nullptr || *display == '\0') return false;
    // Also fails when the server refuses us (no authorisation), as the X11
    // platform would then fail too.
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return false;
    }
    EndXDisplayProbe();
    probe = connection;
    return true;
}

void EndXDisplayProbe() {
    if (probe != nullptr) xcb_disconnect(probe);
    probe = nullptr;
}

char** ArgumentsForPlatform(int& argc, char** argv) {
    if (!PreferX11(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"), argc, argv, XDisplayAnswers)) return argv;
    // Lives as long as the process, as Qt requires of its arguments.
    static std::vector<char*> arguments;
    static char programName[] = "lexigrove";
    static char option[] = "-platform";
    static char platform[] = "xcb";
    arguments.clear();
    // Qt reads options from the second argument on.
    if (argc > 0)
        arguments.push_back(argv[0]);
    else
        arguments.push_back(programName);
    arguments.push_back(option);
    arguments.push_back(platform);
    for (int i = 1; i < argc; ++i) arguments.push_back(argv[i]);
    arguments.push_back(nullptr);
    argc = static_cast<int>(arguments.size()) - 1;
    return arguments.data();
}

}  // namespace lexigrove
