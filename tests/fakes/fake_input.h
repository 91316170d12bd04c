#pragma once

#include <array>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/input/input_devices.h"

namespace tetrakon::input {

// What a test scripts for one fake device and what the device was asked. The device acts
// like a real one around the script: a failed read leaves it unacquired, and reads of an
// unacquired device fail with DIERR_NOTACQUIRED.
struct FakeDeviceScript {
    // Answers.
    Result createResult = S_OK;
    Result formatResult = S_OK;
    Result cooperativeResult = S_OK;
    std::deque<Result> acquireResults;  // one per Acquire; S_OK once used up
    std::deque<Result> readResults;     // one per read of an acquired device; S_OK once used up

    // What the calls left.
    bool created = false;
    bool released = false;
    bool acquired = false;
    int acquires = 0;
    int unacquires = 0;
    int reads = 0;  // successful ones
    std::vector<DataFormat> formats;
    WindowHandle window = 0;
    std::uint32_t flags = 0;
    int cooperativeCalls = 0;
};

struct FakeKeyboardScript : FakeDeviceScript {
    KeyboardState keys{};  // what every successful read gives; change it between frames
};

struct FakeMouseScript : FakeDeviceScript {
    // One state per successful read. Once they are used up, a read reports no motion and
    // the buttons as the last state left them, like a mouse nobody touches.
    std::deque<MouseState> states;
    std::array<std::uint8_t, 8> heldButtons{};

    // Queues `frames` reads with `buttons` held (left 0, right 1, middle 2) and no motion.
    void Hold(std::initializer_list<int> buttons, int frames = 1);
};

// The scripts of both devices and the order of every call ("keyboard.Acquire",
// "mouse.GetState", "keyboard.Release"). Owned by the test, so it outlives the devices.
struct FakeInput {
    FakeKeyboardScript keyboard;
    FakeMouseScript mouse;
    bool systemReleased = false;
    std::vector<std::string> calls;
};

class FakeInputSystem : public InputSystem {
  public:
    explicit FakeInputSystem(FakeInput* input) : input_(input) {}
    ~FakeInputSystem() override;

    Result CreateKeyboard(std::unique_ptr<Keyboard>* out) override;
    Result CreateMouse(std::unique_ptr<Mouse>* out) override;

  private:
    FakeInput* input_;
};

}  // namespace tetrakon::input
