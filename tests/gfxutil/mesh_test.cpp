#include "gfxutil/mesh.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace tetrakon {
namespace {

Triangle Tri(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    return Triangle{{a, b, c}};
}

std::vector<std::uint32_t> Indices(const Mesh& mesh) {
    std::vector<std::uint32_t> out;
    for (const Triangle& face : mesh.faces) {
        out.insert(out.end(), std::begin(face.index), std::end(face.index));
    }
    return out;
}

Material Named(const std::string& texture) {
    Material material;
    material.textureFilename = texture;
    return material;
}

// Six vertices tagged by x = 10 * index, normals tagged by y and texcoords by u, so that
// a vertex keeps its identity through compaction.
Mesh TaggedMesh() {
    Mesh mesh;
    for (int v = 0; v < 6; ++v) {
        const float tag = static_cast<float>(v);
        mesh.positions.push_back({10 * tag, 0, 0});
        mesh.normals.push_back({0, tag, 0});
        mesh.texcoords.push_back({tag, 0});
    }
    mesh.materials = {Named("a"), Named("b"), Named("c")};
    return mesh;
}

TEST(SortFacesBySubset, OrdersStablyAndBuildsOneSubsetPerMaterial) {
    Mesh mesh = TaggedMesh();
    // Vertex 3 is used by no face; material 1 by none.
    mesh.faces = {Tri(0, 1, 2), Tri(1, 2, 4), Tri(2, 4, 5), Tri(0, 4, 5), Tri(5, 0, 1)};
    mesh.faceMaterial = {2, 0, 2, 0, 2};
    ASSERT_EQ(SortFacesBySubset(&mesh), S_OK);

    // Material 0 faces (1, 3) first in their old order, then material 2 faces (0, 2, 4),
    // with old vertex 4 -> 3 and 5 -> 4 after vertex 3 is dropped.
    EXPECT_EQ(Indices(mesh),
              (std::vector<std::uint32_t>{1, 2, 3, 0, 3, 4, 0, 1, 2, 2, 3, 4, 4, 0, 1}));
    EXPECT_EQ(mesh.faceMaterial, (std::vector<std::uint32_t>{0, 0, 2, 2, 2}));
    ASSERT_EQ(mesh.subsets.size(), 3u);
    const std::uint32_t expected[3][2] = {{0, 2}, {2, 0}, {2, 3}};
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(mesh.subsets[s].faceStart, expected[s][0]) << "subset " << s;
        EXPECT_EQ(mesh.subsets[s].faceCount, expected[s][1]) << "subset " << s;
    }

    const float survivors[] = {0, 1, 2, 4, 5};
    ASSERT_EQ(mesh.positions.size(), 5u);
    ASSERT_EQ(mesh.normals.size(), 5u);
    ASSERT_EQ(mesh.texcoords.size(), 5u);
    for (std::size_t v = 0; v < 5; ++v) {
        EXPECT_EQ(mesh.positions[v].x, 10 * survivors[v]);
        EXPECT_EQ(mesh.normals[v].y, survivors[v]);
        EXPECT_EQ(mesh.texcoords[v].x, survivors[v]);
    }
    EXPECT_EQ(mesh.materials.size(), 3u);
    EXPECT_EQ(mesh.materials[2].textureFilename, "c");
}

TEST(SortFacesBySubset, MeshWithoutFacesKeepsEmptySubsetsAndNoVertices) {
    Mesh mesh = TaggedMesh();
    mesh.normals.clear();
    ASSERT_EQ(SortFacesBySubset(&mesh), S_OK);
    EXPECT_TRUE(mesh.positions.empty());
    EXPECT_TRUE(mesh.texcoords.empty());
    EXPECT_FALSE(mesh.HasNormals());
    ASSERT_EQ(mesh.subsets.size(), 3u);
    for (const Subset& subset : mesh.subsets) {
        EXPECT_EQ(subset.faceStart, 0u);
        EXPECT_EQ(subset.faceCount, 0u);
    }
}

struct BadMeshCase {
    const char* name;
    std::function<void(Mesh&)> spoil;
};

void PrintTo(const BadMeshCase& testCase, std::ostream* os) {
    *os << testCase.name;
}

class BadMesh : public ::testing::TestWithParam<BadMeshCase> {};

