#include "tools/modelgen/solved_geometry.h"

#include <cstdio>

namespace tetrakon::modelgen {
namespace {

constexpr float kVertices[4][3] = {
    {0.0f, 18.856f, 0.0f},      // axis 1, the apex
    {-17.32f, -9.428f, 10.0f},  // axis 2
    {17.32f, -9.428f, 10.0f},   // axis 3
    {0.0f, -9.428f, -20.0f},    // axis 4
};

// The upper 3x3 of each orientation class, rows first, as the frames store them.
constexpr float kOrientationClasses[9][3][3] = {
    {{0.866f, 0.0f, 0.5f}, {0.0f, 1.0f, 0.0f}, {-0.5f, 0.0f, 0.866f}},
    {{0.866f, 0.0f, -0.5f}, {0.0f, 1.0f, 0.0f}, {0.5f, 0.0f, 0.866f}},
    {{-0.0006f, -0.0001f, -1.0f}, {-0.0003f, 1.0f, -0.0001f}, {1.0f, 0.0003f, -0.0006f}},
    {{0.866f, -0.4714f, 0.1667f}, {0.0f, 0.3334f, 0.9428f}, {-0.5f, -0.8165f, 0.2887f}},
    {{0.866f, 0.4714f, -0.1667f}, {0.0f, 0.3334f, 0.9428f}, {0.5f, -0.8165f, 0.2887f}},
    {{0.287f, -0.4721f, -0.8335f}, {0.8156f, -0.336f, 0.4711f}, {-0.5025f, -0.815f, 0.2886f}},
    {{0.5897f, 0.4749f, -0.6533f}, {-0.8075f, 0.3601f, -0.4671f}, {0.01339f, 0.803f, 0.5958f}},
    {{-0.2962f, 0.94f, 0.1697f}, {-0.807f, -0.3413f, 0.4819f}, {0.5109f, 0.005798f, 0.8596f}},
    {{0.3397f, -0.9174f, -0.2071f}, {0.8134f, 0.3972f, -0.4251f}, {0.4723f, -0.024f, 0.8811f}},
};

struct FramePlacement {
    int orientationClass;
    float x, y, z;
};

// Solved placement of the 58 piece frames, in frame order.
constexpr FramePlacement kPlacements[kPieceFrameCount] = {
    {1, 0.0f, 14.142f, 0.0f},         // Cone01
    {1, -5.774f, 4.714f, 3.333f},     // Cone02
    {1, 0.0f, 4.714f, -6.667f},       // Cone03
    {1, 5.774f, 4.714f, 3.334f},      // Cone04
    {1, 11.548f, -4.714f, 6.667f},    // Cone05
    {1, -11.548f, -4.714f, 6.667f},   // Cone06
    {1, 0.0f, -4.714f, -13.334f},     // Cone07
    {1, -5.774f, -4.714f, -3.334f},   // Cone08
    {1, 0.0f, -4.714f, 6.667f},       // Cone09
    {1, 5.774f, -4.714f, -3.333f},    // Cone10
    {2, 5.774f, -4.714f, 3.333f},     // Cone11
    {2, -5.774f, -4.714f, 3.333f},    // Cone12
    {2, 0.0f, -4.714f, -6.667f},      // Cone13
    {1, 0.0f, 4.714f, 3.333f},        // Cone14
    {1, 5.774f, -4.714f, 6.667f},     // Cone15
    {1, -5.774f, -4.714f, 6.667f},    // Cone16
    {1, -2.887f, 4.714f, -1.667f},    // Cone17
    {1, -8.661f, -4.714f, 1.667f},    // Cone18
    {1, -2.887f, -4.714f, -8.334f},   // Cone19
    {3, 2.882f, 4.734f, -1.663f},     // Cone20
    {3, 2.881f, -4.695f, -8.328f},    // Cone21
    {3, 8.660f, -4.692f, 1.669f},     // Cone22
    {1, 0.0f, -9.530f, -13.334f},     // Gengon01
    {1, -5.774f, -9.530f, -3.333f},   // Gengon02
    {1, 5.774f, -9.530f, -3.333f},    // Gengon03
    {1, -11.547f, -9.530f, 6.667f},   // Gengon04
    {1, 0.0f, -9.530f, 6.667f},       // Gengon05
    {1, 11.548f, -9.530f, 6.667f},    // Gengon06
    {2, 0.0f, -9.530f, -6.667f},      // Gengon07
    {2, -5.774f, -9.530f, 3.333f},    // Gengon08
    {2, 5.774f, -9.530f, 3.333f},     // Gengon09
    {4, 0.0f, 12.571f, 2.225f},       // Gengon10
    {4, -5.774f, 3.143f, 5.557f},     // Gengon11
    {4, 5.774f, 3.143f, 5.557f},      // Gengon12
    {4, 0.0f, -6.285f, 8.890f},       // Gengon13
    {4, 11.547f, -6.285f, 8.889f},    // Gengon14
    {4, -11.547f, -6.285f, 8.890f},   // Gengon15
    {5, 0.0f, 6.287f, 4.445f},        // Gengon16
    {5, 5.774f, -3.142f, 7.778f},     // Gengon17
    {5, -5.774f, -3.142f, 7.780f},    // Gengon18
    {6, -2.088f, 12.579f, -1.219f},   // Gengon19
    {6, -7.887f, 3.146f, 2.115f},     // Gengon20
    {6, -2.103f, 3.146f, -7.892f},    // Gengon21
    {6, -13.645f, -6.278f, 5.441f},   // Gengon22
    {6, -7.873f, -6.277f, -4.558f},   // Gengon23
    {6, -2.095f, -6.279f, -14.556f},  // Gengon24
    {7, -4.003f, 6.241f, -2.307f},    // Gengon25
    {7, -9.824f, -3.187f, 0.986f},    // Gengon26
    {7, -4.003f, -3.187f, -8.977f},   // Gengon27
    {8, 2.131f, 12.629f, -1.215f},    // Gengon28
    {8, 2.132f, 3.201f, -7.882f},     // Gengon29
    {8, 7.905f, 3.201f, 2.118f},      // Gengon30
    {8, 2.132f, -6.227f, -14.549f},   // Gengon31
    {8, 7.906f, -6.227f, -4.547f},    // Gengon32
    {8, 13.679f, -6.227f, 5.452f},    // Gengon33
    {9, 4.220f, 6.272f, -2.345f},     // Gengon34
    {9, 4.222f, -3.156f, -9.011f},    // Gengon35
    {9, 9.995f, -3.156f, 0.989f},     // Gengon36
};

Vec3 ToVec3(const float (&v)[3]) {
    return {v[0], v[1], v[2]};
}

}  // namespace

Vec3 PyramidVertex(int axis) {
    return ToVec3(kVertices[axis - 1]);
}

Vec3 PyramidCentroid() {
    return {0.0f, -2.357f, 0.0f};
}

int OppositeAxis(PyramidFace face) {
    return static_cast<int>(face);
}

bool FaceHasVertex(PyramidFace face, int axis) {
    return OppositeAxis(face) != axis;
}

FacePlane PlaneOfFace(PyramidFace face) {
    Vec3 corners[3];
    int count = 0;
    for (int axis = 1; axis <= 4; ++axis) {
        if (FaceHasVertex(face, axis)) {
            corners[count++] = PyramidVertex(axis);
        }
    }
    Vec3 normal = Normalize(Cross(corners[1] - corners[0], corners[2] - corners[0]));
    if (Dot(normal, corners[0] - PyramidCentroid()) < 0.0f) {
        normal = normal * -1.0f;
    }
    return {normal, Dot(normal, corners[0])};
}

ColorValue FaceColour(PyramidFace face) {
    switch (face) {
        case PyramidFace::Base:
            return {0.02353f, 0.5255f, 0.02353f, 1.0f};
        case PyramidFace::Blue:
            return {0.0f, 0.0f, 1.0f, 1.0f};
        case PyramidFace::Red:
            return {1.0f, 0.0f, 0.0f, 1.0f};
        case PyramidFace::Yellow:
            return {1.0f, 1.0f, 0.0f, 1.0f};
    }
    return {};
}

ColorValue InnerBlockGrey() {
    return {0.588f, 0.588f, 0.588f, 1.0f};
}

ColorValue SurfaceBlockGrey() {
    return {0.1961f, 0.1961f, 0.1961f, 1.0f};
}

std::string PieceFrameName(int frame) {
    char name[32];
    if (IsBlockFrame(frame)) {
        std::snprintf(name, sizeof name, "Cone%02d", frame + 1);
    } else {
        std::snprintf(name, sizeof name, "Gengon%02d", frame - kBlockCount + 1);
    }
    return name;
}

bool IsBlockFrame(int frame) {
    return frame < kBlockCount;
}

Matrix PieceFrameMatrix(int frame) {
    const FramePlacement& placement = kPlacements[frame];
    const auto& rows = kOrientationClasses[placement.orientationClass - 1];
    Matrix matrix;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            matrix.m[row][column] = rows[row][column];
        }
    }
    matrix.m[3][0] = placement.x;
    matrix.m[3][1] = placement.y;
    matrix.m[3][2] = placement.z;
    return matrix;
}

Vec3 PieceFrameOrigin(int frame) {
    return {kPlacements[frame].x, kPlacements[frame].y, kPlacements[frame].z};
}

int PieceFrameOrientationClass(int frame) {
    return kPlacements[frame].orientationClass;
}

PyramidFace StickerFace(int sticker) {
    constexpr PyramidFace kFacesByNine[4] = {PyramidFace::Base, PyramidFace::Blue, PyramidFace::Red,
                                             PyramidFace::Yellow};
    return kFacesByNine[sticker / 9];
}

}  // namespace tetrakon::modelgen
