#include "platform/gfx/gl/qt_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <cmath>

#include "platform/gfx/gl/gl_context_format.h"

namespace tetrakon::gfx {

namespace {

Rect ToRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

QtWindow::QtWindow(QWindow* window) : window_(window) {
    if (window != nullptr && window->handle() == nullptr) {
        window->setSurfaceType(QSurface::OpenGLSurface);
        window->setFormat(WindowSurfaceFormat(window->requestedFormat()));
    }
}

Rect QtWindow::GetWindowRect() const {
    const QWindow* window = window_.data();
    if (window == nullptr) {
        return {};
    }
    if (window->parent() != nullptr) {
        return ToRect(QRect(window->mapToGlobal(QPoint(0, 0)), window->size()));
    }
    return ToRect(window->frameGeometry());
}

Rect QtWindow::GetClientRect() const {
    const QWindow* window = window_.data();
    if (window == nullptr) {
        return {};
    }
    // In device pixels, the size of what the window shows, so that a back buffer of this
    // size is drawn one to one even on a screen that scales by 2.
    const qreal ratio = window->devicePixelRatio();
    return {0, 0, static_cast<std::int32_t>(std::lround(window->width() * ratio)),
            static_cast<std::int32_t>(std::lround(window->height() * ratio))};
}

void QtWindow::MoveAndShow(const Rect& bounds) {
    QWindow* window = window_.data();
    if (window == nullptr) {
        return;
    }
    const QPoint topLeft(bounds.left, bounds.top);
    if (const QWindow* parent = window->parent()) {
        window->setGeometry(
            QRect(parent->mapFromGlobal(topLeft), QSize(bounds.Width(), bounds.Height())));
    } else {
        const QMargins frame = window->frameMargins();
        window->resize(bounds.Width() - frame.left() - frame.right(),
                       bounds.Height() - frame.top() - frame.bottom());
        window->setFramePosition(topLeft);
    }
    window->show();
}

void QtWindow::ClipCursor(bool clip) {
    cursorClipped_ = clip;
}

void QtWindow::RequestClose() {
    // QWindow::close() (Qt 6.4) ignores a window embedded in another one, as the view's drawing
    // surface is, so the close event itself is delivered, and handled before this returns.
    if (QWindow* window = window_.data()) {
        QCloseEvent event;
        QCoreApplication::sendEvent(window, &event);
    }
}

bool ShowsOnScreen(const QWindow& window) {
    if (window.parent() == nullptr || window.isExposed()) {
        return window.isExposed();
    }
    const QWindow* top = &window;
    while (top->parent() != nullptr) {
        if (!top->isVisible()) {
            return false;
        }
        top = top->parent();
    }
    return top->isExposed();
}

QWindow* QWindowOf(Window* window) {
    auto* qtWindow = dynamic_cast<QtWindow*>(window);
    return qtWindow != nullptr ? qtWindow->window() : nullptr;
}

}  // namespace tetrakon::gfx
