#pragma once

// The solved pyramid as the puzzle model stores it: frame origins, orientation classes and
// the grouping of frames into pieces, for the checks of the puzzle tests. Coordinates as in
// puzzle/puzzle_geometry.h.

#include <array>
#include <initializer_list>
#include <vector>

#include "gfxutil/matrix.h"
#include "gfxutil/vector.h"
#include "puzzle/piece_table.h"
#include "scene/scene_file.h"

namespace tetrakon::testing {

struct SolvedFrame {
    const char* name;
    int orientationClass;  // 1 to 9
    Vec3 origin;
};

// Slot order: Cone01..Cone22, Gengon01..Gengon36.
inline constexpr std::array<SolvedFrame, kPieceSlotCount> kSolvedFrames = {{
    {"Cone01", 1, {0.0f, 14.142f, 0.0f}},         {"Cone02", 1, {-5.774f, 4.714f, 3.333f}},
    {"Cone03", 1, {0.0f, 4.714f, -6.667f}},       {"Cone04", 1, {5.774f, 4.714f, 3.334f}},
    {"Cone05", 1, {11.548f, -4.714f, 6.667f}},    {"Cone06", 1, {-11.548f, -4.714f, 6.667f}},
    {"Cone07", 1, {0.0f, -4.714f, -13.334f}},     {"Cone08", 1, {-5.774f, -4.714f, -3.334f}},
    {"Cone09", 1, {0.0f, -4.714f, 6.667f}},       {"Cone10", 1, {5.774f, -4.714f, -3.333f}},
    {"Cone11", 2, {5.774f, -4.714f, 3.333f}},     {"Cone12", 2, {-5.774f, -4.714f, 3.333f}},
    {"Cone13", 2, {0.0f, -4.714f, -6.667f}},      {"Cone14", 1, {0.0f, 4.714f, 3.333f}},
    {"Cone15", 1, {5.774f, -4.714f, 6.667f}},     {"Cone16", 1, {-5.774f, -4.714f, 6.667f}},
    {"Cone17", 1, {-2.887f, 4.714f, -1.667f}},    {"Cone18", 1, {-8.661f, -4.714f, 1.667f}},
    {"Cone19", 1, {-2.887f, -4.714f, -8.334f}},   {"Cone20", 3, {2.882f, 4.734f, -1.663f}},
    {"Cone21", 3, {2.881f, -4.695f, -8.328f}},    {"Cone22", 3, {8.660f, -4.692f, 1.669f}},
    {"Gengon01", 1, {0.0f, -9.530f, -13.334f}},   {"Gengon02", 1, {-5.774f, -9.530f, -3.333f}},
    {"Gengon03", 1, {5.774f, -9.530f, -3.333f}},  {"Gengon04", 1, {-11.547f, -9.530f, 6.667f}},
    {"Gengon05", 1, {0.0f, -9.530f, 6.667f}},     {"Gengon06", 1, {11.548f, -9.530f, 6.667f}},
    {"Gengon07", 2, {0.0f, -9.530f, -6.667f}},    {"Gengon08", 2, {-5.774f, -9.530f, 3.333f}},
    {"Gengon09", 2, {5.774f, -9.530f, 3.333f}},   {"Gengon10", 4, {0.0f, 12.571f, 2.225f}},
    {"Gengon11", 4, {-5.774f, 3.143f, 5.557f}},   {"Gengon12", 4, {5.774f, 3.143f, 5.557f}},
    {"Gengon13", 4, {0.0f, -6.285f, 8.890f}},     {"Gengon14", 4, {11.547f, -6.285f, 8.889f}},
    {"Gengon15", 4, {-11.547f, -6.285f, 8.890f}}, {"Gengon16", 5, {0.0f, 6.287f, 4.445f}},
    {"Gengon17", 5, {5.774f, -3.142f, 7.778f}},   {"Gengon18", 5, {-5.774f, -3.142f, 7.780f}},
    {"Gengon19", 6, {-2.088f, 12.579f, -1.219f}}, {"Gengon20", 6, {-7.887f, 3.146f, 2.115f}},
    {"Gengon21", 6, {-2.103f, 3.146f, -7.892f}},  {"Gengon22", 6, {-13.645f, -6.278f, 5.441f}},
    {"Gengon23", 6, {-7.873f, -6.277f, -4.558f}}, {"Gengon24", 6, {-2.095f, -6.279f, -14.556f}},
    {"Gengon25", 7, {-4.003f, 6.241f, -2.307f}},  {"Gengon26", 7, {-9.824f, -3.187f, 0.986f}},
    {"Gengon27", 7, {-4.003f, -3.187f, -8.977f}}, {"Gengon28", 8, {2.131f, 12.629f, -1.215f}},
    {"Gengon29", 8, {2.132f, 3.201f, -7.882f}},   {"Gengon30", 8, {7.905f, 3.201f, 2.118f}},
    {"Gengon31", 8, {2.132f, -6.227f, -14.549f}}, {"Gengon32", 8, {7.906f, -6.227f, -4.547f}},
    {"Gengon33", 8, {13.679f, -6.227f, 5.452f}},  {"Gengon34", 9, {4.220f, 6.272f, -2.345f}},
    {"Gengon35", 9, {4.222f, -3.156f, -9.011f}},  {"Gengon36", 9, {9.995f, -3.156f, 0.989f}},
}};

// Upper 3x3 of the stored matrices, rows first, rounded.
inline constexpr float kOrientationClasses[9][3][3] = {
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

inline Matrix SolvedMatrix(int slot) {
    const SolvedFrame& frame = kSolvedFrames[static_cast<std::size_t>(slot)];
    Matrix m;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            m.m[r][c] = kOrientationClasses[frame.orientationClass - 1][r][c];
        }
    }
    m.m[3][0] = frame.origin.x;
    m.m[3][1] = frame.origin.y;
    m.m[3][2] = frame.origin.z;
    return m;
}

