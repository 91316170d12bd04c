#pragma once

// Byte-level constants of the X file format shared by the reader and the writer: the
// 16-byte header, the binary token ids and the compressed container's block layout.

#include <cstddef>
#include <cstdint>

namespace tetrakon::xformat {

// Header: "xof " magic, "MMmm" version, 4-char encoding, "0032"/"0064" float size.
constexpr std::size_t kHeaderSize = 16;
constexpr char kMagic[] = "xof ";
constexpr std::size_t kMagicOffset = 0;
constexpr std::size_t kVersionOffset = 4;   // 2 digits major, 2 digits minor
constexpr std::size_t kEncodingOffset = 8;  // 4 chars
constexpr std::size_t kFloatSizeOffset = 12;
constexpr char kEncodingText[] = "txt ";
constexpr char kEncodingBinary[] = "bin ";
constexpr char kEncodingCompressedText[] = "tzip";
constexpr char kEncodingCompressedBinary[] = "bzip";
constexpr char kFloatSize32[] = "0032";
constexpr char kFloatSize64[] = "0064";

// Binary tokens, little-endian 16-bit words.
enum class Token : std::uint16_t {
    // Tokens followed by a record.
    Name = 1,         // u32 length, then that many bytes
    String = 2,       // u32 length, bytes, then a terminator token (Semicolon or Comma)
    Integer = 3,      // u32 value
    Guid = 5,         // u32, u16, u16, 8 bytes
    IntegerList = 6,  // u32 count, count x u32
    FloatList = 7,    // u32 count, count x float (4 or 8 bytes by the header's float size)
    // Stand-alone tokens.
    OpenBrace = 10,
    CloseBrace = 11,
    OpenParen = 12,
    CloseParen = 13,
    OpenBracket = 14,
    CloseBracket = 15,
    OpenAngle = 16,
    CloseAngle = 17,
    Dot = 18,
    Comma = 19,
    Semicolon = 20,
    Template = 31,
    Word = 40,
    Dword = 41,
    Float = 42,
    Double = 43,
    Char = 44,
    Uchar = 45,
    Sword = 46,
    Sdword = 47,
    Void = 48,
    Lpstr = 49,
    Unicode = 50,
    Cstring = 51,
    Array = 52,
};

constexpr std::size_t kTokenSize = 2;
constexpr std::size_t kGuidRecordSize = 16;

// Compressed container ("tzip"/"bzip"): after the header, a u32 LE total size of the
// uncompressed file counting the 16-byte header, then blocks until the data ends. Each
// block: u16 LE uncompressed size, u16 LE compressed size counting the 2 signature bytes,
// the signature "CK", then a raw deflate stream (no zlib header, window bits -15) that uses
// up to the last 32 KB of earlier output as its preset dictionary.
constexpr std::size_t kTotalSizeOffset = kHeaderSize;
constexpr std::size_t kFirstBlockOffset = kHeaderSize + 4;
constexpr std::size_t kBlockHeaderSize = 4;  // two u16 sizes, before the signature
constexpr char kBlockSignature[] = "CK";
constexpr std::size_t kBlockSignatureSize = 2;
constexpr std::size_t kMaxBlockUncompressedSize = 32768;
constexpr std::size_t kDictionarySize = 32768;
constexpr int kDeflateWindowBits = -15;

}  // namespace tetrakon::xformat
