#include "puzzle/layer_turn.h"

#include <gtest/gtest.h>

#include <array>

#include "ideal_symmetry.h"
#include "puzzle/turn_code.h"
#include "puzzle_fixture.h"
#include "turn_drift.h"

namespace tetrakon::testing {
namespace {

float LargestMove(const std::array<Matrix, kPieceSlotCount>& before, const PieceTable& pieces) {
    float largest = 0;
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c) {
                const float d = std::abs(pieces.matrix(slot).m[r][c] -
                                         before[static_cast<std::size_t>(slot)].m[r][c]);
                largest = std::max(largest, d);
            }
        }
    }
    return largest;
}

using SolvedLayers = SolvedPuzzleTest;

TEST_F(SolvedLayers, EachAxisSplitsTheFramesIntoTipMiddleAndFar) {
    for (int axis = 1; axis <= 4; ++axis) {
        SCOPED_TRACE(axis);
        std::array<std::bitset<kPieceSlotCount>, 3> layers;
        for (int layer = 1; layer <= 3; ++layer) {
            layers[static_cast<std::size_t>(layer - 1)] = SelectLayer(puzzle.pieces, axis, layer);
        }
        EXPECT_EQ(layers[0].count(), 4u);
        EXPECT_EQ(layers[1].count(), 15u);
        EXPECT_EQ(layers[2].count(), 39u);
        EXPECT_EQ((layers[0] | layers[1] | layers[2]).count(), 58u);

        // Each piece lies wholly in the layer the pieces table gives it.
        for (const SolvedPiece& piece : SolvedPieces()) {
            const auto& layer = layers[static_cast<std::size_t>(piece.layers[axis - 1] - 1)];
            for (const char* frame : piece.frames) {
                EXPECT_TRUE(layer.test(static_cast<std::size_t>(Slot(frame))))
                    << frame << " not in layer " << piece.layers[axis - 1];
            }
        }
    }
}

using LayerTurn = SolvedPuzzleTest;

void ExpectNear(Vec3 actual, Vec3 expected, float tolerance, const char* what) {
    EXPECT_LT(Distance(actual, expected), tolerance)
        << what << " at (" << actual.x << ", " << actual.y << ", " << actual.z
        << "), expected near (" << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

TEST_F(LayerTurn, MiddleLayerOfTheApexCyclesItsEdges) {
    const Vec3 cone02 = puzzle.Position("Cone02");
    const Vec3 cone03 = puzzle.Position("Cone03");
    const Vec3 cone04 = puzzle.Position("Cone04");

    puzzle.Turn(2);
    ExpectNear(puzzle.Position("Cone02"), cone03, 1e-3f, "Cone02");
    ExpectNear(puzzle.Position("Cone03"), cone04, 1e-3f, "Cone03");
    ExpectNear(puzzle.Position("Cone04"), cone02, 1e-3f, "Cone04");

    puzzle.Turn(5);
    puzzle.Turn(5);
    ExpectNear(puzzle.Position("Cone02"), cone04, 1e-3f, "Cone02");
    ExpectNear(puzzle.Position("Cone03"), cone02, 1e-3f, "Cone03");
    ExpectNear(puzzle.Position("Cone04"), cone03, 1e-3f, "Cone04");
}

TEST_F(LayerTurn, ApexTurnsCarryItsStickersAround) {
    const Vec3 g10 = puzzle.Position("Gengon10");
    const Vec3 g19 = puzzle.Position("Gengon19");
    const Vec3 g28 = puzzle.Position("Gengon28");

    puzzle.Turn(1);
    ExpectNear(puzzle.Position("Gengon10"), g19, 0.25f, "Gengon10");
    ExpectNear(puzzle.Position("Gengon19"), g28, 0.25f, "Gengon19");
    ExpectNear(puzzle.Position("Gengon28"), g10, 0.25f, "Gengon28");

    puzzle.Turn(4);
    puzzle.Turn(4);
    ExpectNear(puzzle.Position("Gengon10"), g28, 0.25f, "Gengon10");
    ExpectNear(puzzle.Position("Gengon19"), g10, 0.25f, "Gengon19");
    ExpectNear(puzzle.Position("Gengon28"), g19, 0.25f, "Gengon28");
}

// Largest element difference over the rotation rows and the translation row.
float MatrixDistance(const Matrix& a, const Matrix& b) {
    float largest = 0;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            largest = std::max(largest, std::abs(a.m[r][c] - b.m[r][c]));
        }
    }
    return largest;
}

