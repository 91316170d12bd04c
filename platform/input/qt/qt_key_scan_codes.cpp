#include "platform/input/qt/qt_key_scan_codes.h"

#include <QKeyEvent>
#include <string_view>

#include "platform/input/scan_codes.h"

namespace tetrakon::input {

namespace {

// X and Wayland keycodes are Linux key codes moved up by 8.
constexpr std::uint32_t kNativeKeycodeOffset = 8;

struct KeyScan {
    int key;
    std::uint8_t scan;
};

// Keys outside the letter and digit rows, as a US keyboard places them. Shift, Control and
// Alt are taken as the left ones: a Qt key does not tell the sides apart.
constexpr KeyScan kMainKeys[] = {
    {Qt::Key_Escape, scan::kEscape},
    {Qt::Key_Tab, scan::kTab},
    {Qt::Key_Backtab, scan::kTab},
    {Qt::Key_Backspace, scan::kBackspace},
    {Qt::Key_Return, scan::kEnter},
    {Qt::Key_Enter, scan::kNumpadEnter},
    {Qt::Key_Space, scan::kSpace},
    {Qt::Key_Minus, scan::kMinus},
    {Qt::Key_Equal, scan::kEquals},
    {Qt::Key_BracketLeft, scan::kLeftBracket},
    {Qt::Key_BracketRight, scan::kRightBracket},
    {Qt::Key_Semicolon, scan::kSemicolon},
    {Qt::Key_Apostrophe, scan::kApostrophe},
    {Qt::Key_QuoteLeft, scan::kGrave},
    {Qt::Key_Backslash, scan::kBackslash},
    {Qt::Key_Comma, scan::kComma},
    {Qt::Key_Period, scan::kPeriod},
    {Qt::Key_Slash, scan::kSlash},
    {Qt::Key_Shift, scan::kLeftShift},
    {Qt::Key_Control, scan::kLeftControl},
    {Qt::Key_Alt, scan::kLeftAlt},
    {Qt::Key_AltGr, scan::kRightAlt},
    {Qt::Key_Meta, scan::kLeftWin},
    {Qt::Key_Super_L, scan::kLeftWin},
    {Qt::Key_Super_R, scan::kRightWin},
    {Qt::Key_Menu, scan::kApps},
    {Qt::Key_CapsLock, scan::kCapsLock},
    {Qt::Key_F11, scan::kF11},
    {Qt::Key_F12, scan::kF12},
    {Qt::Key_Pause, scan::kPause},
    {Qt::Key_Home, scan::kHome},
    {Qt::Key_End, scan::kEnd},
    {Qt::Key_PageUp, scan::kPageUp},
    {Qt::Key_PageDown, scan::kPageDown},
    {Qt::Key_Insert, scan::kInsert},
    {Qt::Key_Delete, scan::kDelete},
    {Qt::Key_Up, scan::kUp},
    {Qt::Key_Down, scan::kDown},
    {Qt::Key_Left, scan::kLeft},
    {Qt::Key_Right, scan::kRight},
};

// The keypad's keys with Num Lock off keep their keypad codes, as the keyboard sends them.
constexpr KeyScan kKeypadKeys[] = {
    {Qt::Key_Home, 0x47},   {Qt::Key_Up, 0x48},     {Qt::Key_PageUp, 0x49},
    {Qt::Key_Left, 0x4B},   {Qt::Key_Clear, 0x4C},  {Qt::Key_Right, 0x4D},
    {Qt::Key_End, 0x4F},    {Qt::Key_Down, 0x50},   {Qt::Key_PageDown, 0x51},
    {Qt::Key_Insert, 0x52}, {Qt::Key_Delete, 0x53}, {Qt::Key_Enter, scan::kNumpadEnter},
};

// The keypad digits 0 ... 9.
constexpr std::uint8_t kKeypadDigits[] = {0x52, 0x4F, 0x50, 0x51, 0x4B,
                                          0x4C, 0x4D, 0x47, 0x48, 0x49};

// The letter rows, each running up from its first code.
struct LetterRow {
    std::string_view letters;
    std::uint8_t first;
};
constexpr LetterRow kLetterRows[] = {
    {"QWERTYUIOP", scan::kQ}, {"ASDFGHJKL", scan::kA}, {"ZXCVBNM", scan::kZ}};

std::uint8_t Find(const auto& table, int key) {
    for (const KeyScan& entry : table) {
        if (entry.key == key) {
            return entry.scan;
        }
    }
    return 0;
}

std::uint8_t ScanCodeOfQtKey(int key, bool keypad) {
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) {
            return kKeypadDigits[key - Qt::Key_0];
        }
        if (const std::uint8_t code = Find(kKeypadKeys, key)) {
            return code;
        }
    }
    if (key >= Qt::Key_1 && key <= Qt::Key_9) {
        return static_cast<std::uint8_t>(scan::k1 + (key - Qt::Key_1));
    }
    if (key == Qt::Key_0) {
        return scan::k0;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F10) {
        return static_cast<std::uint8_t>(scan::kF1 + (key - Qt::Key_F1));
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        for (const LetterRow& row : kLetterRows) {
            const std::size_t at = row.letters.find(static_cast<char>(key));
            if (at != std::string_view::npos) {
                return static_cast<std::uint8_t>(row.first + at);
            }
        }
    }
    return Find(kMainKeys, key);
}

}  // namespace

std::uint8_t ScanCodeOf(const QKeyEvent& event) {
    const std::uint32_t native = event.nativeScanCode();
    if (native > kNativeKeycodeOffset) {
        if (const std::uint8_t code = ScanCodeFromEvdev(native - kNativeKeycodeOffset)) {
            return code;
        }
    }
    return ScanCodeOfQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

}  // namespace tetrakon::input
