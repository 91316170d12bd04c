// Measures how far the frames wander from the solved places over long sessions. Disabled
// by default; run with --gtest_also_run_disabled_tests --gtest_filter='*Drift*'.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "puzzle/layer_turn.h"
#include "puzzle_fixture.h"
#include "turn_drift.h"

namespace tetrakon::testing {
namespace {

TEST(TurnDrift, DISABLED_LargestDriftAfterLongSessions) {
    Puzzle puzzle;
    ASSERT_EQ(puzzle.Load(), S_OK);
    const std::array<Matrix, kPieceSlotCount> solved = Snapshot(puzzle.pieces);
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
