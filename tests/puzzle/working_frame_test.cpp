#include "puzzle/working_frame.h"

#include <gtest/gtest.h>

#include "gfxutil/vector.h"
#include "ideal_symmetry.h"
#include "solved_pieces.h"

namespace tetrakon::testing {
namespace {

Vec3 ToVec(IdealVec v) {
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

TEST(WorkingFrame, PutsEachVertexOnItsMeasuredAxis) {
    // Where the working frame puts the axis's vertex, and the centroid's greatest distance
    // from the origin along that axis.
    const Vec3 vertexPlace[4] = {{0, 18.856f, 0}, {-22.0f, 0, 0}, {22.0f, 0, 0}, {0, 0, -22.0f}};
    for (int axis = 1; axis <= 4; ++axis) {
        SCOPED_TRACE(axis);
        const Matrix w = WorkingFrame(axis);
        const Vec3 vertex = TransformCoord(ToVec(IdealVertex(axis)), w);
        EXPECT_LT(Distance(vertex, vertexPlace[axis - 1]), 0.01f);

        const Vec3 centroid = TransformCoord(ToVec(IdealCentroid()), w);
        const Vec3 onAxis = {vertexPlace[axis - 1].x == 0 ? 0 : centroid.x,
                             vertexPlace[axis - 1].y == 0 ? 0 : centroid.y,
                             vertexPlace[axis - 1].z == 0 ? 0 : centroid.z};
        EXPECT_LT(Distance(centroid, onAxis), 0.01f) << "the centroid is on the axis";
        EXPECT_LT(Length(centroid), axis == 1 ? 2.4f : 0.8f);
    }
}

TEST(WorkingFrame, WayBackUndoesTheWayInUpToRounding) {
    for (int axis = 1; axis <= 4; ++axis) {
        const Matrix round = WorkingFrame(axis) * WorkingFrameBack(axis);
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c) {
                EXPECT_NEAR(round.m[r][c], r == c ? 1.0f : 0.0f, 1e-6f)
                    << "axis " << axis << " element " << r << c;
            }
        }
    }
}

TEST(WorkingFrame, AxisFourTiltsByTheStoredAngleNotTheArcsineOfAThird) {
    // 0.339859247 rather than asin(1/3) = 0.3398369: the turns must round as they always have.
    EXPECT_EQ(WorkingFrame(4), MatrixRotationX(0.339859247f) * MatrixTranslation(0, 2.22f, 0));
}

TEST(WorkingFrame, StepAnglesInWholeDegrees) {
    EXPECT_FLOAT_EQ(StepAngle(1, 0, 8), -15 * 0.0174532924f);
    EXPECT_FLOAT_EQ(StepAngle(1, 1, 8), 15 * 0.0174532924f);
    EXPECT_FLOAT_EQ(StepAngle(2, 0, 5), 24 * 0.0174532924f);
    EXPECT_FLOAT_EQ(StepAngle(3, 1, 1), -120 * 0.0174532924f);
    EXPECT_FLOAT_EQ(StepAngle(4, 0, 1), -120 * 0.0174532924f);
    // A count that does not divide 120 truncates towards zero.
    EXPECT_FLOAT_EQ(StepAngle(1, 0, 7), -17 * 0.0174532924f);
    EXPECT_FLOAT_EQ(StepAngle(2, 0, 7), 17 * 0.0174532924f);
}

}  // namespace
}  // namespace tetrakon::testing
