#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "tests/models/model_reference.h"
#include "tests/models/model_test_support.h"
#include "tools/modelgen/models.h"

namespace tetrakon::modeltest {
namespace {

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return {};
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void LoadCommitted(const std::string& fileName, XFile* file, std::vector<FramedMesh>* meshes) {
    const XStatus read = ReadXFileFromPath(CommittedModelPath(fileName), file);
    ASSERT_TRUE(read.ok()) << fileName << ": " << read.message;
    const XStatus collected = CollectMeshes(*file, meshes);
    ASSERT_TRUE(collected.ok()) << fileName << ": " << collected.message;
}

std::string NumberedName(const char* stem, int number) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%02d", stem, number);
    return name;
}

TEST(ModelFiles, GeneratorReproducesTheCommittedFiles) {
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("modelgen_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory);
    const XStatus written = modelgen::WriteModelFiles(directory.string());
    ASSERT_TRUE(written.ok()) << written.message;
    for (const char* name : modelgen::kModelFileNames) {
        const std::string generated = ReadWholeFile((directory / name).string());
        const std::string committed = ReadWholeFile(CommittedModelPath(name));
        EXPECT_FALSE(generated.empty()) << name;
        EXPECT_TRUE(generated == committed)
            << name << " differs from the committed file: build the regenerate_models target";
    }
    std::filesystem::remove_all(directory);
}

TEST(ModelFiles, PuzzleFramesComeInOrderWithTheirSolvedMatrices) {
    XFile file;
    std::vector<FramedMesh> meshes;
    LoadCommitted("pyramid.x", &file, &meshes);
    const std::vector<FrameEntry> frames = TopLevelFrames(file);
    ASSERT_EQ(frames.size(), 58u);
    ASSERT_EQ(meshes.size(), 58u);
    for (int k = 0; k < 58; ++k) {
        const FrameRow& row = kFrames[k];
        EXPECT_EQ(frames[k].name, row.name);
        ASSERT_EQ(frames[k].matrix.size(), 16u) << row.name;
        const auto& rows = kOrientationClasses[row.orientationClass - 1];
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(frames[k].matrix[4 * r + c], rows[r][c]) << row.name << " " << r << c;
            }
            EXPECT_EQ(frames[k].matrix[4 * r + 3], 0.0f) << row.name;
            EXPECT_EQ(frames[k].matrix[12 + r], row.origin[r]) << row.name;
        }
        EXPECT_EQ(frames[k].matrix[15], 1.0f) << row.name;
    }
}

TEST(ModelFiles, HullHoldsExactlyThePuzzleBlocks) {
    XFile puzzle, hull;
    std::vector<FramedMesh> puzzleMeshes, hullMeshes;
    LoadCommitted("pyramid.x", &puzzle, &puzzleMeshes);
    LoadCommitted("hull.x", &hull, &hullMeshes);
    const std::vector<FrameEntry> puzzleFrames = TopLevelFrames(puzzle);
    const std::vector<FrameEntry> hullFrames = TopLevelFrames(hull);
    ASSERT_EQ(hullFrames.size(), 22u);
    ASSERT_EQ(hullMeshes.size(), 22u);
    for (int k = 0; k < 22; ++k) {
        EXPECT_EQ(hullFrames[k].name, NumberedName("Cone", k + 1));
        EXPECT_EQ(hullFrames[k].matrix, puzzleFrames[k].matrix);
        const std::vector<ModelTriangle> a = ModelSpaceTriangles(puzzleMeshes[k]);
        const std::vector<ModelTriangle> b = ModelSpaceTriangles(hullMeshes[k]);
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t t = 0; t < a.size(); ++t) {
            for (int i = 0; i < 3; ++i)
                EXPECT_TRUE(a[t].corner[i] == b[t].corner[i]);
        }
    }
}

// Every block and sticker is a closed solid whose triangles all face outwards: each edge
// is used once in each direction, and the enclosed volume is positive.
TEST(ModelFiles, PiecesAreClosedSolidsFacingOutwards) {
    XFile file;
    std::vector<FramedMesh> meshes;
    LoadCommitted("pyramid.x", &file, &meshes);
    for (std::size_t k = 0; k < meshes.size(); ++k) {
        const std::vector<ModelTriangle> triangles = ModelSpaceTriangles(meshes[k]);
        std::map<std::tuple<float, float, float>, int> ids;
        const auto id = [&](Vec3 p) {
            const auto key = std::make_tuple(p.x, p.y, p.z);
            const auto found = ids.find(key);
            if (found != ids.end())
                return found->second;
            const int next = static_cast<int>(ids.size());
            ids[key] = next;
            return next;
        };
        std::map<std::pair<int, int>, int> edges;
        double volume = 0;
        for (const ModelTriangle& t : triangles) {
            for (int i = 0; i < 3; ++i)
                ++edges[{id(t.corner[i]), id(t.corner[(i + 1) % 3])}];
            volume += Dot(t.corner[0], Cross(t.corner[1], t.corner[2])) / 6.0;
        }
        for (const auto& [edge, count] : edges) {
            EXPECT_EQ(count, 1) << kFrames[k].name << " edge used twice the same way";
            EXPECT_EQ(edges.count({edge.second, edge.first}), 1u)
                << kFrames[k].name << " open edge";
        }
        EXPECT_GT(volume, 0.0) << kFrames[k].name;
    }
}

