#include "resources/module_resources.h"

#include "resources/embedded_resources.h"

namespace tetrakon {
namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameTypeName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::span<const std::uint8_t> FindResource(int id, std::string_view typeName) {
    for (const EmbeddedResource& resource : EmbeddedResources()) {
        if (resource.id == id && SameTypeName(resource.typeName, typeName)) {
            return {resource.data, resource.size};
        }
    }
    return {};
}

}  // namespace tetrakon
