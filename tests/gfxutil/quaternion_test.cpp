#include "gfxutil/quaternion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tetrakon {
namespace {

void ExpectNear(const Matrix& actual, const Matrix& expected, float tolerance) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(actual.m[r][c], expected.m[r][c], tolerance) << "M" << r + 1 << c + 1;
        }
    }
}

// Rotation by `angle` about the unit axis n: (n sin(angle / 2), cos(angle / 2)).
Quaternion AboutAxis(Vec3 n, float angle) {
    const float s = std::sin(angle / 2);
    return {n.x * s, n.y * s, n.z * s, std::cos(angle / 2)};
}

TEST(QuaternionMultiply, IsTheHamiltonProductOfThenTimesFirst) {
    struct Case {
        Quaternion first, then, expected;
    };
    // then x first = (then.w first.v + first.w then.v + then.v x first.v,
    //                 then.w first.w - then.v . first.v).
    const Case cases[] = {
        {{1, 2, 3, 4}, {5, 6, 7, 8}, {32, 32, 56, -6}},
        {{5, 6, 7, 8}, {1, 2, 3, 4}, {24, 48, 48, -6}},
        {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, 0}},
        {{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}},
        {{1, 2, 3, 4}, {0, 0, 0, 1}, {1, 2, 3, 4}},
        {{0, 0, 0, 1}, {1, 2, 3, 4}, {1, 2, 3, 4}},
        {{0, 0, 0, -1}, {0, 0, 1, 0}, {0, 0, -1, 0}},
    };
    for (const Case& c : cases) {
        const Quaternion q = QuaternionMultiply(c.first, c.then);
        EXPECT_EQ(q.x, c.expected.x);
        EXPECT_EQ(q.y, c.expected.y);
        EXPECT_EQ(q.z, c.expected.z);
        EXPECT_EQ(q.w, c.expected.w);
    }
}

TEST(QuaternionMultiply, ComposesRotationsInTheOrderGiven) {
    const Quaternion first = AboutAxis({1, 0, 0}, 0.9f);
    const Quaternion then = AboutAxis({0, 0.6f, 0.8f}, -1.4f);
    ExpectNear(MatrixRotationQuaternion(QuaternionMultiply(first, then)),
               MatrixRotationQuaternion(first) * MatrixRotationQuaternion(then), 1e-6f);
}

TEST(MatrixRotationQuaternion, MatchesTheFormulaEntryByEntry) {
    // A non-unit quaternion exposes every term: x = 1, y = 2, z = 3, w = 4.
    const Matrix m = MatrixRotationQuaternion({1, 2, 3, 4});
    const float expected[4][4] = {{1 - 2 * (4 + 9), 2 * (2 + 12), 2 * (3 - 8), 0},
                                  {2 * (2 - 12), 1 - 2 * (1 + 9), 2 * (6 + 4), 0},
                                  {2 * (3 + 8), 2 * (6 - 4), 1 - 2 * (1 + 4), 0},
                                  {0, 0, 0, 1}};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(m.m[r][c], expected[r][c]) << "M" << r + 1 << c + 1;
        }
    }
}

TEST(MatrixRotationQuaternion, AgreesWithTheElementaryRotations) {
    for (const float angle : {0.25f, -1.0f, 2.0943952f}) {
        ExpectNear(MatrixRotationQuaternion(AboutAxis({1, 0, 0}, angle)), MatrixRotationX(angle),
                   1e-6f);
        ExpectNear(MatrixRotationQuaternion(AboutAxis({0, 1, 0}, angle)), MatrixRotationY(angle),
                   1e-6f);
        ExpectNear(MatrixRotationQuaternion(AboutAxis({0, 0, 1}, angle)), MatrixRotationZ(angle),
                   1e-6f);
    }
}

TEST(MatrixRotationQuaternion, KnownTurnsMovePointsWhereExpected) {
    EXPECT_EQ(MatrixRotationQuaternion({0, 0, 0, 1}), Matrix::Identity());

    // A small turn about -Y moves the point facing the viewer, (0, 0, -1), towards +X.
    const Vec3 turned =
        TransformCoord({0, 0, -1}, MatrixRotationQuaternion(AboutAxis({0, -1, 0}, 0.2f)));
    EXPECT_NEAR(turned.x, std::sin(0.2f), 1e-6f);
    EXPECT_NEAR(turned.y, 0.0f, 1e-6f);
    EXPECT_NEAR(turned.z, -std::cos(0.2f), 1e-6f);

    // (1/2, 1/2, 1/2, 1/2) is 120 degrees about (1, 1, 1): x -> y -> z -> x, exactly.
    const Matrix cycle = MatrixRotationQuaternion({0.5f, 0.5f, 0.5f, 0.5f});
    EXPECT_EQ(TransformCoord({1, 0, 0}, cycle), (Vec3{0, 1, 0}));
    EXPECT_EQ(TransformCoord({0, 1, 0}, cycle), (Vec3{0, 0, 1}));
    EXPECT_EQ(TransformCoord({0, 0, 1}, cycle), (Vec3{1, 0, 0}));

    // q and -q are the same rotation.
    const Quaternion q = AboutAxis({0, 0.6f, -0.8f}, 1.1f);
    EXPECT_EQ(MatrixRotationQuaternion(q), MatrixRotationQuaternion({-q.x, -q.y, -q.z, -q.w}));
}

}  // namespace
}  // namespace tetrakon
