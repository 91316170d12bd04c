#include "puzzle/piece_table.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "puzzle_fixture.h"

namespace tetrakon::testing {
namespace {

TEST(PieceSlotName, BlocksThenStickersWithTwoDigitNumbers) {
    EXPECT_STREQ(PieceSlotName(0), "Cone01");
    EXPECT_STREQ(PieceSlotName(21), "Cone22");
    EXPECT_STREQ(PieceSlotName(22), "Gengon01");
    EXPECT_STREQ(PieceSlotName(57), "Gengon36");
    EXPECT_STREQ(PieceSlotName(58), "");
    EXPECT_STREQ(PieceSlotName(-1), "");
    for (int k = 0; k < 22; ++k) {
        char expected[16];
        std::snprintf(expected, sizeof expected, "Cone%02d", k + 1);
        EXPECT_STREQ(PieceSlotName(k), expected);
    }
    for (int k = 22; k < 58; ++k) {
        char expected[16];
        std::snprintf(expected, sizeof expected, "Gengon%02d", k - 21);
        EXPECT_STREQ(PieceSlotName(k), expected);
    }
}

TEST(PieceTable, BindsEachSlotToTheFrameOfItsName) {
    SceneFile root;
    BuildSolvedTree(root);
    PieceTable pieces;
    EXPECT_FALSE(pieces.bound());
    ASSERT_EQ(pieces.Bind(root), S_OK);
    ASSERT_TRUE(pieces.bound());
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        EXPECT_EQ(&pieces.matrix(slot), &root.FindFrame(PieceSlotName(slot))->matrix);
    }
}

TEST(PieceTable, AModelWithoutOneOfTheFramesIsRefused) {
    for (int missing : {0, 21, 22, 57}) {
        SceneFile root;
        BuildSolvedTree(root, {missing});
        PieceTable pieces;
        EXPECT_EQ(pieces.Bind(root), kPieceFrameMissing) << PieceSlotName(missing);
        EXPECT_FALSE(pieces.bound());
    }
}

TEST(PieceTable, RefusingAModelUnbindsATableThatWasBound) {
    SceneFile good;
    BuildSolvedTree(good);
    SceneFile incomplete;
    BuildSolvedTree(incomplete, {40});
    PieceTable pieces;
    ASSERT_EQ(pieces.Bind(good), S_OK);
    EXPECT_EQ(pieces.Bind(incomplete), kPieceFrameMissing);
    EXPECT_FALSE(pieces.bound());
}

TEST(PieceTable, ApplyToAllPiecesPostMultipliesEverySlot) {
    SceneFile root;
    BuildSolvedTree(root);
    PieceTable pieces;
    ASSERT_EQ(pieces.Bind(root), S_OK);
    const Matrix m = MatrixRotationY(0.5f) * MatrixTranslation(1, 2, 3);
    pieces.ApplyToAllPieces(m);
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        EXPECT_EQ(pieces.matrix(slot), SolvedMatrix(slot) * m) << PieceSlotName(slot);
    }
}

}  // namespace
}  // namespace tetrakon::testing
