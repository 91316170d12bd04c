#include "platform/gfx/mesh_draw_data.h"

namespace tetrakon::gfx {

Result BuildMeshDrawData(const Mesh& mesh, MeshDrawData* out) {
    if (Failed(ValidateMesh(mesh))) {
        return E_FAIL;
    }
    const std::size_t faceCount = mesh.faces.size();
    MeshDrawData data;
    for (const Subset& subset : mesh.subsets) {
        if (subset.faceStart > faceCount || subset.faceCount > faceCount - subset.faceStart) {
            return E_FAIL;
        }
        data.subsets.push_back({subset.faceStart * 3, subset.faceCount * 3});
    }
    data.vertices.reserve(mesh.positions.size() * kMeshVertexFloats);
    for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
        const Vec3 p = mesh.positions[i];
        const Vec3 n = mesh.HasNormals() ? mesh.normals[i] : Vec3{};
        const Vec2 uv = mesh.HasTexcoords() ? mesh.texcoords[i] : Vec2{};
        data.vertices.insert(data.vertices.end(), {p.x, p.y, p.z, n.x, n.y, n.z, uv.x, uv.y});
    }
    data.indices.reserve(faceCount * 3);
    for (const Triangle& face : mesh.faces) {
        data.indices.insert(data.indices.end(), {face.index[0], face.index[1], face.index[2]});
    }
    *out = std::move(data);
    return S_OK;
}

}  // namespace tetrakon::gfx
