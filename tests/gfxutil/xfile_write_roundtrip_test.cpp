// Every real X file that reads comes back as the same tree after being written as text and
// as compressed binary, and writing what was read back gives the same bytes again.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "gfxutil/xfile/xfile.h"
#include "gfxutil/xfile/xfile_mesh.h"
#include "tests/gfxutil/xfile_write_test_support.h"

namespace tetrakon {
namespace {

using xwritetest::AddReference;
using xwritetest::ExpectSameTree;
using xwritetest::Int;
using xwritetest::Num;
using xwritetest::Object;
using xwritetest::ReadBack;

// Every real model file except the two that are broken on purpose (and rejected by the
// reader's own tests).
std::vector<std::string> RealFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(xwritetest::XFilesDir())) {
        const std::string name = entry.path().filename();
        const std::string extension = entry.path().extension().string();
        if ((extension == ".x" || extension == ".X") && name != "empty.x" &&
            name != "OV_GetNextToken.x")
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class RealFileRoundTrip : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        const XStatus status =
            ReadXFileFromPath(xwritetest::XFilesDir() + "/" + GetParam(), &file_);
        ASSERT_TRUE(status.ok()) << status.message;
    }
    XFile file_;
};

TEST_P(RealFileRoundTrip, TextGivesTheSameTreeAndIsAFixedPoint) {
    std::string text;
    ASSERT_TRUE(WriteXFileText(file_, &text).ok());
    ASSERT_TRUE(text.starts_with("xof 0303txt 0032\n"));

    XFile back;
    const XStatus status = ReadBack(text, &back);
    ASSERT_TRUE(status.ok()) << status.message;
    EXPECT_EQ(back.header.encoding, XEncoding::Text);
    ExpectSameTree(file_, back);

    std::string again;
    ASSERT_TRUE(WriteXFileText(back, &again).ok());
    EXPECT_EQ(text, again);
}

TEST_P(RealFileRoundTrip, CompressedGivesTheSameTree) {
    std::vector<std::uint8_t> packed;
    const XStatus written = WriteXFileCompressed(file_, &packed);
    ASSERT_TRUE(written.ok()) << written.message;

    XFile back;
    const XStatus status = ReadXFile(packed, &back);
    ASSERT_TRUE(status.ok()) << status.message;
    EXPECT_EQ(back.header.encoding, XEncoding::CompressedBinary);
    EXPECT_EQ(back.header.floatBits, 32);
    ExpectSameTree(file_, back);

    std::vector<std::uint8_t> again;
    ASSERT_TRUE(WriteXFileCompressed(back, &again).ok());
    EXPECT_EQ(packed, again);
}

// The meshes the game builds from a file are the same after either round trip.
TEST_P(RealFileRoundTrip, MeshesSurviveBothEncodings) {
    std::vector<FramedMesh> original;
    ASSERT_TRUE(CollectMeshes(file_, &original).ok());

    std::string text;
    std::vector<std::uint8_t> packed;
    ASSERT_TRUE(WriteXFileText(file_, &text).ok());
    ASSERT_TRUE(WriteXFileCompressed(file_, &packed).ok());
    XFile fromText;
    XFile fromPacked;
    ASSERT_TRUE(ReadBack(text, &fromText).ok());
    ASSERT_TRUE(ReadXFile(packed, &fromPacked).ok());
    for (const XFile* copy : {&fromText, &fromPacked}) {
        std::vector<FramedMesh> meshes;
        ASSERT_TRUE(CollectMeshes(*copy, &meshes).ok());
        ASSERT_EQ(meshes.size(), original.size());
        for (std::size_t i = 0; i < meshes.size(); ++i) {
            EXPECT_EQ(meshes[i].world, original[i].world);
            EXPECT_EQ(meshes[i].mesh.positions.size(), original[i].mesh.positions.size());
            EXPECT_EQ(meshes[i].mesh.faces.size(), original[i].mesh.faces.size());
            EXPECT_EQ(meshes[i].mesh.materials.size(), original[i].mesh.materials.size());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(XFiles, RealFileRoundTrip, ::testing::ValuesIn(RealFiles()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string name = param.param;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

// Guards the parameterised suite against silently running on an empty set.
TEST(RealFileRoundTripSet, CoversTheRealFiles) {
    EXPECT_GE(RealFiles().size(), 14u);
}

TEST(WriterRoundTrip, CubeKeepsItsMaterialReferenceInBothEncodings) {
    XFile cube;
    ASSERT_TRUE(ReadXFileFromPath(xwritetest::XFilesDir() + "/test_cube_compressed.x", &cube).ok());
    std::string text;
    ASSERT_TRUE(WriteXFileText(cube, &text).ok());
    EXPECT_NE(text.find("{ Material }"), std::string::npos);

    std::vector<std::uint8_t> packed;
    ASSERT_TRUE(WriteXFileCompressed(cube, &packed).ok());
    XFile back;
    ASSERT_TRUE(ReadXFile(packed, &back).ok());
    Mesh mesh;
    const XDataObject* meshObject = nullptr;
    const std::function<void(const XDataObject&)> find = [&](const XDataObject& object) {
        if (object.templateName == "Mesh")
            meshObject = &object;
        for (const XChild& child : object.children) {
            if (child.object)
                find(*child.object);
        }
    };
    for (const auto& object : back.objects)
        find(*object);
    ASSERT_NE(meshObject, nullptr);
    ASSERT_TRUE(MeshFromXObject(*meshObject, &mesh).ok());
    ASSERT_EQ(mesh.materials.size(), 1u);
    EXPECT_NEAR(mesh.materials[0].diffuse.r, 0.639216f, 1e-6);
    EXPECT_NEAR(mesh.materials[0].power, 96.078430f, 1e-4);
}

// Object GUIDs and references by name and GUID, which none of the real files carry.
TEST(WriterRoundTrip, GuidsAndGuidReferencesSurviveBothEncodings) {
    XFile file;
    auto material = Object("Material", "Shiny", {});
    for (int i = 0; i < 11; ++i)
        material->values.push_back(Num(i * 0.125));
    material->guid = "12345678-9ABC-DEF0-1234-56789ABCDEF0";
    file.objects.push_back(std::move(material));
    auto list = Object("MeshMaterialList", "", {Int(2), Int(0)});
    AddReference(list.get(), "Shiny");
    list->children.back().referenceGuid = "12345678-9ABC-DEF0-1234-56789ABCDEF0";
    XChild byGuid;
    byGuid.referenceGuid = "12345678-9ABC-DEF0-1234-56789ABCDEF0";
    list->children.push_back(std::move(byGuid));
    file.objects.push_back(std::move(list));

    std::string text;
    ASSERT_TRUE(WriteXFileText(file, &text).ok());
    std::vector<std::uint8_t> packed;
    ASSERT_TRUE(WriteXFileCompressed(file, &packed).ok());
    XFile fromText;
    XFile fromPacked;
    const XStatus textStatus = ReadBack(text, &fromText);
    ASSERT_TRUE(textStatus.ok()) << textStatus.message << "\n" << text;
    const XStatus packedStatus = ReadXFile(packed, &fromPacked);
    ASSERT_TRUE(packedStatus.ok()) << packedStatus.message;
    for (const XFile* back : {&fromText, &fromPacked}) {
        ExpectSameTree(file, *back);
        const XDataObject& readList = *back->objects[1];
        ASSERT_EQ(readList.children.size(), 2u);
        for (const XChild& child : readList.children) {
            ASSERT_NE(child.resolved, nullptr);
            EXPECT_EQ(child.resolved, back->objects[0].get());
        }
    }
}

}  // namespace
}  // namespace tetrakon
