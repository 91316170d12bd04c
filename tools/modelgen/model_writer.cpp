#include "tools/modelgen/model_writer.h"

#include <algorithm>
#include <memory>
#include <string_view>

#include "gfxutil/xfile/xfile_templates.h"

namespace tetrakon::modelgen {
namespace {

// Every template the models use, each after the ones it is built from.
constexpr std::string_view kUsedTemplates[] = {
    "Vector",
    "Coords2d",
    "Matrix4x4",
    "ColorRGBA",
    "ColorRGB",
    "Material",
    "MeshFace",
    "MeshTextureCoords",
    "MeshMaterialList",
    "MeshNormals",
    "Mesh",
    "FrameTransformMatrix",
    "Frame",
};

XValue Integer(std::int64_t value) {
    return XValue::Integer(value);
}

XValue Float(float value) {
    return XValue::Float(value);
}

void AddVector(std::vector<XValue>* values, Vec3 v) {
    values->push_back(Float(v.x));
    values->push_back(Float(v.y));
    values->push_back(Float(v.z));
}

void AddTriangleFaces(std::vector<XValue>* values, std::size_t triangleCount) {
    values->push_back(Integer(static_cast<std::int64_t>(triangleCount)));
    for (std::size_t t = 0; t < triangleCount; ++t) {
        values->push_back(Integer(3));
        for (std::size_t i = 0; i < 3; ++i) {
            values->push_back(Integer(static_cast<std::int64_t>(3 * t + i)));
        }
    }
}

std::unique_ptr<XDataObject> NewObject(std::string_view templateName) {
    auto object = std::make_unique<XDataObject>();
    object->templateName = templateName;
    return object;
}

void AddChild(XDataObject* parent, std::unique_ptr<XDataObject> child) {
    XChild entry;
    entry.object = std::move(child);
    parent->children.push_back(std::move(entry));
}

std::unique_ptr<XDataObject> TransformObject(const Matrix& matrix) {
    auto object = NewObject("FrameTransformMatrix");
    for (const auto& row : matrix.m) {
        for (float element : row) {
            object->values.push_back(Float(element));
        }
    }
    return object;
}

std::unique_ptr<XDataObject> NormalsObject(const ModelPart& part) {
    auto object = NewObject("MeshNormals");
    object->values.push_back(Integer(static_cast<std::int64_t>(3 * part.triangles.size())));
    for (const PartTriangle& triangle : part.triangles) {
        const Vec3 normal = Normalize(Cross(triangle.corner[1] - triangle.corner[0],
                                            triangle.corner[2] - triangle.corner[0]));
        for (int i = 0; i < 3; ++i) {
            AddVector(&object->values, normal);
        }
    }
    AddTriangleFaces(&object->values, part.triangles.size());
    return object;
}

std::unique_ptr<XDataObject> MaterialObject(const ColorValue& colour) {
    auto object = NewObject("Material");
    for (float channel : {colour.r, colour.g, colour.b, colour.a}) {
        object->values.push_back(Float(channel));
    }
    object->values.push_back(Float(0.0f));  // specular power
    for (int i = 0; i < 6; ++i) {
        object->values.push_back(Float(0.0f));  // specular, then emissive colour
    }
    return object;
}

std::unique_ptr<XDataObject> MaterialListObject(const ModelPart& part) {
    auto object = NewObject("MeshMaterialList");
    object->values.push_back(Integer(static_cast<std::int64_t>(part.materials.size())));
    object->values.push_back(Integer(static_cast<std::int64_t>(part.triangles.size())));
    for (const PartTriangle& triangle : part.triangles) {
        object->values.push_back(Integer(triangle.material));
    }
    for (const ColorValue& colour : part.materials) {
        AddChild(object.get(), MaterialObject(colour));
    }
    return object;
}

// A planar projection onto the part's own x-z plane, scaled to its extent; the models carry
// no textures, but the coordinates keep the vertex layout of textured meshes.
std::unique_ptr<XDataObject> TextureCoordsObject(const ModelPart& part) {
    float minX = 0, maxX = 0, minZ = 0, maxZ = 0;
    bool first = true;
    for (const PartTriangle& triangle : part.triangles) {
        for (const Vec3& p : triangle.corner) {
            minX = first ? p.x : std::min(minX, p.x);
            maxX = first ? p.x : std::max(maxX, p.x);
            minZ = first ? p.z : std::min(minZ, p.z);
            maxZ = first ? p.z : std::max(maxZ, p.z);
            first = false;
        }
    }
    const auto scaled = [](float value, float low, float high) {
        return high > low ? (value - low) / (high - low) : 0.0f;
    };
    auto object = NewObject("MeshTextureCoords");
    object->values.push_back(Integer(static_cast<std::int64_t>(3 * part.triangles.size())));
    for (const PartTriangle& triangle : part.triangles) {
        for (const Vec3& p : triangle.corner) {
            object->values.push_back(Float(scaled(p.x, minX, maxX)));
            object->values.push_back(Float(scaled(p.z, minZ, maxZ)));
        }
    }
    return object;
}

std::unique_ptr<XDataObject> MeshObject(const ModelPart& part) {
    auto object = NewObject("Mesh");
    object->values.push_back(Integer(static_cast<std::int64_t>(3 * part.triangles.size())));
    for (const PartTriangle& triangle : part.triangles) {
        for (const Vec3& p : triangle.corner) {
            AddVector(&object->values, p);
        }
    }
    AddTriangleFaces(&object->values, part.triangles.size());
    AddChild(object.get(), NormalsObject(part));
    AddChild(object.get(), MaterialListObject(part));
    AddChild(object.get(), TextureCoordsObject(part));
    return object;
}

}  // namespace

XFile BuildModelFile(const std::vector<ModelPart>& parts) {
    XFile file;
    file.header.encoding = XEncoding::Text;
    const std::vector<XTemplate>& standard = StandardXTemplates();
    for (std::string_view name : kUsedTemplates) {
        for (const XTemplate& definition : standard) {
            if (definition.name == name) {
                file.templates.push_back(definition);
            }
        }
    }
    for (const ModelPart& part : parts) {
        auto frame = NewObject("Frame");
        frame->name = part.name;
        AddChild(frame.get(), TransformObject(part.frame));
        AddChild(frame.get(), MeshObject(part));
        file.objects.push_back(std::move(frame));
    }
    return file;
}

}  // namespace tetrakon::modelgen
