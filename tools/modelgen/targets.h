#pragma once

// The 72 pick targets: one triangle each, just outside a face, in 24 groups of three. A
// group names a turn; its three triangles lie on the three faces that meet at the vertex of
// the turn's axis, inside the strip of the turned layer, on the half of the strip that the
// turn's direction moves it towards.

#include <array>
#include <vector>

#include "tools/modelgen/model_part.h"
#include "tools/modelgen/solved_geometry.h"

namespace tetrakon::modelgen {

constexpr int kTargetCount = 72;
constexpr int kTargetGroupCount = 24;

// How far outside its face plane a generated target lies.
constexpr float kTargetLift = 0.15f;
// A target fills the part of its half-triangle next to the outer corner and the median:
// its third corner lies this fraction of the way from the outer corner to the median.
constexpr float kTargetReach = 1.0f / 3.0f;

struct TargetTriangle {
    Vec3 corner[3];
    PyramidFace face = PyramidFace::Base;
    int turnCode = 0;
};

// Turn code of group g (planes 3g+1 .. 3g+3).
int TurnCodeOfGroup(int group);

// The faces meeting at the vertex of the axis, in the order a group's planes use them.
std::array<PyramidFace, 3> TargetFacesOfAxis(int axis);

// +1 when the targets of (axis, flag) lie in the right half of their strip, -1 for the left,
// as seen from outside the face with the axis's vertex at the top.
int TargetHalf(int axis, int flag);

// Face-local directions at a vertex: down runs along the median from the vertex to the
// middle of the opposite edge, right is to the right of it seen from outside (left-handed
// space), normal points out of the pyramid.
struct FaceFrame {
    Vec3 vertex;
    Vec3 down;
    Vec3 right;
    Vec3 normal;
    float height = 0;  // length of the median
};
FaceFrame FaceFrameAt(PyramidFace face, int axis);

// All 72 targets in plane order. "Plane01".."Plane06" are stored corner for corner as the
// original model has them; the rest follow kTargetLift and kTargetReach.
std::vector<TargetTriangle> BuildTargetTriangles();

// Plane k (0 is "Plane01") as a model part: identity frame, one triangle, one material.
ModelPart BuildTargetPart(const TargetTriangle& target, int plane);

}  // namespace tetrakon::modelgen
