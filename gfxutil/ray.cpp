#include "gfxutil/ray.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tetrakon {

namespace {

// A ray closer to the triangle's plane than this fraction of |d| |e1| |e2| counts as
// parallel; its hit point would be pure rounding noise.
constexpr float kParallelTolerance = 1e-7f;

std::optional<float> NearestHitInFaces(const Mesh& mesh, std::size_t first, std::size_t end,
                                       Vec3 origin, Vec3 direction) {
    std::optional<float> nearest;
    const std::size_t vertexCount = mesh.positions.size();
    for (std::size_t f = first; f < end; ++f) {
        const Triangle& face = mesh.faces[f];
        if (face.index[0] >= vertexCount || face.index[1] >= vertexCount ||
            face.index[2] >= vertexCount) {
            continue;
        }
        const std::optional<RayHit> hit =
            IntersectTriangle(origin, direction, mesh.positions[face.index[0]],
                              mesh.positions[face.index[1]], mesh.positions[face.index[2]]);
        if (hit && (!nearest || hit->t < *nearest)) {
            nearest = hit->t;
        }
    }
    return nearest;
}

}  // namespace

// Möller–Trumbore: solves origin + t d = v0 + u e1 + v e2 by Cramer's rule, without
// culling either side.
std::optional<RayHit> IntersectTriangle(Vec3 origin, Vec3 direction, Vec3 v0, Vec3 v1, Vec3 v2) {
    const Vec3 edge1 = v1 - v0;
    const Vec3 edge2 = v2 - v0;
    const Vec3 p = Cross(direction, edge2);
    const float determinant = Dot(edge1, p);
    const float scale = Length(direction) * Length(edge1) * Length(edge2);
    if (!(std::abs(determinant) > kParallelTolerance * scale)) {
        return std::nullopt;
    }
    const float inverse = 1.0f / determinant;
    const Vec3 s = origin - v0;
    const float u = Dot(s, p) * inverse;
    if (!(u >= 0.0f && u <= 1.0f)) {
        return std::nullopt;
    }
    const Vec3 q = Cross(s, edge1);
    const float v = Dot(direction, q) * inverse;
    if (!(v >= 0.0f && u + v <= 1.0f)) {
        return std::nullopt;
    }
    const float t = Dot(edge2, q) * inverse;
    if (!(t >= 0.0f) || !std::isfinite(t)) {
        return std::nullopt;
    }
    return RayHit{t, u, v};
}

std::optional<float> NearestHit(const Mesh& mesh, Vec3 origin, Vec3 direction) {
    return NearestHitInFaces(mesh, 0, mesh.faces.size(), origin, direction);
}

std::optional<float> NearestHitInSubset(const Mesh& mesh, std::uint32_t subset, Vec3 origin,
                                        Vec3 direction) {
    if (subset >= mesh.subsets.size()) {
        return std::nullopt;
    }
    const Subset& range = mesh.subsets[subset];
    const std::size_t first = std::min<std::size_t>(range.faceStart, mesh.faces.size());
    const std::size_t end =
        std::min<std::size_t>(std::size_t{range.faceStart} + range.faceCount, mesh.faces.size());
    return NearestHitInFaces(mesh, first, end, origin, direction);
}

}  // namespace tetrakon
