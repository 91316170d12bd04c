#pragma once

#include <cstdint>
#include <span>

#include "gfxutil/xfile/xfile.h"
#include "scene/scene_frame.h"

namespace tetrakon {

// The root of a loaded model file, named "CD3DFile_Root". Its children are the file's
// top-level frames, each frame's children its nested frames; frames are added at the head
// of their parent's child list, so siblings end up in reverse file order.
class SceneFile : public SceneFrame {
  public:
    SceneFile();
    ~SceneFile() override;

    // Builds the hierarchy under this root from a model resource of the program.
    // The frame tree is read as WalkFrames reads it, as the merged-mesh load does.
    // E_FILE_NOT_FOUND when there is no such resource, E_FAIL when the file cannot be read
    // or its hierarchy is malformed (a frame with two meshes, a reference to something
    // other than a frame or mesh). Frames built before a failure stay attached.
    Result LoadFromResource(gfx::Device* device, int resourceId, const char* typeName);
    // The same from the bytes of an X file in memory.
    Result LoadFromMemory(gfx::Device* device, std::span<const std::uint8_t> data);

    // Draws the hierarchy under `world` (the device's current world transform when null):
    // the opaque pass, then the translucent pass with alpha blending on. Blending is off
    // and the world transform is `world` again afterwards.
    Result Render(gfx::Device* device, const Matrix* world);
};

}  // namespace tetrakon
