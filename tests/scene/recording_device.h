#pragma once

#include <cstdint>
#include <vector>

#include "tests/fakes/fake_device.h"

namespace tetrakon::gfx {

// The fake device, also keeping every world transform set and, for each subset drawn,
// the world transform and material in force at that moment.
class RecordingDevice : public FakeDevice {
  public:
    struct Draw {
        std::uint32_t subset = 0;
        Matrix world;
        SurfaceMaterial material;
    };

    std::vector<Matrix> worlds;
    std::vector<Draw> draws;

    Result SetTransform(TransformState state, const Matrix& matrix) override {
        if (state == TransformState::World) {
            worlds.push_back(matrix);
        }
        return FakeDevice::SetTransform(state, matrix);
    }

    Result DrawSubset(DeviceMesh& mesh, std::uint32_t subset) override {
        draws.push_back(
            {subset, transforms[static_cast<std::size_t>(TransformState::World)], material});
        return FakeDevice::DrawSubset(mesh, subset);
    }
};

}  // namespace tetrakon::gfx
