#include "app/settings/qt_frame_placement.h"

#include "app/shell/window_system.h"

#include <QEvent>
#include <QWindow>
#include <algorithm>

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

// A side of at most what a window may have, so that no stored value overflows it.
int ClampedLength(std::int64_t length) {
    return static_cast<int>(std::clamp<std::int64_t>(length, 0, QWIDGETSIZE_MAX));
}

}  // namespace

QtFramePlacement::QtFramePlacement(QMainWindow* frame, QSize outerMinimum)
    : QObject(frame), frame_(frame), outerMinimum_(outerMinimum) {
    framedCheck_.setInterval(10);
    connect(&framedCheck_, &QTimer::timeout, this, [this] { CheckFramed(); });
    KeepOuterMinimum();
    frame_->installEventFilter(this);
}

void QtFramePlacement::GetPlacement(PixelRect* normalRect, std::int32_t* showCommand) const {
    const bool restored = !frame_->isMinimized() && !frame_->isMaximized();
    // Restored, the rectangle is the one the window system reports the window really has.
    const QWindow* window = frame_->windowHandle();
    const QRect outer = restored && window != nullptr
                            ? window->frameGeometry()
                            : frame_->normalGeometry().marginsAdded(FrameMargins(*frame_));
    const QPoint topLeft =
        OnWayland() ? QPoint(normalRect->left, normalRect->top) : outer.topLeft();
    *normalRect = {topLeft.x(), topLeft.y(), topLeft.x() + outer.width(),
                   topLeft.y() + outer.height()};
    *showCommand = frame_->isMinimized()   ? kShowMinimized
                   : frame_->isMaximized() ? kShowMaximized
                                           : kShowNormal;
}

void QtFramePlacement::SetPlacementRestored(const PixelRect& normalRect) {
    frame_->setWindowState(Qt::WindowNoState);
    Apply(normalRect);
    if (FrameMargins(*frame_).isNull()) {
        pending_ = normalRect;
        WaitUntilFramed();
    }
}

bool QtFramePlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frame_) {
        switch (event->type()) {
            case QEvent::Show:
                WaitUntilFramed();
                break;
            case QEvent::Move:
            case QEvent::Resize:
                KeepOuterMinimum();
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void QtFramePlacement::Apply(const PixelRect& outer) {
    KeepOuterMinimum();
    const QRect client =
        QRect(outer.left, outer.top, ClampedLength(Width(outer)), ClampedLength(Height(outer)))
            .marginsRemoved(FrameMargins(*frame_));
    frame_->setGeometry(client);
}

void QtFramePlacement::KeepOuterMinimum() {
    const QMargins margins = FrameMargins(*frame_);
    const QSize minimum(std::max(0, outerMinimum_.width() - margins.left() - margins.right()),
                        std::max(0, outerMinimum_.height() - margins.top() - margins.bottom()));
    if (frame_->minimumSize() != minimum) {
        frame_->setMinimumSize(minimum);
    }
}

void QtFramePlacement::WaitUntilFramed() {
    if (!framedCheck_.isActive() && FrameMargins(*frame_).isNull()) {
        framedChecksLeft_ = kFramedChecks;
        framedCheck_.start();
    }
}

void QtFramePlacement::CheckFramed() {
    if (!FrameMargins(*frame_).isNull()) {
        framedCheck_.stop();
        KeepOuterMinimum();
        if (pending_) {
            const PixelRect outer = *pending_;
            pending_.reset();
            Apply(outer);
        }
    } else if (--framedChecksLeft_ <= 0) {
        // No window manager frames it: the rectangle is the window's own.
        pending_.reset();
        framedCheck_.stop();
    }
}

}  // namespace tetrakon
