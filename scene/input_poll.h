#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/input/input_devices.h"

namespace tetrakon {

// The input interface and the two devices made from it; a device whose set-up failed
// before it was created is null.
struct InputDevices {
    std::unique_ptr<input::InputSystem> system;
    std::unique_ptr<input::Keyboard> keyboard;
    std::unique_ptr<input::Mouse> mouse;
};

// What the input step keeps from frame to frame.
struct InputState {
    input::KeyboardState keys{};
    // Whether Up, Down, Left, Right and F5 were down at this frame's read.
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
    bool f5 = false;
    // Raised by Up, lowered by Down, shown in the main window's title.
    float titleCounter = 0.0f;
    // The left or middle button was already down at the previous read.
    bool leftLatch = false;
    bool middleLatch = false;
};

// What the input step asks of the rest of the program.
class InputActions {
  public:
    virtual ~InputActions() = default;

    virtual void SetTitle(const std::string& title) = 0;
    // The turn under the cursor, or 0 when the cursor is over none.
    virtual std::int32_t PickTurn() = 0;
    virtual void StartTurn(std::int32_t code) = 0;
    virtual void UndoTurn() = 0;
    // Wheel motion since the previous frame, in 120ths of a notch.
    virtual void ApplyWheel(std::int32_t wheelMotion) = 0;
};

// The keyboard's cooperation: shared, only while this program is in front, and without
// the system key that would take the user out of the game.
constexpr std::uint32_t kKeyboardCooperation =
    input::kCoopNonExclusive | input::kCoopForeground | input::kCoopNoWinKey;
// The mouse is read whichever program is in front.
constexpr std::uint32_t kMouseCooperation = input::kCoopNonExclusive | input::kCoopBackground;

// Keeps `system` and makes, sets up and acquires the keyboard and then the mouse for
// `window`, stopping at the first failure, whose code it returns. What was made before
// the failure stays in `devices`.
Result SetUpInput(std::unique_ptr<input::InputSystem> system, input::WindowHandle window,
                  InputDevices* devices);

// Binds the keyboard to another window after a screen-mode change; the mouse keeps its
// window. S_OK when there is no keyboard.
Result BindKeyboardWindow(InputDevices& devices, input::WindowHandle window);

// The per-frame input step: reads the keyboard, updates the key flags and the title
// counter, reads the mouse and turns a new left press into a pick, a new middle press
// into an undo and the wheel into zoom. A failed read re-acquires its device and ends the
// step; a missing device is skipped.
void PollInput(InputDevices& devices, InputState* state, InputActions& actions);

// Unacquires and releases the keyboard, then the mouse, then the input interface.
void ReleaseInput(InputDevices* devices);

}  // namespace tetrakon
