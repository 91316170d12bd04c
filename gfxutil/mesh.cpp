#include "gfxutil/mesh.h"

#include <cstddef>
#include <limits>
#include <new>
#include <utility>

namespace tetrakon {

namespace {

constexpr std::uint32_t kUnusedVertex = std::numeric_limits<std::uint32_t>::max();

// Faces and their materials reordered by material (stable), with the subset table that
// goes with that order.
struct FaceOrder {
    std::vector<Triangle> faces;
    std::vector<std::uint32_t> faceMaterial;
    std::vector<Subset> subsets;
};

// Counting sort by material: keeps the original order within a material and gives every
// material a subset, empty when no face uses it.
FaceOrder OrderFacesByMaterial(const std::vector<Triangle>& faces,
                               const std::vector<std::uint32_t>& faceMaterial,
                               std::size_t materialCount) {
    FaceOrder order;
    order.subsets.resize(materialCount);
    for (const std::uint32_t material : faceMaterial) {
        ++order.subsets[material].faceCount;
    }
    std::uint32_t start = 0;
    for (Subset& subset : order.subsets) {
        subset.faceStart = start;
        start += subset.faceCount;
    }

    std::vector<std::uint32_t> next(materialCount);
    for (std::size_t m = 0; m < materialCount; ++m) {
        next[m] = order.subsets[m].faceStart;
    }
    order.faces.resize(faces.size());
    order.faceMaterial.resize(faces.size());
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const std::uint32_t material = faceMaterial[f];
        const std::uint32_t slot = next[material]++;
        order.faces[slot] = faces[f];
        order.faceMaterial[slot] = material;
    }
    return order;
}

bool FitsInIndex(std::size_t count) {
    return count <= std::numeric_limits<std::uint32_t>::max();
}

}  // namespace

Result ValidateMesh(const Mesh& mesh) {
    const std::size_t vertexCount = mesh.positions.size();
    if (!FitsInIndex(vertexCount) || !FitsInIndex(mesh.faces.size()) ||
        !FitsInIndex(mesh.materials.size())) {
        return E_FAIL;
    }
    if (!mesh.normals.empty() && mesh.normals.size() != vertexCount) {
        return E_FAIL;
    }
    if (!mesh.texcoords.empty() && mesh.texcoords.size() != vertexCount) {
        return E_FAIL;
    }
    if (mesh.faceMaterial.size() != mesh.faces.size()) {
        return E_FAIL;
    }
    for (const Triangle& face : mesh.faces) {
        for (const std::uint32_t index : face.index) {
            if (index >= vertexCount) {
                return E_FAIL;
            }
        }
    }
    for (const std::uint32_t material : mesh.faceMaterial) {
        if (material >= mesh.materials.size()) {
            return E_FAIL;
        }
    }
    for (const Subset& subset : mesh.subsets) {
        const std::uint64_t end = std::uint64_t{subset.faceStart} + subset.faceCount;
        if (end > mesh.faces.size()) {
            return E_FAIL;
        }
    }
    return S_OK;
}

Result SortFacesBySubset(Mesh* mesh) {
    if (mesh == nullptr) {
        return E_INVALIDARG;
    }
    const Result valid = ValidateMesh(*mesh);
    if (Failed(valid)) {
        return valid;
    }
    try {
        FaceOrder order =
            OrderFacesByMaterial(mesh->faces, mesh->faceMaterial, mesh->materials.size());

        // Surviving vertices keep their relative order.
        std::vector<std::uint32_t> newIndex(mesh->positions.size(), kUnusedVertex);
        for (const Triangle& face : order.faces) {
            for (const std::uint32_t index : face.index) {
                newIndex[index] = 0;
            }
        }
        std::vector<Vec3> positions;
        std::vector<Vec3> normals;
        std::vector<Vec2> texcoords;
        for (std::size_t v = 0; v < mesh->positions.size(); ++v) {
            if (newIndex[v] == kUnusedVertex) {
                continue;
            }
            newIndex[v] = static_cast<std::uint32_t>(positions.size());
            positions.push_back(mesh->positions[v]);
            if (mesh->HasNormals()) {
                normals.push_back(mesh->normals[v]);
            }
            if (mesh->HasTexcoords()) {
                texcoords.push_back(mesh->texcoords[v]);
            }
        }
        for (Triangle& face : order.faces) {
            for (std::uint32_t& index : face.index) {
                index = newIndex[index];
            }
        }

        mesh->positions = std::move(positions);
        mesh->normals = std::move(normals);
        mesh->texcoords = std::move(texcoords);
        mesh->faces = std::move(order.faces);
        mesh->faceMaterial = std::move(order.faceMaterial);
        mesh->subsets = std::move(order.subsets);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

Result MergeMeshes(const std::vector<PlacedMesh>& parts, Mesh* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    std::size_t vertexTotal = 0, faceTotal = 0, materialTotal = 0;
    bool anyNormals = false, anyTexcoords = false;
    for (const PlacedMesh& part : parts) {
        if (part.mesh == nullptr) {
            return E_INVALIDARG;
        }
        const Result valid = ValidateMesh(*part.mesh);
        if (Failed(valid)) {
            return valid;
        }
        vertexTotal += part.mesh->positions.size();
        faceTotal += part.mesh->faces.size();
        materialTotal += part.mesh->materials.size();
        anyNormals = anyNormals || part.mesh->HasNormals();
        anyTexcoords = anyTexcoords || part.mesh->HasTexcoords();
    }
    if (!FitsInIndex(vertexTotal) || !FitsInIndex(faceTotal) || !FitsInIndex(materialTotal)) {
        return E_FAIL;
    }

    try {
        // Built aside so that `out` may be one of the parts and stays whole on failure.
        Mesh merged;
        merged.positions.reserve(vertexTotal);
        if (anyNormals) {
            merged.normals.reserve(vertexTotal);
        }
        if (anyTexcoords) {
            merged.texcoords.reserve(vertexTotal);
        }
        merged.materials.reserve(materialTotal);
        std::vector<Triangle> faces;
        std::vector<std::uint32_t> faceMaterial;
        faces.reserve(faceTotal);
        faceMaterial.reserve(faceTotal);

        for (const PlacedMesh& part : parts) {
            const Mesh& mesh = *part.mesh;
            const auto vertexBase = static_cast<std::uint32_t>(merged.positions.size());
            const auto materialBase = static_cast<std::uint32_t>(merged.materials.size());
            for (std::size_t v = 0; v < mesh.positions.size(); ++v) {
                merged.positions.push_back(TransformCoord(mesh.positions[v], part.transform));
                if (anyNormals) {
                    merged.normals.push_back(mesh.HasNormals()
                                                 ? TransformNormal(mesh.normals[v], part.transform)
                                                 : Vec3{});
                }
                if (anyTexcoords) {
                    merged.texcoords.push_back(mesh.HasTexcoords() ? mesh.texcoords[v] : Vec2{});
                }
            }
            for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
                Triangle face = mesh.faces[f];
                for (std::uint32_t& index : face.index) {
                    index += vertexBase;
                }
                faces.push_back(face);
                faceMaterial.push_back(mesh.faceMaterial[f] + materialBase);
            }
            merged.materials.insert(merged.materials.end(), mesh.materials.begin(),
                                    mesh.materials.end());
        }

        FaceOrder order = OrderFacesByMaterial(faces, faceMaterial, merged.materials.size());
        merged.faces = std::move(order.faces);
        merged.faceMaterial = std::move(order.faceMaterial);
        merged.subsets = std::move(order.subsets);
        *out = std::move(merged);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

}  // namespace tetrakon
