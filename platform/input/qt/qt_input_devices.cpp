#include "platform/input/qt/qt_input_devices.h"

namespace tetrakon::input {

namespace {

// The sums grow without bound; a read reports what they grew by, which fits 32 bits.
std::int32_t Since(std::int64_t now, std::int64_t before) {
    return static_cast<std::int32_t>(now - before);
}

}  // namespace

Result QtKeyboard::GetState(KeyboardState* state) {
    const Result readable = CheckReadable();
    if (Failed(readable)) {
        return readable;
    }
    *state = feed().keys();
    presses_.Apply(feed().keyPresses(), state);
    return S_OK;
}

Result QtMouse::GetState(MouseState* state) {
    const Result readable = CheckReadable();
    if (Failed(readable)) {
        return readable;
    }
    const QtInputFeed::MouseTotals& totals = feed().mouseTotals();
    state->x = Since(totals.x, readTotals_.x);
    state->y = Since(totals.y, readTotals_.y);
    state->wheel = Since(totals.wheel, readTotals_.wheel);
    state->buttons = feed().buttons();
    presses_.Apply(feed().buttonPresses(), &state->buttons);
    readTotals_ = totals;
    return S_OK;
}

}  // namespace tetrakon::input
