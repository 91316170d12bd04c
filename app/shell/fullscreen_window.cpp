#include "app/shell/fullscreen_window.h"

#include <QKeyEvent>
#include <QTimer>

namespace tetrakon {

FullscreenWindow::FullscreenWindow(Handlers handlers) : handlers_(std::move(handlers)) {
    setTitle(QStringLiteral("Fullscreen Window"));
    setFlag(Qt::FramelessWindowHint);
    resize(100, 100);
}

bool FullscreenWindow::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::Close:
            // Back to a window first, then the main window closes the program, saving the
            // settings on the way. The close is posted so that it runs after this event.
            event->ignore();
            handlers_.switchScreenMode();
            QTimer::singleShot(0, this, [this] { handlers_.closeMainWindow(); });
            return true;
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) {
                handlers_.switchScreenMode();
            }
            break;
        }
        default:
            break;
    }
    return QWindow::event(event);
}

}  // namespace tetrakon
