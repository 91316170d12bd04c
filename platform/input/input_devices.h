#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "gfxutil/result.h"

namespace tetrakon::input {

// The input layer's failure codes, with DirectInput's values.
constexpr Result DI_NOEFFECT = 1;  // success that changed nothing (already acquired)
constexpr Result DIERR_NOTACQUIRED = ResultFromBits(0x8007000Cu);
constexpr Result DIERR_INPUTLOST = ResultFromBits(0x8007001Eu);
constexpr Result DIERR_INVALIDPARAM = E_INVALIDARG;
constexpr Result E_HANDLE = ResultFromBits(0x80070006u);

// Names a host window to the input layer, as a window handle does: devices keep and
// compare it but never look inside. Zero names no window.
using WindowHandle = std::uintptr_t;

// Cooperation flags, DirectInput's values.
enum CooperativeFlags : std::uint32_t {
    kCoopExclusive = 0x01,
    kCoopNonExclusive = 0x02,
    kCoopForeground = 0x04,  // the device only delivers while the program is in front
    kCoopBackground = 0x08,
    kCoopNoWinKey = 0x10,
};

// Exactly one of exclusive and non-exclusive, and one of foreground and background.
constexpr bool ValidCooperativeFlags(std::uint32_t flags) {
    const bool exclusive = (flags & kCoopExclusive) != 0;
    const bool foreground = (flags & kCoopForeground) != 0;
    return exclusive != ((flags & kCoopNonExclusive) != 0) &&
           foreground != ((flags & kCoopBackground) != 0);
}

// The layout a device's state is read in.
enum class DataFormat : std::uint8_t {
    Keyboard,  // 256 key bytes
    Mouse,     // relative x, y and wheel, then 8 button bytes
};

// One byte per PC set-1 scan code (see scan_codes.h); the high bit is set while the key
// is down, and for a key that went down since the previous read (a tap between two reads
// is seen once).
using KeyboardState = std::array<std::uint8_t, 256>;
constexpr std::uint8_t kDown = 0x80;

// Motion and wheel since the previous read (the wheel in 120ths of a notch, positive
// away from the user); the buttons as they are at the read, high bit set while down or
// when pressed since the previous read (a click between two reads is seen once).
// Button 0 is the left button, 1 the right, 2 the middle.
struct MouseState {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t wheel = 0;
    std::array<std::uint8_t, 8> buttons{};
};

// A device's life: set the data format and the cooperative level, acquire, read each
// frame; a failed read leaves the device unacquired until it is acquired again.
// Destroying a device releases it.
class InputDevice {
  public:
    virtual ~InputDevice() = default;

    // DIERR_INVALIDPARAM when the format does not fit the device.
    virtual Result SetDataFormat(DataFormat format) = 0;
    // E_HANDLE for no window, DIERR_INVALIDPARAM for a contradictory flag set.
    virtual Result SetCooperativeLevel(WindowHandle window, std::uint32_t flags) = 0;
    // DIERR_INVALIDPARAM before a data format is set; DI_NOEFFECT when already acquired.
    virtual Result Acquire() = 0;
    // DI_NOEFFECT when not acquired.
    virtual Result Unacquire() = 0;
};

class Keyboard : public InputDevice {
  public:
    // DIERR_NOTACQUIRED when not acquired; DIERR_INPUTLOST when the acquisition has just
    // been lost (the device is then unacquired). `state` is only written on success.
    virtual Result GetState(KeyboardState* state) = 0;
};

class Mouse : public InputDevice {
  public:
    // As Keyboard::GetState. A successful read starts the next motion and wheel sums.
    virtual Result GetState(MouseState* state) = 0;
};

// The input interface: makes the system keyboard and mouse. On failure `*out` is null.
class InputSystem {
  public:
    virtual ~InputSystem() = default;

    virtual Result CreateKeyboard(std::unique_ptr<Keyboard>* out) = 0;
    virtual Result CreateMouse(std::unique_ptr<Mouse>* out) = 0;
};

}  // namespace tetrakon::input