TEST_P(BadMesh, IsRejectedAndLeftUnchanged) {
    Mesh mesh = TaggedMesh();
    mesh.faces = {Tri(0, 1, 2), Tri(3, 4, 5)};
    mesh.faceMaterial = {1, 0};
    ASSERT_EQ(ValidateMesh(mesh), S_OK);
    GetParam().spoil(mesh);
    const Mesh before = mesh;

    EXPECT_EQ(ValidateMesh(mesh), E_FAIL);
    EXPECT_EQ(SortFacesBySubset(&mesh), E_FAIL);
    EXPECT_EQ(Indices(mesh), Indices(before));
    EXPECT_EQ(mesh.faceMaterial, before.faceMaterial);
    EXPECT_EQ(mesh.positions.size(), before.positions.size());
    EXPECT_EQ(mesh.normals.size(), before.normals.size());
    EXPECT_EQ(mesh.texcoords.size(), before.texcoords.size());
    EXPECT_EQ(mesh.subsets.size(), before.subsets.size());

    Mesh merged = TaggedMesh();
    const std::size_t mergedVertices = merged.positions.size();
    EXPECT_EQ(MergeMeshes({PlacedMesh{&mesh, Matrix::Identity()}}, &merged), E_FAIL);
    EXPECT_EQ(merged.positions.size(), mergedVertices);
    EXPECT_EQ(merged.materials.size(), 3u);
}

void SubsetPastFaces(Mesh& m) {
    m.subsets = {Subset{1, 2}};
}

INSTANTIATE_TEST_SUITE_P(
    Mesh, BadMesh,
    ::testing::Values(BadMeshCase{"IndexPastVertices", [](Mesh& m) { m.faces[1].index[2] = 6; }},
                      BadMeshCase{"MaterialPastList", [](Mesh& m) { m.faceMaterial[0] = 3; }},
                      BadMeshCase{"FewerMaterialIdsThanFaces",
                                  [](Mesh& m) { m.faceMaterial.pop_back(); }},
                      BadMeshCase{"ShortNormals", [](Mesh& m) { m.normals.pop_back(); }},
                      BadMeshCase{"LongTexcoords", [](Mesh& m) { m.texcoords.push_back({}); }},
                      BadMeshCase{"SubsetPastFaces", SubsetPastFaces}),
    [](const ::testing::TestParamInfo<BadMeshCase>& testCase) { return testCase.param.name; });

TEST(SortFacesBySubset, NullMeshIsAnInvalidArgument) {
    EXPECT_EQ(SortFacesBySubset(nullptr), E_INVALIDARG);
}

// One triangle with one material, normal (0, 0, 1), optional texcoords.
Mesh SingleTriangle(const std::string& texture, bool withNormals, bool withTexcoords) {
    Mesh mesh;
    mesh.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    if (withNormals) {
        mesh.normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    }
    if (withTexcoords) {
        mesh.texcoords = {{0.25f, 0.5f}, {0.75f, 0.5f}, {0.25f, 1}};
    }
    mesh.faces = {Tri(0, 1, 2)};
    mesh.faceMaterial = {0};
    mesh.materials = {Named(texture)};
    return mesh;
}

