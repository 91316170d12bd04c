// The scene hierarchy and the merged mesh read a file's frames the same way, so the pieces
// and the pick hull are placed alike: each mesh lands at the same world matrix in both, and
// a file one refuses the other refuses too.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gfxutil/xfile/xfile_mesh.h"
#include "scene/scene_file.h"
#include "tests/scene/x_text.h"

namespace tetrakon {
namespace {

using xtext::FrameText;
using xtext::MeshText;
using xtext::TransformText;

bool Before(const Matrix& a, const Matrix& b) {
    return std::lexicographical_compare(&a.m[0][0], &a.m[0][0] + 16, &b.m[0][0], &b.m[0][0] + 16);
}

std::vector<Matrix> Sorted(std::vector<Matrix> worlds) {
    std::sort(worlds.begin(), worlds.end(), Before);
    return worlds;
}

// The world matrix of every frame under `frame` (and its next siblings) that holds a mesh.
void MeshWorlds(const SceneFrame* frame, const Matrix& parentWorld, std::vector<Matrix>* out) {
    for (; frame != nullptr; frame = frame->next) {
        const Matrix world = frame->matrix * parentWorld;
        if (frame->mesh != nullptr) {
            out->push_back(world);
        }
        MeshWorlds(frame->child, world, out);
    }
}

struct ReadingCase {
    const char* what;
    std::string body;
    bool readable;
    std::vector<Matrix> worlds;  // where the meshes land, in any order
};

TEST(FrameReadingTest, HierarchyAndMergedMeshPlaceEveryMeshAlike) {
    const std::string mesh = MeshText("Shared", {{1.0f, 1.0f}});
    const std::string grey =
        "Material Grey {\n 0.5;0.5;0.5;1.0;;\n 0.0;\n 0.0;0.0;0.0;;\n"
        " 0.0;0.0;0.0;;\n}\n";
    const Matrix a = MatrixTranslation(1, 0, 0);
    const Matrix b = MatrixTranslation(0, 2, 0);
    const ReadingCase cases[] = {
        {"a frame's last transform counts",
         FrameText("Twice", TransformText(a) + mesh + TransformText(b)),
         true,
         {b}},
        {"a reference to a mesh",
         FrameText("A", TransformText(a) + mesh) +
             FrameText("B", TransformText(b) + "{ Shared }\n"),
         false,
         {}},
        {"a reference to a frame", FrameText("A", mesh) + FrameText("B", "{ A }\n"), false, {}},
        {"a reference to a material", grey + FrameText("A", mesh + "{ Grey }\n"), false, {}},
        {"a reference to nothing", FrameText("A", mesh + "{ Missing }\n"), false, {}},
    };
    for (const ReadingCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = xtext::Header() + c.body;
        SceneFile root;
        const Result loaded = root.LoadFromMemory(nullptr, xtext::Bytes(text));
        XFile file;
        ASSERT_TRUE(ReadXFile(xtext::Bytes(text), &file).ok());
        std::vector<FramedMesh> merged;
        const XStatus collected = CollectMeshes(file, &merged);

        ASSERT_EQ(loaded == S_OK, c.readable);
        ASSERT_EQ(collected.ok(), c.readable) << collected.message;
        if (!c.readable) {
            continue;
        }
        std::vector<Matrix> hierarchyWorlds;
        MeshWorlds(root.child, root.matrix, &hierarchyWorlds);
        std::vector<Matrix> mergedWorlds;
        for (const FramedMesh& framed : merged) {
            mergedWorlds.push_back(framed.world);
        }
        EXPECT_EQ(Sorted(hierarchyWorlds), Sorted(c.worlds));
        EXPECT_EQ(Sorted(mergedWorlds), Sorted(c.worlds));
    }
}

}  // namespace
}  // namespace tetrakon
