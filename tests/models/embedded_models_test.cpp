#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/module_resources.h"
#include "tests/models/model_reference.h"
#include "tests/models/model_test_support.h"

namespace tetrakon::modeltest {
namespace {

struct EmbeddedModel {
    int id;
    const char* fileName;
    std::size_t frameCount;
};
constexpr EmbeddedModel kModels[3] = {{kPuzzleModelId, "pyramid.x", 58},
                                      {kHullModelId, "hull.x", 22},
                                      {kTurnTargetModelId, "targets.x", 72}};

XStatus ReadEmbedded(int id, XFile* file) {
    return ReadXFile(FindResource(id, "X"), file);
}

void ExpectSameValues(const XDataObject& a, const XDataObject& b, const std::string& where) {
    EXPECT_EQ(a.templateName, b.templateName) << where;
    EXPECT_EQ(a.name, b.name) << where;
    ASSERT_EQ(a.values.size(), b.values.size()) << where;
    for (std::size_t i = 0; i < a.values.size(); ++i) {
        EXPECT_EQ(a.values[i].AsFloat(), b.values[i].AsFloat()) << where << " value " << i;
    }
    ASSERT_EQ(a.children.size(), b.children.size()) << where;
    for (std::size_t i = 0; i < a.children.size(); ++i) {
        ASSERT_TRUE(a.children[i].object && b.children[i].object) << where;
        ExpectSameValues(*a.children[i].object, *b.children[i].object,
                         where + "/" + a.children[i].object->templateName);
    }
}

TEST(EmbeddedModels, AreCompressedBinaryFilesHoldingTheCommittedModels) {
    for (const EmbeddedModel& model : kModels) {
        const std::span<const std::uint8_t> bytes = FindResource(model.id, "X");
        ASSERT_GE(bytes.size(), 16u) << model.id;
        EXPECT_EQ(std::memcmp(bytes.data(), "xof 0303bzip0032", 16), 0) << model.id;

        XFile embedded, committed;
        const XStatus read = ReadEmbedded(model.id, &embedded);
        ASSERT_TRUE(read.ok()) << model.id << ": " << read.message;
        ASSERT_TRUE(ReadXFileFromPath(CommittedModelPath(model.fileName), &committed).ok());
        EXPECT_EQ(TopLevelFrames(embedded).size(), model.frameCount) << model.id;
        ASSERT_EQ(embedded.objects.size(), committed.objects.size()) << model.id;
        for (std::size_t i = 0; i < embedded.objects.size(); ++i) {
            ExpectSameValues(*embedded.objects[i], *committed.objects[i],
                             std::to_string(model.id) + ":" + committed.objects[i]->name);
        }
    }
}

TEST(EmbeddedModels, PuzzleFramesCarryTheSolvedPlacements) {
    XFile file;
    ASSERT_TRUE(ReadEmbedded(kPuzzleModelId, &file).ok());
    const std::vector<FrameEntry> frames = TopLevelFrames(file);
    ASSERT_EQ(frames.size(), 58u);
    for (int k = 0; k < 58; ++k) {
        EXPECT_EQ(frames[k].name, kFrames[k].name);
        ASSERT_EQ(frames[k].matrix.size(), 16u);
        const auto& rows = kOrientationClasses[kFrames[k].orientationClass - 1];
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(frames[k].matrix[4 * r + c], rows[r][c]);
            EXPECT_EQ(frames[k].matrix[12 + r], kFrames[k].origin[r]) << kFrames[k].name;
        }
    }
}

// Merged as the program merges it, the target model has one subset per plane, in order, and
// the first two groups sit where the original put them.
TEST(EmbeddedModels, MergedTargetSubsetIIsPlaneIPlusOne) {
    XFile file;
    ASSERT_TRUE(ReadEmbedded(kTurnTargetModelId, &file).ok());
    std::vector<FramedMesh> planes;
    ASSERT_TRUE(CollectMeshes(file, &planes).ok());
    Mesh merged;
    ASSERT_TRUE(LoadMergedMesh(file, &merged).ok());
    ASSERT_EQ(planes.size(), 72u);
    ASSERT_EQ(merged.subsets.size(), 72u);
    for (std::size_t i = 0; i < 72; ++i) {
        ASSERT_EQ(merged.subsets[i].faceCount, 1u) << "subset " << i;
        const Triangle& face = merged.faces[merged.subsets[i].faceStart];
        const std::vector<ModelTriangle> plane = ModelSpaceTriangles(planes[i]);
        ASSERT_EQ(plane.size(), 1u);
        for (int c = 0; c < 3; ++c) {
            EXPECT_TRUE(merged.positions[face.index[c]] == plane[0].corner[c]) << "subset " << i;
        }
        if (i < 6) {
            for (int c = 0; c < 3; ++c) {
                const Vec3 corner = merged.positions[face.index[c]];
                EXPECT_NEAR(corner.x, kFirstTargets[i][c][0], 0.01f) << "Plane0" << i + 1;
                EXPECT_NEAR(corner.y, kFirstTargets[i][c][1], 0.01f) << "Plane0" << i + 1;
                EXPECT_NEAR(corner.z, kFirstTargets[i][c][2], 0.01f) << "Plane0" << i + 1;
            }
        }
    }
}

TEST(EmbeddedModels, LookupIgnoresTypeCaseAndRefusesUnknownIdsAndTypes) {
    EXPECT_EQ(FindResource(205, "x").data(), FindResource(205, "X").data());
    EXPECT_FALSE(FindResource(206, "x").empty());
    EXPECT_NE(FindResource(205, "X").data(), FindResource(206, "X").data());
    EXPECT_TRUE(FindResource(204, "X").empty());
    EXPECT_TRUE(FindResource(208, "X").empty());
    EXPECT_TRUE(FindResource(-205, "X").empty());
    EXPECT_TRUE(FindResource(205, "WAVE").empty());
    EXPECT_TRUE(FindResource(205, "XX").empty());
    EXPECT_TRUE(FindResource(205, "").empty());
}

}  // namespace
}  // namespace tetrakon::modeltest
