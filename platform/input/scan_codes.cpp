#include "platform/input/scan_codes.h"

namespace tetrakon::input {

namespace {

// Linux key codes of the main block and keypad, 1 (Escape) to 88 (F12), equal the set-1
// codes; the E0-prefixed keys are numbered apart from 96 on.
constexpr std::uint32_t kLastSharedCode = 88;

struct EvdevKey {
    std::uint32_t evdev;
    std::uint8_t scan;
};

constexpr EvdevKey kExtendedKeys[] = {
    {96, scan::kNumpadEnter}, {97, scan::kRightControl}, {98, 0xB5 /* keypad / */},
    {99, 0xB7 /* print */},   {100, scan::kRightAlt},    {102, scan::kHome},
    {103, scan::kUp},         {104, scan::kPageUp},      {105, scan::kLeft},
    {106, scan::kRight},      {107, scan::kEnd},         {108, scan::kDown},
    {109, scan::kPageDown},   {110, scan::kInsert},      {111, scan::kDelete},
    {119, scan::kPause},      {125, scan::kLeftWin},     {126, scan::kRightWin},
    {127, scan::kApps},
};

}  // namespace

std::uint8_t ScanCodeFromEvdev(std::uint32_t evdevCode) {
    if (evdevCode >= 1 && evdevCode <= kLastSharedCode) {
        return static_cast<std::uint8_t>(evdevCode);
    }
    for (const EvdevKey& key : kExtendedKeys) {
        if (key.evdev == evdevCode) {
            return key.scan;
        }
    }
    return 0;
}

}  // namespace tetrakon::input
