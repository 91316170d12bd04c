#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "gfxutil/xfile/xfile.h"
#include "gfxutil/xfile/xfile_templates.h"
#include "xfile_test_support.h"

namespace tetrakon {
namespace {

using xtest::AllObjects;
using xtest::ChildOfType;
using xtest::DataPath;
using xtest::ObjectsOfType;

XFile Read(const std::string& name) {
    XFile file;
    const XStatus status = ReadXFileFromPath(DataPath(name), &file);
    EXPECT_TRUE(status.ok()) << name << ": " << status.message;
    return file;
}

std::vector<double> Numbers(const XDataObject& object) {
    std::vector<double> out;
    for (const XValue& value : object.values)
        out.push_back(value.AsDouble());
    return out;
}

struct HeaderCase {
    const char* file;
    int minor;
    XEncoding encoding;
    int floatBits;
};

TEST(XFileRead, EveryGoodTestFileReadsWithItsHeader) {
    const HeaderCase cases[] = {
        {"test_cube_text.x", 3, XEncoding::Text, 32},
        {"test.x", 3, XEncoding::Text, 32},
        {"kwxport_test_cubewithvcolors.x", 3, XEncoding::Text, 32},
        {"malformed_skinweights_oob.x", 3, XEncoding::Text, 32},
        {"malformed_fvf_texcoord_oob.x", 3, XEncoding::Text, 32},
        {"crate.x", 3, XEncoding::Text, 32},
        {"pistol.x", 3, XEncoding::Text, 32},
        {"supplies.x", 2, XEncoding::Text, 32},
        {"ladders.X", 2, XEncoding::Text, 32},
        {"blue_ufo.X", 2, XEncoding::Text, 64},
        {"test_cube_binary.x", 3, XEncoding::Binary, 32},
        {"fromtruespace_bin32.x", 2, XEncoding::Binary, 32},
        {"Eye.x", 2, XEncoding::Binary, 32},
        {"test_cube_compressed.x", 3, XEncoding::CompressedBinary, 32},
    };
    for (const HeaderCase& c : cases) {
        const XFile file = Read(c.file);
        EXPECT_EQ(file.header.majorVersion, 3) << c.file;
        EXPECT_EQ(file.header.minorVersion, c.minor) << c.file;
        EXPECT_EQ(file.header.encoding, c.encoding) << c.file;
        EXPECT_EQ(file.header.floatBits, c.floatBits) << c.file;
        EXPECT_FALSE(file.objects.empty()) << c.file;
    }
}

TEST(XFileRead, BrokenTestFilesAreRejected) {
    XFile file;
    EXPECT_EQ(ReadXFileFromPath(DataPath("empty.x"), &file).code, XError::NotAnXFile);
    const XStatus corrupt = ReadXFileFromPath(DataPath("OV_GetNextToken.x"), &file);
    EXPECT_EQ(corrupt.code, XError::SizeMismatch) << corrupt.message;
    EXPECT_EQ(corrupt.message.find('\n'), std::string::npos);
    EXPECT_TRUE(file.objects.empty());
    EXPECT_EQ(ReadXFileFromPath(DataPath("no_such_file.x"), &file).code, XError::NotAnXFile);
}

TEST(XFileRead, CubeTripletGivesOneTree) {
    const XFile text = Read("test_cube_text.x");
    const XFile binary = Read("test_cube_binary.x");
    const XFile compressed = Read("test_cube_compressed.x");
    xtest::ExpectSameTree(text, binary);
    xtest::ExpectSameTree(text, compressed);
    // The triplet's own records and typed values agree exactly with this reading.
    ASSERT_EQ(text.templates.size(), 4u);
    EXPECT_EQ(text.templates[2].name, "SkinWeights");
    EXPECT_EQ(text.templates[2].guid, "6F0D123B-BAD2-4167-A0D0-80224F25FABB");
    ASSERT_EQ(text.templates[2].members.size(), 5u);
    EXPECT_EQ(text.templates[2].members[3].typeName, "FLOAT");
    EXPECT_TRUE(text.templates[2].members[3].isArray);
    EXPECT_EQ(text.templates[2].members[3].dimensions, std::vector<std::string>{"nWeights"});
    EXPECT_EQ(text.templates[2].members[4].typeName, "Matrix4x4");
}

TEST(XFileRead, CrLfLineEndingsReadTheSame) {
    const std::vector<std::uint8_t> lf = xtest::LoadBytes("test_cube_text.x");
    std::vector<std::uint8_t> crlf;
    for (std::uint8_t c : lf) {
        if (c == '\n')
            crlf.push_back('\r');
        crlf.push_back(c);
    }
    XFile a;
    XFile b;
    ASSERT_TRUE(ReadXFile(lf, &a).ok());
    const XStatus status = ReadXFile(crlf, &b);
    ASSERT_TRUE(status.ok()) << status.message;
    xtest::ExpectSameTree(a, b);
}

TEST(XFileRead, CubeFacts) {
    for (const char* name : {"test_cube_text.x", "test_cube_binary.x", "test_cube_compressed.x"}) {
        SCOPED_TRACE(name);
        const XFile file = Read(name);
        std::vector<std::string> templateNames;
        for (const XTemplate& t : file.templates)
            templateNames.push_back(t.name);
        EXPECT_EQ(templateNames,
                  (std::vector<std::string>{"XSkinMeshHeader", "VertexDuplicationIndices",
                                            "SkinWeights", "AnimTicksPerSecond"}));
        ASSERT_EQ(file.objects.size(), 3u);
        EXPECT_EQ(file.objects[0]->templateName, "AnimTicksPerSecond");
        ASSERT_EQ(file.objects[0]->values.size(), 1u);
        EXPECT_EQ(file.objects[0]->values[0].kind(), XValue::Kind::Integer);
        EXPECT_EQ(file.objects[0]->values[0].integer(), 24);
        EXPECT_EQ(file.objects[1]->templateName, "Material");
        EXPECT_EQ(file.objects[1]->name, "Material");
        const XDataObject& root = *file.objects[2];
        EXPECT_EQ(root.name, "Root");
        EXPECT_EQ(ObjectsOfType(file, "Frame").size(), 2u);
        const XDataObject* rootMatrix = ChildOfType(root, "FrameTransformMatrix");
        ASSERT_NE(rootMatrix, nullptr);
        EXPECT_EQ(Numbers(*rootMatrix),
                  (std::vector<double>{1, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1}));
        const XDataObject* cube = ChildOfType(root, "Frame");
        ASSERT_NE(cube, nullptr);
        EXPECT_EQ(cube->name, "Cube");
        EXPECT_EQ(Numbers(*ChildOfType(*cube, "FrameTransformMatrix")),
                  (std::vector<double>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
        const XDataObject* mesh = ChildOfType(*cube, "Mesh");
        ASSERT_NE(mesh, nullptr);
        EXPECT_EQ(mesh->name, "Cube");
        const std::vector<double> v = Numbers(*mesh);
        ASSERT_EQ(v.size(), 1u + 72u + 1u + 48u);
        EXPECT_EQ(v[0], 24);
        EXPECT_EQ((std::vector<double>{v[1], v[2], v[3]}), (std::vector<double>{-1, -1, 1}));
        EXPECT_NEAR(v[72], 0.999999, 1e-6);
        EXPECT_EQ(v[73], 12);
        EXPECT_EQ((std::vector<double>{v[74], v[75], v[76], v[77]}),
                  (std::vector<double>{3, 0, 2, 1}));
        EXPECT_EQ(mesh->values[1].kind(), XValue::Kind::Float);
        EXPECT_EQ(mesh->values[74].kind(), XValue::Kind::Integer);
        const XDataObject* list = ChildOfType(*mesh, "MeshMaterialList");
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(Numbers(*list), (std::vector<double>{1, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
        ASSERT_EQ(list->children.size(), 1u);
        EXPECT_TRUE(list->children[0].IsReference());
        EXPECT_EQ(list->children[0].referenceName, "Material");
        EXPECT_EQ(list->children[0].resolved, file.objects[1].get());
        for (const char* extra : {"MeshNormals", "MeshTextureCoords", "VertexDuplicationIndices",
                                  "XSkinMeshHeader", "SkinWeights"}) {
            EXPECT_NE(ChildOfType(*mesh, extra), nullptr) << extra;
        }
        const XDataObject* skin = ChildOfType(*mesh, "SkinWeights");
        EXPECT_EQ(skin->values[0].text(), "Cube");
        EXPECT_EQ(skin->values.size(), 1u + 1u + 24u + 24u + 16u);
    }
}

TEST(XFileRead, SkinWeightsIndexOutOfRangeStillReads) {
    const XFile good = Read("test_cube_text.x");
    const XFile bad = Read("malformed_skinweights_oob.x");
    EXPECT_EQ(AllObjects(good).size(), AllObjects(bad).size());
}

TEST(XFileRead, MayaExportKeepsBackslashesAndUnnamedMaterial) {
    const XFile file = Read("test.x");
    ASSERT_EQ(file.objects.size(), 1u);
    EXPECT_EQ(file.objects[0]->name, "pCube1");
    EXPECT_EQ(Numbers(*ChildOfType(*file.objects[0], "FrameTransformMatrix")),
              (std::vector<double>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
    const auto materials = ObjectsOfType(file, "Material");
    ASSERT_EQ(materials.size(), 1u);
    EXPECT_EQ(materials[0]->name, "");
    const XDataObject* texture = ChildOfType(*materials[0], "TextureFileName");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->values[0].text(), ".\\\\test.png");
    const auto decl = ObjectsOfType(file, "DeclData");
    ASSERT_EQ(decl.size(), 1u);
    const auto mesh = ObjectsOfType(file, "Mesh");
    ASSERT_EQ(mesh.size(), 1u);
    EXPECT_NEAR(mesh[0]->values[1].AsDouble(), -0.820374, 1e-6);
    const XDataObject* tc = ChildOfType(*mesh[0], "MeshTextureCoords");
    EXPECT_NEAR(tc->values[2].AsDouble(), -0.358017, 1e-6);
}

TEST(XFileRead, KwxportTemplatesKeyValuesAndNamedChildren) {
    const XFile file = Read("kwxport_test_cubewithvcolors.x");
    ASSERT_EQ(file.templates.size(), 20u);
    EXPECT_EQ(file.templates[1].name, "Frame");
    EXPECT_EQ(file.templates[1].restriction, XTemplate::Restriction::Open);
    const XTemplate* list = nullptr;
    for (const XTemplate& t : file.templates) {
        if (t.name == "MeshMaterialList")
            list = &t;
    }
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->restriction, XTemplate::Restriction::Restricted);
    EXPECT_EQ(list->allowedTypes, std::vector<std::string>{"Material"});
    ASSERT_EQ(file.objects.size(), 5u);
    const char* pairs[4][2] = {
        {"Date", "2008-05-15 15:37:55"}, {"File", nullptr}, {"User", "JWatte"}, {"CoreTime", "0"}};
    for (int i = 0; i < 4; ++i) {
        const XDataObject& kv = *file.objects[static_cast<std::size_t>(i)];
        EXPECT_EQ(kv.templateName, "KeyValuePair");
        ASSERT_EQ(kv.values.size(), 2u);
        EXPECT_EQ(kv.values[0].text(), pairs[i][0]);
        if (pairs[i][1] != nullptr) {
            EXPECT_EQ(kv.values[1].text(), pairs[i][1]);
        }
    }
    EXPECT_EQ(file.objects[1]->values[1].text().substr(0, 4), "c:\\\\");
    const XDataObject& box = *file.objects[4];
    EXPECT_EQ(box.name, "Box01");
    const XDataObject* matrix = ChildOfType(box, "FrameTransformMatrix");
    ASSERT_NE(matrix, nullptr);
    EXPECT_EQ(matrix->name, "relative");
    EXPECT_NEAR(matrix->values[13].AsDouble(), -0.492126, 1e-6);
    EXPECT_EQ(ChildOfType(box, "ObjectMatrixComment")->name, "object");
    const XDataObject* mesh = ChildOfType(box, "Mesh");
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->name, "mesh_Box01");
    EXPECT_EQ(ChildOfType(*mesh, "MeshNormals")->name, "normals");
    EXPECT_EQ(ChildOfType(*mesh, "MeshTextureCoords")->name, "tc0");
    const XDataObject* colors = ChildOfType(*mesh, "MeshVertexColors");
    EXPECT_EQ(colors->name, "col0");
    EXPECT_EQ(Numbers(*colors).size(), 1u + 24u * 5u);
    const XDataObject* mtls = ChildOfType(*mesh, "MeshMaterialList");
    EXPECT_EQ(mtls->name, "mtls");
    EXPECT_EQ(Numbers(*mtls), (std::vector<double>{3, 12, 0, 0, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2}));
    std::vector<std::string> names;
    for (const XChild& child : mtls->children)
        names.push_back(child.object->name);
    EXPECT_EQ(names, (std::vector<std::string>{"bottom", "top", "side"}));
}

TEST(XFileRead, TrueSpaceBinaryWithDashInName) {
    const XFile file = Read("fromtruespace_bin32.x");
    ASSERT_EQ(file.objects.size(), 2u);
    EXPECT_EQ(file.objects[0]->templateName, "Header");
    EXPECT_EQ(Numbers(*file.objects[0]), (std::vector<double>{1, 0, 0}));
    EXPECT_EQ(file.objects[1]->name, "FeedTheDinoGPU-0");
    const XDataObject* matrix = ChildOfType(*file.objects[1], "FrameTransformMatrix");
    EXPECT_NEAR(matrix->values[12].AsDouble(), -0.959384, 1e-5);
    EXPECT_NEAR(matrix->values[13].AsDouble(), 1.570436, 1e-5);
    EXPECT_NEAR(matrix->values[14].AsDouble(), 1.535811, 1e-5);
    const auto meshes = ObjectsOfType(file, "Mesh");
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0]->name, "FeedTheDinoGPUMesh");
    EXPECT_EQ(meshes[0]->values[0].integer(), 4132);
    EXPECT_EQ(meshes[0]->values[1 + 3 * 4132].integer(), 6656);
    const auto materials = ObjectsOfType(file, "Material");
    ASSERT_EQ(materials.size(), 1u);
    EXPECT_EQ(materials[0]->name, "FeedTheDinoGPUMaterial_0_0");
}

TEST(XFileRead, EyeIsATopLevelMeshInBinary) {
    const XFile file = Read("Eye.x");
    ASSERT_EQ(file.objects.size(), 2u);
    EXPECT_EQ(file.objects[1]->templateName, "Mesh");
    EXPECT_EQ(file.objects[1]->name, "Mesh_Eye");
    EXPECT_EQ(file.objects[1]->values[0].integer(), 162);
    EXPECT_TRUE(ObjectsOfType(file, "Frame").empty());
    const auto textures = ObjectsOfType(file, "TextureFilename");
    ASSERT_EQ(textures.size(), 1u);
    EXPECT_EQ(textures[0]->values[0].text(), "Eye.bmp");
}

TEST(XFileRead, SuppliesTemplatesAndTwoTopLevelFrames) {
    const XFile file = Read("supplies.x");
    EXPECT_EQ(file.templates.size(), 21u);
    ASSERT_EQ(file.objects.size(), 3u);
    EXPECT_EQ(file.objects[1]->name, "Frm");
    EXPECT_EQ(file.objects[2]->name, "supplies_sides");
    const auto meshes = ObjectsOfType(file, "Mesh");
    ASSERT_EQ(meshes.size(), 2u);
    EXPECT_EQ(meshes[0]->name, "object");
    EXPECT_EQ(meshes[0]->values[0].integer(), 16);
    EXPECT_EQ(meshes[1]->values[0].integer(), 8);
    const auto& order = meshes[0]->children;
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order[0].object->templateName, "MeshMaterialList");
    EXPECT_EQ(order[1].object->templateName, "MeshNormals");
    EXPECT_EQ(order[2].object->templateName, "MeshTextureCoords");
}

TEST(XFileRead, LaddersReferencesPreferMaterials) {
    const XFile file = Read("ladders.X");
    ASSERT_EQ(file.objects.size(), 5u);
    EXPECT_EQ(Numbers(*file.objects[0]), (std::vector<double>{1, 0, 1}));
    EXPECT_EQ(ObjectsOfType(file, "Frame").size(), 9u);
    const auto lists = ObjectsOfType(file, "MeshMaterialList");
    ASSERT_EQ(lists.size(), 2u);
    const char* expected[] = {"x3dc_0", "x3dc_1"};
    for (int i = 0; i < 2; ++i) {
        const XChild& ref = lists[static_cast<std::size_t>(i)]->children.at(0);
        ASSERT_TRUE(ref.IsReference());
        EXPECT_EQ(ref.referenceName, expected[i]);
        ASSERT_NE(ref.resolved, nullptr);
        EXPECT_EQ(ref.resolved->templateName, "Material");
        EXPECT_EQ(ref.resolved->name, expected[i]);
    }
    // Outside a material list the first object of the name wins: the Frame, not the
    // Animation that carries the same name.
    const auto animations = ObjectsOfType(file, "Animation");
    ASSERT_FALSE(animations.empty());
    ASSERT_TRUE(animations[0]->children[0].IsReference());
    EXPECT_EQ(animations[0]->children[0].resolved->templateName, "Frame");
    const auto meshes = ObjectsOfType(file, "Mesh");
    EXPECT_NEAR(meshes[0]->values[1].AsDouble(), -0.96, 1e-6);
    EXPECT_NEAR(meshes[0]->values[3].AsDouble(), -2.88, 1e-6);
}

TEST(XFileRead, CrateToleratesOneSurplusClosingBrace) {
    const XFile file = Read("crate.x");
    ASSERT_EQ(file.objects.size(), 1u);
    EXPECT_EQ(file.objects[0]->name, "Scene_Root");
    EXPECT_EQ(ObjectsOfType(file, "Frame").size(), 3u);
    EXPECT_EQ(ObjectsOfType(file, "Mesh").size(), 2u);
    const auto materials = ObjectsOfType(file, "Material");
    ASSERT_EQ(materials.size(), 2u);
    EXPECT_EQ(materials[0]->name, "Material01");
    EXPECT_EQ(materials[1]->name, "Material02");
}

TEST(XFileRead, PistolDefinesOneMaterialNameThreeTimes) {
    const XFile file = Read("pistol.x");
    EXPECT_EQ(file.templates.size(), 3u);
    EXPECT_EQ(ObjectsOfType(file, "Frame").size(), 5u);
    const auto meshes = ObjectsOfType(file, "Mesh");
    ASSERT_EQ(meshes.size(), 3u);
    EXPECT_EQ(meshes[0]->values[0].integer(), 134);
    EXPECT_EQ(meshes[1]->values[0].integer(), 16);
    EXPECT_EQ(meshes[2]->values[0].integer(), 50);
    for (const XDataObject* m : ObjectsOfType(file, "Material"))
        EXPECT_EQ(m->name, "Material01");
    EXPECT_EQ(ObjectsOfType(file, "Material").size(), 3u);
    EXPECT_EQ(file.objects.back()->name, "AnimationSet0");
}

TEST(XFileRead, BlueUfoTextWith64BitFloats) {
    const XFile file = Read("blue_ufo.X");
    EXPECT_EQ(file.templates.size(), 12u);
    ASSERT_EQ(file.objects.size(), 2u);
    std::vector<std::string> frames;
    for (const XChild& child : file.objects[1]->children)
        frames.push_back(child.object->name);
    EXPECT_EQ(frames, (std::vector<std::string>{"nose", "tail", "canopy", "body"}));
    EXPECT_TRUE(ObjectsOfType(file, "FrameTransformMatrix").empty());
    const auto meshes = ObjectsOfType(file, "Mesh");
    ASSERT_EQ(meshes.size(), 4u);
    EXPECT_EQ(meshes[0]->name, "mesh-nose");
    EXPECT_EQ(meshes[0]->values[0].integer(), 9);
    const auto materials = ObjectsOfType(file, "Material");
    ASSERT_EQ(materials.size(), 4u);
    EXPECT_EQ(materials[0]->name, "black");
    EXPECT_NEAR(materials[0]->values[4].AsDouble(), 157.36, 1e-9);
}

TEST(XFileRead, FvfDataChildIsKeptAsData) {
    const XFile file = Read("malformed_fvf_texcoord_oob.x");
    const auto meshes = ObjectsOfType(file, "Mesh");
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0]->name, "");
    const XDataObject* fvf = ChildOfType(*meshes[0], "FVFData");
    ASSERT_NE(fvf, nullptr);
    EXPECT_EQ(Numbers(*fvf), (std::vector<double>{256, 2, 0, 0}));
}

TEST(XFileRead, TextSyntaxVariants) {
    const std::string text =
        "xof 0302txt 0064\n"
        "# hash comment\n"
        "template Thing { <01234567-89ab-cdef-0123-456789ABCDEF>\n"
        "  DWORD n; array FLOAT v[n]; STRING s; [Other <11111111-2222-3333-4444-555555555555>, "
        "Material] }\n"
        "Thing first-one { <AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE>\n"
        "  2; 1.5e+2, -2E-1;\t\"a b;c\";  // comment { }\n"
        "  { first-one } { <aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee> } { nothing "
        "<AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE> }\n"
        "  Frame{}\n"
        "}\n";
    XFile file;
    const XStatus status = xtest::ReadText(text, &file);
    ASSERT_TRUE(status.ok()) << status.message;
    EXPECT_EQ(file.header.minorVersion, 2);
    EXPECT_EQ(file.header.floatBits, 64);
    ASSERT_EQ(file.templates.size(), 1u);
    const XTemplate& t = file.templates[0];
    EXPECT_EQ(t.guid, "01234567-89AB-CDEF-0123-456789ABCDEF");
    EXPECT_EQ(t.restriction, XTemplate::Restriction::Restricted);
    EXPECT_EQ(t.allowedTypes, (std::vector<std::string>{"Other", "Material"}));
    ASSERT_EQ(file.objects.size(), 1u);
    const XDataObject& thing = *file.objects[0];
    EXPECT_EQ(thing.name, "first-one");
    EXPECT_EQ(thing.guid, "AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE");
    ASSERT_EQ(thing.values.size(), 4u);
    EXPECT_EQ(thing.values[0].integer(), 2);
    EXPECT_DOUBLE_EQ(thing.values[1].number(), 150.0);
    EXPECT_DOUBLE_EQ(thing.values[2].number(), -0.2);
    EXPECT_EQ(thing.values[3].text(), "a b;c");
    ASSERT_EQ(thing.children.size(), 4u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(thing.children[static_cast<std::size_t>(i)].resolved, &thing);
    EXPECT_EQ(thing.children[2].referenceName, "nothing");
    EXPECT_EQ(thing.children[3].object->templateName, "Frame");
}

TEST(XFileRead, ValuesTakeTheirTemplateMemberType) {
    // Whole numbers written for FLOAT members become floats, across nested templates.
    XFile file;
    ASSERT_TRUE(
        xtest::ReadText(
            "xof 0303txt 0032\n"
            "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
            "  MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 5; 0;0;0;; 0;0;0;; } } }\n",
            &file)
            .ok());
    const XDataObject& mesh = *file.objects[0];
    ASSERT_EQ(mesh.values.size(), 15u);
    EXPECT_EQ(mesh.values[0].kind(), XValue::Kind::Integer);
    for (std::size_t i = 1; i <= 9; ++i)
        EXPECT_EQ(mesh.values[i].kind(), XValue::Kind::Float) << i;
    for (std::size_t i = 10; i < 15; ++i)
        EXPECT_EQ(mesh.values[i].kind(), XValue::Kind::Integer) << i;
    const XDataObject& material = *mesh.children[0].object->children[0].object;
    for (const XValue& v : material.values)
        EXPECT_EQ(v.kind(), XValue::Kind::Float);
    // Values that do not fit the template are left as read.
    ASSERT_TRUE(xtest::ReadText("xof 0303txt 0032\nVector { 1; 2; }\n", &file).ok());
    EXPECT_EQ(file.objects[0]->values[0].kind(), XValue::Kind::Integer);
}

TEST(XFileRead, MemberValuesFoundThroughTheTemplate) {
    const XFile file = Read("test_cube_binary.x");
    const XDataObject& material = *file.objects[1];
    std::span<const XValue> values;
    ASSERT_TRUE(FindXMemberValues(file, material, "power", &values));
    ASSERT_EQ(values.size(), 1u);
    EXPECT_NEAR(values[0].number(), 96.078430, 1e-5);
    ASSERT_TRUE(FindXMemberValues(file, material, "specularColor", &values));
    EXPECT_EQ(values.size(), 3u);
    const auto skins = ObjectsOfType(file, "SkinWeights");
    ASSERT_EQ(skins.size(), 1u);
    ASSERT_TRUE(FindXMemberValues(file, *skins[0], "weights", &values));
    EXPECT_EQ(values.size(), 24u);
    ASSERT_TRUE(FindXMemberValues(file, *skins[0], "matrixOffset", &values));
    EXPECT_EQ(values.size(), 16u);
    const auto meshes = ObjectsOfType(file, "Mesh");
    ASSERT_TRUE(FindXMemberValues(file, *meshes[0], "faces", &values));
    EXPECT_EQ(values.size(), 48u);
    EXPECT_FALSE(FindXMemberValues(file, *meshes[0], "colours", &values));
    XDataObject unknown;
    unknown.templateName = "NoSuchTemplate";
    EXPECT_FALSE(FindXMemberValues(file, unknown, "x", &values));
}

TEST(XFileRead, StandardTemplatesCoverTheRetainedModeSet) {
    XFile empty;
    for (const char* name : {"Header", "Vector", "Matrix4x4", "Material", "MeshFace", "Mesh",
                             "MeshNormals", "MeshTextureCoords", "MeshMaterialList",
                             "TextureFilename", "FrameTransformMatrix", "Frame", "AnimationSet"}) {
        EXPECT_NE(FindXTemplate(empty, name), nullptr) << name;
    }
    EXPECT_EQ(FindXTemplate(empty, "TextureFileName"), FindXTemplate(empty, "TextureFilename"));
    const XTemplate* mesh = FindXTemplate(empty, "Mesh");
    EXPECT_EQ(mesh->guid, "3D82AB44-62DA-11CF-AB39-0020AF71E433");
    ASSERT_EQ(mesh->members.size(), 4u);
    EXPECT_EQ(mesh->members[3].dimensions, std::vector<std::string>{"nFaces"});
}

TEST(XFileRead, BinaryWith64BitFloatsAndStrings) {
    using xformat::Token;
    xtest::BinaryWriter w("xof 0303bin 0064");
    w.Name("Frame")
        .Name("F")
        .Token(Token::OpenBrace)
        .Name("FrameTransformMatrix")
        .Token(Token::OpenBrace)
        .Floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0.1, 2.5, -3, 1}, 64)
        .Token(Token::CloseBrace)
        .Name("TextureFilename")
        .Token(Token::OpenBrace)
        .String("tex.png")
        .Token(Token::CloseBrace)
        .Token(Token::CloseBrace);
    XFile file;
    const XStatus status = ReadXFile(w.bytes(), &file);
    ASSERT_TRUE(status.ok()) << status.message;
    EXPECT_EQ(file.header.floatBits, 64);
    const XDataObject& matrix = *file.objects[0]->children[0].object;
    EXPECT_DOUBLE_EQ(matrix.values[12].number(), 0.1);
    EXPECT_EQ(file.objects[0]->children[1].object->values[0].text(), "tex.png");
}

