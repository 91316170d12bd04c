#include "gfxutil/xfile/xfile_mesh.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "gfxutil/ascii.h"
#include "gfxutil/xfile/xfile_frames.h"
#include "gfxutil/xfile/xfile_token.h"

namespace tetrakon {
namespace {

// Longer than any path the format's tools write (the Windows MAX_PATH). Each mesh that
// refers to a material gets its own copy of the name, so an unbounded name referred to from
// many lists would cost memory out of all proportion to the file.
constexpr std::size_t kMaxTextureFilenameLength = 260;

XStatus Bad(const std::string& message) {
    return XStatus{XError::BadMesh, message};
}

// Reads one object's flat values in order, checking each against what is left.
class ValueCursor {
  public:
    ValueCursor(const XDataObject& object, std::string what)
        : values_(object.values), what_(std::move(what)) {}

    std::size_t Left() const { return values_.size() - pos_; }

    // A non-negative whole number below 2^31.
    XStatus Count(const char* name, std::uint32_t* out) {
        if (pos_ >= values_.size())
            return Bad(what_ + ": " + name + " is missing");
        const XValue& value = values_[pos_++];
        double number = 0;
        if (value.kind() == XValue::Kind::Integer) {
            number = static_cast<double>(value.integer());
        } else if (value.kind() == XValue::Kind::Float &&
                   std::floor(value.number()) == value.number()) {
            number = value.number();
        } else {
            return Bad(what_ + ": " + name + " is not a whole number");
        }
        if (number < 0 || number >= 2147483648.0) {
            return Bad(what_ + ": " + name + " out of range");
        }
        *out = static_cast<std::uint32_t>(number);
        return {};
    }

    // A count of items that each take `valuesPer` values, all of which must follow.
    XStatus ItemCount(const char* name, std::size_t valuesPer, std::uint32_t* out) {
        if (XStatus s = Count(name, out); !s.ok())
            return s;
        if (*out > Left() / valuesPer) {
            return Bad(what_ + ": " + name + " " + std::to_string(*out) +
                       " is more than the data holds");
        }
        return {};
    }

    XStatus Number(float* out) {
        if (pos_ >= values_.size())
            return Bad(what_ + ": data ends early");
        const XValue& value = values_[pos_++];
        if (value.kind() == XValue::Kind::String)
            return Bad(what_ + ": string where a number belongs");
        *out = value.AsFloat();
        return {};
    }

    XStatus Index(std::uint32_t limit, const char* name, std::uint32_t* out) {
        if (XStatus s = Count(name, out); !s.ok())
            return s;
        if (*out >= limit) {
            return Bad(what_ + ": " + name + " " + std::to_string(*out) + " is past " +
                       std::to_string(limit) + " entries");
        }
        return {};
    }

  private:
    const std::vector<XValue>& values_;
    std::size_t pos_ = 0;
    std::string what_;
};

// Polygons as a flat corner list with one start offset per polygon.
struct Polygons {
    std::vector<std::uint32_t> start;  // size count + 1
    std::vector<std::uint32_t> corners;
    std::size_t Count() const { return start.size() - 1; }
    std::uint32_t Size(std::size_t i) const { return start[i + 1] - start[i]; }
};

XStatus ReadPolygons(ValueCursor* cursor, std::uint32_t indexLimit, const char* what,
                     Polygons* out) {
    std::uint32_t count = 0;
    if (XStatus s = cursor->ItemCount(what, 1, &count); !s.ok())
        return s;
    out->start.assign(1, 0);
    out->start.reserve(std::size_t{count} + 1);
    for (std::uint32_t face = 0; face < count; ++face) {
        std::uint32_t size = 0;
        if (XStatus s = cursor->ItemCount("face size", 1, &size); !s.ok())
            return s;
        if (size < 3)
            return Bad(std::string(what) + ": a face has fewer than 3 corners");
        for (std::uint32_t k = 0; k < size; ++k) {
            std::uint32_t index = 0;
            if (XStatus s = cursor->Index(indexLimit, "vertex index", &index); !s.ok())
                return s;
            out->corners.push_back(index);
        }
        out->start.push_back(static_cast<std::uint32_t>(out->corners.size()));
    }
    return {};
}

XStatus ReadVectors(ValueCursor* cursor, const char* what, std::vector<Vec3>* out) {
    std::uint32_t count = 0;
    if (XStatus s = cursor->ItemCount(what, 3, &count); !s.ok())
        return s;
    out->resize(count);
    for (Vec3& v : *out) {
        if (XStatus s = cursor->Number(&v.x); !s.ok())
            return s;
        if (XStatus s = cursor->Number(&v.y); !s.ok())
            return s;
        if (XStatus s = cursor->Number(&v.z); !s.ok())
            return s;
    }
    return {};
}

// The object a child stands for: the nested object, or the one a reference points to.
const XDataObject* Target(const XChild& child) {
    return child.object ? child.object.get() : child.resolved;
}

Material DefaultMaterial() {
    Material material;
    material.diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
    material.ambient = material.diffuse;
    return material;
}

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
                return Bad("Material " + PrintableXName(object.name) +
                           ": texture file name longer than " +
                           std::to_string(kMaxTextureFilenameLength) + " characters");
            }
            out->textureFilename = texture->values[0].text();
            break;
        }
    }
    return {};
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
        return Bad("MeshMaterialList has no materials for its faces");
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
            return Bad("MeshMaterialList: no object named '" + PrintableXName(child.referenceName) +
                       "'");
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
        return Bad("MeshMaterialList counts " + std::to_string(materialCount) +
                   " materials but gives " + std::to_string(materials->size()));
    }
    return {};
}

