#pragma once

// The X model file format: the object tree, the reader and the writer.
//
// A file is a header, template definitions and data objects. A data object has a template
// type, an optional name and GUID, its data members (kept here as the flat list of values
// in file order, because both encodings let one list run across member boundaries) and
// its children, each either a nested data object or a reference to a named object.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "gfxutil/result.h"

namespace tetrakon {

enum class XEncoding { Text, Binary, CompressedText, CompressedBinary };

struct XHeader {
    int majorVersion = 3;
    int minorVersion = 3;
    XEncoding encoding = XEncoding::Text;
    int floatBits = 32;  // 32 or 64
};

// One member of a template definition: a primitive or template type, a name, and for an
// array its dimensions, each a constant or the name of an earlier member.
struct XTemplateMember {
    std::string typeName;  // "FLOAT", "DWORD", "STRING", ... or a template name
    std::string name;
    bool isArray = false;
    std::vector<std::string> dimensions;  // each a decimal constant or a member name
};

struct XTemplate {
    enum class Restriction { Closed, Open, Restricted };
    std::string name;
    std::string guid;  // "<xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx>" without the brackets
    std::vector<XTemplateMember> members;
    Restriction restriction = Restriction::Closed;
    std::vector<std::string> allowedTypes;  // for Restricted
};

// One data value: a whole number, a floating-point number or a string. A value is two
// words long, the string kept out of line, so that a file of numbers takes memory of the
// order of its own size rather than a string's worth per number.
class XValue {
  public:
    // In the order of the stored alternatives.
    enum class Kind : std::uint8_t { Integer, Float, String };

    XValue() = default;
    static XValue Integer(std::int64_t value) {
        return XValue(Stored(std::in_place_index<0>, value));
    }
    static XValue Float(double value) { return XValue(Stored(std::in_place_index<1>, value)); }
    static XValue String(std::string text) {
        return XValue(Stored(std::in_place_index<2>, Text(std::move(text))));
    }

    Kind kind() const { return static_cast<Kind>(stored_.index()); }
    // Each accessor gives zero (or the empty string) for a value of another kind.
    std::int64_t integer() const {
        const auto* value = std::get_if<0>(&stored_);
        return value != nullptr ? *value : 0;
    }
    double number() const {
        const auto* value = std::get_if<1>(&stored_);
        return value != nullptr ? *value : 0;
    }
    const std::string& text() const;

    // Numbers read either way: text files write floats like "1" and integers are exact.
    double AsDouble() const {
        return kind() == Kind::Integer ? static_cast<double>(integer()) : number();
    }
    float AsFloat() const { return static_cast<float>(AsDouble()); }

  private:
    // A string on the heap, copied with its value.
    class Text {
      public:
        explicit Text(std::string text) : text_(std::make_unique<std::string>(std::move(text))) {}
        Text(const Text& other) : text_(std::make_unique<std::string>(*other.text_)) {}
        Text(Text&&) noexcept = default;
        Text& operator=(const Text& other) {
            text_ = std::make_unique<std::string>(*other.text_);
            return *this;
        }
        Text& operator=(Text&&) noexcept = default;
        const std::string& get() const { return *text_; }

      private:
        std::unique_ptr<std::string> text_;
    };
    using Stored = std::variant<std::int64_t, double, Text>;

    explicit XValue(Stored stored) : stored_(std::move(stored)) {}

    Stored stored_;
};
static_assert(sizeof(XValue) <= 16, "a value stays two words long");

inline const std::string& XValue::text() const {
    static const std::string kNone;
    const Text* value = std::get_if<2>(&stored_);
    return value != nullptr ? value->get() : kNone;
}

struct XDataObject;

// A child is a nested data object or a reference to a named (or GUID-named) object.
struct XChild {
    std::unique_ptr<XDataObject> object;
    std::string referenceName;
    std::string referenceGuid;
    const XDataObject* resolved = nullptr;  // the referenced object, when found

    bool IsReference() const { return object == nullptr; }
};

struct XDataObject {
    std::string templateName;
    std::string name;  // empty when unnamed
    std::string guid;
    std::vector<XValue> values;
    std::vector<XChild> children;
};

struct XFile {
    XHeader header;
    std::vector<XTemplate> templates;
    std::vector<std::unique_ptr<XDataObject>> objects;  // top-level data objects, in file order
};

// Result codes of the reader and writer, in the framework's style: negative failures.
enum class XError : std::int32_t {
    None = 0,
    NotAnXFile = -1,  // empty, short, or no "xof " magic
    BadVersion = -2,
    UnknownEncoding = -3,     // neither txt, bin, tzip nor bzip, or a float size not 32/64
    Truncated = -4,           // the data ends inside a token, object or block
    BadCompressedBlock = -5,  // wrong signature, sizes past the end, or inflate failure
    SizeMismatch = -6,        // decompressed size differs from the stated size
    Syntax = -7,              // unexpected token, unbalanced braces
    TooDeep = -8,             // nesting beyond the reader's limit
    TooLarge = -9,            // a count or size past what the data can hold
    BadMesh = -10,            // a Mesh object whose counts or indices do not fit
    WriteFailed = -11,
};

struct XStatus {
    XError code = XError::None;
    std::string message;  // one line, for people
    bool ok() const { return code == XError::None; }
};

// Reads a whole file held in memory, of any encoding.
XStatus ReadXFile(std::span<const std::uint8_t> data, XFile* out);
XStatus ReadXFileFromPath(const std::string& path, XFile* out);

// Writes the tree in the text encoding ("xof 0303txt 0032").
XStatus WriteXFileText(const XFile& file, std::string* out);
// Writes the tree in the compressed binary encoding ("xof 0303bzip0032").
XStatus WriteXFileCompressed(const XFile& file, std::vector<std::uint8_t>* out);

}  // namespace tetrakon
