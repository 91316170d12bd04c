#pragma once

#include <cstdint>
#include <span>

#include "scene/scene_frame.h"

namespace tetrakon {

// The root of a loaded model file ("CD3DFile_Root").
class SceneFile : public SceneFrame {
public:
    SceneFile();
    ~SceneFile() override;

    // Builds the hierarchy under this root from a model resource.
    Result LoadFromResource(gfx::Device* device, int resourceId, const char* typeName);
    // The same from the bytes of an X file in memory.
    Result LoadFromMemory(gfx::Device* device, std::span<const std::uint8_t> data);

    // Draws the hierarchy under `world` (the device's current world transform when null).
    Result Render(gfx::Device* device, const Matrix* world);
};

}  // namespace tetrakon
