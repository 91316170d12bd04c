#include "puzzle/shuffle.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "puzzle/runtime_random.h"
#include "session_fixture.h"
#include "whole_layers.h"

namespace tetrakon::testing {
namespace {

TEST(RuntimeRandom, GivesTheRuntimeSequence) {
    // The first results of the runtime's rand() after srand(1), which is also its state
    // before any srand().
    const std::vector<int> expected = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    RuntimeRandom unseeded, seeded;
    seeded.Seed(1);
    for (int value : expected) {
        EXPECT_EQ(unseeded.Next(), value);
        EXPECT_EQ(seeded.Next(), value);
    }
}

TEST(ApplyAvoidRule, RedrawsNeighboursOfTheAvoidedCode) {
    struct Draw {
        TurnCode drawn, played, avoidAfter;
    };
    // One sequence of draws, starting with avoid = 1.
    const Draw draws[] = {
        {4, 3, 3},    // 4 = 1 + 3: one less, and 3 becomes the code to avoid
        {6, 5, 5},    // 6 = 3 + 3
        {2, 3, 3},    // 2 = 5 - 3: one more
        {7, 7, 3},    // neither: avoid unchanged,
        {7, 7, 3},    // so a code may come twice in a row
        {10, 10, 3},  // or be followed by its inverse
    };
    TurnCode avoid = 1;
    for (const Draw& draw : draws) {
        EXPECT_EQ(ApplyAvoidRule(draw.drawn, avoid), draw.played) << "draw " << draw.drawn;
        EXPECT_EQ(avoid, draw.avoidAfter) << "draw " << draw.drawn;
    }
}

// Plays `codes` on a fresh pyramid, each in `steps` steps.
void PlayReference(Puzzle& reference, const std::vector<TurnCode>& codes, int steps) {
    ASSERT_EQ(reference.Load(), S_OK);
    for (TurnCode code : codes) {
        reference.Turn(code, steps);
    }
}

struct RunCase {
    bool fast;
    int steps;
    int framesPerTurn;
    std::size_t sleeps;
};

void PrintTo(const RunCase& run, std::ostream* out) {
    *out << (run.fast ? "fast" : "slow");
}

class FirstRunTest : public SessionTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(FirstRunTest, PlaysTheLeftoverCodeAndFourDrawnOnes) {
    const RunCase run = GetParam();
    fast = run.fast;
    session.StartTurn(6);
    Frames(9);
    session.StartShuffle();  // seeded with 1: draws 41, 18467, 6334, 26500, 19169
    EXPECT_TRUE(session.history.empty());

    Frames(5 * run.framesPerTurn);
    EXPECT_TRUE(session.shuffleInProgress()) << "the run ends in the frame after its last draw";
    Frames(1);
    EXPECT_FALSE(session.shuffleInProgress());

    const std::vector<TurnCode> played = {1, 18, 12, 23, 5};
    EXPECT_EQ(session.history.turns(), played);
    EXPECT_EQ(session.shuffle.shuffleTurn, 18) << "the fifth draw opens the next run";
    EXPECT_EQ(session.shuffle.shuffleStepCounter, 0);
    EXPECT_EQ(session.shuffle.shuffleTurnsDone, 0);
    EXPECT_EQ(system.sleeps.size(), run.sleeps);
    for (std::uint32_t ms : system.sleeps) {
        EXPECT_EQ(ms, 4u);
    }

    Puzzle reference;
    PlayReference(reference, {6}, 8);
    for (TurnCode code : played) {
        reference.Turn(code, run.steps);
    }
    EXPECT_TRUE(SamePyramid(reference));
    Frames(20);
    EXPECT_TRUE(SamePyramid(reference)) << "nothing moves after the run";
}

INSTANTIATE_TEST_SUITE_P(Speeds, FirstRunTest,
                         ::testing::Values(RunCase{false, 5, 6, 25}, RunCase{true, 1, 2, 0}));

TEST(ShuffleWait, SleepsOnlyWhatTheStepHasNotTakenAlready) {
    struct Case {
        std::uint32_t msPerStep;
        bool fast;
        std::vector<std::uint32_t> sleeps;
    };
    const Case cases[] = {{0, false, {4}}, {3, false, {1}}, {4, false, {}}, {0, true, {}}};
    for (const Case& c : cases) {
        Puzzle puzzle;
        ASSERT_EQ(puzzle.Load(), S_OK);
        TurnHistory history;
        FakeShuffleSystem system;
        system.msPerRead = c.msPerStep;
        Shuffle shuffle(puzzle.pieces, history, system.Services());
        shuffle.StartShuffle();
        shuffle.ShuffleStep(5, c.fast);
        EXPECT_EQ(system.sleeps, c.sleeps) << c.msPerStep << " ms per step";
    }
}

TEST_F(SessionTest, LimitZeroEndsTheRunWithoutTurning) {
    limit = 0;
    session.StartTurn(2);
    Frames(9);
    Puzzle reference;
    PlayReference(reference, {2}, 8);

    session.StartShuffle();
    EXPECT_TRUE(session.history.empty());
    EXPECT_EQ(session.history.turns().capacity(), 0u);
    Frames(1);
    EXPECT_FALSE(session.shuffleInProgress());
    Frames(10);
    EXPECT_TRUE(session.history.empty());
    EXPECT_TRUE(SamePyramid(reference));
}

TEST_F(SessionTest, UndoWaitsForTheRunThenTakesItBackInReverse) {
    session.StartShuffle();
    Frames(7);  // the first turn recorded, the second under way
    ASSERT_EQ(session.history.turns(), std::vector<TurnCode>{1});
    session.UndoTurn();
    EXPECT_FALSE(session.turnInProgress());
    EXPECT_EQ(session.history.turns(), std::vector<TurnCode>{1});

    Frames(24);
    ASSERT_FALSE(session.shuffleInProgress());
    for (TurnCode shuffled : {5, 23, 12, 18, 1}) {
        session.UndoTurn();
        EXPECT_EQ(session.animator.currentTurn, InverseTurn(shuffled));
        Frames(9);
    }
    EXPECT_TRUE(session.history.empty());
    EXPECT_TRUE(Solved());
}

TEST_F(SessionTest, ShuffleChosenAgainReseedsAndGoesOn) {
    session.StartShuffle();
    Frames(8);  // code 1 recorded, code 18 two steps in
    system.seconds = 2;
    session.StartShuffle();
    EXPECT_TRUE(session.history.empty());
    EXPECT_EQ(session.shuffle.shuffleStepCounter, 2);
    EXPECT_EQ(session.shuffle.shuffleTurnsDone, 1);

    Frames(4 * 6 - 2 + 1);
    EXPECT_FALSE(session.shuffleInProgress());
    // Seeded with 2 the generator draws 45, 29216, 24198: codes 22, 9, 7.
    EXPECT_EQ(session.history.turns(), (std::vector<TurnCode>{18, 22, 9, 7}));
    EXPECT_TRUE(LayersHoldWholePieces(puzzle.pieces));
}

}  // namespace
}  // namespace tetrakon::testing