bool SameVector(const Vec3& a, const Vec3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

}  // namespace

XStatus MeshFromXObject(const XDataObject& meshObject, Mesh* out) {
    *out = Mesh{};
    const std::string what = "Mesh " + PrintableXName(meshObject.name);
    ValueCursor cursor(meshObject, what);
    std::vector<Vec3> positions;
    if (XStatus s = ReadVectors(&cursor, "nVertices", &positions); !s.ok())
        return s;
    Polygons polygons;
    if (XStatus s = ReadPolygons(&cursor, static_cast<std::uint32_t>(positions.size()), "nFaces",
                                 &polygons);
        !s.ok()) {
        return s;
    }

    std::vector<Vec3> normals;
    Polygons normalPolygons;
    bool hasNormals = false;
    std::vector<Vec2> texcoords;
    std::vector<Material> materials;
    std::vector<std::uint32_t> polygonMaterial;
    bool hasMaterialList = false;
    for (const XChild& child : meshObject.children) {
        const XDataObject* object = Target(child);
        if (object == nullptr)
            continue;
        if (EqualsIgnoringCase(object->templateName, "MeshNormals") && !hasNormals) {
            ValueCursor normalCursor(*object, what + " MeshNormals");
            if (XStatus s = ReadVectors(&normalCursor, "nNormals", &normals); !s.ok())
                return s;
            if (XStatus s = ReadPolygons(&normalCursor, static_cast<std::uint32_t>(normals.size()),
                                         "nFaceNormals", &normalPolygons);
                !s.ok()) {
                return s;
            }
            if (normalPolygons.Count() != polygons.Count()) {
                return Bad(what + ": MeshNormals has " + std::to_string(normalPolygons.Count()) +
                           " faces, the mesh " + std::to_string(polygons.Count()));
            }
            for (std::size_t i = 0; i < polygons.Count(); ++i) {
                if (normalPolygons.Size(i) != polygons.Size(i)) {
                    return Bad(what + ": normal face " + std::to_string(i) +
                               " has a different corner count");
                }
            }
            hasNormals = true;
        } else if (EqualsIgnoringCase(object->templateName, "MeshTextureCoords") &&
                   texcoords.empty()) {
            ValueCursor tcCursor(*object, what + " MeshTextureCoords");
            std::uint32_t count = 0;
            if (XStatus s = tcCursor.ItemCount("nTextureCoords", 2, &count); !s.ok())
                return s;
            if (count < positions.size()) {
                return Bad(what + ": " + std::to_string(count) + " texture coordinates for " +
                           std::to_string(positions.size()) + " vertices");
            }
            texcoords.resize(positions.size());
            for (Vec2& tc : texcoords) {
                if (XStatus s = tcCursor.Number(&tc.x); !s.ok())
                    return s;
                if (XStatus s = tcCursor.Number(&tc.y); !s.ok())
                    return s;
            }
        } else if (EqualsIgnoringCase(object->templateName, "MeshMaterialList") &&
                   !hasMaterialList) {
            if (XStatus s =
                    ReadMaterialList(*object, polygons.Count(), &materials, &polygonMaterial);
                !s.ok()) {
                s.message = what + ": " + s.message;
                return s;
            }
            hasMaterialList = true;
        }
    }
    if (!hasMaterialList || materials.empty()) {
        materials.assign(1, DefaultMaterial());
        polygonMaterial.assign(polygons.Count(), 0);
    }

    Mesh mesh;
    mesh.positions = positions;
    if (!texcoords.empty())
        mesh.texcoords = texcoords;
    // Each corner's vertex: the position's own slot for its first normal, a copy of the
    // position for every further, different normal.
    std::vector<std::uint32_t> cornerVertex(polygons.corners);
    if (hasNormals) {
        mesh.normals.assign(positions.size(), Vec3{});
        std::vector<bool> normalSet(positions.size(), false);
        std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> copies;
        for (std::size_t c = 0; c < polygons.corners.size(); ++c) {
            const std::uint32_t p = polygons.corners[c];
            const std::uint32_t n = normalPolygons.corners[c];
            if (!normalSet[p]) {
                normalSet[p] = true;
                mesh.normals[p] = normals[n];
                continue;
            }
            if (SameVector(mesh.normals[p], normals[n]))
                continue;
            const auto [it, added] =
                copies.try_emplace({p, n}, static_cast<std::uint32_t>(mesh.positions.size()));
            if (added) {
                mesh.positions.push_back(positions[p]);
                mesh.normals.push_back(normals[n]);
                if (!texcoords.empty())
                    mesh.texcoords.push_back(texcoords[p]);
            }
            cornerVertex[c] = it->second;
        }
    }
    for (std::size_t i = 0; i < polygons.Count(); ++i) {
        const std::uint32_t first = polygons.start[i];
        for (std::uint32_t k = 1; k + 1 < polygons.Size(i); ++k) {
            Triangle triangle;
            triangle.index[0] = cornerVertex[first];
            triangle.index[1] = cornerVertex[first + k];
            triangle.index[2] = cornerVertex[first + k + 1];
            mesh.faces.push_back(triangle);
            mesh.faceMaterial.push_back(polygonMaterial[i]);
        }
    }
    mesh.materials = std::move(materials);
    if (Failed(SortFacesBySubset(&mesh)))
        return Bad(what + ": the mesh does not validate");
    *out = std::move(mesh);
    return {};
}

