// Feeds arbitrary bytes to the registry file parser. Whatever it accepts must survive a
// write and a second read unchanged, so the file the program writes back is always one
// it can read again; reading one key must accept the same files and find the same values.
// A save's merge into the text must read back as the same change made in memory.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
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
    // A save of one value into the last key changes that value and nothing else.
    RegKeyEntry change(first.Keys().empty() ? "HKEY_CURRENT_USER\\Software\\Tetrakon"
                                            : first.Keys().back().Path());
    change.Set("Left", RegValue{REG_DWORD, {1, 0, 0, 0}});
    std::string merged;
    RegistryContents third;
    if (!MergeRegText(text, change, &merged) ||
        (merged.size() <= kMaxRegFileBytes && !ParseRegFile(merged, &third))) {
        std::abort();
    }
    first.Key(change.Path()).Set("Left", change.Values().front().value);
    if (merged.size() <= kMaxRegFileBytes && !(third == first)) {
        std::abort();
    }
    return 0;
}
