#include "scene/scene_name.h"

#include "gfxutil/ascii.h"

#include <algorithm>
#include <cstring>

namespace tetrakon {

void CopySceneName(char (&buffer)[kSceneNameSize], std::string_view name) {
    const std::size_t length = std::min(name.size(), kSceneNameSize - 1);
    if (length > 0) {
        std::memcpy(buffer, name.data(), length);
    }
    buffer[length] = '\0';
}

bool SameSceneName(std::string_view a, std::string_view b) {
    return EqualsIgnoringCase(a, b);
}

}  // namespace tetrakon
