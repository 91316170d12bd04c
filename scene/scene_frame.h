#pragma once

#include "gfxutil/matrix.h"
#include "scene/scene_mesh.h"
#include "scene/scene_name.h"

namespace tetrakon {

// One node of the model hierarchy: a name, a matrix relative to its parent, at most one
// mesh, a first child and a next sibling. A frame owns all three: deleting it deletes its
// mesh, its first child and its next sibling, so a whole subtree and the rest of its
// sibling chain go with it.
//
// The operations walk the child links recursively and the sibling links in a loop, so a
// long sibling chain does not deepen the call stack.
class SceneFrame {
  public:
    explicit SceneFrame(const char* name);
    virtual ~SceneFrame();
    SceneFrame(const SceneFrame&) = delete;
    SceneFrame& operator=(const SceneFrame&) = delete;

    // Case-insensitive, depth first: this frame, the first child's subtree, then the next
    // sibling's chain; the first match wins.
    SceneFrame* FindFrame(const char* name);

    // Restore, Invalidate or Destroy every mesh of this frame, its subtree and its sibling
    // chain. Mesh results are ignored: a mesh that cannot be restored is simply not drawn.
    void RestoreAll(gfx::Device* device);
    void InvalidateAll();
    // Also deletes the meshes, the children and the siblings; this frame stays, empty.
    // Safe to repeat.
    void DestroyAll();

    // Draws this frame, its subtree and its sibling chain: each frame's world matrix is its
    // own matrix times parentWorld, and parentWorld is the world transform again after
    // each frame's subtree. A mesh without a device copy is skipped.
    Result Render(gfx::Device* device, bool drawOpaque, bool drawTranslucent,
                  const Matrix& parentWorld);

    const char* name() const { return name_; }

    Matrix matrix;
    SceneMesh* mesh = nullptr;    // owned
    SceneFrame* next = nullptr;   // owned
    SceneFrame* child = nullptr;  // owned

  private:
    char name_[kSceneNameSize] = {};
};

}  // namespace tetrakon
