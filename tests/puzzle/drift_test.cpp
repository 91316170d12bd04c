// Measures how far the frames wander from the solved places over long sessions. Disabled
// by default; run with --gtest_also_run_disabled_tests --gtest_filter='*Drift*'.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "ideal_symmetry.h"
#include "puzzle/layer_turn.h"
#include "puzzle_fixture.h"

namespace tetrakon::testing {
namespace {

struct Drift {
    float position = 0;  // largest distance of a frame origin from its nearest ideal place
    float rotation = 0;  // largest rotation element difference from the same place
    float shear = 0;     // largest |R R^T - I| element of any frame's rotation part
};

// A frame's ideal places are its solved matrix moved by one of the pyramid's 12
// rotations: every whole turn moves whole pieces by such a rotation.
Drift MeasureDrift(const PieceTable& pieces, const std::array<Matrix, kPieceSlotCount>& solved) {
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

TEST(TurnDrift, DISABLED_LargestDriftAfterLongSessions) {
    Puzzle puzzle;
    ASSERT_EQ(puzzle.LoadHandBuilt(), S_OK);
    std::array<Matrix, kPieceSlotCount> solved;
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        solved[static_cast<std::size_t>(slot)] = puzzle.pieces.matrix(slot);
    }
    const Drift start = MeasureDrift(puzzle.pieces, solved);
    std::printf("solved:        position %.6f rotation %.6f shear %.2e\n", start.position,
                start.rotation, start.shear);

    std::mt19937 random(424242);
    std::uniform_int_distribution<TurnCode> codes(1, 24);
    std::uniform_int_distribution<int> stepChoice(0, 2);
    constexpr int kSteps[3] = {8, 5, 1};
    const char* limitText = std::getenv("TETRAKON_DRIFT_TURNS");
    const int limit = limitText != nullptr ? std::atoi(limitText) : 100000;
    for (int turn = 1; turn <= limit; ++turn) {
        puzzle.Turn(codes(random), kSteps[stepChoice(random)]);
        if (turn == 1000 || turn == 10000 || turn == 30000 || turn % 100000 == 0) {
            const Drift drift = MeasureDrift(puzzle.pieces, solved);
            int layerCounts[4][3];
            for (int axis = 1; axis <= 4; ++axis) {
                for (int layer = 1; layer <= 3; ++layer) {
                    layerCounts[axis - 1][layer - 1] =
                        static_cast<int>(SelectLayer(puzzle.pieces, axis, layer).count());
                }
            }
            std::printf("after %6d:  position %.6f rotation %.6f shear %.2e  layers", turn,
                        drift.position, drift.rotation, drift.shear);
            for (auto& axis : layerCounts) {
                std::printf(" %d/%d/%d", axis[0], axis[1], axis[2]);
            }
            std::printf("\n");
        }
    }
}

}  // namespace
}  // namespace tetrakon::testing
