#include "platform/gfx/draw_state.h"

namespace tetrakon::gfx {

namespace {

bool IsBlend(std::uint32_t value) {
    switch (static_cast<Blend>(value)) {
        case Blend::Zero:
        case Blend::One:
        case Blend::SrcAlpha:
        case Blend::InvSrcAlpha:
            return true;
    }
    return false;
}

bool IsCull(std::uint32_t value) {
    return value >= 1 && value <= 3;
}
bool IsTextureOp(std::uint32_t value) {
    return value >= 1 && value <= 4;
}
bool IsTextureArg(std::uint32_t value) {
    return value <= 2;
}
bool IsFilter(std::uint32_t value) {
    return value <= 2;
}

}  // namespace

DrawState DefaultDrawState(bool hasDepthBuffer) {
    DrawState state;
    state.raster.depthTest = hasDepthBuffer;
    return state;
}

Result SetRenderStateValue(DrawState* state, RenderState which, std::uint32_t value) {
    RasterStates& raster = state->raster;
    const bool on = value != 0;
    switch (which) {
        case RenderState::ZEnable:
            raster.depthTest = on;
            return S_OK;
        case RenderState::Lighting:
            raster.lighting = on;
            return S_OK;
        case RenderState::Ambient:
            state->lighting.globalAmbient = value;
            return S_OK;
        case RenderState::DitherEnable:
            raster.dither = on;
            return S_OK;
        case RenderState::SpecularEnable:
            raster.specular = on;
            return S_OK;
        case RenderState::AlphaBlendEnable:
            raster.alphaBlend = on;
            return S_OK;
        case RenderState::SrcBlend:
        case RenderState::DestBlend:
            if (!IsBlend(value)) {
                return D3DERR_INVALIDCALL;
            }
            (which == RenderState::SrcBlend ? raster.sourceBlend : raster.destinationBlend) =
                static_cast<Blend>(value);
            return S_OK;
        case RenderState::NormalizeNormals:
            state->lighting.normalizeNormals = on;
            return S_OK;
        case RenderState::CullMode:
            if (!IsCull(value)) {
                return D3DERR_INVALIDCALL;
            }
            raster.cull = static_cast<Cull>(value);
            return S_OK;
    }
    return D3DERR_INVALIDCALL;
}

Result SetTextureStageValue(TextureStageSetup* stage, TextureStageState which,
                            std::uint32_t value) {
    const bool isOp = which == TextureStageState::ColorOp || which == TextureStageState::AlphaOp;
    if (isOp ? !IsTextureOp(value) : !IsTextureArg(value)) {
        return D3DERR_INVALIDCALL;
    }
    const auto op = static_cast<TextureOp>(value);
    const auto arg = static_cast<TextureArg>(value);
    switch (which) {
        case TextureStageState::ColorOp:
            stage->colorOp = op;
            return S_OK;
        case TextureStageState::ColorArg1:
            stage->colorArg1 = arg;
            return S_OK;
        case TextureStageState::ColorArg2:
            stage->colorArg2 = arg;
            return S_OK;
        case TextureStageState::AlphaOp:
            stage->alphaOp = op;
            return S_OK;
        case TextureStageState::AlphaArg1:
            stage->alphaArg1 = arg;
            return S_OK;
        case TextureStageState::AlphaArg2:
            stage->alphaArg2 = arg;
            return S_OK;
    }
    return D3DERR_INVALIDCALL;
}

Result SetSamplerValue(SamplerSetup* sampler, SamplerState which, std::uint32_t value) {
    if (!IsFilter(value)) {
        return D3DERR_INVALIDCALL;
    }
    const auto filter = static_cast<TextureFilter>(value);
    switch (which) {
        case SamplerState::MinFilter:
            sampler->minFilter = filter;
            return S_OK;
        case SamplerState::MagFilter:
            sampler->magFilter = filter;
            return S_OK;
        case SamplerState::MipFilter:
            sampler->mipFilter = filter;
            return S_OK;
    }
    return D3DERR_INVALIDCALL;
}

}  // namespace tetrakon::gfx
