#include "app/logic/frame_gate.h"

namespace tetrakon {

bool FrameGate::MayStep(bool minimised, bool viewActive, const void* target,
                        Clock::time_point now) const {
    if (minimised || !viewActive) {
        return false;
    }
    return !compositorPaced_ || waiting_ == nullptr || waiting_ != target ||
           now - waitingSince_ >= kLongestCompositorWait;
}

bool FrameGate::Presented(const void* target, int width, int height, bool shown,
                          Clock::time_point now) {
    if (compositorPaced_ && target != nullptr) {
        waiting_ = target;
        waitingSince_ = now;
    }
    // A present into a window not on screen swaps nothing and does not count.
    if (!shown || (width == presentedWidth_ && height == presentedHeight_)) {
        return false;
    }
    presentedWidth_ = width;
    presentedHeight_ = height;
    return true;
}

void FrameGate::WindowReady(const void* window) {
    if (waiting_ == window) {
        waiting_ = nullptr;
    }
}

}  // namespace tetrakon
