// The device's drawing state: transforms, lights, material, render, stage and sampler
// states and the bound texture, kept until a draw call applies them.

#include "platform/gfx/gl/gl_device.h"

#include "platform/gfx/gl/gl_resources.h"

namespace tetrakon::gfx {

Result GlDevice::SetTransform(TransformState state, const Matrix& matrix) {
    const auto index = static_cast<std::size_t>(state);
    if (index >= state_.transforms.size()) {
        return D3DERR_INVALIDCALL;
    }
    state_.transforms[index] = matrix;
    return S_OK;
}

Result GlDevice::GetTransform(TransformState state, Matrix* out) {
    const auto index = static_cast<std::size_t>(state);
    if (out == nullptr || index >= state_.transforms.size()) {
        return D3DERR_INVALIDCALL;
    }
    *out = state_.transforms[index];
    return S_OK;
}

Result GlDevice::SetLight(std::uint32_t index, const Light& light) {
    if (index >= kMaxLights) {
        return D3DERR_INVALIDCALL;
    }
    // Only directional lights are lit; a point or spot light would be silently wrong.
    if (light.type != LightType::Directional) {
        return D3DERR_NOTAVAILABLE;
    }
    state_.lighting.lights[index] = light;
    return S_OK;
}

Result GlDevice::LightEnable(std::uint32_t index, bool enable) {
    if (index >= kMaxLights) {
        return D3DERR_INVALIDCALL;
    }
    state_.lighting.enabled[index] = enable;
    return S_OK;
}

Result GlDevice::SetMaterial(const SurfaceMaterial& material) {
    state_.lighting.material = material;
    return S_OK;
}

Result GlDevice::SetRenderState(RenderState state, std::uint32_t value) {
    return SetRenderStateValue(&state_, state, value);
}

Result GlDevice::SetTextureStageState(std::uint32_t stage, TextureStageState state,
                                      std::uint32_t value) {
    if (stage != 0) {
        return D3DERR_INVALIDCALL;
    }
    return SetTextureStageValue(&state_.stage0, state, value);
}

Result GlDevice::SetSamplerState(std::uint32_t sampler, SamplerState state, std::uint32_t value) {
    if (sampler != 0) {
        return D3DERR_INVALIDCALL;
    }
    return SetSamplerValue(&state_.sampler0, state, value);
}

Result GlDevice::SetTexture(std::uint32_t stage, Texture* texture) {
    if (stage != 0 || !home_->alive()) {
        return D3DERR_INVALIDCALL;
    }
    if (texture == nullptr) {
        home_->boundTexture = nullptr;
        return S_OK;
    }
    auto* glTexture = dynamic_cast<GlTexture*>(texture);
    if (glTexture == nullptr || glTexture->home() != home_.get()) {
        return D3DERR_INVALIDCALL;
    }
    home_->boundTexture = glTexture;
    return S_OK;
}

}  // namespace tetrakon::gfx
