#include "tests/fakes/fake_window.h"

namespace tetrakon::gfx {

namespace {

Rect ClientOf(const Rect& outer) {
    return Rect{0, 0, outer.Width(), outer.Height()};
}

}  // namespace

FakeWindow::FakeWindow(std::string name, Rect rect, std::shared_ptr<CallLog> log)
    : windowRect(rect), clientRect(ClientOf(rect)), name_(std::move(name)), log_(std::move(log)) {}

void FakeWindow::Resize(std::int32_t width, std::int32_t height) {
    windowRect.right = windowRect.left + width;
    windowRect.bottom = windowRect.top + height;
    clientRect = ClientOf(windowRect);
}

void FakeWindow::MoveAndShow(const Rect& bounds) {
    log_->Add("MoveAndShow " + name_ + " " + std::to_string(bounds.left) + " " +
              std::to_string(bounds.top) + " " + std::to_string(bounds.right) + " " +
              std::to_string(bounds.bottom));
    ++moves;
    lastMove = bounds;
    windowRect = bounds;
    clientRect = ClientOf(bounds);
    shown = true;
}

void FakeWindow::ClipCursor(bool clip) {
    log_->Add("ClipCursor " + name_ + " " + std::to_string(clip ? 1 : 0));
    cursorClipped = clip;
}

void FakeWindow::RequestClose() {
    log_->Add("RequestClose " + name_);
    ++closeRequests;
}

}  // namespace tetrakon::gfx
