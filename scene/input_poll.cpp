#include "scene/input_poll.h"

#include <array>
#include <cstdio>

#include "platform/input/scan_codes.h"

namespace tetrakon {

namespace {

using input::kDown;

constexpr float kTitleCounterStep = 0.001f;

constexpr std::size_t kLeftButton = 0;
constexpr std::size_t kMiddleButton = 2;

// A mouse that keeps reporting lost input when acquired would hold the frame forever;
// the next frame tries again anyway.
constexpr int kMaxMouseAcquires = 16;

bool IsDown(std::uint8_t value) {
    return (value & kDown) != 0;
}

std::string FormatTitle(float counter) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%f", static_cast<double>(counter));
    return text.data();
}

Result SetUpDevice(input::InputDevice& device, input::DataFormat format, input::WindowHandle window,
                   std::uint32_t cooperation) {
    Result result = device.SetDataFormat(format);
    if (Succeeded(result)) {
        result = device.SetCooperativeLevel(window, cooperation);
    }
    if (Succeeded(result)) {
        result = device.Acquire();
    }
    return result;
}

// Reads the keys into the state; on failure acquires the keyboard again and returns false.
bool ReadKeyboard(input::Keyboard& keyboard, InputState* state) {
    if (Failed(keyboard.GetState(&state->keys))) {
        keyboard.Acquire();
        return false;
    }
    return true;
}

void SetKeyFlags(InputState* state) {
    const input::KeyboardState& keys = state->keys;
    state->up = IsDown(keys[input::scan::kUp]);
    state->down = IsDown(keys[input::scan::kDown]);
    state->left = IsDown(keys[input::scan::kLeft]);
    state->right = IsDown(keys[input::scan::kRight]);
    state->f5 = IsDown(keys[input::scan::kF5]);
}

void UpdateTitleCounter(InputState* state, InputActions& actions) {
    if (state->up) {
        state->titleCounter += kTitleCounterStep;
    } else if (state->down) {
        state->titleCounter -= kTitleCounterStep;
    } else {
        return;
    }
    actions.SetTitle(FormatTitle(state->titleCounter));
}

void ReacquireMouse(input::Mouse& mouse) {
    for (int attempt = 0; attempt < kMaxMouseAcquires; ++attempt) {
        if (mouse.Acquire() != input::DIERR_INPUTLOST) {
            return;
        }
    }
}

void HandleMouse(const input::MouseState& mouse, InputState* state, InputActions& actions) {
    if (!IsDown(mouse.buttons[kLeftButton])) {
        state->leftLatch = false;
    } else if (!state->leftLatch) {
        if (const std::int32_t code = actions.PickTurn(); code != 0) {
            actions.StartTurn(code);
        }
        state->leftLatch = true;
    }

    if (!IsDown(mouse.buttons[kMiddleButton])) {
        state->middleLatch = false;
    } else if (!state->middleLatch) {
        actions.UndoTurn();
        state->middleLatch = true;
    }

    actions.ApplyWheel(mouse.wheel);
}

}  // namespace

Result SetUpInput(std::unique_ptr<input::InputSystem> system, input::WindowHandle window,
                  InputDevices* devices) {
    devices->system = std::move(system);
    if (devices->system == nullptr) {
        return E_FAIL;
    }

    Result result = devices->system->CreateKeyboard(&devices->keyboard);
    if (Succeeded(result) && devices->keyboard == nullptr) {
        result = E_FAIL;
    }
    if (Succeeded(result)) {
        result = SetUpDevice(*devices->keyboard, input::DataFormat::Keyboard, window,
                             kKeyboardCooperation);
    }
    if (Failed(result)) {
        return result;
    }

    result = devices->system->CreateMouse(&devices->mouse);
    if (Succeeded(result) && devices->mouse == nullptr) {
        result = E_FAIL;
    }
    if (Succeeded(result)) {
        result = SetUpDevice(*devices->mouse, input::DataFormat::Mouse, window, kMouseCooperation);
    }
    return Failed(result) ? result : S_OK;
}

Result BindKeyboardWindow(InputDevices& devices, input::WindowHandle window) {
    if (devices.keyboard == nullptr) {
        return S_OK;
    }
    return devices.keyboard->SetCooperativeLevel(window, kKeyboardCooperation);
}

void PollInput(InputDevices& devices, InputState* state, InputActions& actions) {
    state->keys.fill(0);
    const bool keysRead = devices.keyboard == nullptr || ReadKeyboard(*devices.keyboard, state);
    // After a failed read no key is known to be down: a key held while the program lost
    // the front must not go on counting as held (F5 would repeat its sound meanwhile).
    SetKeyFlags(state);
    if (!keysRead) {
        return;
    }
    UpdateTitleCounter(state, actions);

    if (devices.mouse == nullptr) {
        return;
    }
    input::MouseState mouse;
    if (Failed(devices.mouse->GetState(&mouse))) {
        ReacquireMouse(*devices.mouse);
        return;
    }
    HandleMouse(mouse, state, actions);
}

void ReleaseInput(InputDevices* devices) {
    if (devices->keyboard != nullptr) {
        devices->keyboard->Unacquire();
        devices->keyboard.reset();
    }
    if (devices->mouse != nullptr) {
        devices->mouse->Unacquire();
        devices->mouse.reset();
    }
    devices->system.reset();
}

}  // namespace tetrakon
