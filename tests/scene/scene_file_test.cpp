#include "scene/scene_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/scene/recording_device.h"
#include "tests/scene/x_text.h"

namespace tetrakon {
namespace {

using xtext::FrameText;
using xtext::MeshText;
using xtext::TransformText;

std::vector<std::string> ChildNames(const SceneFrame& parent) {
    std::vector<std::string> names;
    for (const SceneFrame* frame = parent.child; frame != nullptr; frame = frame->next) {
        names.emplace_back(frame->name());
    }
    return names;
}

TEST(SceneFileTest, FramesEndUpInReverseFileOrderWithTheirMatricesAndMeshes) {
    const std::string file =
        xtext::Header() + xtext::MaterialText({0.9f, 1.0f}) +
        FrameText("Cone01", TransformText(MatrixTranslation(1, 2, 3)) +
                                MeshText("ConeMesh", {{0.1f, 1.0f}, {0.2f, 1.0f}}) +
                                FrameText("Inner1", "") + FrameText("Inner2", "")) +
        FrameText("Cone02", MeshText("", {{0.3f, 1.0f}})) + FrameText("Gengon01", "");
    SceneFile root;
    ASSERT_EQ(root.LoadFromMemory(nullptr, xtext::Bytes(file)), S_OK);

    EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"Gengon01", "Cone02", "Cone01"}));
    SceneFrame* cone1 = root.FindFrame("cone01");
    ASSERT_NE(cone1, nullptr);
    EXPECT_EQ(ChildNames(*cone1), (std::vector<std::string>{"Inner2", "Inner1"}));
    EXPECT_EQ(cone1->matrix, MatrixTranslation(1, 2, 3));
    ASSERT_NE(cone1->mesh, nullptr);
    EXPECT_STREQ(cone1->mesh->name(), "ConeMesh");
    EXPECT_EQ(cone1->mesh->materialCount(), 2u);

    SceneFrame* cone2 = root.FindFrame("CONE02");
    ASSERT_NE(cone2, nullptr);
    EXPECT_EQ(cone2->matrix, Matrix::Identity());
    ASSERT_NE(cone2->mesh, nullptr);
    EXPECT_STREQ(cone2->mesh->name(), "");
    EXPECT_EQ(root.FindFrame("Gengon01")->mesh, nullptr);
    // The top-level material adds nothing to the hierarchy.
    EXPECT_EQ(root.mesh, nullptr);
}

// The reader matches template names without regard to case, as the merged-mesh loader
// does; the hierarchy dispatches on the same template types.
TEST(SceneFileTest, TemplateTypesWrittenInOtherCaseBuildTheSameHierarchy) {
    std::string mesh = MeshText("Lower", {{0.1f, 1.0f}});
    mesh.replace(0, 4, "mesh");
    std::string transform = TransformText(MatrixTranslation(4, 5, 6));
    transform.replace(0, 20, "frametransformmatrix");
    const std::string file =
        xtext::Header() + "frame Outer {\n" + transform + mesh + "FRAME Inner {\n}\n}\n";
    SceneFile root;
    ASSERT_EQ(root.LoadFromMemory(nullptr, xtext::Bytes(file)), S_OK);

    SceneFrame* outer = root.FindFrame("Outer");
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(outer->matrix, MatrixTranslation(4, 5, 6));
    ASSERT_NE(outer->mesh, nullptr);
    EXPECT_EQ(outer->mesh->materialCount(), 1u);
    EXPECT_EQ(ChildNames(*outer), std::vector<std::string>{"Inner"});
}

TEST(SceneFileTest, AFrameWithTwoMeshesFailsTheLoadAndKeepsWhatWasBuilt) {
    const std::string file =
        xtext::Header() + FrameText("First", MeshText("M1", {{0.1f, 1.0f}})) +
        FrameText("Twice", MeshText("M2", {{0.2f, 1.0f}}) + MeshText("M3", {{0.3f, 1.0f}})) +
        FrameText("Never", "");
    SceneFile root;
    EXPECT_EQ(root.LoadFromMemory(nullptr, xtext::Bytes(file)), E_FAIL);

    EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"Twice", "First"}));
    SceneFrame* twice = root.FindFrame("Twice");
    ASSERT_NE(twice->mesh, nullptr);
    EXPECT_STREQ(twice->mesh->name(), "M2");
    EXPECT_EQ(twice->mesh->materialCount(), 1u);
    EXPECT_EQ(root.FindFrame("Never"), nullptr);

    root.DestroyAll();
    EXPECT_EQ(root.child, nullptr);
}

TEST(SceneFileTest, AReferenceAmongAFramesChildrenFailsTheLoad) {
    const std::string file = xtext::Header() + "Material Grey {\n 0.5;0.5;0.5;1.0;;\n 0.0;\n" +
                             " 0.0;0.0;0.0;;\n 0.0;0.0;0.0;;\n}\n" +
                             FrameText("Holder", "{ Grey }\n") + FrameText("After", "");
    SceneFile root;
    EXPECT_EQ(root.LoadFromMemory(nullptr, xtext::Bytes(file)), E_FAIL);
    EXPECT_EQ(ChildNames(root), std::vector<std::string>{"Holder"});
}

TEST(SceneFileTest, AnUnreadableFileFailsWithNothingAttached) {
    const std::string good = xtext::Header() + FrameText("A", MeshText("M", {{1.0f, 1.0f}}));
    const std::string cut = good.substr(0, good.size() - 8);
    SceneFile root;
    EXPECT_EQ(root.LoadFromMemory(nullptr, xtext::Bytes(cut)), E_FAIL);
    EXPECT_EQ(root.child, nullptr);
    EXPECT_EQ(root.LoadFromMemory(nullptr, {}), E_FAIL);
}

