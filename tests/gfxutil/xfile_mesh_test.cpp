#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "gfxutil/xfile/xfile_mesh.h"
#include "xfile_test_support.h"

namespace tetrakon {
namespace {

using xtest::DataPath;

std::vector<FramedMesh> Collect(const std::string& name) {
    XFile file;
    XStatus status = ReadXFileFromPath(DataPath(name), &file);
    EXPECT_TRUE(status.ok()) << name << ": " << status.message;
    std::vector<FramedMesh> meshes;
    status = CollectMeshes(file, &meshes);
    EXPECT_TRUE(status.ok()) << name << ": " << status.message;
    return meshes;
}

XStatus MeshFromText(const std::string& body, Mesh* mesh) {
    XFile file;
    const XStatus status = xtest::ReadText("xof 0303txt 0032\n" + body, &file);
    EXPECT_TRUE(status.ok()) << status.message;
    if (!status.ok() || file.objects.empty())
        return status;
    return MeshFromXObject(*file.objects.back(), mesh);
}

void ExpectVec(const Vec3& v, float x, float y, float z, float tolerance = 1e-6f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

void ExpectSameMesh(const Mesh& a, const Mesh& b) {
    ASSERT_EQ(a.positions.size(), b.positions.size());
    for (std::size_t i = 0; i < a.positions.size(); ++i) {
        ExpectVec(a.positions[i], b.positions[i].x, b.positions[i].y, b.positions[i].z, 1e-5f);
        ExpectVec(a.normals[i], b.normals[i].x, b.normals[i].y, b.normals[i].z, 1e-5f);
    }
    ASSERT_EQ(a.faces.size(), b.faces.size());
    for (std::size_t i = 0; i < a.faces.size(); ++i) {
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(a.faces[i].index[k], b.faces[i].index[k]);
    }
    EXPECT_EQ(a.faceMaterial, b.faceMaterial);
    ASSERT_EQ(a.materials.size(), b.materials.size());
    for (std::size_t i = 0; i < a.materials.size(); ++i) {
        EXPECT_NEAR(a.materials[i].power, b.materials[i].power, 1e-4f);
        EXPECT_NEAR(a.materials[i].diffuse.r, b.materials[i].diffuse.r, 1e-6f);
        EXPECT_EQ(a.materials[i].textureFilename, b.materials[i].textureFilename);
    }
}

TEST(XFileMesh, CubeTripletGivesTheSameMesh) {
    const auto text = Collect("test_cube_text.x");
    const auto binary = Collect("test_cube_binary.x");
    const auto compressed = Collect("test_cube_compressed.x");
    ASSERT_EQ(text.size(), 1u);
    ASSERT_EQ(binary.size(), 1u);
    ASSERT_EQ(compressed.size(), 1u);
    ExpectSameMesh(text[0].mesh, binary[0].mesh);
    ExpectSameMesh(text[0].mesh, compressed[0].mesh);
    EXPECT_EQ(text[0].world, binary[0].world);
}

TEST(XFileMesh, CubeMeshMaterialAndWorld) {
    const auto meshes = Collect("test_cube_text.x");
    ASSERT_EQ(meshes.size(), 1u);
    const Mesh& mesh = meshes[0].mesh;
    EXPECT_EQ(mesh.positions.size(), 24u);
    EXPECT_EQ(mesh.faces.size(), 12u);
    EXPECT_EQ(mesh.normals.size(), 24u);
    EXPECT_EQ(mesh.texcoords.size(), 24u);
    ExpectVec(mesh.positions[0], -1, -1, 1);
    EXPECT_EQ(mesh.faces[0].index[0], 0u);
    EXPECT_EQ(mesh.faces[0].index[1], 2u);
    EXPECT_EQ(mesh.faces[0].index[2], 1u);
    ASSERT_EQ(mesh.materials.size(), 1u);
    const Material& m = mesh.materials[0];
    EXPECT_NEAR(m.diffuse.r, 0.639216f, 1e-6f);
    EXPECT_EQ(m.diffuse.a, 1.0f);
    EXPECT_NEAR(m.power, 96.078430f, 1e-4f);
    EXPECT_NEAR(m.specular.g, 0.498039f, 1e-6f);
    EXPECT_EQ(m.emissive.r, 0.0f);
    EXPECT_EQ(m.ambient.r, m.diffuse.r);
    EXPECT_TRUE(m.textureFilename.empty());
    ASSERT_EQ(mesh.subsets.size(), 1u);
    EXPECT_EQ(mesh.subsets[0].faceCount, 12u);
    // Root swaps Y and Z; Cube is the identity, so the world is Root's matrix.
    Matrix swap;
    swap.m[1][1] = 0;
    swap.m[1][2] = 1;
    swap.m[2][1] = 1;
    swap.m[2][2] = 0;
    EXPECT_EQ(meshes[0].world, swap);
}

TEST(XFileMesh, FrameWorldIsOwnMatrixTimesParents) {
    const std::string text =
        "xof 0303txt 0032\n"
        "Frame Outer { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,0,1;; }\n"
        "  Frame Inner { FrameTransformMatrix { 0,1,0,0, -1,0,0,0, 0,0,1,0, 0,5,0,1;; }\n"
        "    Mesh { 3; 1;0;0;, 0;1;0;, 0;0;1;; 1; 3;0,1,2;; } } }\n"
        "Mesh Loose { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n";
    XFile file;
    ASSERT_TRUE(xtest::ReadText(text, &file).ok());
    std::vector<FramedMesh> meshes;
    ASSERT_TRUE(CollectMeshes(file, &meshes).ok());
    ASSERT_EQ(meshes.size(), 2u);
    Matrix outer = MatrixTranslation(10, 0, 0);
    Matrix inner;
    inner.m[0][0] = 0;
    inner.m[0][1] = 1;
    inner.m[1][0] = -1;
    inner.m[1][1] = 0;
    inner.m[3][1] = 5;
    EXPECT_EQ(meshes[0].world, inner * outer);
    // (1,0,0) turns to (0,1,0), moves by (0,5,0) in Inner, then by (10,0,0) in Outer.
    const Vec3 p = TransformCoord(meshes[0].mesh.positions[0], meshes[0].world);
    ExpectVec(p, 10, 6, 0);
    EXPECT_EQ(meshes[1].world, Matrix::Identity());
}

TEST(XFileMesh, KwxportThreeMaterialsGiveThreeSubsets) {
    const auto meshes = Collect("kwxport_test_cubewithvcolors.x");
    ASSERT_EQ(meshes.size(), 1u);
    const Mesh& mesh = meshes[0].mesh;
    ASSERT_EQ(mesh.materials.size(), 3u);
    EXPECT_EQ(mesh.materials[0].power, 31.0f);
    EXPECT_NEAR(mesh.materials[1].power, 52.999996f, 1e-4f);
    EXPECT_EQ(mesh.materials[2].power, 57.0f);
    EXPECT_NE(mesh.materials[2].textureFilename.find("updown.tga"), std::string::npos);
    ASSERT_EQ(mesh.subsets.size(), 3u);
    EXPECT_EQ(mesh.subsets[0].faceCount, 2u);
    EXPECT_EQ(mesh.subsets[1].faceCount, 2u);
    EXPECT_EQ(mesh.subsets[2].faceCount, 8u);
    EXPECT_NEAR(meshes[0].world.m[3][1], -0.492126f, 1e-6f);
}

TEST(XFileMesh, LaddersQuadsAndSingleMaterialIndex) {
    const auto meshes = Collect("ladders.X");
    ASSERT_EQ(meshes.size(), 2u);
    // x3dc_18: one quad over 4 of its 8 vertices; the unused ones are dropped.
    EXPECT_EQ(meshes[0].mesh.faces.size(), 2u);
    EXPECT_EQ(meshes[0].mesh.positions.size(), 4u);
    EXPECT_EQ(meshes[0].mesh.materials[0].textureFilename, "stone_yellow1.BMP");
    // x3dc_21: two quads, one material index for both.
    EXPECT_EQ(meshes[1].mesh.faces.size(), 4u);
    EXPECT_EQ(meshes[1].mesh.faceMaterial, (std::vector<std::uint32_t>{0, 0, 0, 0}));
    EXPECT_NEAR(meshes[1].mesh.materials[0].diffuse.r, 0.941f, 1e-6f);
    EXPECT_TRUE(meshes[1].mesh.materials[0].textureFilename.empty());
}

TEST(XFileMesh, EveryRealFileConverts) {
    struct Case {
        const char* file;
        std::vector<std::size_t> faces;
    };
    const Case cases[] = {
        {"test.x", {12}},
        {"supplies.x", {8, 4}},
        {"crate.x", {12, 12}},
        {"pistol.x", {223, 16, 48}},
        {"blue_ufo.X", {14, 62, 128, 210}},
        {"Eye.x", {320}},
        {"fromtruespace_bin32.x", {6656}},
        {"malformed_skinweights_oob.x", {12}},
        {"malformed_fvf_texcoord_oob.x", {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const auto meshes = Collect(c.file);
        ASSERT_EQ(meshes.size(), c.faces.size());
        for (std::size_t i = 0; i < meshes.size(); ++i) {
            EXPECT_EQ(meshes[i].mesh.faces.size(), c.faces[i]);
            EXPECT_EQ(ValidateMesh(meshes[i].mesh), S_OK);
        }
    }
    const auto eye = Collect("Eye.x");
    EXPECT_EQ(eye[0].world, Matrix::Identity());
    EXPECT_EQ(eye[0].mesh.positions.size(), 162u);
    EXPECT_EQ(eye[0].mesh.materials[0].textureFilename, "Eye.bmp");
    const auto test = Collect("test.x");
    EXPECT_EQ(test[0].mesh.materials[0].textureFilename, ".\\\\test.png");
    const auto supplies = Collect("supplies.x");
    EXPECT_EQ(supplies[1].mesh.materials[0].textureFilename, "supplies_1.bmp");
    const auto ufo = Collect("blue_ufo.X");
    EXPECT_FALSE(ufo[0].mesh.HasNormals());
    EXPECT_NEAR(ufo[0].mesh.materials[0].specular.r, 0.5184f, 1e-6f);
    const auto fvf = Collect("malformed_fvf_texcoord_oob.x");
    EXPECT_EQ(fvf[0].mesh.positions.size(), 3u);
}

TEST(XFileMesh, MergedCrateKeepsMaterialsInFileOrder) {
    XFile file;
    ASSERT_TRUE(ReadXFileFromPath(DataPath("crate.x"), &file).ok());
    Mesh merged;
    const XStatus status = LoadMergedMesh(file, &merged);
    ASSERT_TRUE(status.ok()) << status.message;
    EXPECT_EQ(merged.faces.size(), 24u);
    ASSERT_EQ(merged.materials.size(), 2u);
    EXPECT_EQ(merged.materials[0].textureFilename, "crate.png");
    EXPECT_EQ(merged.materials[1].textureFilename, "crate02.png");
    ASSERT_EQ(merged.subsets.size(), 2u);
    EXPECT_EQ(merged.subsets[1].faceCount, 12u);

    XFile noMesh;
    ASSERT_TRUE(xtest::ReadText("xof 0303txt 0032\nFrame A { }\n", &noMesh).ok());
    EXPECT_EQ(LoadMergedMesh(noMesh, &merged).code, XError::BadMesh);
}

TEST(XFileMesh, PolygonsSplitIntoFans) {
    Mesh mesh;
    const XStatus status = MeshFromText(
        "Mesh { 5; 0;0;0;, 1;0;0;, 2;1;0;, 1;2;0;, 0;1;0;; 1; 5;0,1,2,3,4;; }\n", &mesh);
    ASSERT_TRUE(status.ok()) << status.message;
    ASSERT_EQ(mesh.faces.size(), 3u);
    const std::uint32_t expected[3][3] = {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}};
    for (int f = 0; f < 3; ++f) {
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(mesh.faces[f].index[k], expected[f][k]);
    }
    ASSERT_EQ(mesh.materials.size(), 1u);
    EXPECT_EQ(mesh.materials[0].diffuse.a, 1.0f);
}

TEST(XFileMesh, PositionWithTwoNormalsIsDuplicated) {
    // Two triangles share the edge 0-2; each face has its own normal.
    Mesh mesh;
    const XStatus status = MeshFromText(
        "Mesh { 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;1;; 2; 3;0,1,2;, 3;0,2,3;;\n"
        "  MeshNormals { 2; 0;0;1;, 0;-0.7071;0.7071;; 2; 3;0,0,0;, 3;1,1,1;; }\n"
        "  MeshTextureCoords { 4; 0;0;, 1;0;, 1;1;, 0;1;; } }\n",
        &mesh);
    ASSERT_TRUE(status.ok()) << status.message;
    ASSERT_EQ(mesh.positions.size(), 6u);
    ASSERT_EQ(mesh.faces.size(), 2u);
    // The second face uses copies of positions 0 and 2 carrying the second normal.
    for (int k = 0; k < 3; ++k) {
        const std::uint32_t v = mesh.faces[1].index[k];
        ExpectVec(mesh.normals[v], 0, -0.7071f, 0.7071f);
    }
    for (int k = 0; k < 3; ++k)
        ExpectVec(mesh.normals[mesh.faces[0].index[k]], 0, 0, 1);
    ExpectVec(mesh.positions[mesh.faces[1].index[0]], 0, 0, 0);
    ExpectVec(mesh.positions[mesh.faces[1].index[1]], 1, 1, 0);
    EXPECT_EQ(mesh.texcoords[mesh.faces[1].index[1]].x, 1.0f);
    EXPECT_EQ(mesh.texcoords[mesh.faces[1].index[1]].y, 1.0f);
}

TEST(XFileMesh, ShortMaterialIndexListRepeatsItsLastEntry) {
    Mesh mesh;
    const XStatus status = MeshFromText(
        "Material Red { 1;0;0;1;; 10; 1;1;1;; 0;0;0;; }\n"
        "Mesh { 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 3; 3;0,1,2;, 3;0,2,3;, 3;1,2,3;;\n"
        "  MeshMaterialList { 2; 2; 0, 1;; Material { 0;0;1;1;; 1; 0;0;0;; 0;0;0;; } {Red} } }\n",
        &mesh);
    ASSERT_TRUE(status.ok()) << status.message;
    ASSERT_EQ(mesh.materials.size(), 2u);
    EXPECT_EQ(mesh.materials[0].diffuse.b, 1.0f);
    EXPECT_EQ(mesh.materials[1].diffuse.r, 1.0f);
    EXPECT_EQ(mesh.materials[1].power, 10.0f);
    ASSERT_EQ(mesh.subsets.size(), 2u);
    EXPECT_EQ(mesh.subsets[0].faceCount, 1u);
    EXPECT_EQ(mesh.subsets[1].faceCount, 2u);
}

TEST(XFileMesh, InconsistentMeshesAreRejected) {
    const std::string bad[] = {
        // a vertex count of 2^31 with three vertices given
        "Mesh { 2147483648; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n",
        // a face index past the vertex list
        "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,3;; }\n",
        // a face with two corners
        "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 2;0,1;; }\n",
        // more faces than the data holds
        "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 4000000000; 3;0,1,2;; }\n",
        // normal faces that do not match the faces
        "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
        "  MeshNormals { 1; 0;0;1;; 2; 3;0,0,0;, 3;0,0,0;; } }\n",
        // a normal index past the normals
        "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
        "  MeshNormals { 1; 0;0;1;; 1; 3;0,0,1;; } }\n",
        // fewer texture coordinates than vertices
        "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshTextureCoords { 2; 0;0;, 1;1;; } }\n",
        // a material index past the material count
        "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
        "  MeshMaterialList { 1; 1; 1;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } } }\n",
        // more materials counted than given
        "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 2130706432; 1; 0;; } "
        "}\n",
        // a reference to a material that does not exist
        "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; {Nowhere} } "
        "}\n",
        // a material with too few values
        "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; Material { "
        "1;1; } } }\n",
        // a negative count and a string where a number belongs
        "Mesh { -3; 0;0;0;; 0; }\n",
        "Mesh { 1; \"x\";0;0;; 0; }\n",
        // a texture file name longer than any path: every mesh that refers to the material
        // would copy it
        "Material M { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"" + std::string(300, 'a') +
            "\"; } }\nMesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; "
            "0;; {M} } }\n",
    };
    for (const std::string& text : bad) {
        Mesh mesh;
        mesh.positions.resize(7);
        const XStatus status = MeshFromText(text, &mesh);
        EXPECT_EQ(status.code, XError::BadMesh) << text;
        EXPECT_FALSE(status.message.empty());
        EXPECT_TRUE(mesh.positions.empty()) << text;
    }
}

TEST(XFileMesh, BadMeshInsideAFrameFailsTheCollection) {
    XFile file;
    ASSERT_TRUE(
        xtest::ReadText("xof 0303txt 0032\nFrame F { Mesh { 1; 0;0;0;; 1; 3;0,0,5;; } }\n", &file)
            .ok());
    std::vector<FramedMesh> meshes;
    EXPECT_EQ(CollectMeshes(file, &meshes).code, XError::BadMesh);
    EXPECT_TRUE(meshes.empty());
}

}  // namespace
}  // namespace tetrakon
