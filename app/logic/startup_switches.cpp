#include "app/logic/startup_switches.h"

#include <cstdlib>
#include <string_view>

#include "gfxutil/ascii.h"

namespace tetrakon {

bool StartupPictureAllowed(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.empty() || (argument[0] != '-' && argument[0] != '/')) {
            continue;
        }
        const std::string_view flag = argument.substr(1);
        if (EqualsIgnoringCase(flag, "Embedding") || EqualsIgnoringCase(flag, "Automation")) {
            return false;
        }
    }
    return true;
}

PrintRequest RequestedPrint(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help") {
            return PrintRequest::kUsage;
        }
        if (argument == "--version") {
            return PrintRequest::kVersion;
        }
    }
    return PrintRequest::kNone;
}

bool ScaleFactorUsable(const char* value) {
    if (value == nullptr) {
        return true;
    }
    char* end = nullptr;
    const double factor = std::strtod(value, &end);
    return end != value && *end == '\0' && factor >= 0.1 && factor <= 10;
}

}  // namespace tetrakon
