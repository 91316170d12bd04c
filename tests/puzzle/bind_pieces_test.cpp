#include "game/bind_pieces.h"

#include <gtest/gtest.h>

#include "puzzle/layer_turn.h"
#include "puzzle_fixture.h"
#include "scene/scene_frame.h"

namespace tetrakon::testing {
namespace {

// A resource id that the program does not carry.
constexpr int kNoSuchModel = 9999;

int CountChildren(const SceneFrame& root) {
    int count = 0;
    for (const SceneFrame* frame = root.child; frame != nullptr; frame = frame->next) {
        ++count;
    }
    return count;
}

TEST(BindPieces, BindsEverySlotToItsFrameAtTheSolvedPlace) {
    Puzzle puzzle;
    ASSERT_EQ(puzzle.Load(), S_OK);
    ASSERT_TRUE(puzzle.pieces.bound());
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        SCOPED_TRACE(PieceSlotName(slot));
        const SceneFrame* frame = puzzle.root.FindFrame(PieceSlotName(slot));
        ASSERT_NE(frame, nullptr);
        EXPECT_STREQ(frame->name(), PieceSlotName(slot));
        EXPECT_EQ(&puzzle.pieces.matrix(slot), &frame->matrix);

        // The origins table is rounded to three decimals; the orientation classes to four.
        const Matrix expected = SolvedMatrix(slot);
        EXPECT_LT(Distance(puzzle.pieces.Position(slot), expected.TranslationRow()), 1.5e-3f);
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(puzzle.pieces.matrix(slot).m[r][c], expected.m[r][c], 1e-3f);
            }
        }
    }
    EXPECT_EQ(CountChildren(puzzle.root), 58);
    ASSERT_NE(puzzle.hullMesh.sourceMesh(), nullptr);
    ASSERT_NE(puzzle.turnTargetMesh.sourceMesh(), nullptr);
    EXPECT_EQ(puzzle.turnTargetMesh.materialCount(), 72u);
}

TEST(BindPieces, BindingAgainDiscardsTheTurnedFramesAndGivesTheSolvedOnes) {
    Puzzle puzzle;
    ASSERT_EQ(puzzle.Load(), S_OK);
    std::array<Matrix, kPieceSlotCount> first;
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        first[static_cast<std::size_t>(slot)] = puzzle.pieces.matrix(slot);
    }
    puzzle.Turn(3);
    puzzle.Turn(20);

    ASSERT_EQ(puzzle.Load(), S_OK);
    EXPECT_EQ(CountChildren(puzzle.root), 58) << "the old frames are gone";
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        EXPECT_EQ(&puzzle.pieces.matrix(slot), &puzzle.root.FindFrame(PieceSlotName(slot))->matrix);
        EXPECT_EQ(puzzle.pieces.matrix(slot), first[static_cast<std::size_t>(slot)])
            << PieceSlotName(slot);
    }
}

TEST(BindPieces, AModelThatCannotBeLoadedLeavesTheTableUnusable) {
    Puzzle puzzle;
    ASSERT_EQ(puzzle.Load(), S_OK);
    PuzzleModelIds missing;
    missing.pieces = kNoSuchModel;
    const Result result = puzzle.Load(missing);
    EXPECT_TRUE(Failed(result));
    EXPECT_FALSE(puzzle.pieces.bound());
    EXPECT_EQ(puzzle.root.child, nullptr) << "the previous frames were discarded";
    EXPECT_EQ(puzzle.hullMesh.sourceMesh(), nullptr);
    EXPECT_EQ(puzzle.turnTargetMesh.sourceMesh(), nullptr);

    // Nothing reads the discarded frames (the address sanitizer build would catch it).
    DispatchTurn(puzzle.pieces, 1, 8);
    puzzle.pieces.ApplyToAllPieces(MatrixTranslation(1, 0, 0));
    EXPECT_EQ(SelectLayer(puzzle.pieces, 1, 1).count(), 0u);

    ASSERT_EQ(puzzle.Load(), S_OK);
    EXPECT_TRUE(puzzle.pieces.bound());
    EXPECT_EQ(SelectLayer(puzzle.pieces, 1, 1).count(), 4u);
}

TEST(BindPieces, AModelWithoutThePieceFramesIsRefused) {
    // The hull model is a real model with the 22 blocks and none of the stickers.
    Puzzle puzzle;
    PuzzleModelIds hullAsPieces;
    hullAsPieces.pieces = kHullModelId;
    EXPECT_EQ(puzzle.Load(hullAsPieces), kPieceFrameMissing);
    EXPECT_FALSE(puzzle.pieces.bound());
    EXPECT_NE(puzzle.root.FindFrame("Cone01"), nullptr);
    EXPECT_EQ(puzzle.root.FindFrame("Gengon01"), nullptr);
    EXPECT_EQ(puzzle.hullMesh.sourceMesh(), nullptr) << "the refused model stops the load";
}

TEST(BindPieces, AMissingPickingModelIsReportedWithTheTableBound) {
    Puzzle puzzle;
    PuzzleModelIds noTargets;
    noTargets.turnTargets = kNoSuchModel;
    EXPECT_TRUE(Failed(puzzle.Load(noTargets)));
    EXPECT_TRUE(puzzle.pieces.bound());
    EXPECT_NE(puzzle.hullMesh.sourceMesh(), nullptr);

    PuzzleModelIds noHull;
    noHull.hull = kNoSuchModel;
    EXPECT_TRUE(Failed(puzzle.Load(noHull)));
    EXPECT_TRUE(puzzle.pieces.bound());
    EXPECT_EQ(puzzle.hullMesh.sourceMesh(), nullptr);
}

}  // namespace
}  // namespace tetrakon::testing
