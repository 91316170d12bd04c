#pragma once

// Helpers for the X file tests: loading the test files, comparing trees, and building
// binary and compressed inputs byte by byte.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfxutil/xfile/xfile.h"
#include "gfxutil/xfile/xfile_format.h"

namespace tetrakon::xtest {

inline std::string DataPath(const std::string& name) {
    return std::string(TETRAKON_TEST_DATA) + "/xfiles/" + name;
}

inline std::vector<std::uint8_t> LoadBytes(const std::string& name) {
    std::ifstream in(DataPath(name), std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

inline XStatus ReadText(const std::string& text, XFile* out) {
    const std::vector<std::uint8_t> data = Bytes(text);
    return ReadXFile(data, out);
}

// Depth-first list of every data object, parents before children.
inline void AllObjects(const XDataObject& object, std::vector<const XDataObject*>* out) {
    out->push_back(&object);
    for (const XChild& child : object.children) {
        if (child.object)
            AllObjects(*child.object, out);
    }
}

inline std::vector<const XDataObject*> AllObjects(const XFile& file) {
    std::vector<const XDataObject*> out;
    for (const auto& object : file.objects)
        AllObjects(*object, &out);
    return out;
}

inline std::vector<const XDataObject*> ObjectsOfType(const XFile& file, const std::string& type) {
    std::vector<const XDataObject*> out;
    for (const XDataObject* object : AllObjects(file)) {
        if (object->templateName == type)
            out.push_back(object);
    }
    return out;
}

inline const XDataObject* ChildOfType(const XDataObject& object, const std::string& type) {
    for (const XChild& child : object.children) {
        if (child.object && child.object->templateName == type)
            return child.object.get();
    }
    return nullptr;
}

// How closely the numbers of two trees must agree: bit for bit as stored floats, or within
// 1e-5 (a text file writes fewer digits than a binary one stores).
enum class NumberMatch { Exact, Close };

inline std::uint32_t FloatBits(const XValue& value) {
    const float number = value.AsFloat();
    std::uint32_t bits = 0;
    std::memcpy(&bits, &number, sizeof bits);
    return bits;
}

inline void ExpectSameValue(const XValue& a, const XValue& b, NumberMatch match,
                            const std::string& where) {
    const bool aString = a.kind() == XValue::Kind::String;
    ASSERT_EQ(aString, b.kind() == XValue::Kind::String) << where;
    if (aString) {
        EXPECT_EQ(a.text(), b.text()) << where;
    } else if (a.kind() == XValue::Kind::Integer && b.kind() == XValue::Kind::Integer) {
        EXPECT_EQ(a.integer(), b.integer()) << where;
    } else if (match == NumberMatch::Exact) {
        EXPECT_EQ(FloatBits(a), FloatBits(b))
            << where << ": " << a.AsDouble() << " vs " << b.AsDouble();
    } else {
        EXPECT_NEAR(a.AsDouble(), b.AsDouble(), 1e-5) << where;
    }
}

inline void ExpectSameObject(const XDataObject& a, const XDataObject& b, NumberMatch match,
                             const std::string& path) {
    const std::string here = path + "/" + a.templateName + ":" + a.name;
    EXPECT_EQ(a.templateName, b.templateName) << here;
    EXPECT_EQ(a.name, b.name) << here;
    EXPECT_EQ(a.guid, b.guid) << here;
    ASSERT_EQ(a.values.size(), b.values.size()) << here;
    for (std::size_t i = 0; i < a.values.size(); ++i) {
        ExpectSameValue(a.values[i], b.values[i], match, here + " value " + std::to_string(i));
    }
    ASSERT_EQ(a.children.size(), b.children.size()) << here;
    for (std::size_t i = 0; i < a.children.size(); ++i) {
        const XChild& ca = a.children[i];
        const XChild& cb = b.children[i];
        ASSERT_EQ(ca.IsReference(), cb.IsReference()) << here << " child " << i;
        if (!ca.IsReference()) {
            ExpectSameObject(*ca.object, *cb.object, match, here);
            continue;
        }
        EXPECT_EQ(ca.referenceName, cb.referenceName) << here;
        EXPECT_EQ(ca.referenceGuid, cb.referenceGuid) << here;
        // A tree built in memory has unresolved references; the reader resolves them.
        if (ca.resolved != nullptr) {
            ASSERT_NE(cb.resolved, nullptr) << here << " " << ca.referenceName;
            EXPECT_EQ(ca.resolved->templateName, cb.resolved->templateName) << here;
            EXPECT_EQ(ca.resolved->name, cb.resolved->name) << here;
        }
    }
}

inline void ExpectSameTree(const XFile& a, const XFile& b, NumberMatch match = NumberMatch::Close) {
    ASSERT_EQ(a.templates.size(), b.templates.size());
    for (std::size_t i = 0; i < a.templates.size(); ++i) {
        const XTemplate& ta = a.templates[i];
        const XTemplate& tb = b.templates[i];
        EXPECT_EQ(ta.name, tb.name);
        EXPECT_EQ(ta.guid, tb.guid) << ta.name;
        EXPECT_EQ(ta.restriction, tb.restriction) << ta.name;
        EXPECT_EQ(ta.allowedTypes, tb.allowedTypes) << ta.name;
        ASSERT_EQ(ta.members.size(), tb.members.size()) << ta.name;
        for (std::size_t m = 0; m < ta.members.size(); ++m) {
            EXPECT_EQ(ta.members[m].typeName, tb.members[m].typeName) << ta.name;
            EXPECT_EQ(ta.members[m].name, tb.members[m].name) << ta.name;
            EXPECT_EQ(ta.members[m].isArray, tb.members[m].isArray) << ta.name;
            EXPECT_EQ(ta.members[m].dimensions, tb.members[m].dimensions) << ta.name;
        }
    }
    ASSERT_EQ(a.objects.size(), b.objects.size());
    for (std::size_t i = 0; i < a.objects.size(); ++i) {
        ExpectSameObject(*a.objects[i], *b.objects[i], match, "");
    }
}

// Builds a binary X body token by token.
class BinaryWriter {
  public:
    explicit BinaryWriter(const char* header = "xof 0303bin 0032") : bytes_(Bytes(header)) {}

    BinaryWriter& Token(xformat::Token token) {
        Word(static_cast<std::uint16_t>(token));
        return *this;
    }
    BinaryWriter& Word(std::uint16_t value) {
        bytes_.push_back(static_cast<std::uint8_t>(value));
        bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
        return *this;
    }
    BinaryWriter& Dword(std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        return *this;
    }
    BinaryWriter& Name(const std::string& name) {
        Token(xformat::Token::Name).Dword(static_cast<std::uint32_t>(name.size()));
        bytes_.insert(bytes_.end(), name.begin(), name.end());
        return *this;
    }
    BinaryWriter& String(const std::string& text) {
        Token(xformat::Token::String).Dword(static_cast<std::uint32_t>(text.size()));
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        return Token(xformat::Token::Semicolon);
    }
    BinaryWriter& Integers(const std::vector<std::uint32_t>& values) {
        Token(xformat::Token::IntegerList).Dword(static_cast<std::uint32_t>(values.size()));
        for (std::uint32_t v : values)
            Dword(v);
        return *this;
    }
    BinaryWriter& Floats(const std::vector<double>& values, int bits = 32) {
        Token(xformat::Token::FloatList).Dword(static_cast<std::uint32_t>(values.size()));
        for (double v : values) {
            if (bits == 64) {
                std::uint64_t raw = 0;
                std::memcpy(&raw, &v, sizeof raw);
                for (int i = 0; i < 8; ++i)
                    bytes_.push_back(static_cast<std::uint8_t>(raw >> (8 * i)));
            } else {
                const float f = static_cast<float>(v);
                std::uint32_t raw = 0;
                std::memcpy(&raw, &f, sizeof raw);
                Dword(raw);
            }
        }
        return *this;
    }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
};

// Packs a whole uncompressed file (header included) into the compressed container with
// the given block size, each block using the earlier output as its dictionary.
inline std::vector<std::uint8_t> Compress(const std::vector<std::uint8_t>& file, const char* header,
                                          std::size_t blockSize) {
    std::vector<std::uint8_t> out = Bytes(header);
    const auto total = static_cast<std::uint32_t>(file.size());
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(total >> (8 * i)));
    for (std::size_t pos = xformat::kHeaderSize; pos < file.size(); pos += blockSize) {
        const std::size_t size = std::min(blockSize, file.size() - pos);
        z_stream z{};
        EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
        const std::size_t dictionaryStart =
            pos - std::min<std::size_t>(pos - xformat::kHeaderSize, xformat::kDictionarySize);
        if (pos > dictionaryStart) {
            deflateSetDictionary(&z, file.data() + dictionaryStart,
                                 static_cast<uInt>(pos - dictionaryStart));
        }
        std::vector<std::uint8_t> packed(deflateBound(&z, static_cast<uLong>(size)) + 16);
        z.next_in = const_cast<Bytef*>(file.data() + pos);
        z.avail_in = static_cast<uInt>(size);
        z.next_out = packed.data();
        z.avail_out = static_cast<uInt>(packed.size());
        EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
        packed.resize(packed.size() - z.avail_out);
        deflateEnd(&z);
        const auto compressed = static_cast<std::uint16_t>(packed.size() + 2);
        out.push_back(static_cast<std::uint8_t>(size));
        out.push_back(static_cast<std::uint8_t>(size >> 8));
        out.push_back(static_cast<std::uint8_t>(compressed));
        out.push_back(static_cast<std::uint8_t>(compressed >> 8));
        out.push_back('C');
        out.push_back('K');
        out.insert(out.end(), packed.begin(), packed.end());
    }
    return out;
}

}  // namespace tetrakon::xtest
