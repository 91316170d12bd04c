#include <charconv>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "gfxutil/xfile/xfile_reader_passes.h"
#include "gfxutil/xfile/xfile_templates.h"

namespace tetrakon {
namespace {

// Nesting of template-typed members (MeshNormals > MeshFace > DWORD is two levels).
constexpr int kMaxMemberDepth = 16;

enum class PrimitiveKind : std::uint8_t { NotPrimitive, Integer, Float, String };

PrimitiveKind KindOfType(std::string_view type) {
    static constexpr std::pair<std::string_view, PrimitiveKind> kKinds[] = {
        {"FLOAT", PrimitiveKind::Float},    {"DWORD", PrimitiveKind::Integer},
        {"WORD", PrimitiveKind::Integer},   {"SWORD", PrimitiveKind::Integer},
        {"SDWORD", PrimitiveKind::Integer}, {"CHAR", PrimitiveKind::Integer},
        {"UCHAR", PrimitiveKind::Integer},  {"BYTE", PrimitiveKind::Integer},
        {"DOUBLE", PrimitiveKind::Float},   {"STRING", PrimitiveKind::String},
        {"LPSTR", PrimitiveKind::String},   {"CSTRING", PrimitiveKind::String},
        {"UNICODE", PrimitiveKind::String},
    };
    for (const auto& [name, kind] : kKinds) {
        if (type == name)
            return kind;
    }
    return PrimitiveKind::NotPrimitive;
}

// Walks one object's values along its template, recording the kind each value should have.
class ValueTyper {
  public:
    ValueTyper(const XTemplateLookup& templates, const std::vector<XValue>& values)
        : templates_(templates), values_(values) {}

    bool Run(const XTemplate& tmpl) { return Walk(tmpl, 0) && pos_ == values_.size(); }
    const std::vector<PrimitiveKind>& kinds() const { return kinds_; }
    // Where each top-level member's values lie: [first, last) in the flat value list.
    const std::map<std::string, std::pair<std::size_t, std::size_t>>& members() const {
        return members_;
    }

  private:
    // The whole numbers read so far for this template's scalar members, by member name
    // (viewing the template's own strings).
    using Scalars = std::map<std::string_view, std::int64_t>;

    bool Walk(const XTemplate& tmpl, int depth) {
        if (depth > kMaxMemberDepth)
            return false;
        Scalars scalars;
        for (const XTemplateMember& member : tmpl.members) {
            // Members that hold no values (templates of them, arrays of size 0) could
            // otherwise be walked without consuming anything, once per array element: the
            // walk gets a budget proportional to the values.
            if (++steps_ > (kMaxMemberDepth + 4) * (values_.size() + 16))
                return false;
            const std::size_t first = pos_;
            if (!WalkMember(tmpl, member, depth, &scalars))
                return false;
            if (depth == 0)
                members_.try_emplace(member.name, first, pos_);
        }
        return true;
    }

    bool WalkMember(const XTemplate& tmpl, const XTemplateMember& member, int depth,
                    Scalars* scalars) {
        std::int64_t count = 1;
        for (const std::string& dimension : member.dimensions) {
            std::int64_t size = 0;
            const auto [end, error] =
                std::from_chars(dimension.data(), dimension.data() + dimension.size(), size);
            if (error != std::errc{} || end != dimension.data() + dimension.size()) {
                const auto named = scalars->find(dimension);
                if (named == scalars->end())
                    return false;
                size = named->second;
            }
            if (size < 0)
                return false;
            // Every element takes at least one value, so more than remain cannot fit.
            const auto left = static_cast<std::int64_t>(values_.size() - pos_);
            if (size != 0 && count > left / size)
                return false;
            count *= size;
        }
        const PrimitiveKind kind = KindOfType(member.typeName);
        if (kind != PrimitiveKind::NotPrimitive) {
            if (count > static_cast<std::int64_t>(values_.size() - pos_))
                return false;
            if (!member.isArray && kind == PrimitiveKind::Integer &&
                values_[pos_].kind() == XValue::Kind::Integer) {
                (*scalars)[member.name] = values_[pos_].integer();
            }
            kinds_.insert(kinds_.end(), static_cast<std::size_t>(count), kind);
            pos_ += static_cast<std::size_t>(count);
            return true;
        }
        const XTemplate* inner = templates_.Find(member.typeName);
        if (inner == nullptr || inner == &tmpl)
            return false;
        for (std::int64_t i = 0; i < count; ++i) {
            const std::size_t before = pos_;
            if (!Walk(*inner, depth + 1))
                return false;
            if (pos_ == before)
                break;  // a template with no values
        }
        return true;
    }

    const XTemplateLookup& templates_;
    const std::vector<XValue>& values_;
    std::size_t pos_ = 0;
    std::size_t steps_ = 0;
    std::vector<PrimitiveKind> kinds_;
    std::map<std::string, std::pair<std::size_t, std::size_t>> members_;
};

void TypeObject(const XTemplateLookup& templates, XDataObject* object) {
    if (!object->values.empty()) {
        if (const XTemplate* tmpl = templates.Find(object->templateName)) {
            ValueTyper typer(templates, object->values);
            if (typer.Run(*tmpl)) {
                for (std::size_t i = 0; i < object->values.size(); ++i) {
                    XValue& value = object->values[i];
                    if (typer.kinds()[i] == PrimitiveKind::Float &&
                        value.kind() == XValue::Kind::Integer) {
                        value = XValue::Float(static_cast<double>(value.integer()));
                    }
                }
            }
        }
    }
    for (XChild& child : object->children) {
        if (child.object)
            TypeObject(templates, child.object.get());
    }
}

}  // namespace

bool FindXMemberValues(const XFile& file, const XDataObject& object, std::string_view member,
                       std::span<const XValue>* out) {
    const XTemplateLookup templates(file);
    const XTemplate* tmpl = templates.Find(object.templateName);
    if (tmpl == nullptr)
        return false;
    ValueTyper typer(templates, object.values);
    if (!typer.Run(*tmpl))
        return false;
    const auto it = typer.members().find(std::string(member));
    if (it == typer.members().end())
        return false;
    *out = std::span<const XValue>(object.values)
               .subspan(it->second.first, it->second.second - it->second.first);
    return true;
}

void TypeXValuesByTemplate(XFile* file) {
    const XTemplateLookup templates(*file);
    for (auto& object : file->objects)
        TypeObject(templates, object.get());
}

}  // namespace tetrakon
