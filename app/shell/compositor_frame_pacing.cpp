#include "app/shell/compositor_frame_pacing.h"

namespace tetrakon {

bool CompositorFramePacing::ReadyForStep(const QWindow* target, Clock::time_point now) const {
    return !enabled_ || waiting_.isNull() || waiting_.data() != target ||
           now - waitingSince_ >= kLongestWait;
}

void CompositorFramePacing::FramePresented(QWindow* target, Clock::time_point now) {
    if (enabled_ && target != nullptr) {
        waiting_ = target;
        waitingSince_ = now;
        target->requestUpdate();
    }
}

void CompositorFramePacing::WindowReady(const QWindow* window) {
    if (waiting_.data() == window) {
        waiting_.clear();
    }
}

}  // namespace tetrakon
