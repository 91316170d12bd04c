#include "platform/gfx/fixed_function_lighting.h"

#include <algorithm>

namespace tetrakon::gfx {

namespace {

float Channel(std::uint32_t argb, int shift) {
    return static_cast<float>((argb >> shift) & 0xFFu) / 255.0f;
}

float Clamp01(float value) {
    return std::clamp(value, 0.0f, 1.0f);
}

}  // namespace

ColorValue ColorFromArgb(std::uint32_t argb) {
    return {Channel(argb, 16), Channel(argb, 8), Channel(argb, 0), Channel(argb, 24)};
}

Matrix NormalMatrix(const Matrix& worldView) {
    Matrix linear = worldView;
    linear.m[3][0] = linear.m[3][1] = linear.m[3][2] = 0.0f;
    Matrix inverse;
    Matrix result;
    if (!MatrixInverse(linear, &inverse)) {
        for (auto& row : result.m) {
            std::fill(std::begin(row), std::end(row), 0.0f);
        }
        return result;
    }
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            result.m[row][column] = inverse.m[column][row];
        }
    }
    return result;
}

Vec3 LightDirectionInView(const Light& light, const Matrix& view) {
    return Normalize(TransformNormal(light.direction, view));
}

ColorValue LightVertex(const LightingState& state, const Matrix& world, const Matrix& view,
                       Vec3 normal, const ColorValue* vertexColor) {
    Vec3 n = TransformNormal(normal, NormalMatrix(world * view));
    if (state.normalizeNormals) {
        n = Normalize(n);
    }
    const SurfaceMaterial& material = state.material;
    const ColorValue diffuseReflectance = vertexColor ? *vertexColor : material.diffuse;
    const ColorValue global = ColorFromArgb(state.globalAmbient);

    float ambient[3] = {global.r, global.g, global.b};
    float diffuse[3] = {0, 0, 0};
    for (std::uint32_t i = 0; i < kMaxLights; ++i) {
        const Light& light = state.lights[i];
        if (!state.enabled[i] || light.type != LightType::Directional) {
            continue;
        }
        const float facing = std::max(0.0f, -Dot(n, LightDirectionInView(light, view)));
        ambient[0] += light.ambient.r;
        ambient[1] += light.ambient.g;
        ambient[2] += light.ambient.b;
        diffuse[0] += light.diffuse.r * facing;
        diffuse[1] += light.diffuse.g * facing;
        diffuse[2] += light.diffuse.b * facing;
    }
    return {Clamp01(material.emissive.r + material.ambient.r * ambient[0] +
                    diffuseReflectance.r * diffuse[0]),
            Clamp01(material.emissive.g + material.ambient.g * ambient[1] +
                    diffuseReflectance.g * diffuse[1]),
            Clamp01(material.emissive.b + material.ambient.b * ambient[2] +
                    diffuseReflectance.b * diffuse[2]),
            Clamp01(diffuseReflectance.a)};
}

ColorValue UnlitVertex(const ColorValue* vertexColor) {
    return vertexColor ? *vertexColor : ColorValue{1, 1, 1, 1};
}

}  // namespace tetrakon::gfx
