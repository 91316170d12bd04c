#include "puzzle/puzzle_session.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "session_fixture.h"
#include "whole_layers.h"

namespace tetrakon::testing {
namespace {

TEST_F(SessionTest, UndoAnimatesTheInverseOfTheLastTurn) {
    struct Case {
        std::vector<TurnCode> turns;
        TurnCode animated;
        std::vector<TurnCode> left;
    };
    const Case cases[] = {{{8}, 11, {}}, {{1, 20}, 23, {1}}, {{22}, 19, {}}};
    for (const Case& c : cases) {
        ASSERT_EQ(puzzle.Load(), S_OK);
        session.history.Clear();
        for (TurnCode code : c.turns) {
            session.StartTurn(code);
            Frames(9);
        }
        session.UndoTurn();
        EXPECT_EQ(session.animator.currentTurn, c.animated);
        EXPECT_EQ(session.history.turns(), c.left);
        Frames(9);
        EXPECT_FALSE(session.turnInProgress());
        EXPECT_EQ(session.history.turns(), c.left) << "the inverse is not recorded";

        Puzzle reference;
        ASSERT_EQ(reference.Load(), S_OK);
        for (TurnCode code : c.left) {
            reference.Turn(code);
        }
        EXPECT_TRUE(SamePyramid(reference, 2e-3f)) << "after undoing " << c.turns.back();
    }
}

TEST_F(SessionTest, UndoIsIgnoredWhileTheLastUndoRunsAndWithNothingToUndo) {
    session.UndoTurn();
    EXPECT_FALSE(session.turnInProgress());

    for (TurnCode code : {1, 20}) {
        session.StartTurn(code);
        Frames(9);
    }
    session.UndoTurn();
    Frames(3);
    session.UndoTurn();
    EXPECT_EQ(session.animator.currentTurn, 23);
    EXPECT_EQ(session.animator.turnStepCounter, 3);
    EXPECT_EQ(session.history.turns(), std::vector<TurnCode>{1});
}

TEST_F(SessionTest, NonCodesAreNeitherTurnedNorRecordedSoUndoCannotTurnThem) {
    for (TurnCode code : {0, -1, 25}) {
        session.StartTurn(code);
        EXPECT_FALSE(session.turnInProgress()) << code;
        session.UndoTurn();
        Frames(9);
        EXPECT_TRUE(session.history.empty()) << code;
        EXPECT_TRUE(Solved(0)) << code;
    }
}

struct Interruption {
    const char* name;
    std::function<void(PuzzleSession&)> start;
    int frames;
};

void PrintTo(const Interruption& interruption, std::ostream* out) {
    *out << interruption.name;
}

class ReturnToStartTest : public SessionTest, public ::testing::WithParamInterface<Interruption> {
  protected:
    std::vector<std::string> calls;
    ReturnToStartHooks Hooks() {
        return {[this] {
                    calls.push_back("reload");
                    ASSERT_EQ(puzzle.Load(), S_OK);
                },
                [this] { calls.push_back("view"); }, [this] { calls.push_back("lost"); },
                [this] { calls.push_back("reset"); }};
    }
};

TEST_P(ReturnToStartTest, LeavesTheSolvedPyramidIdle) {
    GetParam().start(session);
    Frames(GetParam().frames);
    const TurnCode nextShuffleTurn = session.shuffle.shuffleTurn;

    session.ReturnToStart(Hooks());
    EXPECT_EQ(calls, (std::vector<std::string>{"reload", "view", "lost", "reset"}));
    EXPECT_TRUE(session.history.empty());
    EXPECT_EQ(session.history.turns().capacity(), 0u);
    EXPECT_FALSE(session.turnInProgress());
    EXPECT_FALSE(session.shuffleInProgress());
    EXPECT_EQ(session.animator.turnStepCounter, 0);
    EXPECT_EQ(session.shuffle.shuffleStepCounter, 0);
    EXPECT_EQ(session.shuffle.shuffleTurnsDone, 0);
    EXPECT_EQ(session.shuffle.shuffleTurn, nextShuffleTurn);

    Frames(20);
    EXPECT_TRUE(Solved(1e-3f)) << "nothing left over turns the reloaded pyramid";

    // Turns and shuffles that follow turn whole layers.
    session.StartTurn(2);
    Frames(9);
    EXPECT_EQ(session.history.turns(), std::vector<TurnCode>{2});
    EXPECT_TRUE(LayersHoldWholePieces(puzzle.pieces));
    session.StartShuffle();
    Frames(31);
    EXPECT_FALSE(session.shuffleInProgress());
    EXPECT_EQ(session.history.turns().size(), 5u);
    EXPECT_TRUE(LayersHoldWholePieces(puzzle.pieces));
}

INSTANTIATE_TEST_SUITE_P(
    Interruptions, ReturnToStartTest,
    ::testing::Values(Interruption{"Idle", [](PuzzleSession&) {}, 0},
                      Interruption{"UserTurn", [](PuzzleSession& s) { s.StartTurn(2); }, 3},
                      Interruption{"Shuffle", [](PuzzleSession& s) { s.StartShuffle(); }, 8},
                      Interruption{"ShuffleAfterTurn",
                                   [](PuzzleSession& s) {
                                       s.StartTurn(13);
                                       s.StartShuffle();
                                   },
                                   4}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(SessionTest, ShuffleChosenDuringATurnStartsAfterTheTurnHasEnded) {
    session.StartTurn(2);
    Frames(3);
    session.StartShuffle();
    EXPECT_TRUE(session.history.empty());
    session.StartTurn(5);
    session.UndoTurn();
    EXPECT_EQ(session.animator.currentTurn, 2) << "the shuffle already blocks turns";

    Frames(6);  // the turn's last five steps and the frame that ends it
    EXPECT_FALSE(session.turnInProgress());
    EXPECT_EQ(session.shuffle.shuffleStepCounter, 0);
    Puzzle reference;
    ASSERT_EQ(reference.Load(), S_OK);
    reference.Turn(2);
    EXPECT_TRUE(SamePyramid(reference));

    Frames(1);
    EXPECT_EQ(session.shuffle.shuffleStepCounter, 1);
    Frames(30);
    EXPECT_FALSE(session.shuffleInProgress());
    EXPECT_EQ(session.history.turns(), (std::vector<TurnCode>{1, 18, 12, 23, 5}));
    for (TurnCode code : session.history.turns()) {
        reference.Turn(code, 5);
    }
    EXPECT_TRUE(SamePyramid(reference));
    EXPECT_TRUE(LayersHoldWholePieces(puzzle.pieces));
}

}  // namespace
}  // namespace tetrakon::testing
