#include "scene/scene_mesh.h"

#include <new>
#include <utility>

#include "gfxutil/xfile/xfile_mesh.h"
#include "platform/gfx/texture_file.h"

namespace tetrakon {

namespace {

gfx::SurfaceMaterial SurfaceFrom(const Material& material) {
    gfx::SurfaceMaterial surface;
    surface.diffuse = material.diffuse;
    surface.ambient = material.ambient;
    surface.specular = material.specular;
    surface.emissive = material.emissive;
    surface.power = material.power;
    return surface;
}

// Keeps the first failure of a sequence of device calls that all run regardless.
void KeepFirstFailure(Result* first, Result result) {
    if (Failed(result) && Succeeded(*first)) {
        *first = result;
    }
}

}  // namespace

SceneMesh::SceneMesh(const char* name) {
    CopySceneName(name_, name ? name : "");
}

SceneMesh::~SceneMesh() {
    Destroy();
}

Result SceneMesh::LoadFromMemory(gfx::Device* device, std::span<const std::uint8_t> data) {
    Destroy();
    try {
        XFile file;
        if (!ReadXFile(data, &file).ok()) {
            return E_FAIL;
        }
        auto merged = std::make_unique<Mesh>();
        if (!LoadMergedMesh(file, merged.get()).ok()) {
            return E_FAIL;
        }
        return FinishLoad(device, std::move(merged));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

Result SceneMesh::LoadFromData(gfx::Device* device, const XDataObject& meshObject) {
    Destroy();
    try {
        auto mesh = std::make_unique<Mesh>();
        if (!MeshFromXObject(meshObject, mesh.get()).ok()) {
            return E_FAIL;
        }
        return FinishLoad(device, std::move(mesh));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

Result SceneMesh::FinishLoad(gfx::Device* device, std::unique_ptr<Mesh> mesh) {
    // A mesh whose indices run outside its own arrays is never handed to a device.
    if (mesh == nullptr || Failed(ValidateMesh(*mesh))) {
        return E_FAIL;
    }
    source_ = std::move(mesh);

    // When the optimisation fails the mesh stays as loaded, without materials, so that
    // nothing of it is drawn.
    const Result optimised = SortFacesBySubset(source_.get());
    if (Failed(optimised)) {
        return optimised;
    }

    const auto count = static_cast<std::uint32_t>(source_->materials.size());
    try {
        materials_.reserve(count);
        textures_.resize(count);
    } catch (const std::bad_alloc&) {
        materials_.clear();
        textures_.clear();
        return E_OUTOFMEMORY;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        const Material& material = source_->materials[i];
        materials_.push_back(SurfaceFrom(material));
        // A texture file that cannot be loaded leaves that subset untextured; the mesh
        // is still drawn.
        if (device != nullptr && !material.textureFilename.empty()) {
            gfx::LoadTextureFromFile(device, material.textureFilename, &textures_[i]);
        }
    }
    materialCount_ = count;
    return S_OK;
}

Result SceneMesh::Restore(gfx::Device* device) {
    if (source_ == nullptr || device == nullptr) {
        return E_FAIL;
    }
    deviceMesh_.reset();
    std::unique_ptr<gfx::DeviceMesh> copy;
    if (Failed(device->CreateMesh(*source_, &copy)) || copy == nullptr) {
        return E_FAIL;
    }
    deviceMesh_ = std::move(copy);
    return S_OK;
}

Result SceneMesh::Invalidate() {
    deviceMesh_.reset();
    return S_OK;
}

Result SceneMesh::Destroy() {
    deviceMesh_.reset();
    textures_.clear();
    materials_.clear();
    source_.reset();
    materialCount_ = 0;
    return S_OK;
}

Result SceneMesh::Render(gfx::Device* device, bool drawOpaque, bool drawTranslucent) {
    if (deviceMesh_ == nullptr || device == nullptr) {
        return E_FAIL;
    }
    Result first = S_OK;
    const auto drawWithMaterial = [&](std::uint32_t subset) {
        KeepFirstFailure(&first, device->SetMaterial(materials_[subset]));
        KeepFirstFailure(&first, device->SetTexture(0, textures_[subset].get()));
        KeepFirstFailure(&first, device->DrawSubset(*deviceMesh_, subset));
    };

    if (drawOpaque) {
        for (std::uint32_t subset = 0; subset < materialCount_; ++subset) {
            if (!useMaterials) {
                KeepFirstFailure(&first, device->DrawSubset(*deviceMesh_, subset));
            } else if (materials_[subset].diffuse.a >= 1.0f) {
                drawWithMaterial(subset);
            }
        }
    }
    if (drawTranslucent && useMaterials) {
        for (std::uint32_t subset = 0; subset < materialCount_; ++subset) {
            if (materials_[subset].diffuse.a != 1.0f) {
                drawWithMaterial(subset);
            }
        }
    }
    return first;
}

}  // namespace tetrakon
