// The program's own models, loaded from the resources embedded in it.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "gfxutil/xfile/xfile.h"
#include "gfxutil/xfile/xfile_mesh.h"
#include "resources/module_resources.h"
#include "scene/scene_file.h"
#include "tests/scene/recording_device.h"

namespace tetrakon {
namespace {

std::string NumberedName(const char* prefix, int number) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%02d", prefix, number);
    return buffer;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

bool Near(Vec3 a, Vec3 b) {
    constexpr float kTolerance = 1e-5f;
    return std::fabs(a.x - b.x) <= kTolerance && std::fabs(a.y - b.y) <= kTolerance &&
           std::fabs(a.z - b.z) <= kTolerance;
}

// The committed text model, with every mesh placed by its frames.
std::vector<FramedMesh> ModelMeshes(const char* fileName, XFile* file) {
    std::vector<FramedMesh> meshes;
    const std::string path = std::string(TETRAKON_SOURCE_DIR) + "/resources/models/" + fileName;
    EXPECT_TRUE(ReadXFileFromPath(path, file).ok()) << path;
    EXPECT_TRUE(CollectMeshes(*file, &meshes).ok()) << path;
    return meshes;
}

struct PlacedTriangle {
    Vec3 corner[3];
};

PlacedTriangle Placed(const Mesh& mesh, const Triangle& face, const Matrix& world) {
    PlacedTriangle triangle;
    for (int k = 0; k < 3; ++k) {
        triangle.corner[k] = TransformCoord(mesh.positions[face.index[k]], world);
    }
    return triangle;
}

bool SameTriangle(const PlacedTriangle& a, const PlacedTriangle& b) {
    return Near(a.corner[0], b.corner[0]) && Near(a.corner[1], b.corner[1]) &&
           Near(a.corner[2], b.corner[2]);
}

// Names of the file's top-level frames, in file order.
std::vector<std::string> TopLevelFrameNames(const XFile& file) {
    std::vector<std::string> names;
    for (const auto& object : file.objects) {
        if (object->templateName == "Frame") {
            names.push_back(object->name);
        }
    }
    return names;
}

TEST(SceneModelsTest, ThePuzzleModelHas58FramesUnderTheRootInReverseFileOrder) {
    SceneFile root;
    ASSERT_EQ(root.LoadFromResource(nullptr, kPuzzleModelId, "X"), S_OK);

    std::vector<std::string> names;
    for (const SceneFrame* frame = root.child; frame != nullptr; frame = frame->next) {
        names.emplace_back(frame->name());
        EXPECT_EQ(frame->child, nullptr) << frame->name();
    }
    ASSERT_EQ(names.size(), 58u);
    EXPECT_EQ(names.front(), "Gengon36");
    EXPECT_EQ(names.back(), "Cone01");

    // Each frame carries the mesh the committed model gives it.
    XFile file;
    const std::vector<FramedMesh> meshes = ModelMeshes("pyramid.x", &file);
    const std::vector<std::string> fileNames = TopLevelFrameNames(file);
    ASSERT_EQ(fileNames.size(), 58u);
    ASSERT_EQ(meshes.size(), 58u);
    for (int number = 1; number <= 58; ++number) {
        const std::string name =
            number <= 22 ? NumberedName("Cone", number) : NumberedName("Gengon", number - 22);
        const std::size_t index = static_cast<std::size_t>(number - 1);
        EXPECT_EQ(fileNames[index], name);
        EXPECT_EQ(names[57 - index], name);

        SceneFrame* frame = root.FindFrame(Lower(name).c_str());
        ASSERT_NE(frame, nullptr) << name;
        EXPECT_EQ(std::string(frame->name()), name);
        ASSERT_NE(frame->mesh, nullptr) << name;
        const Mesh* source = frame->mesh->sourceMesh();
        ASSERT_NE(source, nullptr) << name;
        EXPECT_EQ(source->faces.size(), meshes[index].mesh.faces.size()) << name;
        EXPECT_EQ(frame->mesh->materialCount(), meshes[index].mesh.materials.size()) << name;
        EXPECT_EQ(source->subsets.size(), frame->mesh->materialCount()) << name;
    }
}

TEST(SceneModelsTest, ThePuzzleModelIsDrawnWholeInTheOpaquePass) {
    gfx::RecordingDevice device;
    SceneFile root;
    ASSERT_EQ(root.LoadFromResource(&device, kPuzzleModelId, "X"), S_OK);
    root.RestoreAll(&device);
    EXPECT_EQ(device.LiveResources(), 58u);

    std::size_t subsets = 0;
    for (const SceneFrame* frame = root.child; frame != nullptr; frame = frame->next) {
        subsets += frame->mesh->materialCount();
    }
    device.log()->calls.clear();
    EXPECT_EQ(root.Render(&device, nullptr), S_OK);
    EXPECT_EQ(device.draws.size(), subsets);
    // Nothing is drawn once blending is on.
    const auto& calls = device.log()->calls;
    const std::string blendOn =
        "SetRenderState " + std::to_string(static_cast<int>(gfx::RenderState::AlphaBlendEnable)) +
        " 1";
    bool blending = false;
    for (const auto& call : calls) {
        blending = blending || call == blendOn;
        EXPECT_FALSE(blending && call.rfind("DrawSubset", 0) == 0);
    }

    root.DestroyAll();
    EXPECT_EQ(device.LiveResources(), 0u);
}

TEST(SceneModelsTest, TurnTargetSubsetIIsTheFilesPlaneIPlusOne) {
    SceneMesh mesh("CD3DFile_Mesh");
    ASSERT_EQ(mesh.LoadFromResource(nullptr, kTurnTargetModelId, "X"), S_OK);
    const Mesh* merged = mesh.sourceMesh();
    ASSERT_NE(merged, nullptr);
    ASSERT_EQ(mesh.materialCount(), 72u);
    ASSERT_EQ(merged->subsets.size(), 72u);

    XFile file;
    const std::vector<FramedMesh> planes = ModelMeshes("targets.x", &file);
    ASSERT_EQ(planes.size(), 72u);
    const std::vector<std::string> frameNames = TopLevelFrameNames(file);
    ASSERT_EQ(frameNames.size(), 72u);

    for (std::size_t i = 0; i < 72; ++i) {
        EXPECT_EQ(frameNames[i], NumberedName("Plane", static_cast<int>(i + 1)));
        ASSERT_EQ(planes[i].mesh.faces.size(), 1u) << i;
        ASSERT_EQ(merged->subsets[i].faceCount, 1u) << i;
        const PlacedTriangle expected =
            Placed(planes[i].mesh, planes[i].mesh.faces[0], planes[i].world);
        const PlacedTriangle actual =
            Placed(*merged, merged->faces[merged->subsets[i].faceStart], Matrix::Identity());
        EXPECT_TRUE(SameTriangle(expected, actual)) << "subset " << i;
    }
}

TEST(SceneModelsTest, TheHullHoldsEveryFaceOfThe22Blocks) {
    SceneMesh mesh("CD3DFile_Mesh");
    ASSERT_EQ(mesh.LoadFromResource(nullptr, kHullModelId, "X"), S_OK);
    const Mesh* merged = mesh.sourceMesh();
    ASSERT_NE(merged, nullptr);

    XFile file;
    const std::vector<FramedMesh> blocks = ModelMeshes("hull.x", &file);
    ASSERT_EQ(blocks.size(), 22u);
    std::size_t materials = 0;
    std::size_t faces = 0;
    std::vector<PlacedTriangle> mergedFaces;
    for (const Triangle& face : merged->faces) {
        mergedFaces.push_back(Placed(*merged, face, Matrix::Identity()));
    }
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        materials += blocks[b].mesh.materials.size();
        faces += blocks[b].mesh.faces.size();
        for (const Triangle& face : blocks[b].mesh.faces) {
            const PlacedTriangle expected = Placed(blocks[b].mesh, face, blocks[b].world);
            bool found = false;
            for (const PlacedTriangle& candidate : mergedFaces) {
                found = found || SameTriangle(expected, candidate);
            }
            EXPECT_TRUE(found) << "block " << b;
        }
    }
    EXPECT_EQ(mergedFaces.size(), faces);
    EXPECT_EQ(mesh.materialCount(), materials);
}

TEST(SceneModelsTest, AMissingResourceIsReportedAsNotFound) {
    SceneFile root;
    EXPECT_EQ(root.LoadFromResource(nullptr, 999, "X"), E_FILE_NOT_FOUND);
    EXPECT_EQ(root.child, nullptr);
    SceneMesh mesh("CD3DFile_Mesh");
    EXPECT_EQ(mesh.LoadFromResource(nullptr, kPuzzleModelId, "WAVE"), E_FILE_NOT_FOUND);
    EXPECT_EQ(mesh.sourceMesh(), nullptr);
}

}  // namespace
}  // namespace tetrakon
