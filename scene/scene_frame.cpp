#include "scene/scene_frame.h"

namespace tetrakon {

SceneFrame::SceneFrame(const char* name) {
    CopySceneName(name_, name ? name : "");
}

SceneFrame::~SceneFrame() {
    delete mesh;
    delete child;
    // Unlink the sibling chain first so that each deletion ends at its own frame.
    SceneFrame* sibling = next;
    while (sibling != nullptr) {
        SceneFrame* following = sibling->next;
        sibling->next = nullptr;
        delete sibling;
        sibling = following;
    }
}

SceneFrame* SceneFrame::FindFrame(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    for (SceneFrame* frame = this; frame != nullptr; frame = frame->next) {
        if (SameSceneName(frame->name_, name)) {
            return frame;
        }
        if (frame->child != nullptr) {
            if (SceneFrame* found = frame->child->FindFrame(name)) {
                return found;
            }
        }
    }
    return nullptr;
}

void SceneFrame::RestoreAll(gfx::Device* device) {
    for (SceneFrame* frame = this; frame != nullptr; frame = frame->next) {
        if (frame->mesh != nullptr) {
            frame->mesh->Restore(device);
        }
        if (frame->child != nullptr) {
            frame->child->RestoreAll(device);
        }
    }
}

void SceneFrame::InvalidateAll() {
    for (SceneFrame* frame = this; frame != nullptr; frame = frame->next) {
        if (frame->mesh != nullptr) {
            frame->mesh->Invalidate();
        }
        if (frame->child != nullptr) {
            frame->child->InvalidateAll();
        }
    }
}

void SceneFrame::DestroyAll() {
    for (SceneFrame* frame = this; frame != nullptr; frame = frame->next) {
        if (frame->mesh != nullptr) {
            frame->mesh->Destroy();
        }
        if (frame->child != nullptr) {
            frame->child->DestroyAll();
        }
    }
    delete mesh;
    mesh = nullptr;
    delete child;
    child = nullptr;
    delete next;
    next = nullptr;
}

Result SceneFrame::Render(gfx::Device* device, bool drawOpaque, bool drawTranslucent,
                          const Matrix& parentWorld) {
    if (device == nullptr) {
        return E_INVALIDARG;
    }
    for (SceneFrame* frame = this; frame != nullptr; frame = frame->next) {
        const Matrix world = frame->matrix * parentWorld;
        device->SetTransform(gfx::TransformState::World, world);
        if (frame->mesh != nullptr) {
            frame->mesh->Render(device, drawOpaque, drawTranslucent);
        }
        if (frame->child != nullptr) {
            frame->child->Render(device, drawOpaque, drawTranslucent, world);
        }
        device->SetTransform(gfx::TransformState::World, parentWorld);
    }
    return S_OK;
}

}  // namespace tetrakon
