// The compressed writer: the exact binary token stream of a small tree, and the container
// around it (header, total size, block headers, "CK", dictionary chaining between blocks),
// checked with zlib directly rather than through the reader.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "gfxutil/xfile/xfile.h"
#include "gfxutil/xfile/xfile_writer_container.h"
#include "tests/gfxutil/xfile_write_test_support.h"

namespace tetrakon {
namespace {

using xwritetest::AddChild;
using xwritetest::AddReference;
using xwritetest::Int;
using xwritetest::Num;
using xwritetest::Object;
using xwritetest::Str;

std::uint32_t U16(const std::vector<std::uint8_t>& data, std::size_t at) {
    return data[at] | (data[at + 1] << 8);
}
std::uint32_t U32(const std::vector<std::uint8_t>& data, std::size_t at) {
    return U16(data, at) | (U16(data, at + 2) << 16);
}

struct Block {
    std::size_t uncompressedSize = 0;
    std::size_t storedSize = 0;  // counting "CK"
    std::size_t payloadOffset = 0;
};

// Walks the block headers; every block must carry "CK" and the last must end at the end.
std::vector<Block> Blocks(const std::vector<std::uint8_t>& packed) {
    std::vector<Block> blocks;
    std::size_t at = 20;
    while (at < packed.size()) {
        EXPECT_LE(at + 6, packed.size());
        if (at + 6 > packed.size())
            break;
        Block block{U16(packed, at), U16(packed, at + 2), at + 6};
        EXPECT_EQ(packed[at + 4], 'C');
        EXPECT_EQ(packed[at + 5], 'K');
        EXPECT_LE(at + 4 + block.storedSize, packed.size());
        blocks.push_back(block);
        at += 4 + block.storedSize;
    }
    EXPECT_EQ(at, packed.size());
    return blocks;
}

// Raw inflate of one block, primed with `dictionary`; false when zlib rejects it.
bool Inflate(const std::vector<std::uint8_t>& packed, const Block& block,
             const std::vector<std::uint8_t>& dictionary, std::vector<std::uint8_t>* out) {
    z_stream stream{};
    if (inflateInit2(&stream, -15) != Z_OK)
        return false;
    bool ok =
        dictionary.empty() || inflateSetDictionary(&stream, dictionary.data(),
                                                   static_cast<uInt>(dictionary.size())) == Z_OK;
    out->assign(block.uncompressedSize + 1, 0);
    stream.next_in = const_cast<Bytef*>(packed.data() + block.payloadOffset);
    stream.avail_in = static_cast<uInt>(block.storedSize - 2);
    stream.next_out = out->data();
    stream.avail_out = static_cast<uInt>(out->size());
    ok = ok && inflate(&stream, Z_FINISH) == Z_STREAM_END && stream.avail_in == 0;
    out->resize(stream.total_out);
    inflateEnd(&stream);
    return ok;
}

// The uncompressed body after the header, decoded block by block as the format says.
std::vector<std::uint8_t> Unpack(const std::vector<std::uint8_t>& packed) {
    std::vector<std::uint8_t> body;
    for (const Block& block : Blocks(packed)) {
        const std::size_t keep = std::min<std::size_t>(body.size(), 32768);
        const std::vector<std::uint8_t> dictionary(body.end() - static_cast<std::ptrdiff_t>(keep),
                                                   body.end());
        std::vector<std::uint8_t> out;
        EXPECT_TRUE(Inflate(packed, block, dictionary, &out));
        EXPECT_EQ(out.size(), block.uncompressedSize);
        body.insert(body.end(), out.begin(), out.end());
    }
    return body;
}

// Expected token bytes, built by hand.
class Tokens {
  public:
    Tokens& T(std::uint16_t token) {
        bytes.push_back(static_cast<std::uint8_t>(token));
        bytes.push_back(static_cast<std::uint8_t>(token >> 8));
        return *this;
    }
    Tokens& D(std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        return *this;
    }
    Tokens& F(float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return D(bits);
    }
    Tokens& Text(std::uint16_t token, const std::string& text) {
        T(token).D(static_cast<std::uint32_t>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    std::vector<std::uint8_t> bytes;
};

TEST(XFileCompressedWriter, WritesTheBinaryTokenStream) {
    XFile file;
    XTemplate pair;
    pair.name = "Pair";
    pair.guid = "00112233-4455-6677-8899-AABBCCDDEEFF";
    pair.members = {{"STRING", "key", false, {}}, {"FLOAT", "v", true, {"2"}}};
    pair.restriction = XTemplate::Restriction::Open;
    file.templates.push_back(pair);
    auto material = Object("Material", "M",
                           {Num(1), Num(0.5), Num(0.25), Int(1), Num(8), Num(0), Num(0), Num(0),
                            Num(0), Num(0), Num(0)});
    AddChild(material.get(), Object("TextureFilename", "", {Str("a.png")}));
    file.objects.push_back(std::move(material));
    auto list = Object("MeshMaterialList", "", {Int(1), Int(2), Int(0), Int(0)});
    AddReference(list.get(), "M");
    file.objects.push_back(std::move(list));
    file.objects.push_back(Object("Pair", "", {Str("k"), Num(1.5), Int(2)}));

    std::vector<std::uint8_t> packed;
    const XStatus status = WriteXFileCompressed(file, &packed);
    ASSERT_TRUE(status.ok()) << status.message;

    enum : std::uint16_t {
        kName = 1,
        kString = 2,
        kInteger = 3,
        kGuid = 5,
        kInts = 6,
        kFloats = 7
    };
    enum : std::uint16_t { kOpen = 10, kClose = 11, kOpenBracket = 14, kCloseBracket = 15 };
    enum : std::uint16_t { kDot = 18, kSemicolon = 20, kTemplate = 31, kFloat = 42, kLpstr = 49 };
    enum : std::uint16_t { kArray = 52 };
    Tokens expected;
    expected.T(kTemplate).Text(kName, "Pair").T(kOpen).T(kGuid);
    for (std::uint8_t b : {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB,
                           0xCC, 0xDD, 0xEE, 0xFF}) {
        expected.bytes.push_back(b);
    }
    expected.T(kLpstr).Text(kName, "key").T(kSemicolon);
    expected.T(kArray).T(kFloat).Text(kName, "v").T(kOpenBracket).T(kInteger).D(2);
    expected.T(kCloseBracket).T(kSemicolon);
    expected.T(kOpenBracket).T(kDot).T(kDot).T(kDot).T(kCloseBracket).T(kClose);
    // The material's integer power is stored as a float, in the same list as the colours.
    expected.Text(kName, "Material").Text(kName, "M").T(kOpen).T(kFloats).D(11);
    expected.F(1).F(0.5).F(0.25).F(1).F(8).F(0).F(0).F(0).F(0).F(0).F(0);
    expected.Text(kName, "TextureFilename").T(kOpen).Text(kString, "a.png").T(kSemicolon);
    expected.T(kClose).T(kClose);
    expected.Text(kName, "MeshMaterialList").T(kOpen).T(kInts).D(4).D(1).D(2).D(0).D(0);
    expected.T(kOpen).Text(kName, "M").T(kClose).T(kClose);
    expected.Text(kName, "Pair").T(kOpen).Text(kString, "k").T(kSemicolon);
    expected.T(kFloats).D(2).F(1.5).F(2).T(kClose);

    EXPECT_EQ(Unpack(packed), expected.bytes);
    ASSERT_GE(packed.size(), 20u);
    EXPECT_EQ(std::string(packed.begin(), packed.begin() + 16), "xof 0303bzip0032");
    EXPECT_EQ(U32(packed, 16), 16 + expected.bytes.size());
    const std::vector<Block> blocks = Blocks(packed);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].uncompressedSize, expected.bytes.size());
}

// Many similar frames, well over 64 KB once written, so that later blocks lean on the
// dictionary of earlier ones.
XFile BigScene() {
    XFile file;
    for (int i = 0; i < 700; ++i) {
        auto frame = Object("Frame", "Piece" + std::to_string(i));
        std::vector<XValue> matrix;
        for (int k = 0; k < 16; ++k)
            matrix.push_back(Num(k % 5 == 0 ? 1.0 : 0.0));
        matrix[12] = Num(i * 0.25);
        AddChild(frame.get(), Object("FrameTransformMatrix", "", std::move(matrix)));
        std::vector<XValue> mesh = {Int(4)};
        for (int v = 0; v < 12; ++v)
            mesh.push_back(Num((v * 7 + i) % 11 * 0.5));
        for (std::int64_t index : {2, 3, 0, 1, 2, 3, 0, 2, 3})
            mesh.push_back(Int(index));
        AddChild(frame.get(), Object("Mesh", "", std::move(mesh)));
        file.objects.push_back(std::move(frame));
    }
    return file;
}

TEST(XFileCompressedWriter, ChainsBlocksThroughThePresetDictionary) {
    const XFile scene = BigScene();
    std::vector<std::uint8_t> packed;
    ASSERT_TRUE(WriteXFileCompressed(scene, &packed).ok());

    const std::vector<std::uint8_t> body = Unpack(packed);
    ASSERT_GT(body.size(), 64u * 1024u);
    EXPECT_EQ(U32(packed, 16), 16 + body.size());
    const std::vector<Block> blocks = Blocks(packed);
    ASSERT_EQ(blocks.size(), (body.size() + 32767) / 32768);
    for (std::size_t i = 0; i + 1 < blocks.size(); ++i)
        EXPECT_EQ(blocks[i].uncompressedSize, 32768u);
    // Without the earlier data as dictionary the later blocks do not decode.
    for (std::size_t i = 1; i < blocks.size(); ++i) {
        std::vector<std::uint8_t> out;
        EXPECT_FALSE(Inflate(packed, blocks[i], {}, &out)) << "block " << i;
    }

    XFile back;
    const XStatus status = ReadXFile(packed, &back);
    ASSERT_TRUE(status.ok()) << status.message;
    xwritetest::ExpectSameTree(scene, back);
}

TEST(XFileCompressedWriter, IsDeterministic) {
    std::vector<std::uint8_t> first;
    std::vector<std::uint8_t> second;
    ASSERT_TRUE(WriteXFileCompressed(BigScene(), &first).ok());
    ASSERT_TRUE(WriteXFileCompressed(BigScene(), &second).ok());
    EXPECT_EQ(first, second);
}

// Incompressible data of exactly two full blocks: no empty third block, and stored deflate
// blocks still fit the 16-bit size field.
TEST(XFileCompressedWriter, ContainerHandlesIncompressibleFullBlocks) {
    std::vector<std::uint8_t> file(16 + 2 * 32768);
    std::memcpy(file.data(), "xof 0303bin 0032", 16);
    std::uint32_t state = 12345;
    for (std::size_t i = 16; i < file.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        file[i] = static_cast<std::uint8_t>(state >> 24);
    }
    std::vector<std::uint8_t> packed;
    ASSERT_TRUE(CompressXContainer(file, "bzip", &packed).ok());
    EXPECT_EQ(std::string(packed.begin(), packed.begin() + 16), "xof 0303bzip0032");
    const std::vector<Block> blocks = Blocks(packed);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_GT(blocks[0].storedSize, 32768u);
    EXPECT_EQ(Unpack(packed), std::vector<std::uint8_t>(file.begin() + 16, file.end()));
}

TEST(XFileCompressedWriter, RefusesBadInput) {
    XFile badGuid;
    badGuid.objects.push_back(Object("Frame", "F"));
    badGuid.objects[0]->guid = "zz";
    std::vector<std::uint8_t> packed = {1, 2, 3};
    EXPECT_EQ(WriteXFileCompressed(badGuid, &packed).code, XError::WriteFailed);
    EXPECT_EQ(packed, (std::vector<std::uint8_t>{1, 2, 3}));

    XFile huge;
    huge.objects.push_back(Object("Header", "", {Int(1), Int(0), Int(-(std::int64_t{1} << 33))}));
    EXPECT_EQ(WriteXFileCompressed(huge, &packed).code, XError::WriteFailed);
    EXPECT_EQ(WriteXFileCompressed(XFile{}, nullptr).code, XError::WriteFailed);
    EXPECT_EQ(CompressXContainer(std::vector<std::uint8_t>(10), "bzip", &packed).code,
              XError::WriteFailed);
}

}  // namespace
}  // namespace tetrakon
