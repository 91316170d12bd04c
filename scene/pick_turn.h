#pragma once

#include <cstdint>
#include <optional>

#include "gfxutil/matrix.h"
#include "gfxutil/mesh.h"
#include "gfxutil/vector.h"

namespace tetrakon {

// Choosing a layer turn with a click: a ray from the eye through the cursor, brought into
// the models' space, meets the pyramid's body and the 72 target triangles. Neither model
// moves when layers turn or the view rotates; the ray is moved into their space instead.

// The turn code picked, 1 to 24, or kNoTurnPicked.
constexpr int kNoTurnPicked = 0;

// Target triangles 3g, 3g+1 and 3g+2 form group g (0 to 23). Within each axis's six groups
// the turns come in the order: tip layer flag 0, tip layer flag 1, middle layer flag 0,
// middle layer flag 1, far layer flag 0, far layer flag 1.
int TargetGroupTurnCode(int group);

struct PickRay {
    Vec3 origin;     // the eye, in model space
    Vec3 direction;  // not normalised; distances along the ray are measured in its length
};

struct PickInputs {
    // The cursor in device pixels of the drawing area, from its top-left corner. Converting
    // from screen or logical widget coordinates (device pixel ratio) is the caller's work.
    float px = 0;
    float py = 0;
    // The back buffer's size in device pixels.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    Matrix world;
    Matrix view;
    Matrix projection;
    const Mesh* hull = nullptr;
    // Null while there is no device copy of the target mesh (between device loss and reset):
    // then nothing can be picked.
    const Mesh* targets = nullptr;
};

// The ray through the pixel in the space of the models that world places; none when the
// drawing area has no size or world x view cannot be inverted.
std::optional<PickRay> PickRayThroughPixel(const PickInputs& inputs);

// The body's nearest hit decides what is in front. A group's turn is taken when the nearest
// of its three triangles on the ray lies strictly in front of the body; a target hidden by
// the body, or exactly as far as it, does not count. When several groups are in front, the
// last in group order wins. Nothing when the ray misses the body.
int PickTurnAlongRay(const Mesh& hull, const Mesh& targets, const PickRay& ray);

// The whole pick for one click.
int PickTurn(const PickInputs& inputs);

}  // namespace tetrakon
