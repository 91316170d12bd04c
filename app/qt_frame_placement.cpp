#include "app/qt_frame_placement.h"

#include <QEvent>
#include <QWindow>

namespace tetrakon {

namespace {

constexpr std::int32_t kShowNormal = 1;
constexpr std::int32_t kShowMinimized = 2;
constexpr std::int32_t kShowMaximized = 3;

QMargins FrameMargins(const QMainWindow& frame) {
    const QWindow* window = frame.windowHandle();
    return window != nullptr ? window->frameMargins() : QMargins();
}

}  // namespace

QtFramePlacement::QtFramePlacement(QMainWindow* frame) : QObject(frame), frame_(frame) {}

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
        frame_->installEventFilter(this);
    }
}

void QtFramePlacement::Apply(const PixelRect& outer) {
    const QMargins margins = FrameMargins(*frame_);
    const QRect client =
        QRect(outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top)
            .marginsRemoved(margins);
    frame_->setGeometry(client);
}

bool QtFramePlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frame_ && pending_ &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
         event->type() == QEvent::Show) &&
        !FrameMargins(*frame_).isNull()) {
        const PixelRect outer = *pending_;
        pending_.reset();
        frame_->removeEventFilter(this);
        Apply(outer);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tetrakon
