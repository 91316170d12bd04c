// The text encoding: templates, then data objects, each value followed by the separators its
// template gives it, floats in the shortest form that reads back to the same float.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "gfxutil/xfile/xfile.h"
#include "gfxutil/xfile/xfile_templates.h"
#include "gfxutil/xfile/xfile_writer_layout.h"

namespace tetrakon {
namespace {

// Nesting beyond this is refused rather than risking the stack on a malformed tree.
constexpr int kMaxObjectDepth = 256;

XStatus WriteFailure(std::string message) {
    return XStatus{XError::WriteFailed, std::move(message)};
}

// Names the text reader accepts: a letter or '_', then letters, digits, '_' and '-'.
bool IsTextName(std::string_view name) {
    if (name.empty())
        return false;
    const auto letter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    };
    if (!letter(name.front()))
        return false;
    for (char c : name) {
        if (!letter(c) && !(c >= '0' && c <= '9') && c != '-')
            return false;
    }
    return true;
}

// GUIDs are written between angle brackets; only hex digits and dashes may appear.
bool IsGuidText(std::string_view guid) {
    if (guid.size() != 36)
        return false;
    for (std::size_t i = 0; i < guid.size(); ++i) {
        const char c = guid[i];
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (dash ? c != '-' : !hex)
            return false;
    }
    return true;
}

class TextWriter {
  public:
    explicit TextWriter(const XFile& file) : file_(file), templates_(file) {}

    XStatus Write(std::string* out) {
        text_ = "xof 0303txt 0032\n";
        for (const XTemplate& definition : file_.templates) {
            if (XStatus status = WriteTemplate(definition); !status.ok())
                return status;
        }
        for (const auto& object : file_.objects) {
            if (object == nullptr)
                return WriteFailure("empty top-level object");
            text_ += '\n';
            if (XStatus status = WriteObject(*object, 0); !status.ok())
                return status;
        }
        *out = std::move(text_);
        return {};
    }

  private:
    XStatus WriteTemplate(const XTemplate& definition) {
        if (!IsTextName(definition.name)) {
            return WriteFailure("template name \"" + definition.name + "\" cannot be written");
        }
        if (!IsGuidText(definition.guid)) {
            return WriteFailure("template " + definition.name + " has no valid GUID");
        }
        text_ += "\ntemplate " + definition.name + " {\n <" + definition.guid + ">\n";
        for (const XTemplateMember& member : definition.members) {
            if (!IsTextName(member.typeName) ||
                (!member.name.empty() && !IsTextName(member.name))) {
                return WriteFailure("template " + definition.name + " has a bad member");
            }
            text_ += ' ';
            if (member.isArray) {
                if (member.dimensions.empty() || member.name.empty()) {
                    return WriteFailure("template " + definition.name + " has a bad array");
                }
                text_ += "array ";
            }
            // Binary files name the string type LPSTR; its text keyword is STRING.
            text_ += member.typeName == "LPSTR" ? std::string("STRING") : member.typeName;
            if (!member.name.empty())
                text_ += ' ' + member.name;
            for (const std::string& dimension : member.dimensions) {
                const bool constant = !dimension.empty() && dimension.find_first_not_of(
                                                                "0123456789") == std::string::npos;
                if (!constant && !IsTextName(dimension)) {
                    return WriteFailure("template " + definition.name + " has a bad dimension");
                }
                text_ += '[' + dimension + ']';
            }
            text_ += ";\n";
        }
        switch (definition.restriction) {
            case XTemplate::Restriction::Closed:
                break;
            case XTemplate::Restriction::Open:
                text_ += " [...]\n";
                break;
            case XTemplate::Restriction::Restricted: {
                text_ += " [";
                for (std::size_t i = 0; i < definition.allowedTypes.size(); ++i) {
                    if (!IsTextName(definition.allowedTypes[i])) {
                        return WriteFailure("template " + definition.name +
                                            " has a bad restriction");
                    }
                    text_ += (i > 0 ? ", " : "") + definition.allowedTypes[i];
                }
                text_ += "]\n";
                break;
            }
        }
        text_ += "}\n";
        return {};
    }

