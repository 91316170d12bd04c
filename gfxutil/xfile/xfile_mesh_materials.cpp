#include "gfxutil/xfile/xfile_mesh_materials.h"

#include <algorithm>
#include <string>

#include "gfxutil/ascii.h"
#include "gfxutil/xfile/xfile_mesh_values.h"
#include "gfxutil/xfile/xfile_token.h"

namespace tetrakon {
namespace {

// Longer than any path the format's tools write (the Windows MAX_PATH). Each mesh that
// refers to a material gets its own copy of the name, so an unbounded name referred to from
// many lists would cost memory out of all proportion to the file.
constexpr std::size_t kMaxTextureFilenameLength = 260;

XStatus MaterialFromObject(const XDataObject& object, Material* out) {
    ValueCursor cursor(object, "Material " + PrintableXName(object.name));
    float v[11] = {};
    for (float& f : v) {
        if (XStatus s = cursor.Number(&f); !s.ok())
            return s;
    }
    *out = Material{};
    out->diffuse = {v[0], v[1], v[2], v[3]};
    // The file format has no ambient colour; the diffuse colour stands in for it.
    out->ambient = out->diffuse;
    out->power = v[4];
    out->specular = {v[5], v[6], v[7], 1.0f};
    out->emissive = {v[8], v[9], v[10], 1.0f};
    for (const XChild& child : object.children) {
        const XDataObject* texture = Target(child);
        if (texture == nullptr || !EqualsIgnoringCase(texture->templateName, "TextureFilename"))
            continue;
        if (!texture->values.empty() && texture->values[0].kind() == XValue::Kind::String) {
            if (texture->values[0].text().size() > kMaxTextureFilenameLength) {
                return BadMesh("Material " + PrintableXName(object.name) +
                               ": texture file name longer than " +
                               std::to_string(kMaxTextureFilenameLength) + " characters");
            }
            out->textureFilename = texture->values[0].text();
            break;
        }
    }
    return {};
}

}  // namespace

Material DefaultMaterial() {
    Material material;
    material.diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
    material.ambient = material.diffuse;
    return material;
}

XStatus ReadMaterialList(const XDataObject& object, std::size_t polygonCount,
                         std::vector<Material>* materials,
                         std::vector<std::uint32_t>* polygonMaterial) {
    ValueCursor cursor(object, "MeshMaterialList");
    std::uint32_t materialCount = 0;
    std::uint32_t indexCount = 0;
    if (XStatus s = cursor.Count("nMaterials", &materialCount); !s.ok())
        return s;
    if (XStatus s = cursor.ItemCount("nFaceIndexes", 1, &indexCount); !s.ok())
        return s;
    std::vector<std::uint32_t> indexes(indexCount);
    for (std::uint32_t& index : indexes) {
        if (XStatus s = cursor.Index(materialCount, "material index", &index); !s.ok())
            return s;
    }
    if (indexes.empty() && polygonCount > 0 && materialCount == 0) {
        return BadMesh("MeshMaterialList has no materials for its faces");
    }
    // A list shorter than the faces (often a single entry) repeats its last index.
    polygonMaterial->resize(polygonCount);
    for (std::size_t i = 0; i < polygonCount; ++i) {
        (*polygonMaterial)[i] = indexes.empty() ? 0 : indexes[std::min(i, indexes.size() - 1)];
    }
    materials->clear();
    for (const XChild& child : object.children) {
        const XDataObject* material = Target(child);
        if (material == nullptr) {
            return BadMesh("MeshMaterialList: no object named '" +
                           PrintableXName(child.referenceName) + "'");
        }
        if (!EqualsIgnoringCase(material->templateName, "Material"))
            continue;
        if (materials->size() == materialCount)
            break;
        Material converted;
        if (XStatus s = MaterialFromObject(*material, &converted); !s.ok())
            return s;
        materials->push_back(std::move(converted));
    }
    if (materials->size() < materialCount) {
        return BadMesh("MeshMaterialList counts " + std::to_string(materialCount) +
                       " materials but gives " + std::to_string(materials->size()));
    }
    return {};
}
}  // namespace tetrakon
