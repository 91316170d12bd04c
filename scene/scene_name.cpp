#include "scene/scene_name.h"

#include <algorithm>
#include <cstring>

namespace tetrakon {

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

void CopySceneName(char (&buffer)[kSceneNameSize], std::string_view name) {
    const std::size_t length = std::min(name.size(), kSceneNameSize - 1);
    if (length > 0) {
        std::memcpy(buffer, name.data(), length);
    }
    buffer[length] = '\0';
}

bool SameSceneName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

}  // namespace tetrakon
