#include "app/compositor_frame_pacing.h"

namespace tetrakon {

bool CompositorFramePacing::ReadyForStep(const QWindow* target) const {
    return !enabled_ || waiting_.isNull() || waiting_.data() != target;
}

void CompositorFramePacing::FramePresented(QWindow* target) {
    if (enabled_ && target != nullptr) {
        waiting_ = target;
        target->requestUpdate();
    }
}

void CompositorFramePacing::WindowReady(const QWindow* window) {
    if (waiting_.data() == window) {
        waiting_.clear();
    }
}

}  // namespace tetrakon