// The dark block faces on each face of the pyramid add up to the whole face, and no grey
// (inner) block face lies on the surface.
TEST(ModelFiles, BlockFacesOnTheSurfaceAreDarkGreyAndCoverIt) {
    XFile file;
    std::vector<FramedMesh> meshes;
    LoadCommitted("pyramid.x", &file, &meshes);
    const float faceArea = 34.641f * 34.641f * std::sqrt(3.0f) / 4.0f;
    std::map<int, double> darkArea;
    for (int k = 0; k < 22; ++k) {
        for (const ModelTriangle& t : ModelSpaceTriangles(meshes[k])) {
            int onFace = 0;
            for (int missing = 1; missing <= 4; ++missing) {
                const Plane plane = FacePlaneWithout(missing);
                bool on = true;
                for (const Vec3& c : t.corner)
                    on = on && std::fabs(plane.Outside(c)) < 0.05f;
                if (on)
                    onFace = missing;
            }
            const ColorValue& colour = t.material->diffuse;
            if (onFace != 0) {
                EXPECT_TRUE(SameColour(colour, 0.1961f, 0.1961f, 0.1961f)) << kFrames[k].name;
                darkArea[onFace] += Length(t.Facing()) / 2.0f;
            } else {
                EXPECT_TRUE(SameColour(colour, 0.588f, 0.588f, 0.588f)) << kFrames[k].name;
            }
        }
    }
    for (int missing = 1; missing <= 4; ++missing) {
        EXPECT_NEAR(darkArea[missing], faceArea, faceArea * 0.01) << "face without " << missing;
    }
}

TEST(ModelFiles, StickersCarryTheirFaceColourJustOutsideTheirFace) {
    XFile file;
    std::vector<FramedMesh> meshes;
    LoadCommitted("pyramid.x", &file, &meshes);
    struct FaceColour {
        int missingAxis;
        float r, g, b;
    };
    const FaceColour kFaces[4] = {{1, 0.02353f, 0.5255f, 0.02353f},
                                  {4, 0.0f, 0.0f, 1.0f},
                                  {3, 1.0f, 0.0f, 0.0f},
                                  {2, 1.0f, 1.0f, 0.0f}};
    for (int sticker = 0; sticker < 36; ++sticker) {
        const FaceColour& face = kFaces[sticker / 9];
        const FramedMesh& framed = meshes[22 + sticker];
        ASSERT_EQ(framed.mesh.materials.size(), 1u);
        EXPECT_TRUE(SameColour(framed.mesh.materials[0].diffuse, face.r, face.g, face.b))
            << kFrames[22 + sticker].name;
        const ColorValue& ambient = framed.mesh.materials[0].ambient;
        EXPECT_TRUE(SameColour(ambient, face.r, face.g, face.b)) << kFrames[22 + sticker].name;
        const Plane plane = FacePlaneWithout(face.missingAxis);
        for (const ModelTriangle& t : ModelSpaceTriangles(framed)) {
            for (const Vec3& c : t.corner) {
                EXPECT_GT(plane.Outside(c), -0.05f) << kFrames[22 + sticker].name;
                EXPECT_LT(plane.Outside(c), 0.2f) << kFrames[22 + sticker].name;
            }
        }
    }
}

// Each sticker covers its own block face: near its frame's origin and clear of the others
// on its face.
TEST(ModelFiles, StickersSitOnTheirOwnPlaces) {
    XFile file;
    std::vector<FramedMesh> meshes;
    LoadCommitted("pyramid.x", &file, &meshes);
    std::vector<Vec3> centres;
    for (int sticker = 0; sticker < 36; ++sticker) {
        Vec3 sum;
        int count = 0;
        for (const ModelTriangle& t : ModelSpaceTriangles(meshes[22 + sticker])) {
            sum = sum + t.Centroid();
            ++count;
        }
        centres.push_back(sum * (1.0f / static_cast<float>(count)));
        const float* origin = kFrames[22 + sticker].origin;
        EXPECT_LT(Length(centres.back() - Vec3{origin[0], origin[1], origin[2]}), 1.0f)
            << kFrames[22 + sticker].name;
    }
    for (int a = 0; a < 36; ++a) {
        for (int b = a + 1; b < 36; ++b) {
            if (a / 9 != b / 9)
                continue;  // across a pyramid edge stickers come closer
            EXPECT_GT(Length(centres[a] - centres[b]), 5.0f)
                << kFrames[22 + a].name << " and " << kFrames[22 + b].name;
        }
    }
}

TEST(ModelFiles, TargetsAreSeventyTwoSingleTrianglesWithAMaterialEach) {
    XFile file;
    std::vector<FramedMesh> meshes;
    LoadCommitted("targets.x", &file, &meshes);
    const std::vector<FrameEntry> frames = TopLevelFrames(file);
    ASSERT_EQ(frames.size(), 72u);
    ASSERT_EQ(meshes.size(), 72u);
    for (int plane = 0; plane < 72; ++plane) {
        EXPECT_EQ(frames[plane].name, NumberedName("Plane", plane + 1));
        EXPECT_EQ(meshes[plane].mesh.faces.size(), 1u);
        EXPECT_EQ(meshes[plane].mesh.materials.size(), 1u);
    }
}

}  // namespace
}  // namespace tetrakon::modeltest
