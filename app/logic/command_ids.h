#pragma once

// The command identifiers of menu 101 and accelerator table 113, as the program's
// resources number them.

namespace tetrakon {

constexpr int ID_FILE_SHUFFLE = 40020;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_EDIT_UNDO_TURN = 40024;
constexpr int ID_EDIT_RETURN_TO_START = 40026;
constexpr int ID_EDIT_CENTRE = 40028;
constexpr int ID_SETTINGS_BACKGROUND_COLOUR = 201;
constexpr int ID_SETTINGS_BACKGROUND_PICTURE = 40023;
constexpr int ID_SETTINGS_PRESETS = 40022;
constexpr int ID_HELP_ABOUT = 40021;
constexpr int ID_HELP_CONTENTS = 211;
// Alt+Enter: switch between a window and full screen.
constexpr int ID_TOGGLE_FULLSCREEN = 2003;
// Device-choice dialog; nothing issues it.
constexpr int ID_CHOOSE_DEVICE = 40002;

constexpr int IDR_MAINFRAME = 101;
constexpr int IDR_ACCELERATOR = 113;

}  // namespace tetrakon