// Builds the 58 piece frames under `root` the way the model loader does: each new frame
// at the head of the child list, so siblings end up in reverse slot order. Slots listed in
// `skip` are left out.
inline void BuildSolvedTree(SceneFile& root, std::initializer_list<int> skip = {}) {
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        bool skipped = false;
        for (int s : skip) {
            skipped = skipped || s == slot;
        }
        if (skipped) {
            continue;
        }
        auto* frame = new SceneFrame(kSolvedFrames[static_cast<std::size_t>(slot)].name);
        frame->matrix = SolvedMatrix(slot);
        frame->next = root.child;
        root.child = frame;
    }
}

// Slot of a frame name such as "Cone03" or "Gengon19".
inline int Slot(const char* name) {
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        const char* a = kSolvedFrames[static_cast<std::size_t>(slot)].name;
        const char* b = name;
        while (*a != '\0' && *a == *b) {
            ++a;
            ++b;
        }
        if (*a == '\0' && *b == '\0') {
            return slot;
        }
    }
    return -1;
}

// The 14 pieces: their frames and their layer on axes 1 to 4.
struct SolvedPiece {
    std::vector<const char*> frames;
    std::array<int, 4> layers;
};

inline const std::vector<SolvedPiece>& SolvedPieces() {
    static const std::vector<SolvedPiece> pieces = {
        {{"Cone01", "Gengon10", "Gengon19", "Gengon28"}, {1, 3, 3, 3}},
        {{"Cone06", "Gengon04", "Gengon15", "Gengon22"}, {3, 1, 3, 3}},
        {{"Cone05", "Gengon06", "Gengon14", "Gengon33"}, {3, 3, 1, 3}},
        {{"Cone07", "Gengon01", "Gengon24", "Gengon31"}, {3, 3, 3, 1}},
        {{"Cone14", "Cone17", "Cone20", "Gengon16", "Gengon25", "Gengon34"}, {2, 3, 3, 3}},
        {{"Cone12", "Cone16", "Cone18", "Gengon08", "Gengon18", "Gengon26"}, {3, 2, 3, 3}},
        {{"Cone11", "Cone15", "Cone22", "Gengon09", "Gengon17", "Gengon36"}, {3, 3, 2, 3}},
        {{"Cone13", "Cone19", "Cone21", "Gengon07", "Gengon27", "Gengon35"}, {3, 3, 3, 2}},
        {{"Cone02", "Gengon11", "Gengon20"}, {2, 2, 3, 3}},
        {{"Cone04", "Gengon12", "Gengon30"}, {2, 3, 2, 3}},
        {{"Cone03", "Gengon21", "Gengon29"}, {2, 3, 3, 2}},
        {{"Cone09", "Gengon05", "Gengon13"}, {3, 2, 2, 3}},
        {{"Cone08", "Gengon02", "Gengon23"}, {3, 2, 3, 2}},
        {{"Cone10", "Gengon03", "Gengon32"}, {3, 3, 2, 2}},
    };
    return pieces;
}

// Vertex of each axis (index 0 is axis 1).
inline constexpr std::array<Vec3, 4> kAxisVertices = {{
    {0.0f, 18.856f, 0.0f},
    {-17.32f, -9.428f, 10.0f},
    {17.32f, -9.428f, 10.0f},
    {0.0f, -9.428f, -20.0f},
}};

inline float Distance(Vec3 a, Vec3 b) {
    return Length(a - b);
}

}  // namespace tetrakon::testing
