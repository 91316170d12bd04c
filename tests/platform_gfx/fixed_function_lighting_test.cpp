// The lighting reference against values worked out by hand.

#include "platform/gfx/fixed_function_lighting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tetrakon::gfx {
namespace {

Light Directional(float intensity, Vec3 direction) {
    Light light;
    light.type = LightType::Directional;
    light.diffuse = {intensity, intensity, intensity, 1};
    light.direction = direction;
    return light;
}

LightingState OneLight(Vec3 direction, float intensity) {
    LightingState state;
    state.lights[0] = Directional(intensity, direction);
    state.enabled[0] = true;
    state.material.diffuse = {0.5f, 0.25f, 1.0f, 0.75f};
    state.material.ambient = {1.0f, 0.5f, 0.0f, 1.0f};
    return state;
}

TEST(FixedFunctionLighting, DiffusePlusGlobalAmbientTimesMaterialAmbient) {
    LightingState state = OneLight({0, 0, 1}, 0.8f);
    state.globalAmbient = 0x00336699;  // 0.2, 0.4, 0.6
    const ColorValue c = LightVertex(state, Matrix{}, Matrix{}, {0, 0, -1}, nullptr);
    EXPECT_NEAR(c.r, 0.5f * 0.8f + 1.0f * 0.2f, 1e-6f);
    EXPECT_NEAR(c.g, 0.25f * 0.8f + 0.5f * 0.4f, 1e-6f);
    EXPECT_NEAR(c.b, 1.0f * 0.8f + 0.0f * 0.6f, 1e-6f);
    EXPECT_FLOAT_EQ(c.a, 0.75f);
}

TEST(FixedFunctionLighting, SurfaceFacingAwayGetsOnlyAmbient) {
    LightingState state = OneLight({0, 0, 1}, 1.0f);
    state.globalAmbient = 0x00808080;
    const ColorValue away = LightVertex(state, Matrix{}, Matrix{}, {0, 0, 1}, nullptr);
    EXPECT_NEAR(away.r, 128.0f / 255.0f, 1e-6f);
    EXPECT_NEAR(away.b, 0.0f, 1e-6f);
    // At 60 degrees the diffuse term halves.
    const float s = std::sin(std::numbers::pi_v<float> / 3);
    const ColorValue slanted = LightVertex(state, Matrix{}, Matrix{}, {0, s, -0.5f}, nullptr);
    EXPECT_NEAR(slanted.g, 0.25f * 0.5f + 0.5f * 128.0f / 255.0f, 1e-6f);
}

TEST(FixedFunctionLighting, ScaledWorldChangesNormalLengthUnlessNormalised) {
    LightingState state = OneLight({0, 0, 1}, 1.0f);
    state.material.ambient = {};
    const Matrix doubled = MatrixScaling(2, 2, 2);
    // The inverse transpose of a scaling by 2 halves the normal, and with it the light.
    EXPECT_NEAR(LightVertex(state, doubled, Matrix{}, {0, 0, -1}, nullptr).r, 0.25f, 1e-6f);
    // A normal of length 3 triples it (and clamps where it passes 1).
    const ColorValue long3 = LightVertex(state, Matrix{}, Matrix{}, {0, 0, -3}, nullptr);
    EXPECT_NEAR(long3.r, 1.0f, 1e-6f);
    EXPECT_NEAR(long3.g, 0.75f, 1e-6f);
    state.normalizeNormals = true;
    EXPECT_NEAR(LightVertex(state, doubled, Matrix{}, {0, 0, -1}, nullptr).r, 0.5f, 1e-6f);
}

TEST(FixedFunctionLighting, VertexColourReplacesMaterialDiffuseOnly) {
    LightingState state = OneLight({0, 0, 1}, 0.5f);
    state.globalAmbient = 0x00FFFFFF;
    const ColorValue vertex{0.2f, 0.4f, 0.6f, 0.3f};
    const ColorValue c = LightVertex(state, Matrix{}, Matrix{}, {0, 0, -1}, &vertex);
    EXPECT_FLOAT_EQ(c.r, 1.0f);
    EXPECT_NEAR(c.g, 0.4f * 0.5f + 0.5f, 1e-6f);
    EXPECT_NEAR(c.b, 0.6f * 0.5f + 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(c.a, 0.3f);
}

TEST(FixedFunctionLighting, LightsAddUpAndDisabledOnesDoNot) {
    LightingState state = OneLight({0, 0, 1}, 0.25f);
    state.material.ambient = {};
    state.lights[3] = Directional(0.5f, {0, 0, 1});
    state.enabled[3] = true;
    state.lights[5] = Directional(4.0f, {0, 0, 1});
    state.enabled[5] = false;
    EXPECT_NEAR(LightVertex(state, Matrix{}, Matrix{}, {0, 0, -1}, nullptr).r, 0.5f * 0.75f, 1e-6f);
}

TEST(FixedFunctionLighting, LightingHappensInCameraSpace) {
    // Directions given in world space are carried into camera space with the normals, so
    // turning the camera alone changes nothing; turning the object does.
    LightingState state = OneLight({1, 0, 1}, 1.0f);
    const Vec3 normal{-0.3f, 0.2f, -0.9f};
    const ColorValue plain = LightVertex(state, Matrix{}, Matrix{}, normal, nullptr);
    const Matrix turn = MatrixRotationY(0.7f);
    const ColorValue turned = LightVertex(state, Matrix{}, turn, normal, nullptr);
    EXPECT_GT(std::abs(LightVertex(state, turn, Matrix{}, normal, nullptr).r - plain.r), 0.01f);
    EXPECT_NEAR(turned.r, plain.r, 1e-5f);
    EXPECT_NEAR(turned.g, plain.g, 1e-5f);
    EXPECT_NEAR(turned.b, plain.b, 1e-5f);
    EXPECT_GT(plain.r, 0.1f);
}

TEST(FixedFunctionLighting, UnlitVertexIsItsColourOrWhite) {
    const ColorValue own{0.1f, 0.2f, 0.3f, 0.4f};
    EXPECT_FLOAT_EQ(UnlitVertex(&own).g, 0.2f);
    EXPECT_FLOAT_EQ(UnlitVertex(nullptr).a, 1.0f);
    EXPECT_FLOAT_EQ(UnlitVertex(nullptr).r, 1.0f);
}

TEST(FixedFunctionLighting, ColourChannelsOfArgb) {
    const ColorValue c = ColorFromArgb(0x80FF4000);
    EXPECT_FLOAT_EQ(c.a, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(c.r, 1.0f);
    EXPECT_FLOAT_EQ(c.g, 64.0f / 255.0f);
    EXPECT_FLOAT_EQ(c.b, 0.0f);
}

}  // namespace
}  // namespace tetrakon::gfx
