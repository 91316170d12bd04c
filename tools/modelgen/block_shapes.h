#pragma once

#include "tools/modelgen/model_part.h"

namespace tetrakon::modelgen {

// The three block shapes, each a closed three-sided cone in the block's own coordinates:
// a base fanned from a point P over the corners c1, c2, c3, and three sides meeting at
// the apex. Shape 1 is a regular tetrahedron standing on its base.
struct BlockShape {
    Vec3 basePoint;
    Vec3 corner[3];
    Vec3 apex;
};

const BlockShape& ShapeOfBlock(int block);  // block 0 is "Cone01"
int ShapeNumberOfBlock(int block);          // 1 to 3

// How far from a face plane a block face may lie and still count as part of the surface.
// Surface faces come within 0.01 of their plane, inner faces stay more than 1 away.
constexpr float kSurfaceTolerance = 0.05f;

// Block frame k with its six triangles: those lying on the pyramid's surface (judged in
// model space, through the frame matrix) dark grey, the others grey.
ModelPart BuildBlock(int block);

}  // namespace tetrakon::modelgen
