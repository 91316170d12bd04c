// A long run of random whole turns, the game's step counts mixed: the layers must still
// hold whole pieces after every turn. Built apart from the quick suite (label "soak").

#include <gtest/gtest.h>

#include <random>

#include "puzzle/turn_code.h"
#include "puzzle_fixture.h"
#include "whole_layers.h"

namespace tetrakon::testing {
namespace {

using WholeTurnsSoak = SolvedPuzzleTest;

TEST_F(WholeTurnsSoak, LayersStayWholePiecesOverAHundredThousandRandomTurns) {
    constexpr int kStepCounts[3] = {8, 5, 1};  // user and undo turns, shuffle turns
    std::mt19937 random(100000);
    std::uniform_int_distribution<TurnCode> codes(1, 24);
    std::uniform_int_distribution<int> stepChoice(0, 2);
    for (int turn = 0; turn < 100000; ++turn) {
        const TurnCode code = codes(random);
        puzzle.Turn(code, kStepCounts[stepChoice(random)]);
        ASSERT_TRUE(LayersHoldWholePieces(puzzle.pieces))
            << "after turn " << turn << " (" << code << ")";
    }
}

}  // namespace
}  // namespace tetrakon::testing
