#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "gfxutil/mesh.h"
#include "gfxutil/result.h"
#include "gfxutil/xfile/xfile.h"
#include "platform/gfx/device.h"
#include "scene/scene_name.h"

namespace tetrakon {

// One loaded mesh with its materials: the source mesh in system memory for the object's
// life, and a device copy made on Restore and dropped on Invalidate. Subset i is drawn
// with material i; a loaded mesh has one subset per material, in material order.
class SceneMesh {
  public:
    explicit SceneMesh(const char* name);
    virtual ~SceneMesh();
    SceneMesh(const SceneMesh&) = delete;
    SceneMesh& operator=(const SceneMesh&) = delete;

    // Loads a whole model resource as one merged mesh: every mesh of the file placed by
    // its frames' transforms, materials in file order. Replaces what was loaded before.
    Result LoadFromResource(gfx::Device* device, int resourceId, const char* typeName);
    // The same from the bytes of an X file in memory.
    Result LoadFromMemory(gfx::Device* device, std::span<const std::uint8_t> data);
    // Loads one Mesh object of an open X file. Replaces what was loaded before.
    Result LoadFromData(gfx::Device* device, const XDataObject& meshObject);

    // Makes the device copy of the source mesh; E_FAIL without a source mesh or when the
    // device cannot make the copy.
    Result Restore(gfx::Device* device);
    // Releases the device copy. Always succeeds.
    Result Invalidate();
    // Releases everything: device copy, textures, materials and source mesh. Always
    // succeeds; safe to repeat.
    Result Destroy();

    // Opaque pass: every subset whose diffuse alpha is at least 1. Translucent pass: every
    // subset whose diffuse alpha is not exactly 1. Without useMaterials every subset is
    // drawn in the opaque pass with the device's current material and texture, and the
    // translucent pass draws nothing. E_FAIL without a device copy.
    Result Render(gfx::Device* device, bool drawOpaque, bool drawTranslucent);

    const char* name() const { return name_; }
    const Mesh* sourceMesh() const { return source_.get(); }
    gfx::DeviceMesh* deviceMesh() const { return deviceMesh_.get(); }
    std::uint32_t materialCount() const { return materialCount_; }
    const std::vector<gfx::SurfaceMaterial>& materials() const { return materials_; }
    gfx::Texture* texture(std::uint32_t index) const {
        return index < textures_.size() ? textures_[index].get() : nullptr;
    }

    bool useMaterials = true;

  private:
    // The shared second half of every load: optimise the source mesh, then copy the
    // materials and load their textures.
    Result FinishLoad(gfx::Device* device, std::unique_ptr<Mesh> mesh);

    char name_[kSceneNameSize] = {};
    std::unique_ptr<Mesh> source_;
    std::unique_ptr<gfx::DeviceMesh> deviceMesh_;
    std::uint32_t materialCount_ = 0;
    std::vector<gfx::SurfaceMaterial> materials_;
    std::vector<std::unique_ptr<gfx::Texture>> textures_;
};

}  // namespace tetrakon
