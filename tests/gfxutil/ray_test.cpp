#include "gfxutil/ray.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>

namespace tetrakon {
namespace {

// Right triangle in the plane z = 5 with legs of length 4 along x and y.
constexpr Vec3 kV0{0, 0, 5}, kV1{4, 0, 5}, kV2{0, 4, 5};

struct RayCase {
    const char* name;
    Vec3 origin, direction;
    bool hit;
    float t, u, v;  // expected when hit
};

void PrintTo(const RayCase& testCase, std::ostream* os) {
    *os << testCase.name;
}

class TriangleRay : public ::testing::TestWithParam<RayCase> {};

TEST_P(TriangleRay, MatchesThePlaneAndBarycentricSolution) {
    const RayCase& c = GetParam();
    const std::optional<RayHit> hit = IntersectTriangle(c.origin, c.direction, kV0, kV1, kV2);
    ASSERT_EQ(hit.has_value(), c.hit);
    if (c.hit) {
        EXPECT_NEAR(hit->t, c.t, 1e-5f);
        EXPECT_NEAR(hit->u, c.u, 1e-6f);
        EXPECT_NEAR(hit->v, c.v, 1e-6f);
    }
}

// Hit point (x, y, 5) has u = x / 4 and v = y / 4; t is the distance to z = 5 divided by
// the direction's z component.
INSTANTIATE_TEST_SUITE_P(
    Ray, TriangleRay,
    ::testing::Values(
        RayCase{"FromFront", {1, 1, 0}, {0, 0, 1}, true, 5, 0.25f, 0.25f},
        RayCase{"FromBehind", {1, 2, 9}, {0, 0, -1}, true, 4, 0.25f, 0.5f},
        RayCase{"UnnormalisedDirectionScalesT", {1, 1, 0}, {0, 0, 2.5f}, true, 2, 0.25f, 0.25f},
        RayCase{"ShortDirection", {1, 1, 0}, {0, 0, 0.5f}, true, 10, 0.25f, 0.25f},
        RayCase{"Oblique", {0, 0, 0}, {1, 1, 5}, true, 1, 0.25f, 0.25f},
        RayCase{"ObliqueUnnormalised", {-2, 0, 1}, {1.5f, 0.5f, 2}, true, 2, 0.25f, 0.25f},
        RayCase{"OnTheHypotenuse", {2, 2, 0}, {0, 0, 1}, true, 5, 0.5f, 0.5f},
        RayCase{"AtAVertex", {4, 0, 0}, {0, 0, 1}, true, 5, 1, 0},
        RayCase{"OriginOnTheTriangle", {1, 1, 5}, {0, 0, 1}, true, 0, 0.25f, 0.25f},
        RayCase{"JustPastTheHypotenuse", {2.01f, 2, 0}, {0, 0, 1}, false, 0, 0, 0},
        RayCase{"JustLeftOfTheYLeg", {-0.001f, 1, 0}, {0, 0, 1}, false, 0, 0, 0},
        RayCase{"JustBelowTheXLeg", {1, -0.001f, 0}, {0, 0, 1}, false, 0, 0, 0},
        RayCase{"FarOutside", {10, 10, 0}, {0, 0, 1}, false, 0, 0, 0},
        RayCase{"TriangleBehindOrigin", {1, 1, 6}, {0, 0, 1}, false, 0, 0, 0},
        RayCase{"ParallelInThePlane", {-1, 1, 5}, {1, 0, 0}, false, 0, 0, 0},
        RayCase{"ParallelAbove", {-1, 1, 4}, {1, 0, 0}, false, 0, 0, 0},
        RayCase{"ZeroDirection", {1, 1, 0}, {0, 0, 0}, false, 0, 0, 0}),
    [](const ::testing::TestParamInfo<RayCase>& testCase) { return testCase.param.name; });

TEST(TriangleRay, WindingDoesNotMatter) {
    const std::optional<RayHit> clockwise = IntersectTriangle({1, 1, 0}, {0, 0, 1}, kV0, kV2, kV1);
    ASSERT_TRUE(clockwise.has_value());
    EXPECT_FLOAT_EQ(clockwise->t, 5.0f);
    EXPECT_FLOAT_EQ(clockwise->u, 0.25f);  // now the weight of kV2
}

// Two unit squares facing the ray at z = 2 (material 0) and z = 7 (material 1), with the
// square at z = 7 listed first, plus a triangle off to the side (material 2).
Mesh TwoSquares() {
    Mesh mesh;
    mesh.positions = {{-1, -1, 7}, {1, -1, 7}, {1, 1, 7}, {-1, 1, 7}, {-1, -1, 2}, {1, -1, 2},
                      {1, 1, 2},   {-1, 1, 2}, {5, 5, 0}, {6, 5, 0},  {5, 6, 0}};
    mesh.faces = {Triangle{{0, 1, 2}}, Triangle{{0, 2, 3}}, Triangle{{4, 5, 6}},
                  Triangle{{4, 6, 7}}, Triangle{{8, 9, 10}}};
    mesh.faceMaterial = {1, 1, 0, 0, 2};
    mesh.materials.resize(3);
    mesh.subsets = {Subset{2, 2}, Subset{0, 2}, Subset{4, 1}};
    return mesh;
}

TEST(NearestHit, TakesTheSmallestTOverAllFaces) {
    const Mesh mesh = TwoSquares();
    EXPECT_EQ(NearestHit(mesh, {0.5f, 0.25f, 0}, {0, 0, 1}), std::optional<float>(2.0f));
    EXPECT_EQ(NearestHit(mesh, {0.5f, 0.25f, 0}, {0, 0, 4}), std::optional<float>(0.5f));
    // From between the squares looking back, the near square is 3 away, the far one behind.
    EXPECT_EQ(NearestHit(mesh, {0.5f, 0.25f, 5}, {0, 0, -1}), std::optional<float>(3.0f));
    // Along the shared diagonal both triangles of a square report the same distance.
    EXPECT_EQ(NearestHit(mesh, {0.5f, 0.5f, 0}, {0, 0, 1}), std::optional<float>(2.0f));
    EXPECT_FALSE(NearestHit(mesh, {3, 0, 0}, {0, 0, 1}).has_value());
    EXPECT_FALSE(NearestHit(Mesh{}, {0, 0, 0}, {0, 0, 1}).has_value());
}

TEST(NearestHit, PerSubsetQueriesSeeOnlyTheirFaces) {
    const Mesh mesh = TwoSquares();
    const Vec3 origin{-0.5f, 0.5f, 0}, direction{0, 0, 1};
    EXPECT_EQ(NearestHitInSubset(mesh, 0, origin, direction), std::optional<float>(2.0f));
    EXPECT_EQ(NearestHitInSubset(mesh, 1, origin, direction), std::optional<float>(7.0f));
    EXPECT_FALSE(NearestHitInSubset(mesh, 2, origin, direction).has_value());
    EXPECT_EQ(NearestHitInSubset(mesh, 2, {5.25f, 5.25f, -1}, {0, 0, 1}),
              std::optional<float>(1.0f));
    EXPECT_FALSE(NearestHitInSubset(mesh, 3, origin, direction).has_value());
    EXPECT_FALSE(NearestHitInSubset(mesh, 0xFFFFFFFFu, origin, direction).has_value());
}

TEST(NearestHit, BrokenFacesAndSubsetRangesAreSkippedSafely) {
    Mesh mesh = TwoSquares();
    mesh.faces[2].index[1] = 99;  // one triangle of the near square points past the vertices
    mesh.subsets.push_back(Subset{3, 1000});
    // The near square's other triangle still counts where it covers the ray.
    EXPECT_EQ(NearestHit(mesh, {-0.5f, 0.5f, 0}, {0, 0, 1}), std::optional<float>(2.0f));
    EXPECT_EQ(NearestHit(mesh, {0.5f, -0.5f, 0}, {0, 0, 1}), std::optional<float>(7.0f));
    EXPECT_EQ(NearestHitInSubset(mesh, 3, {-0.5f, 0.5f, 0}, {0, 0, 1}), std::optional<float>(2.0f));
}

}  // namespace
}  // namespace tetrakon
