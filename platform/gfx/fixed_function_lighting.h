#pragma once

// Classic fixed-function vertex lighting, written out in plain maths. The OpenGL
// program computes the same thing per vertex on the GPU; this is the reference it is
// checked against, and the place where the camera-space inputs it needs are prepared.
//
// Lighting happens in camera space. Normals are carried there by the inverse transpose
// of the world x view matrix and are not renormalised unless asked, so a scaled world
// matrix changes their length and with it the brightness. Only directional lights are
// lit, and they give diffuse and ambient light (no specular):
//   colour = emissive + ambient_m x (global ambient + sum ambient_l)
//          + sum diffuse_l x diffuse_m x max(0, N . -L)
// clamped to [0, 1]; alpha is the diffuse reflectance's alpha. The diffuse reflectance
// is the vertex colour when the vertex has one, otherwise the material's diffuse colour;
// the ambient reflectance always comes from the material.

#include <array>
#include <cstdint>

#include "gfxutil/matrix.h"
#include "gfxutil/mesh.h"
#include "platform/gfx/device.h"

namespace tetrakon::gfx {

constexpr std::uint32_t kMaxLights = 8;

struct LightingState {
    std::array<Light, kMaxLights> lights{};
    std::array<bool, kMaxLights> enabled{};
    SurfaceMaterial material;
    std::uint32_t globalAmbient = 0;  // 0xAARRGGBB
    bool normalizeNormals = false;
};

// 0xAARRGGBB as four channels in [0, 1].
ColorValue ColorFromArgb(std::uint32_t argb);

// The upper 3x3 of the inverse transpose of worldView, for row vectors (n' = n x M); the
// zero matrix when worldView cannot be inverted.
Matrix NormalMatrix(const Matrix& worldView);

// The direction in which a light travels, carried into camera space and made unit length.
Vec3 LightDirectionInView(const Light& light, const Matrix& view);

// The lit colour of one vertex with the given model-space normal. vertexColor is null
// when the vertex carries no colour.
ColorValue LightVertex(const LightingState& state, const Matrix& world, const Matrix& view,
                       Vec3 normal, const ColorValue* vertexColor);

// The colour of a vertex when lighting is off: its own colour, or opaque white.
ColorValue UnlitVertex(const ColorValue* vertexColor);

}  // namespace tetrakon::gfx
