#include <gtest/gtest.h>

#include <array>
#include <random>

#include "puzzle/layer_turn.h"
#include "puzzle/turn_code.h"
#include "puzzle_fixture.h"
#include "turn_drift.h"
#include "whole_layers.h"

namespace tetrakon::testing {
namespace {

std::array<Vec3, kPieceSlotCount> Positions(const PieceTable& pieces) {
    std::array<Vec3, kPieceSlotCount> out;
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        out[static_cast<std::size_t>(slot)] = pieces.Position(slot);
    }
    return out;
}

float LargestDistance(const std::array<Vec3, kPieceSlotCount>& a,
                      const std::array<Vec3, kPieceSlotCount>& b) {
    float largest = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        largest = std::max(largest, Distance(a[i], b[i]));
    }
    return largest;
}

// The step counts the game uses: 8 for user and undo turns, 5 and 1 for shuffle turns.
int RandomSteps(std::mt19937& random) {
    constexpr int kSteps[3] = {8, 5, 1};
    return kSteps[std::uniform_int_distribution<int>(0, 2)(random)];
}

using TurnInvariants = SolvedPuzzleTest;

TEST_F(TurnInvariants, LayersStayWholePiecesOverTenThousandRandomTurns) {
    const auto solved = Snapshot(puzzle.pieces);
    std::mt19937 random(20261207);
    std::uniform_int_distribution<TurnCode> codes(1, 24);
    for (int turn = 0; turn < 10000; ++turn) {
        const TurnCode code = codes(random);
        puzzle.Turn(code, RandomSteps(random));
        ASSERT_TRUE(LayersHoldWholePieces(puzzle.pieces))
            << "after turn " << turn << " (" << code << ")";
    }
    // Rounding builds up, but far below what shows on screen or moves a band: every frame
    // is still within 0.1 of a place that whole turns of an ideal pyramid give it.
    const Drift drift = MeasureDrift(puzzle.pieces, solved);
    EXPECT_LT(drift.position, 0.1f);
    EXPECT_LT(drift.rotation, 0.01f);
    EXPECT_LT(drift.shear, 0.005f);
}

TEST_F(TurnInvariants, ATurnAndItsInverseGiveBackThePositions) {
    std::mt19937 random(7);
    std::uniform_int_distribution<TurnCode> codes(1, 24);
    for (int turn = 0; turn < 200; ++turn) {
        puzzle.Turn(codes(random), RandomSteps(random));
    }
    for (TurnCode code = 1; code <= 24; ++code) {
        const auto before = Positions(puzzle.pieces);
        puzzle.Turn(code, RandomSteps(random));
        puzzle.Turn(InverseTurn(code), RandomSteps(random));
        EXPECT_LT(LargestDistance(before, Positions(puzzle.pieces)), 1e-3f) << "code " << code;
    }
}

TEST_F(TurnInvariants, ThreeEqualTurnsGiveBackThePositions) {
    std::mt19937 random(11);
    std::uniform_int_distribution<TurnCode> codes(1, 24);
    for (int turn = 0; turn < 200; ++turn) {
        puzzle.Turn(codes(random), RandomSteps(random));
    }
    for (TurnCode code = 1; code <= 24; ++code) {
        const auto before = Positions(puzzle.pieces);
        for (int i = 0; i < 3; ++i) {
            puzzle.Turn(code, RandomSteps(random));
        }
        EXPECT_LT(LargestDistance(before, Positions(puzzle.pieces)), 1e-3f) << "code " << code;
    }
}

}  // namespace
}  // namespace tetrakon::testing
