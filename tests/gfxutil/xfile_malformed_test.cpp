#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gfxutil/xfile/xfile_mesh.h"
#include "xfile_test_support.h"

namespace tetrakon {
namespace {

using xformat::Token;

XError ReadCode(const std::vector<std::uint8_t>& data) {
    XFile file;
    const XStatus status = ReadXFile(data, &file);
    if (!status.ok()) {
        EXPECT_TRUE(file.objects.empty());
        EXPECT_FALSE(status.message.empty());
        EXPECT_EQ(status.message.find('\n'), std::string::npos) << status.message;
    }
    return status.code;
}

XError TextCode(const std::string& text) {
    return ReadCode(xtest::Bytes(text));
}

void PutLe16(std::vector<std::uint8_t>* data, std::size_t at, std::uint32_t value) {
    (*data)[at] = static_cast<std::uint8_t>(value);
    (*data)[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutLe32(std::vector<std::uint8_t>* data, std::size_t at, std::uint32_t value) {
    PutLe16(data, at, value & 0xFFFF);
    PutLe16(data, at + 2, value >> 16);
}

TEST(XFileMalformed, Headers) {
    EXPECT_EQ(TextCode(""), XError::NotAnXFile);
    EXPECT_EQ(TextCode("xof 0303txt"), XError::NotAnXFile);
    EXPECT_EQ(TextCode("XOF 0303txt 0032 Frame {}"), XError::NotAnXFile);
    EXPECT_EQ(TextCode("xof 0403txt 0032"), XError::BadVersion);
    EXPECT_EQ(TextCode("xof 03a3txt 0032"), XError::BadVersion);
    EXPECT_EQ(TextCode("xof 0303xml 0032"), XError::UnknownEncoding);
    EXPECT_EQ(TextCode("xof 0303txt 0016"), XError::UnknownEncoding);
    EXPECT_EQ(TextCode("xof 0303txt 0032"), XError::None);
    EXPECT_EQ(TextCode("xof 0303bin 0032"), XError::None);
}

// Cutting a file anywhere either fails with a reading error or, where the cut falls
// between top-level objects, gives the leading objects of the whole file.
void CheckEveryTruncation(const std::string& name) {
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> whole = xtest::LoadBytes(name);
    XFile full;
    ASSERT_TRUE(ReadXFile(whole, &full).ok());
    int failures = 0;
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const std::vector<std::uint8_t> part(whole.begin(),
                                             whole.begin() + static_cast<std::ptrdiff_t>(length));
        XFile file;
        const XStatus status = ReadXFile(part, &file);
        if (status.ok()) {
            const bool onlySpaceCut = std::all_of(
                whole.begin() + static_cast<std::ptrdiff_t>(length), whole.end(),
                [](std::uint8_t c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; });
            ASSERT_TRUE(file.objects.size() < full.objects.size() || onlySpaceCut) << length;
            for (std::size_t i = 0; i < file.objects.size(); ++i) {
                EXPECT_EQ(file.objects[i]->templateName, full.objects[i]->templateName) << length;
            }
            continue;
        }
        ++failures;
        EXPECT_TRUE(status.code == XError::NotAnXFile || status.code == XError::Truncated ||
                    status.code == XError::Syntax || status.code == XError::SizeMismatch ||
                    status.code == XError::BadCompressedBlock || status.code == XError::TooLarge)
            << length << ": " << status.message;
    }
    // Only the cuts between objects succeed; everything inside the last object fails.
    EXPECT_GT(failures, static_cast<int>(whole.size()) / 2);
}

TEST(XFileMalformed, TruncationAtEveryLength) {
    CheckEveryTruncation("test_cube_text.x");
    CheckEveryTruncation("test_cube_binary.x");
    CheckEveryTruncation("malformed_fvf_texcoord_oob.x");
}

TEST(XFileMalformed, TruncatedCompressedFileAlwaysFails) {
    const std::vector<std::uint8_t> whole = xtest::LoadBytes("test_cube_compressed.x");
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const std::vector<std::uint8_t> part(whole.begin(),
                                             whole.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_NE(ReadCode(part), XError::None) << length;
    }
}

TEST(XFileMalformed, CompressedBlocks) {
    const std::vector<std::uint8_t> good = xtest::LoadBytes("test_cube_compressed.x");
    ASSERT_EQ(ReadCode(good), XError::None);
    constexpr std::size_t kBlock = xformat::kFirstBlockOffset;

    auto badSignature = good;
    badSignature[kBlock + 5] = 'X';
    EXPECT_EQ(ReadCode(badSignature), XError::BadCompressedBlock);

    auto oversize = good;  // compressed size past the end of the data
    PutLe16(&oversize, kBlock + 2, 752);
    EXPECT_EQ(ReadCode(oversize), XError::BadCompressedBlock);

    auto undersize = good;  // the stream does not end inside its stated bytes
    PutLe16(&undersize, kBlock + 2, 400);
    EXPECT_NE(ReadCode(undersize), XError::None);

    auto inflatesToMore = good;  // block states fewer bytes than the stream holds
    PutLe16(&inflatesToMore, kBlock, 2000);
    PutLe32(&inflatesToMore, xformat::kTotalSizeOffset, 2016);
    EXPECT_EQ(ReadCode(inflatesToMore), XError::SizeMismatch);

    auto inflatesToLess = good;
    PutLe16(&inflatesToLess, kBlock, 2801);
    PutLe32(&inflatesToLess, xformat::kTotalSizeOffset, 2817);
    EXPECT_EQ(ReadCode(inflatesToLess), XError::SizeMismatch);

    auto totalTooSmall = good;
    PutLe32(&totalTooSmall, xformat::kTotalSizeOffset, 2815);
    EXPECT_EQ(ReadCode(totalTooSmall), XError::SizeMismatch);

    auto totalTooLarge = good;
    PutLe32(&totalTooLarge, xformat::kTotalSizeOffset, 2817);
    EXPECT_EQ(ReadCode(totalTooLarge), XError::SizeMismatch);

    auto totalBelowHeader = good;
    PutLe32(&totalBelowHeader, xformat::kTotalSizeOffset, 3);
    EXPECT_EQ(ReadCode(totalBelowHeader), XError::SizeMismatch);

    auto totalAbsurd = good;
    PutLe32(&totalAbsurd, xformat::kTotalSizeOffset, 0xFFFFFFFFu);
    EXPECT_EQ(ReadCode(totalAbsurd), XError::TooLarge);
    // 100 MB of repeated text packs into some 100 KB, and its values into gigabytes.
    PutLe32(&totalAbsurd, xformat::kTotalSizeOffset, 100u * 1024u * 1024u);
    EXPECT_EQ(ReadCode(totalAbsurd), XError::TooLarge);

    auto garbage = good;  // not a deflate stream at all
    for (std::size_t i = kBlock + 6; i < kBlock + 40; ++i)
        garbage[i] = 0xFF;
    EXPECT_EQ(ReadCode(garbage), XError::BadCompressedBlock);

    auto trailingBytes = good;  // a partial block header after the last block
    trailingBytes.push_back(1);
    trailingBytes.push_back(0);
    EXPECT_EQ(ReadCode(trailingBytes), XError::Truncated);
}

TEST(XFileMalformed, CorruptRegressionFileFailsOnItsBlockSize) {
    XFile file;
    const XStatus status = ReadXFileFromPath(xtest::DataPath("OV_GetNextToken.x"), &file);
    EXPECT_EQ(status.code, XError::SizeMismatch);
    EXPECT_NE(status.message.find("2797"), std::string::npos) << status.message;
}

TEST(XFileMalformed, TextSyntax) {
    const std::string h = "xof 0303txt 0032\n";
    EXPECT_EQ(TextCode(h + "Frame A { Frame B { }\n"), XError::Truncated);
    EXPECT_EQ(TextCode(h + "Frame A { } } Frame B { }\n"), XError::Syntax);
    EXPECT_EQ(TextCode(h + "Frame A { }\n}\n} // surplus braces at the end\n"), XError::None);
    EXPECT_EQ(TextCode(h + "Frame A { \"open string }\n"), XError::Truncated);
    EXPECT_EQ(TextCode(h + "Frame A { <1234> }\n"), XError::Syntax);
    EXPECT_EQ(TextCode(h + "Frame A { <12345678-1234-1234-1234-1234567890AB"), XError::Truncated);
    EXPECT_EQ(TextCode(h + "Frame A { @ }\n"), XError::Syntax);
    EXPECT_EQ(TextCode(h + "Frame A { {} }\n"), XError::Syntax);
    EXPECT_EQ(TextCode(h + "Frame A { { B C } }\n"), XError::Syntax);
    EXPECT_EQ(TextCode(h + "Frame A B { }\n"), XError::Syntax);
    EXPECT_EQ(TextCode(h + "Vector { 99999999999999999999; }\n"), XError::TooLarge);
    EXPECT_EQ(TextCode(h + "Vector { 1e999; }\n"), XError::Syntax);
    EXPECT_EQ(TextCode(h + "template T { DWORD n; array DWORD v; }\n"), XError::Syntax);
    EXPECT_EQ(TextCode(h + "template T { <12345678-1234-1234-1234-1234567890AB> [. .] }\n"),
              XError::Syntax);
    EXPECT_EQ(TextCode(h + "template { }\n"), XError::Syntax);
    EXPECT_EQ(TextCode(h + "template T { DWORD n;"), XError::Truncated);
    EXPECT_EQ(TextCode(h + "{ Frame }\n"), XError::Syntax);
}

TEST(XFileMalformed, TemplatesThatHoldNoValuesCannotStallTheReader) {
    // A and B each hold two of the other; typing an object of A must give up, not branch
    // 2^16 ways, and the object keeps the values as read.
    std::string text = "xof 0303txt 0032\ntemplate A { B x; B y; }\ntemplate B { A a; A b; }\n";
    for (int i = 0; i < 2000; ++i)
        text += "A { 1; }\n";
    XFile file;
    ASSERT_TRUE(xtest::ReadText(text, &file).ok());
    EXPECT_EQ(file.objects.size(), 2000u);
    EXPECT_EQ(file.objects[0]->values[0].kind(), XValue::Kind::Integer);
}

TEST(XFileMalformed, TheTreeTakesAtMostABoundedMultipleOfTheFileInMemory) {
    // 100,000 repetitions of three bytes: a tiny child object, reference or string takes
    // far more memory than its text, a number at most eight times its text.
    const struct {
        const char* item;
        XError expected;
    } cases[] = {
        {"B{}", XError::TooLarge},
        {"{a}", XError::TooLarge},
        {"\"a\"", XError::TooLarge},
        {"12,", XError::None},
    };
    for (const auto& c : cases) {
        std::string text = "xof 0303txt 0032\nA {\n";
        for (int i = 0; i < 100000; ++i)
            text += c.item;
        text += "0;\n}\n";
        EXPECT_EQ(TextCode(text), c.expected) << c.item;
    }
}

TEST(XFileMalformed, NestingIsLimited) {
    auto nested = [](int depth) {
        std::string text = "xof 0303txt 0032\n";
        for (int i = 0; i < depth; ++i)
            text += "Frame {";
        for (int i = 0; i < depth; ++i)
            text += "}";
        return text;
    };
    EXPECT_EQ(TextCode(nested(64)), XError::None);
    EXPECT_EQ(TextCode(nested(65)), XError::TooDeep);
    EXPECT_EQ(TextCode(nested(200)), XError::TooDeep);

    xtest::BinaryWriter binary;
    for (int i = 0; i < 200; ++i)
        binary.Name("Frame").Token(Token::OpenBrace);
    for (int i = 0; i < 200; ++i)
        binary.Token(Token::CloseBrace);
    EXPECT_EQ(ReadCode(binary.bytes()), XError::TooDeep);
}

TEST(XFileMalformed, BinaryTokens) {
    {  // an integer list claiming 2^31 entries
        xtest::BinaryWriter w;
        w.Name("Mesh")
            .Token(Token::OpenBrace)
            .Token(Token::IntegerList)
            .Dword(0x80000000u)
            .Dword(1);
        EXPECT_EQ(ReadCode(w.bytes()), XError::TooLarge);
    }
    {  // a float list one entry longer than the data
        xtest::BinaryWriter w;
        w.Name("Vector").Token(Token::OpenBrace).Token(Token::FloatList).Dword(3).Dword(0).Dword(0);
        EXPECT_EQ(ReadCode(w.bytes()), XError::TooLarge);
    }
    {  // a name whose length runs past the end
        xtest::BinaryWriter w;
        w.Token(Token::Name).Dword(0xFFFFFFF0u).Dword(0x41414141);
        EXPECT_EQ(ReadCode(w.bytes()), XError::Truncated);
    }
    {  // names holding control bytes still give a one-line message
        xtest::BinaryWriter w;
        w.Name("Fr\name").Name("x\ny").Integers({1});
        EXPECT_EQ(ReadCode(w.bytes()), XError::Syntax);
        xtest::BinaryWriter mesh;
        mesh.Name("Mesh")
            .Name("m\r\n")
            .Token(Token::OpenBrace)
            .Integers({1})
            .Floats({0, 0, 0})
            .Integers({1, 3, 0, 0, 0, 1, 1, 0})
            .Name("MeshMaterialList")
            .Token(Token::OpenBrace)
            .Integers({1, 1, 0})
            .Token(Token::OpenBrace)
            .Name("no\nsuch")
            .Token(Token::CloseBrace)
            .Token(Token::CloseBrace)
            .Token(Token::CloseBrace);
        XFile file;
        ASSERT_TRUE(ReadXFile(mesh.bytes(), &file).ok());
        Mesh converted;
        const XStatus status = MeshFromXObject(*file.objects[0], &converted);
        EXPECT_EQ(status.code, XError::BadMesh);
        EXPECT_EQ(status.message.find_first_of("\r\n"), std::string::npos) << status.message;
    }
    {  // an unknown token id
        xtest::BinaryWriter w;
        w.Name("Frame").Token(Token::OpenBrace).Word(99).Token(Token::CloseBrace);
        EXPECT_EQ(ReadCode(w.bytes()), XError::Syntax);
    }
    {  // an odd trailing byte
        xtest::BinaryWriter w;
        w.Name("Frame").Token(Token::OpenBrace).Token(Token::CloseBrace);
        std::vector<std::uint8_t> data = w.bytes();
        data.push_back(0x0B);
        EXPECT_EQ(ReadCode(data), XError::Truncated);
    }
    {  // a GUID cut short
        xtest::BinaryWriter w;
        w.Name("Frame").Token(Token::OpenBrace).Token(Token::Guid).Dword(1);
        EXPECT_EQ(ReadCode(w.bytes()), XError::Truncated);
    }
    {  // an unclosed object
        xtest::BinaryWriter w;
        w.Name("Frame").Token(Token::OpenBrace).Integers({1, 2, 3});
        EXPECT_EQ(ReadCode(w.bytes()), XError::Truncated);
    }
    {  // a million empty lists in a row (6 MB) are skipped without a call each on the stack
        xtest::BinaryWriter w;
        w.Name("Header").Token(Token::OpenBrace);
        for (int i = 0; i < 1000000; ++i)
            w.Token(i % 2 == 0 ? Token::IntegerList : Token::FloatList).Dword(0);
        w.Integers({1, 0, 1}).Token(Token::CloseBrace);
        XFile file;
        ASSERT_TRUE(ReadXFile(w.bytes(), &file).ok());
        EXPECT_EQ(file.objects[0]->values.size(), 3u);
    }
}

TEST(XFileMalformed, AbsurdCountsReadButDoNotConvert) {
    // The reader keeps the values; the mesh conversion checks counts against them.
    xtest::BinaryWriter w;
    w.Name("Mesh")
        .Token(Token::OpenBrace)
        .Integers({0x80000000u})
        .Floats({0, 0, 0})
        .Integers({1, 3, 0, 0, 0})
        .Token(Token::CloseBrace);
    XFile file;
    ASSERT_TRUE(ReadXFile(w.bytes(), &file).ok());
    Mesh mesh;
    EXPECT_EQ(MeshFromXObject(*file.objects[0], &mesh).code, XError::BadMesh);

    xtest::BinaryWriter past;
    past.Name("Mesh")
        .Token(Token::OpenBrace)
        .Integers({1})
        .Floats({0, 0, 0})
        .Integers({1, 3, 0, 0, 7})
        .Token(Token::CloseBrace);
    ASSERT_TRUE(ReadXFile(past.bytes(), &file).ok());
    EXPECT_EQ(MeshFromXObject(*file.objects[0], &mesh).code, XError::BadMesh);
}

TEST(XFileMalformed, SingleByteCorruptionsNeverCrash) {
    // Every byte of the binary cube set to a few telling values: the reader either
    // succeeds or reports an error, and conversion of what it read does the same.
    const std::vector<std::uint8_t> good = xtest::LoadBytes("test_cube_binary.x");
    int failures = 0;
    for (std::size_t i = 16; i < good.size(); ++i) {
        for (std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0x7F}, std::uint8_t{0xFF}}) {
            std::vector<std::uint8_t> data = good;
            if (data[i] == value)
                continue;
            data[i] = value;
            XFile file;
            if (!ReadXFile(data, &file).ok()) {
                ++failures;
                continue;
            }
            std::vector<FramedMesh> meshes;
            CollectMeshes(file, &meshes);
        }
    }
    EXPECT_GT(failures, 0);
}

}  // namespace
}  // namespace tetrakon