TEST(XFileRead, BinaryTemplateDefinition) {
    using xformat::Token;
    xtest::BinaryWriter w;
    w.Token(Token::Template)
        .Name("Pair")
        .Token(Token::OpenBrace)
        .Token(Token::Guid)
        .Dword(0x01234567)
        .Word(0x89AB)
        .Word(0xCDEF)
        .Dword(0x67452301)
        .Dword(0xEFCDAB89)
        .Token(Token::Dword)
        .Name("n")
        .Token(Token::Semicolon)
        .Token(Token::Array)
        .Token(Token::Float)
        .Name("v")
        .Token(Token::OpenBracket)
        .Name("n")
        .Token(Token::CloseBracket)
        .Token(Token::Semicolon)
        .Token(Token::OpenBracket)
        .Token(Token::Dot)
        .Token(Token::Dot)
        .Token(Token::Dot)
        .Token(Token::CloseBracket)
        .Token(Token::CloseBrace)
        .Name("Pair")
        .Token(Token::OpenBrace)
        .Integers({2})
        .Floats({0.5, 4})
        .Token(Token::CloseBrace);
    XFile file;
    const XStatus status = ReadXFile(w.bytes(), &file);
    ASSERT_TRUE(status.ok()) << status.message;
    ASSERT_EQ(file.templates.size(), 1u);
    const XTemplate& t = file.templates[0];
    EXPECT_EQ(t.guid, "01234567-89AB-CDEF-0123-456789ABCDEF");
    ASSERT_EQ(t.members.size(), 2u);
    EXPECT_EQ(t.members[0].typeName, "DWORD");
    EXPECT_TRUE(t.members[1].isArray);
    EXPECT_EQ(t.members[1].typeName, "FLOAT");
    EXPECT_EQ(t.members[1].dimensions, std::vector<std::string>{"n"});
    EXPECT_EQ(t.restriction, XTemplate::Restriction::Open);
    ASSERT_EQ(file.objects[0]->values.size(), 3u);
    EXPECT_EQ(file.objects[0]->values[2].number(), 4.0);
}

