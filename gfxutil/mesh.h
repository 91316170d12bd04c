#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfxutil/matrix.h"
#include "gfxutil/result.h"
#include "gfxutil/vector.h"

namespace tetrakon {

struct ColorValue {
    float r = 0, g = 0, b = 0, a = 0;
};

struct Material {
    ColorValue diffuse;
    ColorValue ambient;
    ColorValue specular;
    ColorValue emissive;
    float power = 0;
    std::string textureFilename;  // empty when the material names no texture
};

struct Triangle {
    std::uint32_t index[3] = {0, 0, 0};
};

// A run of faces that share one material. After SortFacesBySubset, subset i holds exactly
// the faces of material i, in one contiguous run.
struct Subset {
    std::uint32_t faceStart = 0;
    std::uint32_t faceCount = 0;
};

// A triangle mesh in system memory. Normals and texture coordinates, when present, have
// one entry per position. faceMaterial gives each face its material (its subset).
struct Mesh {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;
    std::vector<Vec2> texcoords;
    std::vector<Triangle> faces;
    std::vector<std::uint32_t> faceMaterial;
    std::vector<Material> materials;
    std::vector<Subset> subsets;

    bool HasNormals() const { return !normals.empty(); }
    bool HasTexcoords() const { return !texcoords.empty(); }
};

// Checks the invariants above: parallel array sizes, indices inside the vertex list,
// material ids inside the material list. E_FAIL with no change when one does not hold.
Result ValidateMesh(const Mesh& mesh);

// Orders the faces by material (stable within a material) and rebuilds the subset table
// with one entry per material, in material order; a material with no faces gets an empty
// subset. Drops vertices no face uses. The mesh must be valid.
Result SortFacesBySubset(Mesh* mesh);

// One mesh made of several, each placed by its transform: positions through
// TransformCoord, normals through TransformNormal (not renormalised). Materials are
// concatenated in input order and faces keep their own material, so the merged mesh has
// one subset per input material, in input order. A mesh without normals or texture
// coordinates gets zero ones when any other input has them. Faces are ordered by material
// (stable) and every vertex is kept. A null mesh or out gives E_INVALIDARG, an invalid
// input E_FAIL; on failure out is left unchanged.
struct PlacedMesh {
    const Mesh* mesh = nullptr;
    Matrix transform;
};
Result MergeMeshes(const std::vector<PlacedMesh>& parts, Mesh* out);

}  // namespace tetrakon
