#include "resources/module_resources.h"

#include "gfxutil/ascii.h"
#include "resources/embedded_resources.h"

namespace tetrakon {

std::span<const std::uint8_t> FindResource(int id, std::string_view typeName) {
    for (const EmbeddedResource& resource : EmbeddedResources()) {
        if (resource.id == id && EqualsIgnoringCase(resource.typeName, typeName)) {
            return {resource.data, resource.size};
        }
    }
    return {};
}

}  // namespace tetrakon
