#pragma once

#include <cstdint>

namespace tetrakon::input {

// PC set-1 scan codes, the indices of KeyboardState. Keys with an E0 prefix in set 1 take
// the code with the high bit set (Up is E0 48, so 0xC8), as DirectInput numbers them.
namespace scan {
constexpr std::uint8_t kEscape = 0x01;
constexpr std::uint8_t k1 = 0x02;  // the digit row runs 1 ... 9, 0 up to 0x0B
constexpr std::uint8_t k0 = 0x0B;
constexpr std::uint8_t kMinus = 0x0C;
constexpr std::uint8_t kEquals = 0x0D;
constexpr std::uint8_t kBackspace = 0x0E;
constexpr std::uint8_t kTab = 0x0F;
constexpr std::uint8_t kQ = 0x10;
constexpr std::uint8_t kW = 0x11;
constexpr std::uint8_t kE = 0x12;
constexpr std::uint8_t kR = 0x13;
constexpr std::uint8_t kT = 0x14;
constexpr std::uint8_t kY = 0x15;
constexpr std::uint8_t kU = 0x16;
constexpr std::uint8_t kI = 0x17;
constexpr std::uint8_t kO = 0x18;
constexpr std::uint8_t kP = 0x19;
constexpr std::uint8_t kLeftBracket = 0x1A;
constexpr std::uint8_t kRightBracket = 0x1B;
constexpr std::uint8_t kEnter = 0x1C;
constexpr std::uint8_t kLeftControl = 0x1D;
constexpr std::uint8_t kA = 0x1E;
constexpr std::uint8_t kS = 0x1F;
constexpr std::uint8_t kD = 0x20;
constexpr std::uint8_t kF = 0x21;
constexpr std::uint8_t kG = 0x22;
constexpr std::uint8_t kH = 0x23;
constexpr std::uint8_t kJ = 0x24;
constexpr std::uint8_t kK = 0x25;
constexpr std::uint8_t kL = 0x26;
constexpr std::uint8_t kSemicolon = 0x27;
constexpr std::uint8_t kApostrophe = 0x28;
constexpr std::uint8_t kGrave = 0x29;
constexpr std::uint8_t kLeftShift = 0x2A;
constexpr std::uint8_t kBackslash = 0x2B;
constexpr std::uint8_t kZ = 0x2C;
constexpr std::uint8_t kX = 0x2D;
constexpr std::uint8_t kC = 0x2E;
constexpr std::uint8_t kV = 0x2F;
constexpr std::uint8_t kB = 0x30;
constexpr std::uint8_t kN = 0x31;
constexpr std::uint8_t kM = 0x32;
constexpr std::uint8_t kComma = 0x33;
constexpr std::uint8_t kPeriod = 0x34;
constexpr std::uint8_t kSlash = 0x35;
constexpr std::uint8_t kRightShift = 0x36;
constexpr std::uint8_t kLeftAlt = 0x38;
constexpr std::uint8_t kSpace = 0x39;
constexpr std::uint8_t kCapsLock = 0x3A;
constexpr std::uint8_t kF1 = 0x3B;  // F1 ... F10 run up to 0x44
constexpr std::uint8_t kF5 = 0x3F;
constexpr std::uint8_t kF10 = 0x44;
constexpr std::uint8_t kF11 = 0x57;
constexpr std::uint8_t kF12 = 0x58;
constexpr std::uint8_t kNumpadEnter = 0x9C;
constexpr std::uint8_t kRightControl = 0x9D;
constexpr std::uint8_t kRightAlt = 0xB8;
constexpr std::uint8_t kPause = 0xC5;
constexpr std::uint8_t kHome = 0xC7;
constexpr std::uint8_t kUp = 0xC8;
constexpr std::uint8_t kPageUp = 0xC9;
constexpr std::uint8_t kLeft = 0xCB;
constexpr std::uint8_t kRight = 0xCD;
constexpr std::uint8_t kEnd = 0xCF;
constexpr std::uint8_t kDown = 0xD0;
constexpr std::uint8_t kPageDown = 0xD1;
constexpr std::uint8_t kInsert = 0xD2;
constexpr std::uint8_t kDelete = 0xD3;
constexpr std::uint8_t kLeftWin = 0xDB;
constexpr std::uint8_t kRightWin = 0xDC;
constexpr std::uint8_t kApps = 0xDD;
}  // namespace scan

// The set-1 scan code of a Linux input-event key code (an X or Wayland keycode minus 8),
// 0 for keys without one. The main block's codes are the set-1 codes themselves.
std::uint8_t ScanCodeFromEvdev(std::uint32_t evdevCode);

}  // namespace tetrakon::input