namespace {

// Each mesh with the product of its frames' transforms, innermost first.
class MeshCollector : public XFrameVisitor {
  public:
    explicit MeshCollector(std::vector<FramedMesh>* out) : out_(out) {}

    XStatus RootTransform(const Matrix& transform) override {
        worlds_.front() = transform;
        return {};
    }
    XStatus EnterFrame(const XDataObject&, const Matrix& transform) override {
        worlds_.push_back(transform * worlds_.back());
        return {};
    }
    XStatus VisitMesh(const XDataObject& mesh) override {
        FramedMesh framed;
        if (XStatus s = MeshFromXObject(mesh, &framed.mesh); !s.ok())
            return s;
        framed.world = worlds_.back();
        out_->push_back(std::move(framed));
        return {};
    }
    void LeaveFrame() override { worlds_.pop_back(); }

  private:
    std::vector<FramedMesh>* out_;
    std::vector<Matrix> worlds_{Matrix::Identity()};
};

}  // namespace

XStatus CollectMeshes(const XFile& file, std::vector<FramedMesh>* out) {
    out->clear();
    std::vector<FramedMesh> meshes;
    MeshCollector collector(&meshes);
    if (XStatus s = WalkFrames(file, &collector); !s.ok())
        return s;
    *out = std::move(meshes);
    return {};
}

XStatus LoadMergedMesh(const XFile& file, Mesh* out) {
    std::vector<FramedMesh> meshes;
    if (XStatus s = CollectMeshes(file, &meshes); !s.ok())
        return s;
    if (meshes.empty())
        return Bad("the file holds no Mesh");
    std::vector<PlacedMesh> parts;
    for (const FramedMesh& framed : meshes)
        parts.push_back({&framed.mesh, framed.world});
    Mesh merged;
    if (Failed(MergeMeshes(parts, &merged)))
        return Bad("the meshes could not be merged");
    *out = std::move(merged);
    return {};
}

}  // namespace tetrakon
