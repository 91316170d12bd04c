#pragma once

#include <memory>
#include <string>

#include "platform/gfx/window.h"
#include "tests/fakes/fake_device.h"

namespace tetrakon::gfx {

// A window that records what is done to it ("MoveAndShow view 10 20 510 395",
// "ClipCursor view 1", "RequestClose view") in a CallLog shared with other fakes.
class FakeWindow : public Window {
  public:
    FakeWindow(std::string name, Rect windowRect, std::shared_ptr<CallLog> log);

    // Scripted geometry; MoveAndShow changes both.
    Rect windowRect;
    Rect clientRect;

    // What the calls left.
    int moves = 0;
    Rect lastMove;
    bool shown = false;
    bool cursorClipped = false;
    int closeRequests = 0;

    // Resizes the window as a user would, keeping its top-left corner.
    void Resize(std::int32_t width, std::int32_t height);

    Rect GetWindowRect() const override { return windowRect; }
    Rect GetClientRect() const override { return clientRect; }
    void MoveAndShow(const Rect& bounds) override;
    void ClipCursor(bool clip) override;
    void RequestClose() override;

  private:
    std::string name_;
    std::shared_ptr<CallLog> log_;
};

}  // namespace tetrakon::gfx