TEST(MergeMeshes, PlacesEachPartByItsTransformAndKeepsItsMaterials) {
    const Mesh first = SingleTriangle("first", true, false);
    Mesh second = SingleTriangle("second", false, true);
    second.materials.push_back(Named("unused"));
    Matrix scaleMove = MatrixScaling(2, 2, 2) * MatrixTranslation(5, 0, 0);
    // A projective last column makes TransformCoord divide by w = 2.
    Matrix projective;
    projective.m[3][3] = 2;

    Mesh out;
    ASSERT_EQ(MergeMeshes({{&second, scaleMove}, {&first, projective}}, &out), S_OK);

    // second first: (0,0,0) -> (5,0,0), (1,0,0) -> (7,0,0), (0,1,0) -> (5,2,0);
    // then first divided by w = 2.
    const Vec3 positions[] = {{5, 0, 0}, {7, 0, 0},    {5, 2, 0},
                              {0, 0, 0}, {0.5f, 0, 0}, {0, 0.5f, 0}};
    ASSERT_EQ(out.positions.size(), 6u);
    for (std::size_t v = 0; v < 6; ++v) {
        EXPECT_EQ(out.positions[v], positions[v]) << "vertex " << v;
    }
    // second has no normals, so it gets zero ones; first's normals ignore w.
    ASSERT_EQ(out.normals.size(), 6u);
    EXPECT_EQ(out.normals[0], (Vec3{0, 0, 0}));
    EXPECT_EQ(out.normals[3], (Vec3{0, 0, 1}));
    ASSERT_EQ(out.texcoords.size(), 6u);
    EXPECT_EQ(out.texcoords[1].x, 0.75f);
    EXPECT_EQ(out.texcoords[4].x, 0.0f);

    EXPECT_EQ(Indices(out), (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(out.faceMaterial, (std::vector<std::uint32_t>{0, 2}));
    ASSERT_EQ(out.materials.size(), 3u);
    EXPECT_EQ(out.materials[0].textureFilename, "second");
    EXPECT_EQ(out.materials[1].textureFilename, "unused");
    EXPECT_EQ(out.materials[2].textureFilename, "first");
    ASSERT_EQ(out.subsets.size(), 3u);
    EXPECT_EQ(out.subsets[1].faceCount, 0u);
    EXPECT_EQ(out.subsets[2].faceStart, 1u);
    EXPECT_EQ(out.subsets[2].faceCount, 1u);
}

TEST(MergeMeshes, NormalsAreTransformedWithoutRenormalising) {
    const Mesh part = SingleTriangle("", true, false);
    const Matrix transform =
        MatrixRotationX(1.5707964f) * MatrixScaling(3, 3, 3) * MatrixTranslation(0, 0, 100);
    Mesh out;
    ASSERT_EQ(MergeMeshes({{&part, transform}}, &out), S_OK);
    // (0, 0, 1) turned about X by +90 degrees is (0, -1, 0); scaled by 3, no translation.
    EXPECT_NEAR(out.normals[0].x, 0.0f, 1e-6f);
    EXPECT_NEAR(out.normals[0].y, -3.0f, 1e-5f);
    EXPECT_NEAR(out.normals[0].z, 0.0f, 1e-5f);
    EXPECT_FALSE(out.HasTexcoords());
    // (0, 1, 0) -> (0, 0, 1) -> (0, 0, 3) -> (0, 0, 103).
    EXPECT_NEAR(out.positions[2].z, 103.0f, 1e-4f);
}

TEST(MergeMeshes, OrdersFacesOfUnsortedPartsIntoOneRunPerMaterial) {
    Mesh part = TaggedMesh();
    part.faces = {Tri(0, 1, 2), Tri(3, 4, 5), Tri(0, 2, 4)};
    part.faceMaterial = {2, 0, 2};
    Mesh out;
    ASSERT_EQ(MergeMeshes({{&part, Matrix::Identity()}, {&part, Matrix::Identity()}}, &out), S_OK);
    EXPECT_EQ(out.positions.size(), 12u);  // every vertex kept, used or not
    EXPECT_EQ(out.faceMaterial, (std::vector<std::uint32_t>{0, 2, 2, 3, 5, 5}));
    EXPECT_EQ(Indices(out), (std::vector<std::uint32_t>{3, 4, 5, 0, 1, 2, 0, 2, 4, 9, 10, 11, 6, 7,
                                                        8, 6, 8, 10}));
    ASSERT_EQ(out.subsets.size(), 6u);
    EXPECT_EQ(out.subsets[5].faceStart, 4u);
    EXPECT_EQ(out.subsets[5].faceCount, 2u);
    EXPECT_EQ(ValidateMesh(out), S_OK);
}

TEST(MergeMeshes, OutputMayBeOneOfTheParts) {
    Mesh mesh = SingleTriangle("self", true, true);
    ASSERT_EQ(
        MergeMeshes({{&mesh, Matrix::Identity()}, {&mesh, MatrixTranslation(0, 0, 1)}}, &mesh),
        S_OK);
    ASSERT_EQ(mesh.positions.size(), 6u);
    EXPECT_EQ(mesh.positions[5], (Vec3{0, 1, 1}));
    EXPECT_EQ(mesh.materials.size(), 2u);
}

TEST(MergeMeshes, NullArgumentsAreRejected) {
    Mesh out = SingleTriangle("keep", false, false);
    EXPECT_EQ(MergeMeshes({{nullptr, Matrix::Identity()}}, &out), E_INVALIDARG);
    EXPECT_EQ(out.materials[0].textureFilename, "keep");
    EXPECT_EQ(MergeMeshes({}, nullptr), E_INVALIDARG);
}

}  // namespace
}  // namespace tetrakon
