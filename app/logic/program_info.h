#pragma once

#include <string>

namespace tetrakon {

// What the program says about itself: in the about box and on the command line.

// The version the build was made with ("1.0").
const char* ProgramVersion();

// The identifier of its desktop entry and AppStream data, without ".desktop"; on Wayland
// it is the window's application id, so that docks find the entry's name and icon.
inline constexpr const char* kDesktopId = "io.github.tetrakon.tetrakon";

// The about box's two lines: name and version; licence and year.
std::string AboutNameLine();
std::string AboutLicenceLine();

// `tetrakon --version`: "tetrakon 1.0".
std::string VersionText();

// `tetrakon --help`: a short usage in Russian.
std::string UsageText();

}  // namespace tetrakon
