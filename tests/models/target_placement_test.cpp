#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "tests/models/model_reference.h"
#include "tests/models/model_test_support.h"
#include "tools/modelgen/targets.h"

namespace tetrakon::modeltest {
namespace {

using modelgen::TargetTriangle;

int AxisOf(int code) {
    return (code - 1) / 6 + 1;
}
int LayerOf(int code) {
    return (code - 1) % 3 + 1;
}
int FlagOf(int code) {
    return ((code - 1) / 3) % 2;
}

// +1 right, -1 left, seen from outside with the axis's vertex on top.
int ExpectedHalf(int code) {
    constexpr int kFlagZeroHalf[4] = {+1, +1, -1, -1};
    const int half = kFlagZeroHalf[AxisOf(code) - 1];
    return FlagOf(code) == 0 ? half : -half;
}

// Where p lies on the face without missingAxis, seen from the vertex of axis: depth along
// the median as a fraction of its length, and the signed distance to the right of it.
struct FacePosition {
    float depth = 0;
    float right = 0;
};

FacePosition PositionOnFace(Vec3 p, int axis, int missingAxis) {
    const Vec3 vertex = Corner(axis);
    Vec3 edgeMiddle;
    for (int other = 1; other <= 4; ++other) {
        if (other != axis && other != missingAxis)
            edgeMiddle = edgeMiddle + Corner(other) * 0.5f;
    }
    const Vec3 down = Normalize(edgeMiddle - vertex);
    const Plane plane = FacePlaneWithout(missingAxis);
    // The renderer's space is left-handed: a viewer outside the face looks along -normal,
    // and right = up x viewing direction = down x normal.
    const Vec3 right = Cross(down, plane.normal);
    return {Dot(p - vertex, down) / Length(edgeMiddle - vertex), Dot(p - vertex, right)};
}

int MissingAxisOf(modelgen::PyramidFace face) {
    return modelgen::OppositeAxis(face);
}

bool Inside(const TargetTriangle& t, Vec3 p, Vec3 normal) {
    for (int i = 0; i < 3; ++i) {
        const Vec3 edge = t.corner[(i + 1) % 3] - t.corner[i];
        const float side = Dot(Cross(edge, p - t.corner[i]), normal);
        const Vec3 facing = Cross(t.corner[1] - t.corner[0], t.corner[2] - t.corner[0]);
        if (side * Dot(facing, normal) < 0)
            return false;
    }
    return true;
}

TEST(TargetPlacement, GroupsCarryTheTabledTurnCodes) {
    const std::vector<TargetTriangle> targets = modelgen::BuildTargetTriangles();
    ASSERT_EQ(targets.size(), 72u);
    const int kCodes[24] = {1,  4,  2,  5,  3,  6,  7,  10, 8,  11, 9,  12,
                            13, 16, 14, 17, 15, 18, 19, 22, 20, 23, 21, 24};
    for (int plane = 0; plane < 72; ++plane) {
        EXPECT_EQ(targets[plane].turnCode, kCodes[plane / 3]) << "plane " << plane + 1;
    }
}

TEST(TargetPlacement, FirstTwoGroupsMatchTheOriginalCornerByCorner) {
    const std::vector<TargetTriangle> targets = modelgen::BuildTargetTriangles();
    for (int plane = 0; plane < 6; ++plane) {
        for (int i = 0; i < 3; ++i) {
            const float* expected = kFirstTargets[plane][i];
            const Vec3 corner = targets[plane].corner[i];
            EXPECT_NEAR(corner.x, expected[0], 0.01f) << "plane " << plane + 1 << " corner " << i;
            EXPECT_NEAR(corner.y, expected[1], 0.01f) << "plane " << plane + 1 << " corner " << i;
            EXPECT_NEAR(corner.z, expected[2], 0.01f) << "plane " << plane + 1 << " corner " << i;
        }
    }
}

// The first six come from the original model, so they also check the reading of "right"
// and "left" and of the faces and strips that the rule applies to the other 66.
TEST(TargetPlacement, EveryTargetLiesJustOutsideTheStripAndHalfOfItsTurn) {
    const std::vector<TargetTriangle> targets = modelgen::BuildTargetTriangles();
    for (int plane = 0; plane < 72; ++plane) {
        const TargetTriangle& target = targets[plane];
        const int code = target.turnCode;
        const int missing = MissingAxisOf(target.face);
        SCOPED_TRACE("plane " + std::to_string(plane + 1) + ", code " + std::to_string(code));
        ASSERT_NE(missing, AxisOf(code)) << "the face must hold the axis's vertex";

        const Plane facePlane = FacePlaneWithout(missing);
        const Vec3 centroid = (target.corner[0] + target.corner[1] + target.corner[2]) * (1.0f / 3);
        EXPECT_GE(facePlane.Outside(centroid), 0.0f);
        EXPECT_LE(facePlane.Outside(centroid), 0.62f);
        for (const Vec3& corner : target.corner) {
            EXPECT_NEAR(facePlane.Outside(corner), 0.15f, 0.15f) << "corner off the face";
        }

        const FacePosition at = PositionOnFace(centroid, AxisOf(code), missing);
        const int layer = LayerOf(code);
        EXPECT_GT(at.depth, (layer - 1) / 3.0f);
        EXPECT_LT(at.depth, layer / 3.0f);
        EXPECT_GT(at.right * ExpectedHalf(code), 0.0f);
        for (const Vec3& corner : target.corner) {
            const FacePosition c = PositionOnFace(corner, AxisOf(code), missing);
            EXPECT_GT(c.depth, (layer - 1) / 3.0f - 0.005f);
            EXPECT_LT(c.depth, layer / 3.0f + 0.005f);
            // The original targets reach up to 0.35 across the median; generated ones do not.
            EXPECT_GT(c.right * ExpectedHalf(code), plane < 6 ? -0.4f : -0.01f);
            EXPECT_LT(std::fabs(c.right), c.depth * 17.32f + 0.05f) << "beyond the face edge";
        }
    }
}

TEST(TargetPlacement, EachGroupUsesTheThreeFacesAtItsVertex) {
    const std::vector<TargetTriangle> targets = modelgen::BuildTargetTriangles();
    for (int group = 0; group < 24; ++group) {
        std::set<int> missing;
        for (int k = 0; k < 3; ++k)
            missing.insert(MissingAxisOf(targets[3 * group + k].face));
        EXPECT_EQ(missing.size(), 3u) << "group " << group;
        EXPECT_EQ(missing.count(AxisOf(targets[3 * group].turnCode)), 0u) << "group " << group;
    }
}

// A click must name one turn: no two targets on one face may cover the same spot.
TEST(TargetPlacement, TargetsOnOneFaceDoNotOverlap) {
    const std::vector<TargetTriangle> targets = modelgen::BuildTargetTriangles();
    for (std::size_t a = 0; a < targets.size(); ++a) {
        const Vec3 normal = FacePlaneWithout(MissingAxisOf(targets[a].face)).normal;
        const Vec3* c = targets[a].corner;
        const Vec3 samples[4] = {
            (c[0] + c[1] + c[2]) * (1.0f / 3), c[0] * 0.8f + c[1] * 0.1f + c[2] * 0.1f,
            c[0] * 0.1f + c[1] * 0.8f + c[2] * 0.1f, c[0] * 0.1f + c[1] * 0.1f + c[2] * 0.8f};
        for (std::size_t b = 0; b < targets.size(); ++b) {
            if (a == b || targets[a].face != targets[b].face)
                continue;
            for (const Vec3& p : samples) {
                EXPECT_FALSE(Inside(targets[b], p, normal))
                    << "plane " << a + 1 << " overlaps plane " << b + 1;
            }
        }
    }
}

TEST(TargetPlacement, GeneratedTargetsFaceOutwards) {
    const std::vector<TargetTriangle> targets = modelgen::BuildTargetTriangles();
    for (int plane = 6; plane < 72; ++plane) {
        const Vec3* c = targets[plane].corner;
        const Vec3 normal = FacePlaneWithout(MissingAxisOf(targets[plane].face)).normal;
        EXPECT_GT(Dot(Cross(c[1] - c[0], c[2] - c[0]), normal), 0.0f) << "plane " << plane + 1;
    }
}

}  // namespace
}  // namespace tetrakon::modeltest
