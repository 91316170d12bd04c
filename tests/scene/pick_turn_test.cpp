#include "scene/pick_turn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "resources/module_resources.h"
#include "scene/scene_mesh.h"
#include "scene/view_rotation.h"
#include "tests/models/model_test_support.h"

namespace tetrakon {
namespace {

TEST(PickTurnTest, EachAxisOffersTipMiddleAndFarLayerInBothDirections) {
    for (int group = 0; group < 24; ++group) {
        const int code = TargetGroupTurnCode(group);
        EXPECT_EQ((code - 1) / 6, group / 6) << "axis of group " << group;
        EXPECT_EQ((code - 1) % 3, (group % 6) / 2) << "layer of group " << group;
        EXPECT_EQ(((code - 1) / 3) % 2, group % 2) << "direction of group " << group;
    }
}

// The choice rules on square-on triangles across the ray (0, 0, -10) + t (0, 0, 1): each
// listed triangle stands at the given depth z, every other target lies off the ray.
const PickRay kRay{{0, 0, -10}, {0, 0, 1}};

void AddTriangle(Mesh* mesh, float z, float offset) {
    const auto first = static_cast<std::uint32_t>(mesh->positions.size());
    mesh->positions.push_back({offset - 1, -1, z});
    mesh->positions.push_back({offset + 2, -1, z});
    mesh->positions.push_back({offset - 1, 2, z});
    mesh->faces.push_back({{first, first + 1, first + 2}});
    const auto face = static_cast<std::uint32_t>(mesh->faces.size() - 1);
    mesh->faceMaterial.push_back(face);
    mesh->materials.push_back({});
    mesh->subsets.push_back({face, 1});
}

Mesh Targets(const std::map<int, float>& depthOfTarget) {
    Mesh mesh;
    for (int target = 0; target < 72; ++target) {
        const auto listed = depthOfTarget.find(target);
        if (listed != depthOfTarget.end()) {
            AddTriangle(&mesh, listed->second, 0);
        } else {
            AddTriangle(&mesh, 0, 100);
        }
    }
    return mesh;
}

TEST(PickTurnTest, TheFirstTriangleMetInAGroupDecidesAndTheLastGroupInFrontWins) {
    struct Case {
        const char* name;
        bool bodyOnTheRay;
        std::map<int, float> depthOfTarget;
        int expected;
    };
    // The body stands at z = 5.
    const Case cases[] = {
        {"target in front of the body", true, {{0, 4}}, 1},
        {"target behind the body", true, {{0, 6}}, kNoTurnPicked},
        {"target exactly at the body", true, {{0, 5}}, kNoTurnPicked},
        {"third triangle decides when the first two miss", true, {{5, 4}}, 4},
        {"the first triangle met is behind: the group is passed over",
         true,
         {{0, 6}, {1, 4}},
         kNoTurnPicked},
        {"the first triangle met is in front: the group is taken", true, {{0, 4}, {1, 6}}, 1},
        {"every triangle of the group behind", true, {{0, 6}, {1, 7}, {2, 8}}, kNoTurnPicked},
        {"last group wins, though farther", true, {{3, 2}, {69, 4}}, 24},
        {"group behind does not undo one in front", true, {{3, 4}, {69, 6}}, 4},
        {"ray beside the body", false, {{0, 4}}, kNoTurnPicked},
    };
    for (const Case& c : cases) {
        Mesh hull;
        AddTriangle(&hull, 5, c.bodyOnTheRay ? 0.0f : 100.0f);
        EXPECT_EQ(PickTurnAlongRay(hull, Targets(c.depthOfTarget), kRay), c.expected) << c.name;
    }
}

// The program's own models under its camera: eye (0, 0, -55) looking at the origin, a
// quarter-turn field of view over a 532 x 379 drawing area.
class PickTurnOnModelsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(hull_.LoadFromResource(nullptr, kHullModelId, "X"), S_OK);
        ASSERT_EQ(targets_.LoadFromResource(nullptr, kTurnTargetModelId, "X"), S_OK);
        ASSERT_EQ(targets_.sourceMesh()->subsets.size(), 72u);
    }

    static PickInputs Inputs(const Matrix& world) {
        constexpr std::uint32_t kWidth = 532;
        constexpr std::uint32_t kHeight = 379;
        PickInputs inputs;
        inputs.width = kWidth;
        inputs.height = kHeight;
        inputs.world = world;
        inputs.view = MatrixLookAtLH({0, 0, -55}, {0, 0, 0}, {0, 1, 0});
        inputs.projection = MatrixPerspectiveFovLH(0.7853982f, 532.0f / 379.0f, 1.0f, 200.0f);
        inputs.hull = hull_.sourceMesh();
        inputs.targets = targets_.sourceMesh();
        return inputs;
    }

