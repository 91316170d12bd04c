#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "gfxutil/mesh.h"
#include "gfxutil/result.h"
#include "gfxutil/xfile.h"
#include "platform/gfx/device.h"

namespace tetrakon {

// One loaded mesh with its materials: the source mesh in system memory for the object's
// life, and a device copy made on Restore and dropped on Invalidate.
class SceneMesh {
public:
    explicit SceneMesh(const char* name);
    virtual ~SceneMesh();
    SceneMesh(const SceneMesh&) = delete;
    SceneMesh& operator=(const SceneMesh&) = delete;

    // Loads a whole model resource as one merged mesh.
    Result LoadFromResource(gfx::Device* device, int resourceId, const char* typeName);
    // The same from the bytes of an X file in memory.
    Result LoadFromMemory(gfx::Device* device, std::span<const std::uint8_t> data);
    // Loads one Mesh object of an open X file.
    Result LoadFromData(gfx::Device* device, const XDataObject& meshObject);

    Result Restore(gfx::Device* device);
    Result Invalidate();
    Result Destroy();
    Result Render(gfx::Device* device, bool drawOpaque, bool drawTranslucent);

    const char* name() const { return name_; }
    const Mesh* sourceMesh() const { return source_.get(); }
    gfx::DeviceMesh* deviceMesh() const { return deviceMesh_.get(); }
    std::uint32_t materialCount() const { return materialCount_; }
    const std::vector<gfx::SurfaceMaterial>& materials() const { return materials_; }
    bool useMaterials = true;

private:
    Result FinishLoad(gfx::Device* device, std::unique_ptr<Mesh> mesh);

    char name_[512] = {};
    std::unique_ptr<Mesh> source_;
    std::unique_ptr<gfx::DeviceMesh> deviceMesh_;
    std::uint32_t materialCount_ = 0;
    std::vector<gfx::SurfaceMaterial> materials_;
    std::vector<std::unique_ptr<gfx::Texture>> textures_;
};

}  // namespace tetrakon
