#include "gfxutil/xfile/xfile_mesh.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "gfxutil/ascii.h"
#include "gfxutil/xfile/xfile_frames.h"
#include "gfxutil/xfile/xfile_mesh_materials.h"
#include "gfxutil/xfile/xfile_mesh_values.h"
#include "gfxutil/xfile/xfile_token.h"

namespace tetrakon {
namespace {

// The parts of a Mesh object besides its positions and polygons; each is read from the
// first child of its kind.
struct MeshChildren {
    std::vector<Vec3> normals;
    Polygons normalPolygons;
    bool hasNormals = false;
    std::vector<Vec2> texcoords;
    std::vector<Material> materials;
    std::vector<std::uint32_t> polygonMaterial;
    bool hasMaterialList = false;
};

// MeshNormals: the normals and, for every corner of every polygon, a normal index; its
// polygons must match the mesh's one for one, corner for corner.
XStatus ReadNormals(const XDataObject& object, const Polygons& polygons, const std::string& what,
                    MeshChildren* out) {
    ValueCursor cursor(object, what + " MeshNormals");
    if (XStatus s = ReadVectors(&cursor, "nNormals", &out->normals); !s.ok())
        return s;
    if (XStatus s = ReadPolygons(&cursor, static_cast<std::uint32_t>(out->normals.size()),
                                 "nFaceNormals", &out->normalPolygons);
        !s.ok()) {
        return s;
    }
    if (out->normalPolygons.Count() != polygons.Count()) {
        return BadMesh(what + ": MeshNormals has " + std::to_string(out->normalPolygons.Count()) +
                       " faces, the mesh " + std::to_string(polygons.Count()));
    }
    for (std::size_t i = 0; i < polygons.Count(); ++i) {
        if (out->normalPolygons.Size(i) != polygons.Size(i)) {
            return BadMesh(what + ": normal face " + std::to_string(i) +
                           " has a different corner count");
        }
    }
    out->hasNormals = true;
    return {};
}

// MeshTextureCoords: one pair for each vertex (more are ignored).
XStatus ReadTextureCoords(const XDataObject& object, std::size_t vertexCount,
                          const std::string& what, std::vector<Vec2>* out) {
    ValueCursor cursor(object, what + " MeshTextureCoords");
    std::uint32_t count = 0;
    if (XStatus s = cursor.ItemCount("nTextureCoords", 2, &count); !s.ok())
        return s;
    if (count < vertexCount) {
        return BadMesh(what + ": " + std::to_string(count) + " texture coordinates for " +
                       std::to_string(vertexCount) + " vertices");
    }
    out->resize(vertexCount);
    for (Vec2& tc : *out) {
        if (XStatus s = cursor.Number(&tc.x); !s.ok())
            return s;
        if (XStatus s = cursor.Number(&tc.y); !s.ok())
            return s;
    }
    return {};
}

XStatus ReadChildren(const XDataObject& meshObject, const Polygons& polygons,
                     std::size_t vertexCount, const std::string& what, MeshChildren* out) {
    for (const XChild& child : meshObject.children) {
        const XDataObject* object = Target(child);
        if (object == nullptr)
            continue;
        if (EqualsIgnoringCase(object->templateName, "MeshNormals") && !out->hasNormals) {
            if (XStatus s = ReadNormals(*object, polygons, what, out); !s.ok())
                return s;
        } else if (EqualsIgnoringCase(object->templateName, "MeshTextureCoords") &&
                   out->texcoords.empty()) {
            if (XStatus s = ReadTextureCoords(*object, vertexCount, what, &out->texcoords); !s.ok())
                return s;
        } else if (EqualsIgnoringCase(object->templateName, "MeshMaterialList") &&
                   !out->hasMaterialList) {
            if (XStatus s = ReadMaterialList(*object, polygons.Count(), &out->materials,
                                             &out->polygonMaterial);
                !s.ok()) {
                s.message = what + ": " + s.message;
                return s;
            }
            out->hasMaterialList = true;
        }
    }
    if (!out->hasMaterialList || out->materials.empty()) {
        out->materials.assign(1, DefaultMaterial());
        out->polygonMaterial.assign(polygons.Count(), 0);
    }
    return {};
}

bool SameVector(const Vec3& a, const Vec3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// Gives `mesh` (holding the positions) its normals and returns each corner's vertex: the
// position's own slot for its first normal, a copy of the position for every further,
// different normal.
std::vector<std::uint32_t> SplitVerticesByNormal(const Polygons& polygons,
                                                 const MeshChildren& children, Mesh* mesh) {
    std::vector<std::uint32_t> cornerVertex(polygons.corners);
    if (!children.hasNormals)
        return cornerVertex;
    const std::size_t positionCount = mesh->positions.size();
    mesh->normals.assign(positionCount, Vec3{});
    std::vector<bool> normalSet(positionCount, false);
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> copies;
    for (std::size_t c = 0; c < polygons.corners.size(); ++c) {
        const std::uint32_t p = polygons.corners[c];
        const Vec3& normal = children.normals[children.normalPolygons.corners[c]];
        if (!normalSet[p]) {
            normalSet[p] = true;
            mesh->normals[p] = normal;
            continue;
        }
        if (SameVector(mesh->normals[p], normal))
            continue;
        const auto [it, added] =
            copies.try_emplace({p, children.normalPolygons.corners[c]},
                               static_cast<std::uint32_t>(mesh->positions.size()));
        if (added) {
            const Vec3 position = mesh->positions[p];  // copied before the vector grows
            mesh->positions.push_back(position);
            mesh->normals.push_back(normal);
            if (!mesh->texcoords.empty()) {
                const Vec2 texcoord = mesh->texcoords[p];
                mesh->texcoords.push_back(texcoord);
            }
        }
        cornerVertex[c] = it->second;
    }
    return cornerVertex;
}

// Splits every polygon into a fan of triangles around its first corner, each with its
// polygon's material.
void Triangulate(const Polygons& polygons, const std::vector<std::uint32_t>& cornerVertex,
                 const std::vector<std::uint32_t>& polygonMaterial, Mesh* mesh) {
    for (std::size_t i = 0; i < polygons.Count(); ++i) {
        const std::uint32_t first = polygons.start[i];
        for (std::uint32_t k = 1; k + 1 < polygons.Size(i); ++k) {
            Triangle triangle;
            triangle.index[0] = cornerVertex[first];
            triangle.index[1] = cornerVertex[first + k];
            triangle.index[2] = cornerVertex[first + k + 1];
            mesh->faces.push_back(triangle);
            mesh->faceMaterial.push_back(polygonMaterial[i]);
        }
    }
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
    MeshChildren children;
    if (XStatus s = ReadChildren(meshObject, polygons, positions.size(), what, &children); !s.ok())
        return s;

    Mesh mesh;
    mesh.positions = std::move(positions);
    mesh.texcoords = std::move(children.texcoords);
    const std::vector<std::uint32_t> cornerVertex =
        SplitVerticesByNormal(polygons, children, &mesh);
    Triangulate(polygons, cornerVertex, children.polygonMaterial, &mesh);
    mesh.materials = std::move(children.materials);
    if (Failed(SortFacesBySubset(&mesh)))
        return BadMesh(what + ": the mesh does not validate");
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
        return BadMesh("the file holds no Mesh");
    std::vector<PlacedMesh> parts;
    for (const FramedMesh& framed : meshes)
        parts.push_back({&framed.mesh, framed.world});
    Mesh merged;
    if (Failed(MergeMeshes(parts, &merged)))
        return BadMesh("the meshes could not be merged");
    *out = std::move(merged);
    return {};
}

}  // namespace tetrakon
