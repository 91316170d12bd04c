#pragma once

#include <cstdint>

#include "gfxutil/matrix.h"
#include "gfxutil/quaternion.h"
#include "gfxutil/vector.h"

namespace tetrakon {

// The window messages the view rotation reacts to, in a form free of any window system.
// x and y are the cursor position in the drawing area's pixels, from its top-left corner.
enum class ViewMessageKind : std::uint8_t {
    RightButtonDown,
    RightButtonUp,
    MouseMove,
    Other,
};

struct ViewMessage {
    ViewMessageKind kind = ViewMessageKind::Other;
    bool rightButtonHeld = false;  // the right-button bit of the message's button state
    std::int16_t x = 0;
    std::int16_t y = 0;
};

// Turns right-button drags into a rotation of the whole pyramid, as if rolling a ball
// under the cursor.
class ViewRotation {
  public:
    ViewRotation() { Reset(); }

    // Identity orientation, no drag.
    void Reset();
    // The drawing area's size in pixels and the ball's radius as a fraction of half of it.
    void SetWindow(std::int32_t width, std::int32_t height, float radius);
    // Every message of the view and full-screen windows passes through here first.
    void HandleMessage(const ViewMessage& message);

    // The point of the ball under the pixel (x, y).
    Vec3 ScreenToBall(float x, float y) const;
    // The quaternion that turns direction a into direction b.
    static Quaternion AxisToAxis(Vec3 a, Vec3 b);

    const Matrix& rotation() const { return rotation_; }
    bool dragging() const { return dragging_; }

  private:
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    float radius_ = 0;
    Quaternion downQuat_;
    Quaternion nowQuat_;
    Matrix rotation_;
    bool dragging_ = false;
    Vec3 downVector_;
};

// The zoom rule: one step of 0.08 per frame with wheel motion, smaller for motion away from
// the user, on the grid 0.52 ... 1.16. Returns the new zoom scale.
float ApplyWheel(float zoomScale, std::int32_t wheelDelta);

}  // namespace tetrakon
