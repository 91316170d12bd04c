#pragma once

// Helpers for the X file writer tests: reading what was written, and comparing two trees
// the way the writer promises to keep them (numbers equal as 32-bit floats).

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "gfxutil/xfile/xfile.h"
#include "tests/gfxutil/xfile_test_support.h"

namespace tetrakon::xwritetest {

inline std::string XFilesDir() {
    return std::string(TETRAKON_TEST_DATA) + "/xfiles";
}

inline XStatus ReadBack(const std::string& text, XFile* out) {
    const std::vector<std::uint8_t> data(text.begin(), text.end());
    return ReadXFile(data, out);
}

// Trees that went through the writer must come back with the very same floats.
inline void ExpectSameTree(const XFile& a, const XFile& b) {
    xtest::ExpectSameTree(a, b, xtest::NumberMatch::Exact);
}

// Tree-building shorthands.
inline XValue Int(std::int64_t value) {
    return XValue::Integer(value);
}
inline XValue Num(double value) {
    return XValue::Float(value);
}
inline XValue Str(std::string text) {
    return XValue::String(std::move(text));
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
