#pragma once

// The table of resources compiled into the program. The build generates its definition
// (embedded_resources.cpp in the build tree) from the resource files.

#include <cstddef>
#include <cstdint>
#include <span>

namespace tetrakon {

struct EmbeddedResource {
    int id = 0;             // a numbered resource, or
    const char* name = "";  // a named one
    const char* typeName = "";
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

std::span<const EmbeddedResource> EmbeddedResources();

}  // namespace tetrakon
