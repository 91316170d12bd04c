#include "puzzle/turn_code.h"

#include <gtest/gtest.h>

namespace tetrakon {
namespace {

struct TurnCodeRow {
    TurnCode flag0;
    TurnCode flag1;
    int axis;
    int layer;
};

// The turn table as the game documents it, written out rather than computed.
constexpr TurnCodeRow kTurnTable[] = {
    {1, 4, 1, 1},   {2, 5, 1, 2},   {3, 6, 1, 3},   {7, 10, 2, 1},  {8, 11, 2, 2},  {9, 12, 2, 3},
    {13, 16, 3, 1}, {14, 17, 3, 2}, {15, 18, 3, 3}, {19, 22, 4, 1}, {20, 23, 4, 2}, {21, 24, 4, 3},
};

TEST(TurnCode, EveryCodeDecodesAsTheTurnTableSays) {
    int seen = 0;
    for (const TurnCodeRow& row : kTurnTable) {
        for (int flag = 0; flag < 2; ++flag) {
            const TurnCode code = flag == 0 ? row.flag0 : row.flag1;
            SCOPED_TRACE(code);
            EXPECT_TRUE(IsTurnCode(code));
            EXPECT_EQ(TurnAxis(code), row.axis);
            EXPECT_EQ(TurnLayer(code), row.layer);
            EXPECT_EQ(TurnFlag(code), flag);
            EXPECT_EQ(MakeTurnCode(row.axis, row.layer, flag), code);
            EXPECT_EQ(InverseTurn(code), flag == 0 ? row.flag1 : row.flag0);
            ++seen;
        }
    }
    EXPECT_EQ(seen, 24);
}

TEST(TurnCode, OnlyOneToTwentyFourAreCodes) {
    EXPECT_FALSE(IsTurnCode(0));
    EXPECT_FALSE(IsTurnCode(25));
    EXPECT_FALSE(IsTurnCode(-1));
    for (TurnCode code = 1; code <= 24; ++code) {
        EXPECT_EQ(InverseTurn(InverseTurn(code)), code);
    }
}

}  // namespace
}  // namespace tetrakon
