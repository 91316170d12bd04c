#pragma once

// One frame of a model as the generator builds it: a name, a matrix, and flat-shaded
// triangles in the frame's own coordinates, each with one of the part's materials.

#include <string>
#include <vector>

#include "gfxutil/matrix.h"
#include "gfxutil/mesh.h"
#include "gfxutil/vector.h"

namespace tetrakon::modelgen {

// Corners in the order that faces outwards: seen from outside they run clockwise, which is
// the front face of a left-handed renderer, and Cross(b - a, c - a) points outwards.
struct PartTriangle {
    Vec3 corner[3];
    int material = 0;
};

struct ModelPart {
    std::string name;
    Matrix frame;
    std::vector<ColorValue> materials;  // diffuse colours, one subset each
    std::vector<PartTriangle> triangles;
};

// The material index of colour in part, adding it on first use.
int MaterialIndex(ModelPart* part, const ColorValue& colour);

}  // namespace tetrakon::modelgen
