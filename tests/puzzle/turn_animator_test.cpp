#include "puzzle/turn_animator.h"

#include <gtest/gtest.h>

#include <vector>

#include "puzzle_fixture.h"

namespace tetrakon::testing {
namespace {

struct RecordedTurns : TurnRecorder {
    void RecordTurn(TurnCode code) override { codes.push_back(code); }
    std::vector<TurnCode> codes;
};

class TurnAnimatorTest : public SolvedPuzzleTest {
  protected:
    bool shuffleInProgress = false;
    RecordedTurns history;
    TurnAnimator animator{puzzle.pieces, &shuffleInProgress, &history};
};

TEST_F(TurnAnimatorTest, AUserTurnIsRecordedAtOnceAndTakesNineFrames) {
    const Vec3 start = puzzle.Position("Cone02");
    animator.StartTurn(2);
    EXPECT_TRUE(animator.turnInProgress);
    EXPECT_EQ(animator.currentTurn, 2);
    EXPECT_EQ(history.codes, std::vector<TurnCode>{2});
    EXPECT_EQ(puzzle.Position("Cone02"), start) << "no frame moves before the first step";

    for (int frame = 1; frame <= 8; ++frame) {
        animator.AdvanceTurnAnimation();
        EXPECT_TRUE(animator.turnInProgress);
        EXPECT_EQ(animator.turnStepCounter, frame);
    }
    const Vec3 turned = puzzle.Position("Cone02");
    EXPECT_LT(Distance(turned, SolvedOrigin(Slot("Cone03"))), 1e-3f);

    animator.AdvanceTurnAnimation();
    EXPECT_FALSE(animator.turnInProgress);
    EXPECT_EQ(animator.turnStepCounter, 0);
    EXPECT_EQ(puzzle.Position("Cone02"), turned) << "the ninth frame only ends the turn";

    animator.AdvanceTurnAnimation();
    EXPECT_EQ(puzzle.Position("Cone02"), turned);
    EXPECT_EQ(history.codes, std::vector<TurnCode>{2});
}

TEST_F(TurnAnimatorTest, StartTurnIsRefusedWhileATurnRuns) {
    animator.StartTurn(7);
    animator.AdvanceTurnAnimation();
    animator.StartTurn(13);
    EXPECT_EQ(animator.currentTurn, 7);
    EXPECT_EQ(animator.turnStepCounter, 1);
    EXPECT_EQ(history.codes, std::vector<TurnCode>{7});

    for (int frame = 0; frame < 8; ++frame) {
        animator.AdvanceTurnAnimation();
    }
    animator.StartTurn(13);
    EXPECT_EQ(animator.currentTurn, 13);
    EXPECT_EQ(history.codes, (std::vector<TurnCode>{7, 13}));
}

TEST_F(TurnAnimatorTest, StartTurnIsRefusedWhileAShuffleRuns) {
    shuffleInProgress = true;
    animator.StartTurn(5);
    EXPECT_FALSE(animator.turnInProgress);
    EXPECT_TRUE(history.codes.empty());
    const Vec3 before = puzzle.Position("Cone02");
    animator.AdvanceTurnAnimation();
    EXPECT_EQ(puzzle.Position("Cone02"), before);

    shuffleInProgress = false;
    animator.StartTurn(5);
    EXPECT_TRUE(animator.turnInProgress);
    EXPECT_EQ(history.codes, std::vector<TurnCode>{5});
}

TEST_F(TurnAnimatorTest, TurnAndInverseComeBackAfterEighteenFrames) {
    animator.StartTurn(8);
    for (int frame = 0; frame < 9; ++frame) {
        animator.AdvanceTurnAnimation();
    }
    animator.StartTurn(InverseTurn(8));
    for (int frame = 0; frame < 9; ++frame) {
        animator.AdvanceTurnAnimation();
    }
    EXPECT_FALSE(animator.turnInProgress);
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        EXPECT_LT(Distance(puzzle.pieces.Position(slot), SolvedOrigin(slot)), 2e-3f)
            << PieceSlotName(slot);
    }
}

TEST(TurnAnimator, WorksWithoutShuffleFlagOrHistory) {
    Puzzle puzzle;
    ASSERT_EQ(puzzle.Load(), S_OK);
    TurnAnimator animator(puzzle.pieces, nullptr, nullptr);
    animator.StartTurn(1);
    EXPECT_TRUE(animator.turnInProgress);
    for (int frame = 0; frame < 9; ++frame) {
        animator.AdvanceTurnAnimation();
    }
    EXPECT_FALSE(animator.turnInProgress);
    EXPECT_LT(Distance(puzzle.Position("Gengon10"), SolvedOrigin(Slot("Gengon19"))), 0.25f);
}

}  // namespace
}  // namespace tetrakon::testing
