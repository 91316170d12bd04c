#pragma once

// The drawing state a device keeps between calls, with the values a freshly created or
// reset device starts from. Plain data: no Qt, no OpenGL.

#include <array>
#include <cstdint>

#include "gfxutil/matrix.h"
#include "platform/gfx/device.h"
#include "platform/gfx/fixed_function_lighting.h"

namespace tetrakon::gfx {

struct TextureStageSetup {
    TextureOp colorOp = TextureOp::Modulate;
    TextureArg colorArg1 = TextureArg::Texture;
    TextureArg colorArg2 = TextureArg::Current;
    TextureOp alphaOp = TextureOp::SelectArg1;
    TextureArg alphaArg1 = TextureArg::Texture;
    TextureArg alphaArg2 = TextureArg::Current;
};

struct SamplerSetup {
    TextureFilter minFilter = TextureFilter::Point;
    TextureFilter magFilter = TextureFilter::Point;
    TextureFilter mipFilter = TextureFilter::None;
};

struct RasterStates {
    bool depthTest = false;  // on by default when the device has a depth buffer
    bool lighting = true;
    bool dither = false;
    bool specular = false;  // kept, but no specular light is computed
    bool alphaBlend = false;
    Blend sourceBlend = Blend::One;
    Blend destinationBlend = Blend::Zero;
    Cull cull = Cull::CounterClockwise;
};

struct DrawState {
    std::array<Matrix, 3> transforms{};  // world, view, projection
    LightingState lighting;              // holds the global ambient and normalisation
    RasterStates raster;
    TextureStageSetup stage0;
    SamplerSetup sampler0;
};

// The state of a device just created or reset.
DrawState DefaultDrawState(bool hasDepthBuffer);

// Each stores one value, or answers D3DERR_INVALIDCALL for a value outside its enum.
Result SetRenderStateValue(DrawState* state, RenderState which, std::uint32_t value);
Result SetTextureStageValue(TextureStageSetup* stage, TextureStageState which, std::uint32_t value);
Result SetSamplerValue(SamplerSetup* sampler, SamplerState which, std::uint32_t value);

}  // namespace tetrakon::gfx