    // A click on the pixel where the model-space point shows.
    static PickInputs ClickOn(Vec3 point, const Matrix& world) {
        PickInputs inputs = Inputs(world);
        const Vec3 clip = TransformCoord(point, world * inputs.view * inputs.projection);
        inputs.px = (clip.x + 1.0f) * 0.5f * static_cast<float>(inputs.width);
        inputs.py = (1.0f - clip.y) * 0.5f * static_cast<float>(inputs.height);
        EXPECT_GT(inputs.px, 0.0f);
        EXPECT_LT(inputs.px, static_cast<float>(inputs.width));
        EXPECT_GT(inputs.py, 0.0f);
        EXPECT_LT(inputs.py, static_cast<float>(inputs.height));
        return inputs;
    }

    // The pyramid rolled so that the given outward direction points at the eye.
    static Matrix FacingTheEye(Vec3 outward) {
        return MatrixRotationQuaternion(ViewRotation::AxisToAxis(outward, {0, 0, -1}));
    }

    // The pyramid rolled so that the target's face looks at the eye.
    static Matrix SquareOn(std::uint32_t subset) {
        const modeltest::ModelTriangle target = Target(subset);
        Vec3 outward = Normalize(target.Facing());
        if (Dot(outward, target.Centroid()) < 0) {
            outward = outward * -1.0f;
        }
        return FacingTheEye(outward);
    }

    static modeltest::ModelTriangle Target(std::uint32_t subset) {
        const Mesh& mesh = *targets_.sourceMesh();
        const Triangle& face = mesh.faces[mesh.subsets[subset].faceStart];
        modeltest::ModelTriangle triangle;
        for (int i = 0; i < 3; ++i) {
            triangle.corner[i] = mesh.positions[face.index[i]];
        }
        return triangle;
    }

    static SceneMesh hull_;
    static SceneMesh targets_;
};

SceneMesh PickTurnOnModelsTest::hull_{"CD3DFile_Mesh"};
SceneMesh PickTurnOnModelsTest::targets_{"CD3DFile_Mesh"};

// Every target, seen square on, and again rolled about the line of sight and zoomed: the ray
// follows the world matrix, so the same spot picks the target's own turn. (Seen at a glancing
// angle a ray near a corner can meet a triangle of the same group behind the body first; the
// first triangle met decides, and the group is then passed over.)
TEST_F(PickTurnOnModelsTest, EveryTargetPicksItsGroupsTurnWhereverTheViewPutsIt) {
    const Matrix rolledAndZoomed[] = {MatrixRotationZ(0.7f) * MatrixScaling(1.08f, 1.08f, 1.08f),
                                      MatrixRotationZ(-2.1f) * MatrixScaling(0.52f, 0.52f, 0.52f),
                                      MatrixRotationZ(3.0f) * MatrixScaling(1.16f, 1.16f, 1.16f)};
    for (std::uint32_t subset = 0; subset < 72; ++subset) {
        const Vec3 centre = Target(subset).Centroid();
        const Matrix faceOn = SquareOn(subset);
        const int expected = TargetGroupTurnCode(static_cast<int>(subset / 3));
        EXPECT_EQ(PickTurn(ClickOn(centre, faceOn)), expected) << "Plane" << subset + 1;
        for (const Matrix& view : rolledAndZoomed) {
            EXPECT_EQ(PickTurn(ClickOn(centre, faceOn * view)), expected) << "Plane" << subset + 1;
        }
    }
}

TEST_F(PickTurnOnModelsTest, BodyBetweenTargetsAndBackgroundPickNothing) {
    // The middle of each face, where six stickers meet, seen square on.
    for (int missing = 1; missing <= 4; ++missing) {
        const Vec3 middle = modeltest::Corner(missing) * (-1.0f / 3.0f);
        const Matrix faceOn = FacingTheEye(modeltest::FacePlaneWithout(missing).normal);
        EXPECT_EQ(PickTurn(ClickOn(middle, faceOn)), kNoTurnPicked) << "face without " << missing;
    }
    PickInputs background = Inputs(Matrix::Identity());
    background.px = 20;
    background.py = 360;
    EXPECT_EQ(PickTurn(background), kNoTurnPicked);
}

TEST_F(PickTurnOnModelsTest, NothingIsPickedWithoutTheTargetMeshOrADrawingArea) {
    PickInputs click = ClickOn(Target(0).Centroid(), SquareOn(0));
    ASSERT_EQ(PickTurn(click), 1);

    PickInputs noTargets = click;
    noTargets.targets = nullptr;
    EXPECT_EQ(PickTurn(noTargets), kNoTurnPicked);
    PickInputs noArea = click;
    noArea.width = 0;
    EXPECT_EQ(PickTurn(noArea), kNoTurnPicked);
}

}  // namespace
}  // namespace tetrakon
