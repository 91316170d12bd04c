#include "scene/scene_file.h"

#include <new>
#include <vector>

#include "gfxutil/xfile/xfile_frames.h"

namespace tetrakon {

namespace {

// Builds frames and meshes under the root as the walk meets them. Each frame goes to the
// head of its parent's child list, so siblings end up in reverse file order; a frame holds
// at most one mesh.
class HierarchyBuilder : public XFrameVisitor {
  public:
    HierarchyBuilder(gfx::Device* device, SceneFrame* root) : device_(device), open_{root} {}

    XStatus RootTransform(const Matrix& transform) override {
        open_.front()->matrix = transform;
        return {};
    }

    XStatus EnterFrame(const XDataObject& object, const Matrix& transform) override {
        auto* frame = new (std::nothrow) SceneFrame(object.name.c_str());
        if (frame == nullptr) {
            return XStatus{XError::TooLarge, "out of memory"};
        }
        frame->matrix = transform;
        SceneFrame* parent = open_.back();
        frame->next = parent->child;
        parent->child = frame;
        open_.push_back(frame);
        return {};
    }

    XStatus VisitMesh(const XDataObject& object) override {
        SceneFrame* parent = open_.back();
        if (parent->mesh != nullptr) {
            return XStatus{XError::BadMesh, "a frame holds a second mesh"};
        }
        auto* mesh = new (std::nothrow) SceneMesh(object.name.c_str());
        if (mesh == nullptr) {
            return XStatus{XError::TooLarge, "out of memory"};
        }
        parent->mesh = mesh;
        // A mesh that fails to load stays attached, empty, and is not drawn.
        mesh->LoadFromData(device_, object);
        return {};
    }

    void LeaveFrame() override { open_.pop_back(); }

  private:
    gfx::Device* device_;
    std::vector<SceneFrame*> open_;
};

}  // namespace

SceneFile::SceneFile() : SceneFrame("CD3DFile_Root") {}

SceneFile::~SceneFile() = default;

Result SceneFile::LoadFromMemory(gfx::Device* device, std::span<const std::uint8_t> data) {
    try {
        XFile file;
        if (!ReadXFile(data, &file).ok()) {
            return E_FAIL;
        }
        HierarchyBuilder builder(device, this);
        return WalkFrames(file, &builder).ok() ? S_OK : E_FAIL;
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
