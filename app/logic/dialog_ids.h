#pragma once

// Resource and control ids of the shell's dialogs, start-up picture and icon. Controls carry
// their id as their object name, so they can be found by it.

namespace tetrakon {

constexpr int IDD_PRESETS = 203;
constexpr int IDD_ABOUT = 204;
constexpr int IDB_STARTUP_PICTURE = 1002;
constexpr int IDI_PROGRAM = 101;

// Controls of the presets dialog.
constexpr int IDC_PICTURE_CHECK = 2026;
constexpr int IDC_COUNT_EDIT = 2033;
constexpr int IDC_COUNT_SPIN = 2031;
constexpr int IDC_FAST_CHECK = 2034;
constexpr int IDOK_BUTTON = 1;

}  // namespace tetrakon
