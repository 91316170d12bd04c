#pragma once

// A mesh laid out the way the OpenGL device draws it: interleaved vertices, a triangle
// index list, and one index range per subset. Plain data: no Qt, no OpenGL.

#include <cstdint>
#include <vector>

#include "gfxutil/mesh.h"

namespace tetrakon::gfx {

// Floats per mesh vertex: position (3), normal (3), texture coordinates (2).
constexpr std::uint32_t kMeshVertexFloats = 8;

struct IndexRange {
    std::uint32_t first = 0;  // first index
    std::uint32_t count = 0;  // number of indices
};

struct MeshDrawData {
    std::vector<float> vertices;
    std::vector<std::uint32_t> indices;
    std::vector<IndexRange> subsets;
};

// Missing normals or texture coordinates become zeros. E_FAIL when the mesh is invalid
// or a subset reaches past its faces.
Result BuildMeshDrawData(const Mesh& mesh, MeshDrawData* out);

}  // namespace tetrakon::gfx
