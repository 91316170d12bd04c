#include "scene/scene_mesh.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/scene/recording_device.h"
#include "tests/scene/x_text.h"

namespace tetrakon {
namespace {

using xtext::MaterialSample;

std::string OneMeshFile(const std::vector<MaterialSample>& materials) {
    return xtext::Header() + xtext::MeshText("Body", materials);
}

std::vector<std::uint32_t> DrawnSubsets(const gfx::RecordingDevice& device) {
    std::vector<std::uint32_t> subsets;
    for (const auto& draw : device.draws) {
        subsets.push_back(draw.subset);
    }
    return subsets;
}

TEST(SceneMeshTest, LoadCopiesEveryMaterialAndSortsTheFacesBySubset) {
    SceneMesh mesh("CD3DFile_Mesh");
    const std::string file = OneMeshFile({{0.1f, 1.0f}, {0.2f, 1.0f}, {0.3f, 0.5f}});
    ASSERT_EQ(mesh.LoadFromMemory(nullptr, xtext::Bytes(file)), S_OK);

    ASSERT_EQ(mesh.materialCount(), 3u);
    ASSERT_EQ(mesh.materials().size(), 3u);
    const gfx::SurfaceMaterial& third = mesh.materials()[2];
    EXPECT_FLOAT_EQ(third.diffuse.r, 0.3f);
    EXPECT_FLOAT_EQ(third.diffuse.g, 0.25f);
    EXPECT_FLOAT_EQ(third.diffuse.b, 0.5f);
    EXPECT_FLOAT_EQ(third.diffuse.a, 0.5f);
    EXPECT_FLOAT_EQ(third.power, 8.0f);
    EXPECT_FLOAT_EQ(third.specular.g, 0.2f);
    EXPECT_FLOAT_EQ(third.emissive.b, 0.6f);
    EXPECT_FLOAT_EQ(mesh.materials()[0].diffuse.r, 0.1f);
    EXPECT_FLOAT_EQ(mesh.materials()[1].diffuse.r, 0.2f);

    // The file lists the faces in reverse material order; subset i is material i's
    // triangle, the one at x = i.
    const Mesh* source = mesh.sourceMesh();
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(source->subsets.size(), 3u);
    for (std::uint32_t i = 0; i < 3; ++i) {
        ASSERT_EQ(source->subsets[i].faceCount, 1u);
        const Triangle& face = source->faces[source->subsets[i].faceStart];
        EXPECT_FLOAT_EQ(source->positions[face.index[0]].x, static_cast<float>(i));
        EXPECT_EQ(mesh.texture(i), nullptr);
    }
}

TEST(SceneMeshTest, RestoreNeedsASourceMeshAndRenderNeedsADeviceCopy) {
    gfx::FakeDevice device;
    SceneMesh mesh("m");
    EXPECT_EQ(mesh.Restore(&device), E_FAIL);
    EXPECT_EQ(mesh.Render(&device, true, true), E_FAIL);
    EXPECT_TRUE(device.log()->calls.empty());

    const std::string file = OneMeshFile({{1.0f, 1.0f}});
    ASSERT_EQ(mesh.LoadFromMemory(&device, xtext::Bytes(file)), S_OK);
    EXPECT_EQ(mesh.Render(&device, true, true), E_FAIL);
    EXPECT_TRUE(device.log()->Matching("DrawSubset").empty());

    device.createMeshResult = gfx::D3DERR_OUTOFVIDEOMEMORY;
    EXPECT_EQ(mesh.Restore(&device), E_FAIL);
    EXPECT_EQ(mesh.deviceMesh(), nullptr);

    device.createMeshResult = S_OK;
    EXPECT_EQ(mesh.Restore(&device), S_OK);
    EXPECT_EQ(device.LiveResources(), 1u);
    EXPECT_EQ(mesh.Render(&device, true, true), S_OK);
    EXPECT_EQ(device.log()->Matching("DrawSubset"), std::vector<std::string>{"DrawSubset 0"});

    EXPECT_EQ(mesh.Invalidate(), S_OK);
    EXPECT_EQ(device.LiveResources(), 0u);
    EXPECT_EQ(mesh.Render(&device, true, true), E_FAIL);
    EXPECT_NE(mesh.sourceMesh(), nullptr);
}

TEST(SceneMeshTest, DestroyReleasesEverythingAndCanRepeat) {
    gfx::FakeDevice device;
    SceneMesh mesh("m");
    const std::string file = OneMeshFile({{1.0f, 1.0f}, {0.5f, 1.0f}});
    ASSERT_EQ(mesh.LoadFromMemory(&device, xtext::Bytes(file)), S_OK);
    ASSERT_EQ(mesh.Restore(&device), S_OK);

    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(mesh.Destroy(), S_OK);
        EXPECT_EQ(device.LiveResources(), 0u);
        EXPECT_EQ(mesh.sourceMesh(), nullptr);
        EXPECT_EQ(mesh.deviceMesh(), nullptr);
        EXPECT_EQ(mesh.materialCount(), 0u);
        EXPECT_TRUE(mesh.materials().empty());
        EXPECT_EQ(mesh.Restore(&device), E_FAIL);
    }
    EXPECT_STREQ(mesh.name(), "m");
}

TEST(SceneMeshTest, ATranslucentSubsetIsDrawnOnlyInTheTranslucentPass) {
    gfx::RecordingDevice device;
    SceneMesh mesh("m");
    const std::string file = OneMeshFile({{0.1f, 1.0f}, {0.2f, 0.5f}, {0.3f, 1.0f}});
    ASSERT_EQ(mesh.LoadFromMemory(&device, xtext::Bytes(file)), S_OK);
    ASSERT_EQ(mesh.Restore(&device), S_OK);

    EXPECT_EQ(mesh.Render(&device, true, false), S_OK);
    EXPECT_EQ(DrawnSubsets(device), (std::vector<std::uint32_t>{0, 2}));
    ASSERT_EQ(device.draws.size(), 2u);
    EXPECT_FLOAT_EQ(device.draws[0].material.diffuse.r, 0.1f);
    EXPECT_FLOAT_EQ(device.draws[1].material.diffuse.r, 0.3f);
    EXPECT_EQ(device.log()->Matching("SetTexture"),
              (std::vector<std::string>{"SetTexture 0 null", "SetTexture 0 null"}));

    device.draws.clear();
    EXPECT_EQ(mesh.Render(&device, false, true), S_OK);
    ASSERT_EQ(DrawnSubsets(device), (std::vector<std::uint32_t>{1}));
    EXPECT_FLOAT_EQ(device.draws[0].material.diffuse.r, 0.2f);
    EXPECT_FLOAT_EQ(device.draws[0].material.diffuse.a, 0.5f);
}

TEST(SceneMeshTest, WithoutMaterialsEverySubsetIsOpaqueAndKeepsTheDeviceMaterial) {
    gfx::RecordingDevice device;
    SceneMesh mesh("m");
    const std::string file = OneMeshFile({{0.1f, 1.0f}, {0.2f, 0.5f}});
    ASSERT_EQ(mesh.LoadFromMemory(&device, xtext::Bytes(file)), S_OK);
    ASSERT_EQ(mesh.Restore(&device), S_OK);
    mesh.useMaterials = false;

    EXPECT_EQ(mesh.Render(&device, true, true), S_OK);
    EXPECT_EQ(DrawnSubsets(device), (std::vector<std::uint32_t>{0, 1}));
    EXPECT_TRUE(device.log()->Matching("SetMaterial").empty());
    EXPECT_TRUE(device.log()->Matching("SetTexture").empty());

    device.draws.clear();
    EXPECT_EQ(mesh.Render(&device, false, true), S_OK);
    EXPECT_TRUE(device.draws.empty());
}

// Frame A (translation 10, 0, 0) holds a mesh of two materials and nests frame A1
// (translation 0, 20, 0) with one material; frame B (no transform) has one material.
TEST(SceneMeshTest, AMergedFileHasOneSubsetPerMaterialInFileOrderWithFramesApplied) {
    const std::string file =
        xtext::Header() +
        xtext::FrameText(
            "A", xtext::TransformText(MatrixTranslation(10, 0, 0)) +
                     xtext::MeshText("MeshA", {{0.1f, 1.0f}, {0.2f, 1.0f}}) +
                     xtext::FrameText("A1", xtext::TransformText(MatrixTranslation(0, 20, 0)) +
                                                xtext::MeshText("MeshA1", {{0.3f, 1.0f}}))) +
        xtext::FrameText("B", xtext::MeshText("MeshB", {{0.4f, 1.0f}}));
    SceneMesh mesh("CD3DFile_Mesh");
    ASSERT_EQ(mesh.LoadFromMemory(nullptr, xtext::Bytes(file)), S_OK);

    ASSERT_EQ(mesh.materialCount(), 4u);
    const Mesh* merged = mesh.sourceMesh();
    ASSERT_NE(merged, nullptr);
    ASSERT_EQ(merged->subsets.size(), 4u);
    const float expectedTag[4] = {0.1f, 0.2f, 0.3f, 0.4f};
    // Corner (i, 0, 0) of each mesh's material-i triangle, moved by its frames.
    const Vec3 expectedCorner[4] = {{10, 0, 0}, {11, 0, 0}, {10, 20, 0}, {0, 0, 0}};
    for (std::uint32_t i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(mesh.materials()[i].diffuse.r, expectedTag[i]) << i;
        ASSERT_EQ(merged->subsets[i].faceCount, 1u) << i;
        const Triangle& face = merged->faces[merged->subsets[i].faceStart];
        const Vec3 corner = merged->positions[face.index[0]];
        EXPECT_FLOAT_EQ(corner.x, expectedCorner[i].x) << i;
        EXPECT_FLOAT_EQ(corner.y, expectedCorner[i].y) << i;
        EXPECT_FLOAT_EQ(corner.z, expectedCorner[i].z) << i;
    }
}

// Material i of the file names the texture file textures[i].
std::string MeshFileWithTextures(const std::vector<std::string>& textures) {
    std::vector<MaterialSample> materials(textures.size());
    std::string file = OneMeshFile(materials);
    std::size_t at = 0;
    for (const std::string& texture : textures) {
        at = file.find("0.4;0.5;0.6;;\n", at) + 14;
        file.insert(at, "TextureFilename {\n \"" + texture + "\";\n}\n");
    }
    return file;
}

TEST(SceneMeshTest, MaterialsLoadTheirTextureFilesAndAMissingOneStaysNull) {
    gfx::FakeDevice device;
    SceneMesh mesh("Textured");
    const std::string file = MeshFileWithTextures(
        {std::string(TETRAKON_TEST_DATA) + "/images/pngsuite/basn2c08.png", "missing.png"});
    ASSERT_EQ(mesh.LoadFromMemory(&device, xtext::Bytes(file)), S_OK);
    const gfx::Texture* first = mesh.texture(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Width(), 32u);
    EXPECT_EQ(mesh.texture(1), nullptr);

    ASSERT_EQ(mesh.Restore(&device), S_OK);
    EXPECT_EQ(mesh.Render(&device, true, true), S_OK);
    EXPECT_EQ(device.log()->Matching("SetTexture"),
              (std::vector<std::string>{"SetTexture 0 texture", "SetTexture 0 null"}));
    EXPECT_EQ(device.log()->Matching("DrawSubset").size(), 2u);
}

TEST(SceneMeshTest, AnUnreadableFileLeavesTheMeshEmpty) {
    gfx::FakeDevice device;
    SceneMesh mesh("m");
    const std::string good = OneMeshFile({{1.0f, 1.0f}});
    ASSERT_EQ(mesh.LoadFromMemory(&device, xtext::Bytes(good)), S_OK);
    ASSERT_EQ(mesh.Restore(&device), S_OK);

    const std::string cut = good.substr(0, good.size() / 2);
    EXPECT_EQ(mesh.LoadFromMemory(&device, xtext::Bytes(cut)), E_FAIL);
    EXPECT_EQ(mesh.sourceMesh(), nullptr);
    EXPECT_EQ(mesh.materialCount(), 0u);
    EXPECT_EQ(device.LiveResources(), 0u);

    const std::string notX = "this is not a model";
    EXPECT_EQ(mesh.LoadFromMemory(&device, xtext::Bytes(notX)), E_FAIL);
    EXPECT_EQ(mesh.LoadFromMemory(&device, {}), E_FAIL);
}

}  // namespace
}  // namespace tetrakon
