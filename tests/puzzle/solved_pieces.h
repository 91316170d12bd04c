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
#include "tests/reference/solved_frames.h"

namespace tetrakon::testing {

using SolvedFrame = reference::FrameRow;
using reference::kOrientationClasses;
inline constexpr const auto& kSolvedFrames = reference::kFrames;

inline Vec3 SolvedOrigin(int slot) {
    const float* origin = kSolvedFrames[slot].origin;
    return {origin[0], origin[1], origin[2]};
}

inline Matrix SolvedMatrix(int slot) {
    const SolvedFrame& frame = kSolvedFrames[slot];
    Matrix m;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            m.m[r][c] = kOrientationClasses[frame.orientationClass - 1][r][c];
        }
    }
    m.m[3][0] = frame.origin[0];
    m.m[3][1] = frame.origin[1];
    m.m[3][2] = frame.origin[2];
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
        auto* frame = new SceneFrame(kSolvedFrames[slot].name);
        frame->matrix = SolvedMatrix(slot);
        frame->next = root.child;
        root.child = frame;
    }
}

// Slot of a frame name such as "Cone03" or "Gengon19".
inline int Slot(const char* name) {
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        const char* a = kSolvedFrames[slot].name;
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
