// Loading from the resources embedded in the program.

#include "resources/module_resources.h"
#include "scene/scene_file.h"
#include "scene/scene_mesh.h"

namespace tetrakon {

Result SceneMesh::LoadFromResource(gfx::Device* device, int resourceId, const char* typeName) {
    if (typeName == nullptr) {
        return E_INVALIDARG;
    }
    const std::span<const std::uint8_t> data = FindResource(resourceId, typeName);
    if (data.empty()) {
        Destroy();
        return E_FILE_NOT_FOUND;
    }
    return LoadFromMemory(device, data);
}

Result SceneFile::LoadFromResource(gfx::Device* device, int resourceId, const char* typeName) {
    if (typeName == nullptr) {
        return E_INVALIDARG;
    }
    const std::span<const std::uint8_t> data = FindResource(resourceId, typeName);
    if (data.empty()) {
        return E_FILE_NOT_FOUND;
    }
    return LoadFromMemory(device, data);
}

}  // namespace tetrakon
