#pragma once

#include <memory>

#include "gfxutil/matrix.h"
#include "scene/scene_mesh.h"

namespace tetrakon {

// One node of the model hierarchy: a name, a matrix relative to its parent, at most one
// mesh, a first child and a next sibling. Deleting a frame deletes its first child and
// its next sibling, so a whole subtree and the rest of its sibling chain go with it.
class SceneFrame {
public:
    explicit SceneFrame(const char* name);
    virtual ~SceneFrame();
    SceneFrame(const SceneFrame&) = delete;
    SceneFrame& operator=(const SceneFrame&) = delete;

    // Case-insensitive, depth first: this frame, the first child's subtree, then the next
    // sibling's chain.
    SceneFrame* FindFrame(const char* name);

    void RestoreAll(gfx::Device* device);
    void InvalidateAll();
    // Destroys every mesh below and deletes the children and siblings; this frame stays,
    // empty. Safe to repeat.
    void DestroyAll();
    Result Render(gfx::Device* device, bool drawOpaque, bool drawTranslucent,
                  const Matrix& parentWorld);

    const char* name() const { return name_; }
    Matrix matrix;
    SceneMesh* mesh = nullptr;   // owned
    SceneFrame* next = nullptr;  // owned
    SceneFrame* child = nullptr; // owned

private:
    char name_[512] = {};
};

}  // namespace tetrakon