TEST(SceneFileTest, AMeshThatCannotBeBuiltStaysAttachedEmpty) {
    // Face index 7 is past the three vertices.
    const std::string file = xtext::Header() +
                             FrameText("Broken",
                                       "Mesh Bad {\n 3;\n 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n"
                                       " 1;\n 3;0,1,7;;\n}\n") +
                             FrameText("Fine", MeshText("Good", {{1.0f, 1.0f}}));
    SceneFile root;
    ASSERT_EQ(root.LoadFromMemory(nullptr, xtext::Bytes(file)), S_OK);
    SceneFrame* broken = root.FindFrame("Broken");
    ASSERT_NE(broken, nullptr);
    ASSERT_NE(broken->mesh, nullptr);
    EXPECT_EQ(broken->mesh->sourceMesh(), nullptr);
    EXPECT_EQ(root.FindFrame("Fine")->mesh->materialCount(), 1u);

    gfx::FakeDevice device;
    root.RestoreAll(&device);
    EXPECT_EQ(device.LiveResources(), 1u);
}

// Two frames with a mesh each, one nested in the other; the outer mesh has a translucent
// second material.
class SceneFileRenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string file =
            xtext::Header() +
            FrameText("Outer", TransformText(MatrixTranslation(1, 0, 0)) +
                                   MeshText("OuterMesh", {{0.1f, 1.0f}, {0.2f, 0.5f}}) +
                                   FrameText("Inner", TransformText(MatrixRotationZ(0.25f)) +
                                                          MeshText("InnerMesh", {{0.3f, 1.0f}})));
        ASSERT_EQ(root.LoadFromMemory(&device, xtext::Bytes(file)), S_OK);
        root.RestoreAll(&device);
        ASSERT_EQ(device.LiveResources(), 2u);
        device.log()->calls.clear();
        device.worlds.clear();
    }

    gfx::RecordingDevice device;
    SceneFile root;
};

TEST_F(SceneFileRenderTest, DrawsOpaqueThenTranslucentUnderBlendingAndRestoresTheWorld) {
    const Matrix given = MatrixTranslation(0, 0, 7);
    EXPECT_EQ(root.Render(&device, &given), S_OK);

    const Matrix outer = root.FindFrame("Outer")->matrix * given;
    const Matrix inner = root.FindFrame("Inner")->matrix * outer;
    ASSERT_EQ(device.draws.size(), 3u);
    EXPECT_FLOAT_EQ(device.draws[0].material.diffuse.r, 0.1f);
    EXPECT_EQ(device.draws[0].world, outer);
    EXPECT_FLOAT_EQ(device.draws[1].material.diffuse.r, 0.3f);
    EXPECT_EQ(device.draws[1].world, inner);
    EXPECT_FLOAT_EQ(device.draws[2].material.diffuse.r, 0.2f);
    EXPECT_EQ(device.draws[2].world, outer);

    const std::string blendOn =
        "SetRenderState " + std::to_string(static_cast<int>(gfx::RenderState::AlphaBlendEnable));
    const std::vector<std::string> expectedStates = {
        blendOn + " 1",
        "SetRenderState " + std::to_string(static_cast<int>(gfx::RenderState::SrcBlend)) + " " +
            std::to_string(static_cast<int>(gfx::Blend::SrcAlpha)),
        "SetRenderState " + std::to_string(static_cast<int>(gfx::RenderState::DestBlend)) + " " +
            std::to_string(static_cast<int>(gfx::Blend::InvSrcAlpha)),
        blendOn + " 0"};
    EXPECT_EQ(device.log()->Matching("SetRenderState"), expectedStates);

    // Blending goes on between the second and the third draw.
    const auto& calls = device.log()->calls;
    std::vector<std::string> order;
    for (const auto& call : calls) {
        if (call.rfind("DrawSubset", 0) == 0 || call.rfind(blendOn, 0) == 0) {
            order.push_back(call);
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"DrawSubset 0", "DrawSubset 0", blendOn + " 1",
                                               "DrawSubset 1", blendOn + " 0"}));

    ASSERT_FALSE(device.worlds.empty());
    EXPECT_EQ(device.worlds.front(), given);
    EXPECT_EQ(device.worlds.back(), given);
}

TEST_F(SceneFileRenderTest, WithoutAGivenWorldTheDevicesCurrentOneIsUsed) {
    const Matrix current = MatrixScaling(3, 3, 3);
    device.SetTransform(gfx::TransformState::World, current);
    EXPECT_EQ(root.Render(&device, nullptr), S_OK);
    ASSERT_FALSE(device.draws.empty());
    EXPECT_EQ(device.draws[0].world, root.FindFrame("Outer")->matrix * current);
    EXPECT_EQ(device.worlds.back(), current);
}

TEST_F(SceneFileRenderTest, InvalidateAllAndDestroyAllReleaseTheDeviceCopies) {
    root.InvalidateAll();
    EXPECT_EQ(device.LiveResources(), 0u);
    EXPECT_EQ(root.Render(&device, nullptr), S_OK);
    EXPECT_TRUE(device.draws.empty());

    root.RestoreAll(&device);
    EXPECT_EQ(device.LiveResources(), 2u);
    root.DestroyAll();
    EXPECT_EQ(device.LiveResources(), 0u);
    EXPECT_EQ(root.child, nullptr);
    root.DestroyAll();
    EXPECT_EQ(root.child, nullptr);
    EXPECT_STREQ(root.name(), "CD3DFile_Root");
}

}  // namespace
}  // namespace tetrakon
