// Feeds arbitrary bytes to the registry file parser. Whatever it accepts must survive a
// write and a second read unchanged, so the file the program writes back is always one
// it can read again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/registry/reg_file_format.h"

namespace {

bool SameContents(const tetrakon::RegistryContents& a, const tetrakon::RegistryContents& b) {
    if (a.Keys().size() != b.Keys().size()) {
        return false;
    }
    for (std::size_t k = 0; k < a.Keys().size(); ++k) {
        const tetrakon::RegKeyEntry& keyA = a.Keys()[k];
        const tetrakon::RegKeyEntry& keyB = b.Keys()[k];
        if (keyA.Path() != keyB.Path() || keyA.Values().size() != keyB.Values().size()) {
            return false;
        }
        for (std::size_t v = 0; v < keyA.Values().size(); ++v) {
            if (keyA.Values()[v].name != keyB.Values()[v].name ||
                !(keyA.Values()[v].value == keyB.Values()[v].value)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tetrakon::RegistryContents first;
    if (!tetrakon::ParseRegFile(std::string_view(reinterpret_cast<const char*>(data), size),
                                &first)) {
        return 0;
    }
    tetrakon::RegistryContents second;
    if (!tetrakon::ParseRegFile(tetrakon::FormatRegFile(first), &second) ||
        !SameContents(first, second)) {
        std::abort();
    }
    return 0;
}
