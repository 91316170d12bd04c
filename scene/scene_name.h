#pragma once

#include <cstddef>
#include <string_view>

namespace tetrakon {

// Frame and mesh names live in fixed 512-byte buffers: at most 511 characters and a NUL.
constexpr std::size_t kSceneNameSize = 512;

// Copies `name` into `buffer`, cutting it at 511 characters.
void CopySceneName(char (&buffer)[kSceneNameSize], std::string_view name);

// Compares two names without regard to ASCII letter case.
bool SameSceneName(std::string_view a, std::string_view b);

}  // namespace tetrakon
