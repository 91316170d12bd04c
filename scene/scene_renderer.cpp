#include "scene/scene_renderer.h"

#include "platform/gfx/texture_file.h"
#include "scene/scene_file.h"

namespace tetrakon {

namespace {

using gfx::RenderState;
using gfx::SamplerState;
using gfx::TextureArg;
using gfx::TextureOp;
using gfx::TextureStageState;

constexpr float kQuarterPi = 0.7853982f;
constexpr float kNearPlane = 1.0f;
constexpr float kFarPlane = 200.0f;
constexpr float kQuadDepth = 55.0f;
constexpr std::uint32_t kGlobalAmbient = 0x000F0F0F;

struct LightSetup {
    float intensity;
    Vec3 vector;
};

// Light 0 shines from the eye; lights 1 to 5 from the four sides, below and behind; light 6
// from in front, opposite the eye.
constexpr std::array<LightSetup, kSceneLightCount> kLightSetups = {{
    {2.0f, {0, 0, -60}},
    {1.0f, {100, 0, 0}},
    {1.0f, {-100, 0, 0}},
    {1.0f, {0, -100, 0}},
    {1.0f, {0, 100, 0}},
    {1.0f, {0, 0, -100}},
    {1.5f, {0, 0, 100}},
}};

constexpr float kSideLightShare = 0.3f;

gfx::Light DirectionalLight(const LightSetup& setup) {
    gfx::Light light;
    light.type = gfx::LightType::Directional;
    light.diffuse = {setup.intensity, setup.intensity, setup.intensity, 0.0f};
    light.position = setup.vector;
    light.direction = Normalize(setup.vector);
    light.range = 500.0f;
    return light;
}

void SetIntensity(gfx::Light* light, float intensity) {
    light->diffuse.r = intensity;
    light->diffuse.g = intensity;
    light->diffuse.b = intensity;
}

std::uint32_t Value(auto enumerator) {
    return static_cast<std::uint32_t>(enumerator);
}

void SetSurfaceStates(gfx::Device* device) {
    gfx::SurfaceMaterial material;
    material.diffuse = {1, 0, 0, 1};
    material.ambient = {1, 0, 0, 1};
    device->SetMaterial(material);

    device->SetTextureStageState(0, TextureStageState::ColorOp, Value(TextureOp::Modulate));
    device->SetTextureStageState(0, TextureStageState::ColorArg1, Value(TextureArg::Texture));
    device->SetTextureStageState(0, TextureStageState::ColorArg2, Value(TextureArg::Diffuse));
    device->SetTextureStageState(0, TextureStageState::AlphaOp, Value(TextureOp::Modulate));
    device->SetTextureStageState(0, TextureStageState::AlphaArg1, Value(TextureArg::Texture));
    device->SetTextureStageState(0, TextureStageState::AlphaArg2, Value(TextureArg::Diffuse));
    device->SetSamplerState(0, SamplerState::MinFilter, Value(gfx::TextureFilter::Linear));
    device->SetSamplerState(0, SamplerState::MagFilter, Value(gfx::TextureFilter::Linear));

    device->SetRenderState(RenderState::DitherEnable, 0);
    device->SetRenderState(RenderState::SpecularEnable, 0);
    device->SetRenderState(RenderState::ZEnable, 1);
    device->SetRenderState(RenderState::Ambient, kGlobalAmbient);
}

}  // namespace

Result SceneRenderer::DeviceCreated(gfx::Device* device) {
    const Result created = quad_.Create(device);
    if (Failed(created)) {
        return created;
    }
    LoadPicture(device, PathImage);
    return S_OK;
}

void SceneRenderer::LoadPicture(gfx::Device* device, const std::string& path) {
    picture_.reset();
    if (Failed(gfx::LoadTextureFromFile(device, path, &picture_))) {
        picture_.reset();
        Picture = 0;
    }
}

Result SceneRenderer::DeviceReset(gfx::Device* device, std::uint32_t backBufferWidth,
                                  std::uint32_t backBufferHeight) {
    SetSurfaceStates(device);

    world_ = Matrix::Identity();
    device->SetTransform(gfx::TransformState::World, world_);
    view_ = MatrixLookAtLH({0, 0, -55}, {0, 0, 0}, {0, 1, 0});
    device->SetTransform(gfx::TransformState::View, view_);
    const float aspect = static_cast<float>(backBufferWidth) / static_cast<float>(backBufferHeight);
    projection_ = MatrixPerspectiveFovLH(kQuarterPi, aspect, kNearPlane, kFarPlane);
    device->SetTransform(gfx::TransformState::Projection, projection_);

    for (int i = 0; i < kSceneLightCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        lights_[index] = DirectionalLight(kLightSetups[index]);
        device->SetLight(static_cast<std::uint32_t>(i), lights_[index]);
        device->LightEnable(static_cast<std::uint32_t>(i), true);
    }
    device->SetRenderState(RenderState::Lighting, 1);
    return S_OK;
}

void SceneRenderer::UpdateFrame(gfx::Device* device, const Matrix& rotation, float zoomScale) {
    world_ = rotation * MatrixScaling(zoomScale, zoomScale, zoomScale);
    for (int i = 1; i < kSceneLightCount; ++i) {
        auto& light = lights_[static_cast<std::size_t>(i)];
        SetIntensity(&light, i == kSceneLightCount - 1 ? zoomScale : kSideLightShare * zoomScale);
        device->SetLight(static_cast<std::uint32_t>(i), light);
    }
}

Result SceneRenderer::DrawFrame(gfx::Device* device, SceneFile& root, FrameAnimation& animation) {
    device->Clear(gfx::kClearTarget | gfx::kClearZBuffer, BackgroundColour, 1.0f, 0);
    if (Failed(device->BeginScene())) {
        return S_OK;
    }
    root.Render(device, &world_);
    animation.StepAnimations();

    if (Picture == 1) {
        device->SetTransform(gfx::TransformState::World, MatrixTranslation(0, 0, kQuadDepth));
        device->SetTexture(0, picture_.get());
        UpdateQuad();
        if (quad_.buffer() != nullptr) {
            device->DrawPrimitive(gfx::PrimitiveType::TriangleList, *quad_.buffer(), 0, 2);
        }
    }
    device->EndScene();
    return S_OK;
}

void SceneRenderer::UpdateQuad() {
    quad_.Update(projection_, BackgroundColour);
}

void SceneRenderer::DeviceDestroyed() {
    quad_.Release();
    picture_.reset();
}

}  // namespace tetrakon
