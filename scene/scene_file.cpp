#include "scene/scene_file.h"

#include <new>

#include "gfxutil/ascii.h"

namespace tetrakon {

namespace {

// Adds one object of the file under `parent`, dispatched on its template type. Type names
// match without regard to case, as the reader resolves them.
Result LoadObject(gfx::Device* device, const XDataObject& object, SceneFrame* parent) {
    if (EqualsIgnoringCase(object.templateName, "Mesh")) {
        if (parent->mesh != nullptr) {
            return E_FAIL;
        }
        auto* mesh = new (std::nothrow) SceneMesh(object.name.c_str());
        if (mesh == nullptr) {
            return E_OUTOFMEMORY;
        }
        parent->mesh = mesh;
        // A mesh that fails to load stays attached, empty, and is not drawn.
        mesh->LoadFromData(device, object);
        return S_OK;
    }

    if (EqualsIgnoringCase(object.templateName, "FrameTransformMatrix")) {
        if (object.values.size() < 16) {
            return E_FAIL;
        }
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 4; ++column) {
                parent->matrix.m[row][column] =
                    object.values[static_cast<std::size_t>(row * 4 + column)].AsFloat();
            }
        }
        return S_OK;
    }

    if (EqualsIgnoringCase(object.templateName, "Frame")) {
        auto* frame = new (std::nothrow) SceneFrame(object.name.c_str());
        if (frame == nullptr) {
            return E_OUTOFMEMORY;
        }
        frame->next = parent->child;
        parent->child = frame;
        for (const XChild& child : object.children) {
            if (child.IsReference()) {
                return E_FAIL;
            }
            const Result result = LoadObject(device, *child.object, frame);
            if (Failed(result)) {
                return result;
            }
        }
        return S_OK;
    }

    // Materials, templates' other data and unknown objects carry nothing for the hierarchy.
    return S_OK;
}

}  // namespace

SceneFile::SceneFile() : SceneFrame("CD3DFile_Root") {}

SceneFile::~SceneFile() = default;

Result SceneFile::LoadFromMemory(gfx::Device* device, std::span<const std::uint8_t> data) {
    try {
        XFile file;
        if (!ReadXFile(data, &file).ok()) {
            return E_FAIL;
        }
        for (const auto& object : file.objects) {
            if (object == nullptr || Failed(LoadObject(device, *object, this))) {
                return E_FAIL;
            }
        }
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

Result SceneFile::Render(gfx::Device* device, const Matrix* world) {
    if (device == nullptr) {
        return E_INVALIDARG;
    }
    Matrix saved;
    if (world != nullptr) {
        saved = *world;
    } else {
        const Result got = device->GetTransform(gfx::TransformState::World, &saved);
        if (Failed(got)) {
            return got;
        }
    }

    const Matrix rootWorld = saved * matrix;
    device->SetTransform(gfx::TransformState::World, rootWorld);
    if (child != nullptr) {
        child->Render(device, true, false, rootWorld);
    }
    device->SetRenderState(gfx::RenderState::AlphaBlendEnable, 1);
    device->SetRenderState(gfx::RenderState::SrcBlend,
                           static_cast<std::uint32_t>(gfx::Blend::SrcAlpha));
    device->SetRenderState(gfx::RenderState::DestBlend,
                           static_cast<std::uint32_t>(gfx::Blend::InvSrcAlpha));
    if (child != nullptr) {
        child->Render(device, false, true, rootWorld);
    }
    device->SetRenderState(gfx::RenderState::AlphaBlendEnable, 0);
    device->SetTransform(gfx::TransformState::World, saved);
    return S_OK;
}

}  // namespace tetrakon