TEST(XFileRead, CompressedTextWithManyBlocksUsesTheDictionary) {
    // A long, repetitive text file packed in small blocks: each block only inflates with
    // the earlier output as its dictionary.
    std::string text = "xof 0303txt 0032\nFrame Root {\n";
    for (int i = 0; i < 400; ++i) {
        text += " Frame Child" + std::to_string(i) +
                " { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, " + std::to_string(i) +
                ",0,0,1;; } }\n";
    }
    text += "}\n";
    const std::vector<std::uint8_t> plain = xtest::Bytes(text);
    const std::vector<std::uint8_t> packed = xtest::Compress(plain, "xof 0303tzip0032", 1000);
    ASSERT_GT(plain.size(), 20000u);
    XFile fromPlain;
    XFile fromPacked;
    ASSERT_TRUE(ReadXFile(plain, &fromPlain).ok());
    const XStatus status = ReadXFile(packed, &fromPacked);
    ASSERT_TRUE(status.ok()) << status.message;
    EXPECT_EQ(fromPacked.header.encoding, XEncoding::CompressedText);
    xtest::ExpectSameTree(fromPlain, fromPacked);
    EXPECT_EQ(fromPacked.objects[0]->children.size(), 400u);
}

TEST(XFileRead, CompressedBinaryRepackedInSmallBlocksMatchesBinary) {
    const std::vector<std::uint8_t> binary = xtest::LoadBytes("test_cube_binary.x");
    XFile expected;
    ASSERT_TRUE(ReadXFile(binary, &expected).ok());
    for (std::size_t block : {std::size_t{100}, std::size_t{777}, std::size_t{32768}}) {
        XFile repacked;
        const XStatus status =
            ReadXFile(xtest::Compress(binary, "xof 0303bzip0032", block), &repacked);
        ASSERT_TRUE(status.ok()) << block << ": " << status.message;
        xtest::ExpectSameTree(expected, repacked);
    }
}

}  // namespace
}  // namespace tetrakon
