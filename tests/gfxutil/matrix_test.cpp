#include "gfxutil/matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>

namespace tetrakon {
namespace {

using Rows = float[4][4];

Matrix FromRows(const Rows& rows) {
    Matrix out;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out.m[r][c] = rows[r][c];
        }
    }
    return out;
}

void ExpectNear(const Matrix& actual, const Matrix& expected, float tolerance) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(actual.m[r][c], expected.m[r][c], tolerance) << "M" << r + 1 << c + 1;
        }
    }
}

void ExpectNear(Vec3 actual, Vec3 expected, float tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

constexpr float kDegree = 0.0174532924f;
constexpr float kPhi = 0.339859247f;
constexpr float kThirtyDegrees = 0.52359879f;

// Each elementary rotation written out row by row from c = cos a and s = sin a.
struct RotationCase {
    const char* name;
    std::function<Matrix(float)> build;
    std::function<Matrix(float, float)> rows;
};

void PrintTo(const RotationCase& testCase, std::ostream* os) {
    *os << testCase.name;
}

class ElementaryRotation : public ::testing::TestWithParam<RotationCase> {};

TEST_P(ElementaryRotation, MatchesItsRowsEntryByEntry) {
    for (const float angle : {0.0f, 0.3f, -1.2f, 15 * kDegree, 120 * kDegree, 3.1415927f}) {
        const float c = std::cos(angle), s = std::sin(angle);
        const Matrix expected = GetParam().rows(c, s);
        const Matrix actual = GetParam().build(angle);
        EXPECT_EQ(actual, expected) << "angle " << angle;
    }
}

Matrix RowsOfX(float c, float s) {
    const Rows rows = {{1, 0, 0, 0}, {0, c, s, 0}, {0, -s, c, 0}, {0, 0, 0, 1}};
    return FromRows(rows);
}

Matrix RowsOfY(float c, float s) {
    const Rows rows = {{c, 0, -s, 0}, {0, 1, 0, 0}, {s, 0, c, 0}, {0, 0, 0, 1}};
    return FromRows(rows);
}

Matrix RowsOfZ(float c, float s) {
    const Rows rows = {{c, s, 0, 0}, {-s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    return FromRows(rows);
}

INSTANTIATE_TEST_SUITE_P(Matrix, ElementaryRotation,
                         ::testing::Values(RotationCase{"X", MatrixRotationX, RowsOfX},
                                           RotationCase{"Y", MatrixRotationY, RowsOfY},
                                           RotationCase{"Z", MatrixRotationZ, RowsOfZ}),
                         [](const ::testing::TestParamInfo<RotationCase>& testCase) {
                             return testCase.param.name;
                         });

// A quarter turn in this left-handed convention: x -> y about Z, y -> z about X, z -> x
// about Y.
TEST(Matrix, QuarterTurnsMoveAxesLeftHanded) {
    const float quarter = 90 * kDegree;
    ExpectNear(TransformCoord({1, 0, 0}, MatrixRotationZ(quarter)), {0, 1, 0}, 1e-6f);
    ExpectNear(TransformCoord({0, 1, 0}, MatrixRotationX(quarter)), {0, 0, 1}, 1e-6f);
    ExpectNear(TransformCoord({0, 0, 1}, MatrixRotationY(quarter)), {1, 0, 0}, 1e-6f);
}

TEST(Matrix, ProductAppliesLeftFactorFirst) {
    const float quarter = 1.5707964f;
    // Translate then rotate 90 degrees about Z: (1, 0, 0) -> (2, 0, 0) -> (0, 2, 0).
    ExpectNear(TransformCoord({1, 0, 0}, MatrixTranslation(1, 0, 0) * MatrixRotationZ(quarter)),
               {0, 2, 0}, 1e-6f);
    // Rotate then translate: (1, 0, 0) -> (0, 1, 0) -> (1, 1, 0).
    ExpectNear(TransformCoord({1, 0, 0}, MatrixRotationZ(quarter) * MatrixTranslation(1, 0, 0)),
               {1, 1, 0}, 1e-6f);

    // Entries of A x B: row r of A against column c of B.
    const Rows a = {{1, 2, 0, 0}, {0, 1, 3, 0}, {4, 0, 1, 0}, {1, -2, 3, 1}};
    const Rows b = {{2, 0, 1, 0}, {0, 3, 0, 1}, {1, 0, 2, 0}, {5, 6, 7, 1}};
    const Rows ab = {{2, 6, 1, 2}, {3, 3, 6, 1}, {9, 0, 6, 0}, {10, 0, 14, -1}};
    const Rows ba = {{6, 4, 1, 0}, {1, 1, 12, 1}, {9, 2, 2, 0}, {34, 14, 28, 1}};
    EXPECT_EQ(FromRows(a) * FromRows(b), FromRows(ab));
    EXPECT_EQ(FromRows(b) * FromRows(a), FromRows(ba));
}

TEST(Matrix, ProductSumsLeftToRightInSinglePrecision) {
    // 1e8 + 1 rounds back to 1e8 in float, so the entry is 0 rather than the exact 1.
    const Rows a = {{1e8f, 1, -1e8f, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    const Rows b = {{1, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}};
    EXPECT_EQ((FromRows(a) * FromRows(b)).m[0][0], 0.0f);
}

TEST(Matrix, TranslationSitsInTheFourthRow) {
    const Matrix t = MatrixTranslation(3, -4, 5);
    const Rows rows = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {3, -4, 5, 1}};
    EXPECT_EQ(t, FromRows(rows));
    EXPECT_EQ(t.TranslationRow(), (Vec3{3, -4, 5}));
    EXPECT_EQ(TransformCoord({1, 2, 3}, t), (Vec3{4, -2, 8}));
    EXPECT_EQ(TransformNormal({1, 2, 3}, t), (Vec3{1, 2, 3}));
    EXPECT_EQ(TransformCoord({1, 2, 3}, MatrixScaling(2, -1, 0.5f)), (Vec3{2, -2, 1.5f}));
}

// The working frames that bring each turn axis onto a coordinate axis, built factor by
// factor from the identity as the turn code does.
struct WorkingFrameCase {
    const char* name;
    Matrix forward;
    Matrix back;
};

void PrintTo(const WorkingFrameCase& testCase, std::ostream* os) {
    *os << testCase.name;
}

WorkingFrameCase Axis2() {
    return {"Axis2",
            Matrix::Identity() * MatrixRotationY(-kThirtyDegrees) * MatrixRotationZ(-kPhi) *
                MatrixTranslation(0, 2.22f, 0),
            Matrix::Identity() * MatrixTranslation(0, -2.22f, 0) * MatrixRotationZ(kPhi) *
                MatrixRotationY(kThirtyDegrees)};
}
WorkingFrameCase Axis3() {
    return {"Axis3",
            Matrix::Identity() * MatrixRotationY(kThirtyDegrees) * MatrixRotationZ(kPhi) *
                MatrixTranslation(0, 2.22f, 0),
            Matrix::Identity() * MatrixTranslation(0, -2.22f, 0) * MatrixRotationZ(-kPhi) *
                MatrixRotationY(-kThirtyDegrees)};
}
WorkingFrameCase Axis4() {
    return {"Axis4", Matrix::Identity() * MatrixRotationX(kPhi) * MatrixTranslation(0, 2.22f, 0),
            Matrix::Identity() * MatrixTranslation(0, -2.22f, 0) * MatrixRotationX(-kPhi)};
}

class WorkingFrame : public ::testing::TestWithParam<WorkingFrameCase> {};

TEST_P(WorkingFrame, InverseUndoesItAndMatchesTheReturnFrame) {
    const WorkingFrameCase& frame = GetParam();
    Matrix inverse;
    ASSERT_TRUE(MatrixInverse(frame.forward, &inverse));
    ExpectNear(frame.forward * inverse, Matrix::Identity(), 2e-6f);
    ExpectNear(inverse * frame.forward, Matrix::Identity(), 2e-6f);
    // The return frame is rebuilt from its own factors: equal to the inverse up to rounding.
    ExpectNear(inverse, frame.back, 2e-6f);
    ExpectNear(frame.forward * frame.back, Matrix::Identity(), 2e-6f);
}

INSTANTIATE_TEST_SUITE_P(Matrix, WorkingFrame, ::testing::Values(Axis2(), Axis3(), Axis4()),
                         [](const ::testing::TestParamInfo<WorkingFrameCase>& testCase) {
                             return testCase.param.name;
                         });

TEST(MatrixInverse, OfElementaryMatrices) {
    Matrix inverse;
    ASSERT_TRUE(MatrixInverse(MatrixTranslation(2, -3, 8), &inverse));
    EXPECT_EQ(inverse, MatrixTranslation(-2, 3, -8));
    ASSERT_TRUE(MatrixInverse(MatrixScaling(2, 4, -0.5f), &inverse));
    EXPECT_EQ(inverse, MatrixScaling(0.5f, 0.25f, -2));
    // A rotation's inverse is its transpose.
    const Matrix rotation = MatrixRotationZ(0.7f) * MatrixRotationX(-0.4f);
    ASSERT_TRUE(MatrixInverse(rotation, &inverse));
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(inverse.m[r][c], rotation.m[c][r], 1e-6f);
        }
    }
}

TEST(MatrixInverse, SingularMatrixIsRefusedAndOutputKept) {
    const Rows equalRows = {{1, 2, 3, 0}, {1, 2, 3, 0}, {0, 0, 1, 0}, {4, 5, 6, 1}};
    const Rows dependentRows = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}, {0, 0, 0, 1}};
    const Rows zero = {};
    const Matrix sentinel = MatrixTranslation(7, 7, 7);
    for (const Matrix& singular :
         {MatrixScaling(1, 0, 1), FromRows(equalRows), FromRows(dependentRows), FromRows(zero)}) {
        Matrix out = sentinel;
        EXPECT_FALSE(MatrixInverse(singular, &out));
        EXPECT_EQ(out, sentinel);
    }
}

