// The text writer: its exact layout for a small scene, floats that read back exactly,
// determinism, and refusal of trees the text form cannot carry.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "gfxutil/xfile/xfile.h"
#include "tests/gfxutil/xfile_write_test_support.h"

namespace tetrakon {
namespace {

using xwritetest::AddChild;
using xwritetest::AddReference;
using xwritetest::Int;
using xwritetest::Num;
using xwritetest::Object;
using xwritetest::ReadBack;
using xwritetest::Str;

// A material, a framed mesh that references it, and an object of a file-defined template.
XFile SmallScene() {
    XFile file;
    XTemplate tag;
    tag.name = "Tag";
    tag.guid = "0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9";
    tag.members = {{"STRING", "label", false, {}},
                   {"DWORD", "n", false, {}},
                   {"FLOAT", "weights", true, {"n"}}};
    tag.restriction = XTemplate::Restriction::Restricted;
    tag.allowedTypes = {"Material", "Frame"};
    file.templates.push_back(tag);

    auto material = Object("Material", "Red",
                           {Num(1), Num(0), Num(0), Num(1), Num(20), Num(0.5), Num(0.5), Num(0.5),
                            Num(0), Num(0), Num(0)});
    AddChild(material.get(), Object("TextureFilename", "", {Str("red.png")}));
    file.objects.push_back(std::move(material));

    auto frame = Object("Frame", "Box");
    std::vector<XValue> matrix;
    for (int i = 0; i < 16; ++i)
        matrix.push_back(Num(i % 5 == 0 ? 1 : 0));
    matrix[12] = Num(1.5);
    matrix[13] = Int(-2);  // an integer in a FLOAT member, as text files write "-2"
    matrix[14] = Num(0.1f);
    AddChild(frame.get(), Object("FrameTransformMatrix", "", std::move(matrix)));
    XDataObject* mesh = AddChild(
        frame.get(), Object("Mesh", "BoxMesh",
                            {Int(3), Num(0), Num(0), Num(0), Num(1), Num(0), Num(0), Num(0), Num(1),
                             Num(0), Int(1), Int(3), Int(0), Int(1), Int(2)}));
    XDataObject* list = AddChild(mesh, Object("MeshMaterialList", "", {Int(1), Int(1), Int(0)}));
    AddReference(list, "Red");
    file.objects.push_back(std::move(frame));

    file.objects.push_back(Object("Tag", "", {Str("weights"), Int(2), Num(0.25), Num(-3e-7)}));
    return file;
}

TEST(XFileTextWriter, LaysOutASmallSceneByItsTemplates) {
    std::string text;
    const XStatus status = WriteXFileText(SmallScene(), &text);
    ASSERT_TRUE(status.ok()) << status.message;
    EXPECT_EQ(text,
              "xof 0303txt 0032\n"
              "\n"
              "template Tag {\n"
              " <0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9>\n"
              " STRING label;\n"
              " DWORD n;\n"
              " array FLOAT weights[n];\n"
              " [Material, Frame]\n"
              "}\n"
              "\n"
              "Material Red {\n"
              " 1.0;0.0;0.0;1.0;;\n"
              " 20.0;\n"
              " 0.5;0.5;0.5;;\n"
              " 0.0;0.0;0.0;;\n"
              " TextureFilename {\n"
              "  \"red.png\";\n"
              " }\n"
              "}\n"
              "\n"
              "Frame Box {\n"
              " FrameTransformMatrix {\n"
              "  1.0,0.0,0.0,0.0,\n"
              "  0.0,1.0,0.0,0.0,\n"
              "  0.0,0.0,1.0,0.0,\n"
              "  1.5,-2.0,0.1,1.0;;\n"
              " }\n"
              " Mesh BoxMesh {\n"
              "  3;\n"
              "  0.0;0.0;0.0;,\n"
              "  1.0;0.0;0.0;,\n"
              "  0.0;1.0;0.0;;\n"
              "  1;\n"
              "  3;0,1,2;;\n"
              "  MeshMaterialList {\n"
              "   1;\n"
              "   1;\n"
              "   0;\n"
              "   { Red }\n"
              "  }\n"
              " }\n"
              "}\n"
              "\n"
              "Tag {\n"
              " \"weights\";\n"
              " 2;\n"
              " 0.25,-3e-07;\n"
              "}\n");
}

TEST(XFileTextWriter, OutputReadsBackAndIsByteForByteStable) {
    const XFile scene = SmallScene();
    std::string first;
    std::string second;
    ASSERT_TRUE(WriteXFileText(scene, &first).ok());
    ASSERT_TRUE(WriteXFileText(scene, &second).ok());
    EXPECT_EQ(first, second);

    XFile back;
    const XStatus status = ReadBack(first, &back);
    ASSERT_TRUE(status.ok()) << status.message;
    xwritetest::ExpectSameTree(scene, back);
    std::string third;
    ASSERT_TRUE(WriteXFileText(back, &third).ok());
    EXPECT_EQ(first, third);
}

TEST(XFileTextWriter, FloatsReadBackToTheSameBits) {
    const float awkward[] = {0.1f,
                             1.0f / 3.0f,
                             -0.0f,
                             FLT_MIN,
                             std::numeric_limits<float>::denorm_min(),
                             FLT_MAX,
                             -FLT_MAX,
                             16777216.0f,
                             1e-30f,
                             123456.789f,
                             0.999999f,
                             std::nextafter(1.0f, 2.0f)};
    XFile file;
    auto keys = Object("FloatKeys", "", {Int(std::size(awkward))});
    for (float value : awkward)
        keys->values.push_back(Num(value));
    file.objects.push_back(std::move(keys));

    std::string text;
    ASSERT_TRUE(WriteXFileText(file, &text).ok());
    XFile back;
    ASSERT_TRUE(ReadBack(text, &back).ok()) << text;
    ASSERT_EQ(back.objects.size(), 1u);
    ASSERT_EQ(back.objects[0]->values.size(), std::size(awkward) + 1);
    for (std::size_t i = 0; i < std::size(awkward); ++i) {
        const XValue& value = back.objects[0]->values[i + 1];
        EXPECT_EQ(value.kind(), XValue::Kind::Float) << i;
        const float read = value.AsFloat();
        EXPECT_EQ(std::memcmp(&read, &awkward[i], sizeof read), 0)
            << awkward[i] << " came back as " << read;
    }
}

// Objects whose template is unknown, or whose values do not fit it, still come back with
// the same values in the same order.
TEST(XFileTextWriter, ValuesOutsideAnyTemplateReadBackUnchanged) {
    XFile file;
    file.objects.push_back(Object("Unknown", "u", {Int(7), Str("x"), Num(2.5), Int(-4)}));
    file.objects.push_back(Object("Mesh", "short", {Int(5), Num(1), Num(2)}));
    file.objects.push_back(Object("Vector", "", {Str("not a number"), Num(1), Num(2)}));
    std::string text;
    ASSERT_TRUE(WriteXFileText(file, &text).ok());
    XFile back;
    ASSERT_TRUE(ReadBack(text, &back).ok()) << text;
    xwritetest::ExpectSameTree(file, back);
}

TEST(XFileTextWriter, RefusesWhatTheTextFormCannotCarry) {
    const auto refuses = [](XFile file, const char* why) {
        std::string text = "untouched";
        const XStatus status = WriteXFileText(file, &text);
        EXPECT_EQ(status.code, XError::WriteFailed) << why;
        EXPECT_FALSE(status.message.empty()) << why;
        EXPECT_EQ(text, "untouched") << why;
    };
    const auto single = [](std::unique_ptr<XDataObject> object) {
        XFile file;
        file.objects.push_back(std::move(object));
        return file;
    };
    refuses(single(Object("Frame", "two words")), "name with a space");
    refuses(single(Object("Frame", "9lives")), "name starting with a digit");
    refuses(single(Object("TextureFilename", "", {Str("say \"hi\"")})), "quote in a string");
    refuses(single(Object("Vector", "", {Num(NAN), Num(0), Num(0)})), "not a number");
    refuses(single(Object("Vector", "", {Num(1e300), Num(0), Num(0)})), "float overflow");
    refuses(single(Object("Header", "", {Int(1), Int(0), Int(std::int64_t{1} << 40)})),
            "integer wider than 32 bits");
    XFile withNull;
    withNull.objects.push_back(nullptr);
    refuses(std::move(withNull), "null object");
    XFile badTemplate;
    badTemplate.templates.push_back(XTemplate{"Bad", "not-a-guid", {}, {}, {}});
    refuses(std::move(badTemplate), "template without a GUID");
    EXPECT_EQ(WriteXFileText(XFile{}, nullptr).code, XError::WriteFailed);
}

}  // namespace
}  // namespace tetrakon
