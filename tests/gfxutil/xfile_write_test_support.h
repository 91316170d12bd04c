#pragma once

// Helpers for the X file writer tests: reading what was written, and comparing two trees
// the way the writer promises to keep them (numbers equal as 32-bit floats).

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "gfxutil/xfile.h"

namespace tetrakon::xwritetest {

inline std::string XFilesDir() {
    return std::string(TETRAKON_TEST_DATA) + "/xfiles";
}

inline XStatus ReadBack(const std::string& text, XFile* out) {
    const std::vector<std::uint8_t> data(text.begin(), text.end());
    return ReadXFile(data, out);
}

// The stored form of a number: text files may write a float member as "1".
inline std::uint32_t FloatBits(const XValue& value) {
    const float number = value.AsFloat();
    std::uint32_t bits = 0;
    std::memcpy(&bits, &number, sizeof bits);
    return bits;
}

inline std::string TypeKeyword(const std::string& typeName) {
    return typeName == "LPSTR" ? "STRING" : typeName;
}

inline void ExpectSameValue(const XValue& a, const XValue& b, const std::string& where) {
    const bool aString = a.kind == XValue::Kind::String;
    ASSERT_EQ(aString, b.kind == XValue::Kind::String) << where;
    if (aString) {
        EXPECT_EQ(a.text, b.text) << where;
    } else if (a.kind == XValue::Kind::Integer && b.kind == XValue::Kind::Integer) {
        EXPECT_EQ(a.integer, b.integer) << where;
    } else {
        EXPECT_EQ(FloatBits(a), FloatBits(b))
            << where << ": " << a.AsDouble() << " vs " << b.AsDouble();
    }
}

inline void ExpectSameObject(const XDataObject& a, const XDataObject& b, const std::string& path) {
    const std::string here = path + "/" + a.templateName + ":" + a.name;
    EXPECT_EQ(a.templateName, b.templateName) << here;
    EXPECT_EQ(a.name, b.name) << here;
    EXPECT_EQ(a.guid, b.guid) << here;
    ASSERT_EQ(a.values.size(), b.values.size()) << here;
    for (std::size_t i = 0; i < a.values.size(); ++i) {
        ExpectSameValue(a.values[i], b.values[i], here + " value " + std::to_string(i));
    }
    ASSERT_EQ(a.children.size(), b.children.size()) << here;
    for (std::size_t i = 0; i < a.children.size(); ++i) {
        const XChild& ca = a.children[i];
        const XChild& cb = b.children[i];
        ASSERT_EQ(ca.IsReference(), cb.IsReference()) << here << " child " << i;
        if (!ca.IsReference()) {
            ExpectSameObject(*ca.object, *cb.object, here);
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

inline void ExpectSameTree(const XFile& a, const XFile& b) {
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
            EXPECT_EQ(TypeKeyword(ta.members[m].typeName), TypeKeyword(tb.members[m].typeName))
                << ta.name;
            EXPECT_EQ(ta.members[m].name, tb.members[m].name) << ta.name;
            EXPECT_EQ(ta.members[m].isArray, tb.members[m].isArray) << ta.name;
            EXPECT_EQ(ta.members[m].dimensions, tb.members[m].dimensions) << ta.name;
        }
    }
    ASSERT_EQ(a.objects.size(), b.objects.size());
    for (std::size_t i = 0; i < a.objects.size(); ++i) {
        ExpectSameObject(*a.objects[i], *b.objects[i], "");
    }
}

// Tree-building shorthands.
inline XValue Int(std::int64_t value) {
    XValue v;
    v.kind = XValue::Kind::Integer;
    v.integer = value;
    return v;
}
inline XValue Num(double value) {
    XValue v;
    v.kind = XValue::Kind::Float;
    v.number = value;
    return v;
}
inline XValue Str(std::string text) {
    XValue v;
    v.kind = XValue::Kind::String;
    v.text = std::move(text);
    return v;
}

inline std::unique_ptr<XDataObject> Object(std::string type, std::string name,
                                           std::vector<XValue> values = {}) {
    auto object = std::make_unique<XDataObject>();
    object->templateName = std::move(type);
    object->name = std::move(name);
    object->values = std::move(values);
    return object;
}

inline XDataObject* AddChild(XDataObject* parent, std::unique_ptr<XDataObject> child) {
    XChild entry;
    entry.object = std::move(child);
    parent->children.push_back(std::move(entry));
    return parent->children.back().object.get();
}

inline void AddReference(XDataObject* parent, std::string name) {
    XChild entry;
    entry.referenceName = std::move(name);
    parent->children.push_back(std::move(entry));
}

}  // namespace tetrakon::xwritetest
