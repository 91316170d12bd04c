#include "scene/pick_turn.h"

#include <limits>

#include "gfxutil/ray.h"

namespace tetrakon {

namespace {

constexpr int kTargetGroups = 24;
constexpr std::uint32_t kTrianglesPerGroup = 3;

// The nearest hit over the group's three triangles; infinity when the ray misses them all.
// The first of the group's triangles that the ray meets decides for the whole group, even
// when a later one of the same group would lie nearer.
float FirstHitInGroup(const Mesh& targets, int group, const PickRay& ray) {
    for (std::uint32_t k = 0; k < kTrianglesPerGroup; ++k) {
        const std::uint32_t subset = kTrianglesPerGroup * static_cast<std::uint32_t>(group) + k;
        if (const std::optional<float> hit =
                NearestHitInSubset(targets, subset, ray.origin, ray.direction)) {
            return *hit;
        }
    }
    return std::numeric_limits<float>::infinity();
}

}  // namespace

int TargetGroupTurnCode(int group) {
    return 6 * (group / 6) + (group % 6) / 2 + 1 + 3 * (group % 2);
}

std::optional<PickRay> PickRayThroughPixel(const PickInputs& inputs) {
    if (inputs.width == 0 || inputs.height == 0) {
        return std::nullopt;
    }
    // The pixel's direction in view space, at depth 1.
    const float vx =
        (2.0f * inputs.px / static_cast<float>(inputs.width) - 1.0f) / inputs.projection.m[0][0];
    const float vy =
        -(2.0f * inputs.py / static_cast<float>(inputs.height) - 1.0f) / inputs.projection.m[1][1];
    Matrix toModel;
    if (!MatrixInverse(inputs.world * inputs.view, &toModel)) {
        return std::nullopt;
    }
    const auto& m = toModel.m;
    return PickRay{toModel.TranslationRow(),
                   {vx * m[0][0] + vy * m[1][0] + m[2][0], vx * m[0][1] + vy * m[1][1] + m[2][1],
                    vx * m[0][2] + vy * m[1][2] + m[2][2]}};
}

int PickTurnAlongRay(const Mesh& hull, const Mesh& targets, const PickRay& ray) {
    const std::optional<float> body = NearestHit(hull, ray.origin, ray.direction);
    if (!body) {
        return kNoTurnPicked;
    }
    int code = kNoTurnPicked;
    for (int group = 0; group < kTargetGroups; ++group) {
        if (FirstHitInGroup(targets, group, ray) < *body) {
            code = TargetGroupTurnCode(group);
        }
    }
    return code;
}

int PickTurn(const PickInputs& inputs) {
    if (inputs.hull == nullptr || inputs.targets == nullptr) {
        return kNoTurnPicked;
    }
    const std::optional<PickRay> ray = PickRayThroughPixel(inputs);
    if (!ray) {
        return kNoTurnPicked;
    }
    return PickTurnAlongRay(*inputs.hull, *inputs.targets, *ray);
}

}  // namespace tetrakon
