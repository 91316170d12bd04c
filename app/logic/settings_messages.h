#pragma once

#include <string>

#include "platform/registry/registry_file.h"

namespace tetrakon {

// The lines a save says on standard error, in the program's language, each naming the file
// and the reason. Empty when there is nothing to say.

// The settings of this run were not kept in `file`.
std::string UnsavedSettingsLine(const std::string& file, const SaveReport& report);

// The file found was refused and kept beside the new one as `file`.bad.
std::string SetAsideLine(const std::string& file, RefusedFile refused);

// No settings could be kept because their folder cannot be made or used.
std::string UnusableFolderLine(const std::string& folder);

}  // namespace tetrakon
