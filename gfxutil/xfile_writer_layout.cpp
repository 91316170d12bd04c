#include "gfxutil/xfile_writer_layout.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace tetrakon {
namespace {

std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

// One member written as in a template body: "FLOAT x", "array Vector vertices[nVertices]".
XTemplateMember ParseMember(std::string_view text) {
    XTemplateMember member;
    constexpr std::string_view kArray = "array ";
    if (text.starts_with(kArray)) {
        member.isArray = true;
        text.remove_prefix(kArray.size());
    }
    const std::size_t space = text.find(' ');
    member.typeName = std::string(text.substr(0, space));
    std::string_view rest = text.substr(space + 1);
    const std::size_t bracket = rest.find('[');
    member.name = std::string(rest.substr(0, bracket));
    while (bracket != std::string_view::npos && !rest.empty()) {
        const std::size_t open = rest.find('[');
        const std::size_t close = rest.find(']');
        if (open == std::string_view::npos || close == std::string_view::npos)
            break;
        member.dimensions.emplace_back(rest.substr(open + 1, close - open - 1));
        rest.remove_prefix(close + 1);
    }
    return member;
}

XTemplate MakeTemplate(std::string name, std::initializer_list<std::string_view> members,
                       XTemplate::Restriction restriction = XTemplate::Restriction::Closed) {
    XTemplate result;
    result.name = std::move(name);
    for (std::string_view member : members)
        result.members.push_back(ParseMember(member));
    result.restriction = restriction;
    return result;
}

// Member layouts of the standard templates; only the members matter to the writers.
const std::vector<XTemplate>& StandardLayouts() {
    constexpr auto kOpen = XTemplate::Restriction::Open;
    static const std::vector<XTemplate> layouts = {
        MakeTemplate("Header", {"WORD major", "WORD minor", "DWORD flags"}),
        MakeTemplate("Vector", {"FLOAT x", "FLOAT y", "FLOAT z"}),
        MakeTemplate("Coords2d", {"FLOAT u", "FLOAT v"}),
        MakeTemplate("Matrix4x4", {"array FLOAT matrix[16]"}),
        MakeTemplate("ColorRGBA", {"FLOAT red", "FLOAT green", "FLOAT blue", "FLOAT alpha"}),
        MakeTemplate("ColorRGB", {"FLOAT red", "FLOAT green", "FLOAT blue"}),
        MakeTemplate("IndexedColor", {"DWORD index", "ColorRGBA indexColor"}),
        MakeTemplate("Boolean", {"WORD truefalse"}),
        MakeTemplate("Boolean2d", {"Boolean u", "Boolean v"}),
        MakeTemplate("MaterialWrap", {"Boolean u", "Boolean v"}),
        MakeTemplate("TextureFilename", {"STRING filename"}),
        MakeTemplate("Material",
                     {"ColorRGBA faceColor", "FLOAT power", "ColorRGB specularColor",
                      "ColorRGB emissiveColor"},
                     kOpen),
        MakeTemplate("MeshFace", {"DWORD nFaceVertexIndices",
                                  "array DWORD faceVertexIndices[nFaceVertexIndices]"}),
        MakeTemplate("MeshFaceWraps",
                     {"DWORD nFaceWrapValues", "array Boolean2d faceWrapValues[nFaceWrapValues]"}),
        MakeTemplate("MeshTextureCoords",
                     {"DWORD nTextureCoords", "array Coords2d textureCoords[nTextureCoords]"}),
        MakeTemplate(
            "MeshMaterialList",
            {"DWORD nMaterials", "DWORD nFaceIndexes", "array DWORD faceIndexes[nFaceIndexes]"},
            kOpen),
        MakeTemplate("MeshNormals",
                     {"DWORD nNormals", "array Vector normals[nNormals]", "DWORD nFaceNormals",
                      "array MeshFace faceNormals[nFaceNormals]"}),
        MakeTemplate("MeshVertexColors",
                     {"DWORD nVertexColors", "array IndexedColor vertexColors[nVertexColors]"}),
        MakeTemplate("Mesh",
                     {"DWORD nVertices", "array Vector vertices[nVertices]", "DWORD nFaces",
                      "array MeshFace faces[nFaces]"},
                     kOpen),
        MakeTemplate("FrameTransformMatrix", {"Matrix4x4 frameMatrix"}),
        MakeTemplate("Frame", {}, kOpen),
        MakeTemplate("FloatKeys", {"DWORD nValues", "array FLOAT values[nValues]"}),
        MakeTemplate("TimedFloatKeys", {"DWORD time", "FloatKeys tfkeys"}),
        MakeTemplate("AnimationKey",
                     {"DWORD keyType", "DWORD nKeys", "array TimedFloatKeys keys[nKeys]"}),
        MakeTemplate("AnimationOptions", {"DWORD openclosed", "DWORD positionquality"}),
        MakeTemplate("Animation", {}, kOpen),
        MakeTemplate("AnimationSet", {}, kOpen),
        MakeTemplate("AnimTicksPerSecond", {"DWORD AnimTicksPerSecond"}),
        MakeTemplate("XSkinMeshHeader", {"WORD nMaxSkinWeightsPerVertex",
                                         "WORD nMaxSkinWeightsPerFace", "WORD nBones"}),
        MakeTemplate("VertexDuplicationIndices", {"DWORD nIndices", "DWORD nOriginalVertices",
                                                  "array DWORD indices[nIndices]"}),
        MakeTemplate("SkinWeights", {"STRING transformNodeName", "DWORD nWeights",
                                     "array DWORD vertexIndices[nWeights]",
                                     "array FLOAT weights[nWeights]", "Matrix4x4 matrixOffset"}),
        MakeTemplate("VertexElement",
                     {"DWORD Type", "DWORD Method", "DWORD Usage", "DWORD UsageIndex"}),
        MakeTemplate("DeclData", {"DWORD nElements", "array VertexElement Elements[nElements]",
                                  "DWORD nDWords", "array DWORD data[nDWords]"}),
        MakeTemplate("FVFData", {"DWORD dwFVF", "DWORD nDWords", "array DWORD data[nDWords]"}),
        MakeTemplate("FaceAdjacency", {"DWORD nIndices", "array DWORD indices[nIndices]"}),
        MakeTemplate("EffectFloats", {"DWORD nFloats", "array FLOAT Floats[nFloats]"}),
        MakeTemplate("EffectString", {"STRING Value"}),
        MakeTemplate("EffectDWord", {"DWORD Value"}),
        MakeTemplate("EffectParamFloats",
                     {"STRING ParamName", "DWORD nFloats", "array FLOAT Floats[nFloats]"}),
        MakeTemplate("EffectParamString", {"STRING ParamName", "STRING Value"}),
        MakeTemplate("EffectParamDWord", {"STRING ParamName", "DWORD Value"}),
        MakeTemplate("EffectInstance", {"STRING EffectFilename"}, kOpen),
    };
    return layouts;
}

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
                    scope->emplace_back(member.name, values_[slots_.size() - 1].integer);
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
        const XValue::Kind kind = values_[slots_.size()].kind;
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
    switch (value.kind) {
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

XTemplateLookup::XTemplateLookup(const std::vector<XTemplate>& fileTemplates) {
    const std::vector<XTemplate>* const lists[] = {&StandardLayouts(), &fileTemplates};
    for (const std::vector<XTemplate>* list : lists) {
        for (const XTemplate& entry : *list) {
            exact_[entry.name] = &entry;
            folded_[FoldCase(entry.name)] = &entry;
        }
    }
}

const XTemplate* XTemplateLookup::Find(std::string_view name) const {
    if (auto it = exact_.find(std::string(name)); it != exact_.end())
        return it->second;
    if (auto it = folded_.find(FoldCase(name)); it != folded_.end())
        return it->second;
    return nullptr;
}

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
