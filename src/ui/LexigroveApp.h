// The application object: its title, its icon and artwork, and the error
// box that every failure escaping an event handler ends in (see Dispatch).
#pragma once

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>

#include <exception>

namespace lexigrove {

class LexigroveApp : public QApplication {
    Q_OBJECT

public:
    // The application title: the caption of every message box.
    static constexpr const char* kTitle = "Lexigrove";

    LexigroveApp(int& argc, char** argv);

    // The error box's text: the failure's message, with a full stop added
    // when it ends in a letter, a digit or the like.
    static QString ErrorText(const std::exception_ptr& error);

    // Shows the error box for `error`: captioned with the title, the
    // critical icon, one OK button, every other window blocked meanwhile.
    static void ShowError(const std::exception_ptr& error);

    // Two glossy arrows chasing each other round a circle.
    static QIcon Icon();

    // The windows' own font: Liberation Sans (a metric match of the sans
    // serif the windows are laid out for), 11 pixels.
    static QFont WindowFont();

    // The donate badge, 62 x 31.
    static QPixmap DonateBadge(qreal devicePixelRatio = 1.0);
};

// Runs a window's handler for an event; whatever escapes it goes to the
// application's error box, and the event loop goes on. Qt lets no exception
// through its event loop, so every handler runs through this.
template <typename Handler>
void Dispatch(Handler&& handler) {
    try {
        handler();
    } catch (...) {
        LexigroveApp::ShowError(std::current_exception());
    }
}

}  // namespace lexigrove
