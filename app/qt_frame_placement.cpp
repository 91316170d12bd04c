#include "app/qt_frame_placement.h"

#include <QWindow>

namespace tetrakon {

namespace {

constexpr std::int32_t kShowNormal = 1;
constexpr std::int32_t kShowMinimized = 2;
constexpr std::int32_t kShowMaximized = 3;
// How long to wait for the window manager's frame: 200 checks 10 ms apart.
constexpr int kFramedChecks = 200;

QMargins FrameMargins(const QMainWindow& frame) {
    const QWindow* window = frame.windowHandle();
    return window != nullptr ? window->frameMargins() : QMargins();
}

}  // namespace

QtFramePlacement::QtFramePlacement(QMainWindow* frame) : QObject(frame), frame_(frame) {
    framedCheck_.setInterval(10);
    connect(&framedCheck_, &QTimer::timeout, this, [this] { ApplyOnceFramed(); });
}

void QtFramePlacement::GetPlacement(PixelRect* normalRect, std::int32_t* showCommand) const {
    if (frame_ == nullptr) {
        return;
    }
    const bool restored = !frame_->isMinimized() && !frame_->isMaximized();
    const QRect client = restored ? frame_->geometry() : frame_->normalGeometry();
    const QRect outer = client.marginsAdded(FrameMargins(*frame_));
    *normalRect = {outer.left(), outer.top(), outer.left() + outer.width(),
                   outer.top() + outer.height()};
    *showCommand = frame_->isMinimized()   ? kShowMinimized
                   : frame_->isMaximized() ? kShowMaximized
                                           : kShowNormal;
}

void QtFramePlacement::SetPlacementRestored(const PixelRect& normalRect) {
    if (frame_ == nullptr) {
        return;
    }
    frame_->setWindowState(Qt::WindowNoState);
    Apply(normalRect);
    if (FrameMargins(*frame_).isNull()) {
        pending_ = normalRect;
        framedChecksLeft_ = kFramedChecks;
        framedCheck_.start();
    }
}

void QtFramePlacement::Apply(const PixelRect& outer) {
    const QMargins margins = FrameMargins(*frame_);
    const QRect client =
        QRect(outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top)
            .marginsRemoved(margins);
    frame_->setGeometry(client);
}

void QtFramePlacement::ApplyOnceFramed() {
    if (!pending_ || frame_ == nullptr) {
        framedCheck_.stop();
        return;
    }
    if (!FrameMargins(*frame_).isNull()) {
        const PixelRect outer = *pending_;
        pending_.reset();
        framedCheck_.stop();
        Apply(outer);
    } else if (--framedChecksLeft_ <= 0) {
        // No window manager frames it: the rectangle is the window's own.
        pending_.reset();
        framedCheck_.stop();
    }
}

}  // namespace tetrakon
