#include "tools/xdump/xtree_printer.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "gfxutil/ascii.h"
#include "gfxutil/mesh.h"
#include "gfxutil/xfile/xfile_mesh.h"

namespace tetrakon {
namespace {

// Objects with at most this many values show them on their line.
constexpr std::size_t kInlineValues = 6;

std::string Number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

std::string ValueText(const XValue& value) {
    switch (value.kind()) {
        case XValue::Kind::Integer:
            return std::to_string(value.integer());
        case XValue::Kind::Float:
            return Number(value.number());
        case XValue::Kind::String:
            return '"' + value.text() + '"';
    }
    return {};
}

std::string EncodingText(XEncoding encoding) {
    switch (encoding) {
        case XEncoding::Text:
            return "txt ";
        case XEncoding::Binary:
            return "bin ";
        case XEncoding::CompressedText:
            return "tzip";
        case XEncoding::CompressedBinary:
            return "bzip";
    }
    return "????";
}

std::string TwoDigits(int value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", value % 100);
    return buffer;
}

class TreePrinter {
  public:
    explicit TreePrinter(std::ostream& out) : out_(out) {}

    void PrintObject(const XDataObject& object, int depth) {
        Indent(depth);
        out_ << object.templateName;
        if (!object.name.empty())
            out_ << ' ' << object.name;
        if (!object.guid.empty())
            out_ << " <" << object.guid << '>';

        const XDataObject* matrix = nullptr;
        if (EqualsIgnoringCase(object.templateName, "Frame")) {
            out_ << '\n';
            matrix = MatrixOf(object);
            Indent(depth + 1);
            out_ << "matrix " << (matrix != nullptr ? MatrixText(*matrix) : "none (identity)")
                 << '\n';
        } else if (EqualsIgnoringCase(object.templateName, "Mesh")) {
            out_ << ": " << MeshSummary(object) << '\n';
        } else if (object.values.size() <= kInlineValues) {
            for (const XValue& value : object.values)
                out_ << ' ' << ValueText(value);
            out_ << '\n';
        } else {
            out_ << " (" << object.values.size() << " values)\n";
        }

        for (const XChild& child : object.children) {
            if (child.object == nullptr) {
                PrintReference(child, depth + 1);
            } else if (child.object.get() != matrix) {
                PrintObject(*child.object, depth + 1);
            }
        }
    }

    const std::string& Problem() const { return problem_; }

  private:
    static const XDataObject* MatrixOf(const XDataObject& frame) {
        for (const XChild& child : frame.children) {
            if (child.object != nullptr &&
                EqualsIgnoringCase(child.object->templateName, "FrameTransformMatrix")) {
                return child.object.get();
            }
        }
        return nullptr;
    }

    static std::string MatrixText(const XDataObject& matrix) {
        if (matrix.values.size() != 16) {
            return "malformed (" + std::to_string(matrix.values.size()) + " values)";
        }
        std::string text;
        for (std::size_t i = 0; i < 16; ++i) {
            if (i > 0)
                text += i % 4 == 0 ? " / " : " ";
            text += Number(matrix.values[i].AsDouble());
        }
        return text;
    }

    // The file's own vertex and face counts, then what the mesh loads as.
    std::string MeshSummary(const XDataObject& object) {
        Mesh mesh;
        const XStatus status = MeshFromXObject(object, &mesh);
        if (!status.ok()) {
            if (problem_.empty())
                problem_ = status.message;
            return "does not load: " + status.message;
        }
        const auto vertices = static_cast<std::int64_t>(object.values[0].AsDouble());
        const std::size_t facesAt = 1 + 3 * static_cast<std::size_t>(vertices);
        const std::int64_t faces =
            facesAt < object.values.size()
                ? static_cast<std::int64_t>(object.values[facesAt].AsDouble())
                : 0;
        const std::size_t materials = mesh.materials.size();
        return std::to_string(vertices) + " vertices, " + std::to_string(faces) + " faces (" +
               std::to_string(mesh.faces.size()) + " triangles), " + std::to_string(materials) +
               (materials == 1 ? " material" : " materials");
    }

    void PrintReference(const XChild& child, int depth) {
        Indent(depth);
        out_ << "-> { " << child.referenceName;
        if (!child.referenceGuid.empty())
            out_ << " <" << child.referenceGuid << '>';
        out_ << " }";
        if (child.resolved != nullptr) {
            out_ << " = " << child.resolved->templateName;
            if (!child.resolved->name.empty())
                out_ << ' ' << child.resolved->name;
        } else {
            out_ << " (unresolved)";
        }
        out_ << '\n';
    }

    void Indent(int depth) { out_ << std::string(static_cast<std::size_t>(depth) * 2, ' '); }

    std::ostream& out_;
    std::string problem_;
};

}  // namespace

bool PrintXTree(const XFile& file, std::ostream& out, std::string* problem) {
    out << "xof " << TwoDigits(file.header.majorVersion) << TwoDigits(file.header.minorVersion)
        << EncodingText(file.header.encoding) << (file.header.floatBits == 64 ? "0064" : "0032")
        << ", " << file.templates.size() << " templates, " << file.objects.size() << " objects\n";
    for (const XTemplate& definition : file.templates) {
        out << "template " << definition.name << " <" << definition.guid << ">\n";
    }
    TreePrinter printer(out);
    for (const auto& object : file.objects) {
        if (object != nullptr)
            printer.PrintObject(*object, 0);
    }
    *problem = printer.Problem();
    return problem->empty();
}

}  // namespace tetrakon
