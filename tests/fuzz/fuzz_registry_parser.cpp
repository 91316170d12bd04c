// Feeds arbitrary bytes to the registry file parser. Whatever it accepts must survive a
// write and a second read unchanged, so the file the program writes back is always one
// it can read again; reading one key must accept the same files and find the same values.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/registry/reg_file_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tetrakon;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RegistryContents first;
    if (!ParseRegFile(text, &first)) {
        RegKeyEntry any("HKEY_CURRENT_USER");
        if (ParseRegKey(text, &any)) {
            std::abort();
        }
        return 0;
    }
    RegistryContents second;
    if (!ParseRegFile(FormatRegFile(first), &second) || !(first == second)) {
        std::abort();
    }
    if (!first.Keys().empty()) {
        RegKeyEntry last(first.Keys().back().Path());
        if (!ParseRegKey(text, &last) || last.Values() != first.Keys().back().Values()) {
            std::abort();
        }
    }
    return 0;
}
