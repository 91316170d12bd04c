#pragma once

namespace tetrakon {

// Whether the start-up picture may be shown for this command line. A start for embedding
// or automation ("-Embedding", "/Automation": either prefix, any letter case) shows none;
// every other argument is ignored. `argv[0]` is the program.
bool StartupPictureAllowed(int argc, const char* const* argv);

// What the command line asks to print instead of starting the game: the first of
// "--help" and "--version" it holds, or nothing. Other arguments are ignored.
enum class PrintRequest { kNone, kUsage, kVersion };
PrintRequest RequestedPrint(int argc, const char* const* argv);

// Whether QT_SCALE_FACTOR may be left to Qt: unset, or a number from 0.1 to 10. Qt takes any
// number it parses: at 0 or "nan" no window ever appears and the program runs on unseen,
// and beyond that range its windows shrink to a pixel or outgrow every screen.
bool ScaleFactorUsable(const char* value);

}  // namespace tetrakon
