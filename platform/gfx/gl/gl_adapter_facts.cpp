#include "platform/gfx/gl/gl_adapter_facts.h"

#include "platform/gfx/format_info.h"

namespace tetrakon::gfx {

namespace {

const SurfaceFormatSupport* Find(const std::vector<SurfaceFormatSupport>& list, Format format) {
    for (const SurfaceFormatSupport& entry : list) {
        if (entry.format == format) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace

const SurfaceFormatSupport* GlAdapterFacts::FindColor(Format format) const {
    return Find(colorFormats, format);
}

const SurfaceFormatSupport* GlAdapterFacts::FindDepth(Format format) const {
    return Find(depthFormats, format);
}

DeviceCaps HalDeviceCaps(const GlAdapterFacts& facts) {
    DeviceCaps caps;
    caps.deviceType = DeviceType::HAL;
    caps.adapterOrdinal = 0;
    // Transform and lighting run in the vertex shader. Not a pure device: state can be
    // read back.
    caps.devCaps = kDevCapsHwTransformAndLight;
    caps.primitiveMiscCaps = 0;
    caps.presentationIntervals = kPresentIntervalImmediate | kPresentIntervalOne;
    caps.maxActiveLights = 8;
    caps.maxTextureWidth = facts.maxTextureSize;
    caps.maxTextureHeight = facts.maxTextureSize;
    caps.maxRenderTargetWidth = facts.maxRenderTargetSize;
    caps.maxRenderTargetHeight = facts.maxRenderTargetSize;
    return caps;
}

bool BackBufferMatchesDisplay(const GlAdapterFacts& facts, Format displayFormat,
                              Format backBufferFormat) {
    const std::uint32_t bits = ColorChannelBits(displayFormat);
    return bits != 0 && ColorChannelBits(backBufferFormat) == bits &&
           facts.FindColor(backBufferFormat) != nullptr;
}

Result MultisampleSupport(const GlAdapterFacts& facts, Format surfaceFormat,
                          MultisampleType samples, std::uint32_t* qualityLevels) {
    const SurfaceFormatSupport* support = facts.FindColor(surfaceFormat);
    if (support == nullptr) {
        support = facts.FindDepth(surfaceFormat);
    }
    if (support == nullptr) {
        return D3DERR_NOTAVAILABLE;
    }
    const bool works =
        samples == 0 || (samples >= 2 && samples <= 16 && (support->sampleCounts >> samples) & 1u);
    if (!works) {
        return D3DERR_NOTAVAILABLE;
    }
    if (qualityLevels != nullptr) {
        *qualityLevels = 1;
    }
    return S_OK;
}

int SwapIntervalFor(std::uint32_t presentInterval) {
    switch (presentInterval) {
        case kPresentIntervalImmediate:
            return 0;
        case kPresentIntervalDefault:
        case kPresentIntervalOne:
            return 1;
        default:
            return -1;
    }
}

Result CheckPresentParameters(const GlAdapterFacts& facts, Format displayFormat,
                              const PresentParameters& params) {
    if (!BackBufferMatchesDisplay(facts, displayFormat, params.backBufferFormat)) {
        return D3DERR_INVALIDCALL;
    }
    if (params.backBufferCount > 1 || params.backBufferWidth > facts.maxRenderTargetSize ||
        params.backBufferHeight > facts.maxRenderTargetSize) {
        return D3DERR_INVALIDCALL;
    }
    if (params.multiSampleQuality != 0 ||
        Failed(
            MultisampleSupport(facts, params.backBufferFormat, params.multiSampleType, nullptr))) {
        return D3DERR_INVALIDCALL;
    }
    if (params.enableAutoDepthStencil) {
        if (facts.FindDepth(params.autoDepthStencilFormat) == nullptr ||
            Failed(MultisampleSupport(facts, params.autoDepthStencilFormat, params.multiSampleType,
                                      nullptr))) {
            return D3DERR_INVALIDCALL;
        }
    }
    if (SwapIntervalFor(params.presentationInterval) < 0) {
        return D3DERR_INVALIDCALL;
    }
    return S_OK;
}

}  // namespace tetrakon::gfx
