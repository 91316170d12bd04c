#include "resources/module_resources.h"

#include "gfxutil/ascii.h"
#include "resources/embedded_resources.h"

namespace tetrakon {

std::span<const std::uint8_t> FindResource(int id, std::string_view typeName) {
    for (const EmbeddedResource& resource : EmbeddedResources()) {
        if (resource.id == id && resource.name[0] == '\0' &&
            EqualsIgnoringCase(resource.typeName, typeName)) {
            return {resource.data, resource.size};
        }
    }
    return {};
}

std::span<const std::uint8_t> FindResource(std::string_view name, std::string_view typeName) {
    if (name.empty()) {
        return {};
    }
    for (const EmbeddedResource& resource : EmbeddedResources()) {
        if (EqualsIgnoringCase(resource.name, name) &&
            EqualsIgnoringCase(resource.typeName, typeName)) {
            return {resource.data, resource.size};
        }
    }
    return {};
}

}  // namespace tetrakon
