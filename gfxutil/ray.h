#pragma once

#include <cstdint>
#include <optional>

#include "gfxutil/mesh.h"
#include "gfxutil/vector.h"

namespace tetrakon {

// Where a ray origin + t x direction meets the triangle (v0, v1, v2), hit from either side.
// t is measured along the direction as given, which need not be normalised; u and v are
// the barycentric weights of v1 and v2. Hits behind the origin (t < 0) do not count.
struct RayHit {
    float t = 0, u = 0, v = 0;
};
std::optional<RayHit> IntersectTriangle(Vec3 origin, Vec3 direction, Vec3 v0, Vec3 v1, Vec3 v2);

// The nearest hit over all faces of the mesh, or none.
std::optional<float> NearestHit(const Mesh& mesh, Vec3 origin, Vec3 direction);

// The nearest hit over the faces of one subset, or none (also for a subset out of range).
std::optional<float> NearestHitInSubset(const Mesh& mesh, std::uint32_t subset, Vec3 origin,
                                        Vec3 direction);

}  // namespace tetrakon