    XStatus WriteObject(const XDataObject& object, int depth) {
        if (depth > kMaxObjectDepth)
            return WriteFailure("objects nested too deeply");
        if (!IsTextName(object.templateName)) {
            return WriteFailure("object type \"" + object.templateName + "\" cannot be written");
        }
        if (!object.name.empty() && !IsTextName(object.name)) {
            return WriteFailure("object name \"" + object.name + "\" cannot be written as text");
        }
        Indent(depth);
        text_ += object.templateName;
        if (!object.name.empty())
            text_ += ' ' + object.name;
        text_ += " {\n";
        if (!object.guid.empty()) {
            if (!IsGuidText(object.guid))
                return WriteFailure("bad GUID on " + object.templateName);
            Indent(depth + 1);
            text_ += '<' + object.guid + ">\n";
        }
        if (XStatus status = WriteValues(object, depth + 1); !status.ok())
            return status;
        for (const XChild& child : object.children) {
            if (child.object != nullptr) {
                if (XStatus status = WriteObject(*child.object, depth + 1); !status.ok()) {
                    return status;
                }
                continue;
            }
            if (!child.referenceName.empty() && !IsTextName(child.referenceName)) {
                return WriteFailure("reference \"" + child.referenceName + "\" cannot be written");
            }
            if (!child.referenceGuid.empty() && !IsGuidText(child.referenceGuid)) {
                return WriteFailure("reference with a bad GUID");
            }
            if (child.referenceName.empty() && child.referenceGuid.empty()) {
                return WriteFailure("reference without a name or GUID");
            }
            Indent(depth + 1);
            text_ += "{ " + child.referenceName;
            if (!child.referenceGuid.empty()) {
                text_ += (child.referenceName.empty() ? "<" : " <") + child.referenceGuid + '>';
            }
            text_ += " }\n";
        }
        Indent(depth);
        text_ += "}\n";
        return {};
    }

    XStatus WriteValues(const XDataObject& object, int depth) {
        const std::vector<XValueSlot> slots = LayOutValues(object, templates_);
        bool lineStart = true;
        for (std::size_t i = 0; i < slots.size(); ++i) {
            if (lineStart)
                Indent(depth);
            if (XStatus status = AppendValue(object.values[i], slots[i].type); !status.ok()) {
                return WriteFailure(status.message + " in " + object.templateName);
            }
            text_ += slots[i].separators;
            lineStart = slots[i].lineBreak || i + 1 == slots.size();
            if (lineStart)
                text_ += '\n';
        }
        return {};
    }

    XStatus AppendValue(const XValue& value, XSlotType type) {
        switch (type) {
            case XSlotType::String:
                if (value.text().find('"') != std::string::npos) {
                    return WriteFailure("a string holds a double quote");
                }
                text_ += '"' + value.text() + '"';
                return {};
            case XSlotType::Integer: {
                if (value.integer() < std::numeric_limits<std::int32_t>::min() ||
                    value.integer() > std::numeric_limits<std::uint32_t>::max()) {
                    return WriteFailure("an integer does not fit 32 bits");
                }
                text_ += std::to_string(value.integer());
                return {};
            }
            case XSlotType::Float: {
                const float number = value.AsFloat();
                if (!std::isfinite(number))
                    return WriteFailure("a number is not a finite float");
                char buffer[32];
                const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
                std::string_view digits(buffer, static_cast<std::size_t>(result.ptr - buffer));
                text_ += digits;
                // Without a point or exponent the reader would take it for an integer.
                if (digits.find_first_of(".e") == std::string_view::npos)
                    text_ += ".0";
                return {};
            }
        }
        return {};
    }

    void Indent(int depth) { text_.append(static_cast<std::size_t>(depth), ' '); }

    const XFile& file_;
    const XTemplateLookup templates_;
    std::string text_;
};

}  // namespace

XStatus WriteXFileText(const XFile& file, std::string* out) {
    if (out == nullptr)
        return WriteFailure("no output given");
    return TextWriter(file).Write(out);
}

}  // namespace tetrakon
