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

}  // namespace tetrakon