TEST_F(LayerTurn, EightStepsTurnTheLayerByAThirdAndLeaveTheRestInPlace) {
    for (TurnCode code = 1; code <= 24; ++code) {
        SCOPED_TRACE(code);
        const int axis = TurnAxis(code);
        const auto before = Snapshot(puzzle.pieces);
        const auto moved = SelectLayer(puzzle.pieces, axis, TurnLayer(code));
        puzzle.Turn(code);

        // The layer has turned a third of the way about the ideal axis, one way or the
        // other; the working frames' constants put it within a few hundredths.
        const Matrix forward = IdealAxisRotation(axis, 120.0);
        const Matrix backward = IdealAxisRotation(axis, -120.0);
        std::size_t first = 0;
        while (!moved.test(first)) {
            ++first;
        }
        const bool isForward =
            MatrixDistance(puzzle.pieces.matrix(static_cast<int>(first)), before[first] * forward) <
            MatrixDistance(puzzle.pieces.matrix(static_cast<int>(first)), before[first] * backward);
        for (int slot = 0; slot < kPieceSlotCount; ++slot) {
            const Matrix& was = before[static_cast<std::size_t>(slot)];
            if (moved.test(static_cast<std::size_t>(slot))) {
                EXPECT_LT(MatrixDistance(puzzle.pieces.matrix(slot),
                                         was * (isForward ? forward : backward)),
                          0.02f)
                    << PieceSlotName(slot) << " turned";
            } else {
                EXPECT_LT(MatrixDistance(puzzle.pieces.matrix(slot), was), 1e-4f)
                    << PieceSlotName(slot) << " kept";
            }
        }
        puzzle.Turn(InverseTurn(code));
    }
}

TEST_F(LayerTurn, OneStepTurnsTheSameAsFiveOrEight) {
    Puzzle one;
    Puzzle five;
    ASSERT_EQ(one.Load(), S_OK);
    ASSERT_EQ(five.Load(), S_OK);
    for (TurnCode code : {7, 14, 24, 3}) {
        puzzle.Turn(code, 8);
        five.Turn(code, 5);
        one.Turn(code, 1);
    }
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        EXPECT_LT(Distance(puzzle.pieces.Position(slot), one.pieces.Position(slot)), 1e-3f);
        EXPECT_LT(Distance(puzzle.pieces.Position(slot), five.pieces.Position(slot)), 1e-3f);
    }
}

TEST_F(LayerTurn, CodesOutsideTheTableChangeNothing) {
    const auto before = Snapshot(puzzle.pieces);
    for (TurnCode code : {0, 25, -3, 1000}) {
        DispatchTurn(puzzle.pieces, code, 8);
        DispatchTurn(puzzle.pieces, code, 1);
    }
    EXPECT_EQ(LargestMove(before, puzzle.pieces), 0.0f);
}

TEST_F(LayerTurn, AStepCountOfZeroChangesNothing) {
    const auto before = Snapshot(puzzle.pieces);
    DispatchTurn(puzzle.pieces, 1, 0);
    RotateLayerStep(puzzle.pieces, 2, 2, 0, -5);
    EXPECT_EQ(LargestMove(before, puzzle.pieces), 0.0f);
}

}  // namespace
}  // namespace tetrakon::testing
