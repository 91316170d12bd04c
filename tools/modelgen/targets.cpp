#include "tools/modelgen/targets.h"

#include <cstdio>
#include <utility>

namespace tetrakon::modelgen {
namespace {

// The first two groups (turn codes 1 and 4) as the original model places them. They are
// irregular hand-placed triangles that no clean rule reproduces, so they are kept as they
// are; the generated ones follow the same pattern.
constexpr float kStoredTargets[6][3][3] = {
    {{-0.06f, 9.45f, -6.67f}, {-2.87f, 9.5f, -2.07f}, {-0.21f, 13.19f, -4.18f}},
    {{5.8f, 9.43f, 3.32f}, {3.21f, 9.43f, -1.44f}, {4.15f, 12.3f, 2.21f}},
    {{-5.77f, 9.44f, 3.49f}, {0.02f, 9.44f, 3.49f}, {-3.66f, 12.86f, 2.28f}},
    {{-2.83f, 9.49f, -1.95f}, {-5.82f, 9.43f, 3.3f}, {-4.1f, 12.4f, 2.24f}},
    {{0.22f, 12.31f, -4.74f}, {0.16f, 9.43f, -6.75f}, {3.18f, 9.43f, -1.43f}},
    {{0.0f, 9.43f, 3.49f}, {3.92f, 12.45f, 2.42f}, {5.77f, 9.43f, 3.49f}},
};
constexpr int kStoredTargetCount = 6;

Vec3 Lerp(Vec3 a, Vec3 b, float t) {
    return a + (b - a) * t;
}

// The other two vertices of the face, the one on the given half first.
void SideVertices(const FaceFrame& frame, PyramidFace face, int axis, int half, Vec3* near,
                  Vec3* far) {
    Vec3 others[2];
    int count = 0;
    for (int other = 1; other <= 4; ++other) {
        if (other != axis && FaceHasVertex(face, other)) {
            others[count++] = PyramidVertex(other);
        }
    }
    const bool firstOnHalf = Dot(others[0] - frame.vertex, frame.right) * half > 0.0f;
    *near = firstOnHalf ? others[0] : others[1];
    *far = firstOnHalf ? others[1] : others[0];
}

// The half of the layer's sticker triangle that the median of the axis cuts off on the
// given half, as (outer corner, foot on the median, far end on the median): the tip for
// layer 1, the axial centre's inverted triangle for layer 2, the edge piece opposite the
// vertex for layer 3.
void HalfTriangle(PyramidFace face, int axis, int layer, int half, Vec3* outer, Vec3* foot,
                  Vec3* end) {
    const FaceFrame frame = FaceFrameAt(face, axis);
    Vec3 near, far;
    SideVertices(frame, face, axis, half, &near, &far);
    const Vec3 vertex = frame.vertex;
    const Vec3 edgeMiddle = (near + far) * 0.5f;
    const Vec3 faceCentre = (vertex + near + far) * (1.0f / 3.0f);
    const Vec3 thirdDown = Lerp(vertex, edgeMiddle, 1.0f / 3.0f);
    switch (layer) {
        case 1:
            *outer = Lerp(vertex, near, 1.0f / 3.0f);
            *foot = thirdDown;
            *end = vertex;
            break;
        case 2:
            *outer = Lerp(vertex, near, 1.0f / 3.0f);
            *foot = thirdDown;
            *end = faceCentre;
            break;
        default:
            *outer = Lerp(near, far, 1.0f / 3.0f);
            *foot = edgeMiddle;
            *end = faceCentre;
            break;
    }
}

TargetTriangle GeneratedTarget(PyramidFace face, int turnCode) {
    const int axis = (turnCode - 1) / 6 + 1;
    const int layer = (turnCode - 1) % 3 + 1;
    const int flag = ((turnCode - 1) / 3) % 2;
    Vec3 outer, foot, end;
    HalfTriangle(face, axis, layer, TargetHalf(axis, flag), &outer, &foot, &end);

    const Vec3 lift = PlaneOfFace(face).normal * kTargetLift;
    TargetTriangle target;
    target.face = face;
    target.turnCode = turnCode;
    target.corner[0] = outer + lift;
    target.corner[1] = foot + lift;
    target.corner[2] = Lerp(outer, end, kTargetReach) + lift;
    const Vec3 facing =
        Cross(target.corner[1] - target.corner[0], target.corner[2] - target.corner[0]);
    if (Dot(facing, PlaneOfFace(face).normal) < 0.0f) {
        std::swap(target.corner[1], target.corner[2]);
    }
    return target;
}

}  // namespace

int TurnCodeOfGroup(int group) {
    return 6 * (group / 6) + (group % 6) / 2 + 1 + 3 * (group % 2);
}

std::array<PyramidFace, 3> TargetFacesOfAxis(int axis) {
    switch (axis) {
        case 1:
            return {PyramidFace::Red, PyramidFace::Yellow, PyramidFace::Blue};
        case 2:
            return {PyramidFace::Blue, PyramidFace::Base, PyramidFace::Red};
        case 3:
            return {PyramidFace::Base, PyramidFace::Blue, PyramidFace::Yellow};
        default:
            return {PyramidFace::Yellow, PyramidFace::Red, PyramidFace::Base};
    }
}

int TargetHalf(int axis, int flag) {
    const int flagZeroHalf = axis <= 2 ? +1 : -1;
    return flag == 0 ? flagZeroHalf : -flagZeroHalf;
}

FaceFrame FaceFrameAt(PyramidFace face, int axis) {
    FaceFrame frame;
    frame.vertex = PyramidVertex(axis);
    frame.normal = PlaneOfFace(face).normal;
    Vec3 edgeMiddle;
    for (int other = 1; other <= 4; ++other) {
        if (other != axis && FaceHasVertex(face, other)) {
            edgeMiddle = edgeMiddle + PyramidVertex(other) * 0.5f;
        }
    }
    frame.height = Length(edgeMiddle - frame.vertex);
    frame.down = Normalize(edgeMiddle - frame.vertex);
    // Left-handed space, viewer outside looking along -normal: right = up x view direction.
    frame.right = Cross(frame.down, frame.normal);
    return frame;
}

std::vector<TargetTriangle> BuildTargetTriangles() {
    std::vector<TargetTriangle> targets;
    for (int group = 0; group < kTargetGroupCount; ++group) {
        const int code = TurnCodeOfGroup(group);
        const std::array<PyramidFace, 3> faces = TargetFacesOfAxis((code - 1) / 6 + 1);
        for (PyramidFace face : faces) {
            const int plane = static_cast<int>(targets.size());
            if (plane < kStoredTargetCount) {
                TargetTriangle stored;
                stored.face = face;
                stored.turnCode = code;
                for (int i = 0; i < 3; ++i) {
                    const auto& p = kStoredTargets[plane][i];
                    stored.corner[i] = {p[0], p[1], p[2]};
                }
                targets.push_back(stored);
            } else {
                targets.push_back(GeneratedTarget(face, code));
            }
        }
    }
    return targets;
}

ModelPart BuildTargetPart(const TargetTriangle& target, int plane) {
    char name[32];
    std::snprintf(name, sizeof name, "Plane%02d", plane + 1);
    ModelPart part;
    part.name = name;
    part.frame = Matrix::Identity();
    part.materials.push_back({1.0f, 1.0f, 1.0f, 1.0f});
    PartTriangle triangle;
    for (int i = 0; i < 3; ++i) {
        triangle.corner[i] = target.corner[i];
    }
    part.triangles.push_back(triangle);
    return part;
}

}  // namespace tetrakon::modelgen
