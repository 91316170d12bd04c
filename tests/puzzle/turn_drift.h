#pragma once

// How far the frames have wandered from the places whole turns should give them.

#include <algorithm>
#include <array>
#include <cmath>

#include "gfxutil/matrix.h"
#include "ideal_symmetry.h"
#include "puzzle/piece_table.h"
#include "solved_pieces.h"

namespace tetrakon::testing {

struct Drift {
    float position = 0;  // largest distance of a frame origin from its nearest ideal place
    float rotation = 0;  // largest rotation element difference from the same place
    float shear = 0;     // largest |R R^T - I| element of any frame's rotation part
};

// A frame's ideal places are its solved matrix moved by one of the pyramid's 12
// rotations: every whole turn moves whole pieces by such a rotation.
inline Drift MeasureDrift(const PieceTable& pieces,
                          const std::array<Matrix, kPieceSlotCount>& solved) {
    static const std::array<Matrix, 12> symmetries = IdealSymmetries();
    Drift drift;
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        const Matrix& m = pieces.matrix(slot);
        float nearest = 1e9f;
        float rotation = 1e9f;
        for (const Matrix& g : symmetries) {
            const Matrix place = solved[static_cast<std::size_t>(slot)] * g;
            const float distance = Distance(m.TranslationRow(), place.TranslationRow());
            float turned = 0;
            for (int r = 0; r < 3; ++r) {
                for (int c = 0; c < 3; ++c) {
                    turned = std::max(turned, std::abs(m.m[r][c] - place.m[r][c]));
                }
            }
            // The place is the one nearest in position and orientation together.
            if (distance + turned < nearest + rotation) {
                nearest = distance;
                rotation = turned;
            }
        }
        drift.position = std::max(drift.position, nearest);
        drift.rotation = std::max(drift.rotation, rotation);
        for (int a = 0; a < 3; ++a) {
            for (int b = 0; b < 3; ++b) {
                const float dot =
                    m.m[a][0] * m.m[b][0] + m.m[a][1] * m.m[b][1] + m.m[a][2] * m.m[b][2];
                drift.shear = std::max(drift.shear, std::abs(dot - (a == b ? 1.0f : 0.0f)));
            }
        }
    }
    return drift;
}

inline std::array<Matrix, kPieceSlotCount> Snapshot(const PieceTable& pieces) {
    std::array<Matrix, kPieceSlotCount> out;
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        out[static_cast<std::size_t>(slot)] = pieces.matrix(slot);
    }
    return out;
}

}  // namespace tetrakon::testing