// The game's camera: eye (0, 0, -55) looking at the origin with +Y up is a pure shift of
// 55 along +Z, so the origin lands 55 in front of the eye.
TEST(Camera, LookAtOfTheGameCamera) {
    const Matrix view = MatrixLookAtLH({0, 0, -55}, {0, 0, 0}, {0, 1, 0});
    const Rows rows = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 55, 1}};
    EXPECT_EQ(view, FromRows(rows));
}

TEST(Camera, LookAtPutsTargetOnPositiveZAndUpOnPositiveY) {
    const Vec3 eye{3, 4, -12}, target{-1, 2, 5}, up{0, 1, 0};
    const Matrix view = MatrixLookAtLH(eye, target, up);
    ExpectNear(TransformCoord(eye, view), {0, 0, 0}, 1e-5f);
    ExpectNear(TransformCoord(target, view), {0, 0, Length(target - eye)}, 1e-5f);
    EXPECT_GT(TransformCoord(eye + up, view).y, 0.9f);
    // Left-handed: with +Z ahead and +Y up, +X is to the right.
    const Matrix straight = MatrixLookAtLH({0, 0, 0}, {0, 0, 1}, up);
    ExpectNear(TransformCoord({1, 0, 0}, straight), {1, 0, 0}, 1e-6f);
    // The rotation part is orthonormal.
    Matrix inverse;
    ASSERT_TRUE(MatrixInverse(view, &inverse));
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(inverse.m[r][c], view.m[c][r], 1e-6f);
        }
    }
}

