#include "gfxutil/xfile/xfile_writer_layout.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <utility>

#include "gfxutil/xfile/xfile_templates.h"

namespace tetrakon {
namespace {

// Nesting deeper than this means a template that contains itself.
constexpr int kMaxTemplateDepth = 16;

// Values per text line in an array of primitives that is not inside an array element.
constexpr std::size_t kFloatsPerLine = 4;
constexpr std::size_t kIntegersPerLine = 12;

class LayoutWalker {
  public:
    LayoutWalker(const XDataObject& object, const XTemplateLookup& templates)
        : values_(object.values), templates_(templates) {}

    // Lays out the object's own template; each of its members ends a text line.
    bool WalkObject(const XTemplate& objectTemplate) {
        Scope scope;
        for (const XTemplateMember& member : objectTemplate.members) {
            if (!WalkMember(member, &scope, 1, false))
                return false;
            BreakLine();
        }
        return true;
    }

    std::vector<XValueSlot> TakeSlots() { return std::move(slots_); }

  private:
    // Integer members seen so far in one template instance, for array dimensions.
    using Scope = std::vector<std::pair<std::string, std::int64_t>>;

    bool WalkTemplate(const XTemplate& structure, int depth, bool inElement) {
        if (depth > kMaxTemplateDepth)
            return false;
        Scope scope;
        for (const XTemplateMember& member : structure.members) {
            if (!WalkMember(member, &scope, depth, inElement))
                return false;
        }
        return true;
    }

    bool WalkMember(const XTemplateMember& member, Scope* scope, int depth, bool inElement) {
        std::size_t count = 1;
        if (member.isArray && !ArrayCount(member, *scope, &count))
            return false;

        XSlotType type = XSlotType::Integer;
        if (PrimitiveSlotType(member.typeName, &type)) {
            const std::size_t perLine = type == XSlotType::Float     ? kFloatsPerLine
                                        : type == XSlotType::Integer ? kIntegersPerLine
                                                                     : 1;
            for (std::size_t i = 0; i < count; ++i) {
                if (!TakeValue(type))
                    return false;
                if (!member.isArray && type == XSlotType::Integer) {
                    scope->emplace_back(member.name, values_[slots_.size() - 1].integer());
                }
                if (i + 1 < count) {
                    AppendSeparator(",");
                    if (!inElement && (i + 1) % perLine == 0)
                        BreakLine();
                }
            }
            AppendSeparator(";");
            return true;
        }

        const XTemplate* structure = templates_.Find(member.typeName);
        if (structure == nullptr)
            return false;
        for (std::size_t i = 0; i < count; ++i) {
            const bool element = inElement || member.isArray;
            if (!WalkTemplate(*structure, depth + 1, element))
                return false;
            if (i + 1 < count)
                AppendSeparator(",");
            if (member.isArray && !inElement)
                BreakLine();
        }
        AppendSeparator(";");
        return true;
    }

    bool ArrayCount(const XTemplateMember& member, const Scope& scope, std::size_t* count) const {
        const std::size_t remaining = values_.size() - slots_.size();
        std::size_t total = 1;
        for (const std::string& dimension : member.dimensions) {
            std::int64_t size = -1;
            if (!dimension.empty() && std::all_of(dimension.begin(), dimension.end(),
                                                  [](char c) { return c >= '0' && c <= '9'; })) {
                size = dimension.size() <= 9 ? std::stoll(dimension) : -1;
            } else {
                for (auto it = scope.rbegin(); it != scope.rend(); ++it) {
                    if (it->first == dimension) {
                        size = it->second;
                        break;
                    }
                }
            }
            // Each element holds at least one value, so no count can pass what is left.
            if (size < 0 || static_cast<std::uint64_t>(size) > remaining)
                return false;
            total *= static_cast<std::size_t>(size);
            if (total > remaining)
                return false;
        }
        *count = total;
        return !member.dimensions.empty();
    }

    bool TakeValue(XSlotType type) {
        if (slots_.size() >= values_.size())
            return false;
        const XValue::Kind kind = values_[slots_.size()].kind();
        const bool fits = type == XSlotType::String  ? kind == XValue::Kind::String
                          : type == XSlotType::Float ? kind != XValue::Kind::String
                                                     : kind == XValue::Kind::Integer;
        if (!fits)
            return false;
        slots_.push_back(XValueSlot{type, {}, false});
        return true;
    }

    // A separator with no value before it (an empty first array) has nothing to attach to;
    // the reader does not need it.
    void AppendSeparator(const char* separator) {
        if (!slots_.empty())
            slots_.back().separators += separator;
    }
    void BreakLine() {
        if (!slots_.empty())
            slots_.back().lineBreak = true;
    }

    const std::vector<XValue>& values_;
    const XTemplateLookup& templates_;
    std::vector<XValueSlot> slots_;
};

XSlotType SlotTypeOf(const XValue& value) {
    switch (value.kind()) {
        case XValue::Kind::Integer:
            return XSlotType::Integer;
        case XValue::Kind::Float:
            return XSlotType::Float;
        case XValue::Kind::String:
            return XSlotType::String;
    }
    return XSlotType::Integer;
}

}  // namespace

bool PrimitiveSlotType(std::string_view typeName, XSlotType* type) {
    static const std::pair<std::string_view, XSlotType> kPrimitives[] = {
        {"WORD", XSlotType::Integer},   {"DWORD", XSlotType::Integer},
        {"CHAR", XSlotType::Integer},   {"UCHAR", XSlotType::Integer},
        {"BYTE", XSlotType::Integer},   {"SWORD", XSlotType::Integer},
        {"SDWORD", XSlotType::Integer}, {"FLOAT", XSlotType::Float},
        {"DOUBLE", XSlotType::Float},   {"STRING", XSlotType::String},
        {"LPSTR", XSlotType::String},   {"CSTRING", XSlotType::String},
        {"UNICODE", XSlotType::String},
    };
    const std::string upper = [&] {
        std::string text(typeName);
        for (char& c : text)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    }();
    for (const auto& [name, slotType] : kPrimitives) {
        if (upper == name) {
            *type = slotType;
            return true;
        }
    }
    return false;
}

std::vector<XValueSlot> LayOutValues(const XDataObject& object, const XTemplateLookup& templates) {
    std::vector<XValueSlot> slots;
    if (const XTemplate* objectTemplate = templates.Find(object.templateName)) {
        LayoutWalker walker(object, templates);
        if (walker.WalkObject(*objectTemplate))
            slots = walker.TakeSlots();
    }
    // Values the template does not account for (or all of them, when it did not fit) are
    // laid out one per line, each closed by ";".
    for (std::size_t i = slots.size(); i < object.values.size(); ++i) {
        slots.push_back(XValueSlot{SlotTypeOf(object.values[i]), ";", true});
    }
    return slots;
}

}  // namespace tetrakon
