#include "LexigroveApp.h"

#include <QMessageBox>
#include <QPainter>
#include <QSvgRenderer>
#include <QWidget>

#include <new>
#include <stdexcept>
#include <string>

#ifdef LEXIGROVE_ATSPI_CHECKABLE_STOPGAP
#include "AtspiCheckableStopgap.h"
#endif

namespace lexigrove {

LexigroveApp::LexigroveApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The name only, not a display name: Qt would append a display name to
    // every window caption.
    setApplicationName(QString::fromLatin1(kTitle));
    setWindowIcon(Icon());
#ifdef LEXIGROVE_ATSPI_CHECKABLE_STOPGAP
    InstallAtspiCheckableStopgap();
#endif
}

QFont LexigroveApp::WindowFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QString LexigroveApp::ErrorText(const std::exception_ptr& error) {
    std::string message;
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        message = "Out of memory";
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "Unexpected error";
    }
    // Byte order: letters, digits, brackets and every non-ASCII byte sort
    // above '.'; "!", ",", ")", a space and '.' itself do not.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        message += '.';
    return QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
}

void LexigroveApp::ShowError(const std::exception_ptr& error) {
    if (!error) return;
    // A control that grabbed the mouse would keep it while the box is up.
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();

    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) owner = QApplication::activeWindow();
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kTitle), ErrorText(error), QMessageBox::Ok, owner);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

namespace {

QPixmap RenderSvg(const QString& path, QSize size, qreal devicePixelRatio) {
    QSvgRenderer renderer(path);
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

}  // namespace

QIcon LexigroveApp::Icon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(RenderSvg(QStringLiteral(":/lexigrove/lexigrove.svg"), QSize(side, side), 1.0));
    return icon;
}

QPixmap LexigroveApp::DonateBadge(qreal devicePixelRatio) {
    return RenderSvg(QStringLiteral(":/lexigrove/donate.svg"), QSize(62, 31), devicePixelRatio);
}

}  // namespace lexigrove