TEST(Camera, PerspectiveOfTheGameCamera) {
    const Matrix projection = MatrixPerspectiveFovLH(0.7853982f, 640.0f / 480.0f, 1, 200);
    // yScale = cot(pi / 8) = 1 + sqrt 2; xScale = yScale / aspect; depth 200 / 199.
    const Rows rows = {{1.81066017f, 0, 0, 0},
                       {0, 2.41421356f, 0, 0},
                       {0, 0, 1.00502513f, 1},
                       {0, 0, -1.00502513f, 0}};
    ExpectNear(projection, FromRows(rows), 2e-6f);
    EXPECT_EQ(projection.m[2][3], 1.0f);
    EXPECT_EQ(projection.m[3][3], 0.0f);

    // Depth runs from 0 at the near plane to 1 at the far plane.
    EXPECT_NEAR(TransformCoord({0, 0, 1}, projection).z, 0.0f, 1e-6f);
    EXPECT_NEAR(TransformCoord({0, 0, 200}, projection).z, 1.0f, 1e-6f);
    // A point on the top edge of the view at depth 55 projects to y = 1.
    const float halfHeight = 55 * std::tan(0.7853982f / 2);
    EXPECT_NEAR(TransformCoord({0, halfHeight, 55}, projection).y, 1.0f, 1e-6f);
}

TEST(SinglePrecision, DegreeStepsRoundToTheFloatAngle) {
    // 15 x 0.0174532924 in float is pi / 12 rounded to float, likewise 24 and 120 degrees.
    EXPECT_EQ(15 * kDegree, 0x1.0c1524p-2f);
    EXPECT_EQ(24 * kDegree, 0x1.aceeap-2f);
    EXPECT_EQ(120 * kDegree, 0x1.0c1524p+1f);
    EXPECT_NE(static_cast<double>(15 * kDegree), 3.14159265358979323846 / 12);

    // Eight 15-degree steps compose to 120 degrees up to float rounding.
    Matrix turned;
    for (int step = 0; step < 8; ++step) {
        turned = turned * MatrixRotationY(15 * kDegree);
    }
    ExpectNear(turned, MatrixRotationY(120 * kDegree), 2e-6f);
}

}  // namespace
}  // namespace tetrakon
