#pragma once

// What the OpenGL implementation of this machine can really create, found once by
// trying it (see ProbeGlAdapter), and the answers the catalogue queries derive from it.
// Plain data: no Qt, no OpenGL.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/gfx_types.h"
#include "platform/gfx/gl_api.h"

namespace tetrakon::gfx {

struct SurfaceFormatSupport {
    Format format = Format::Unknown;
    // Bit n set: a surface of this format with exactly n samples can be made (n >= 2).
    std::uint32_t sampleCounts = 0;
};

struct GlAdapterFacts {
    // The API the probe asked for, which devices ask for again, the one its context really
    // had, and what that offers beyond the shared subset.
    GlApi requestedApi;
    GlApi api;
    GlFeatures features;
    std::string renderer;
    std::uint32_t maxTextureSize = 0;
    // The largest framebuffer side that can be made and drawn in full: the least of the
    // texture, renderbuffer and viewport limits.
    std::uint32_t maxRenderTargetSize = 0;
    std::vector<SurfaceFormatSupport> colorFormats;  // back-buffer formats that render
    std::vector<SurfaceFormatSupport> depthFormats;  // depth/stencil formats that attach

    const SurfaceFormatSupport* FindColor(Format format) const;
    const SurfaceFormatSupport* FindDepth(Format format) const;
};

// The device type offered: the GL implementation itself. There is no reference or
// software rasteriser of our own, so only HAL has capabilities.
DeviceCaps HalDeviceCaps(const GlAdapterFacts& facts);

// A back-buffer format goes with a display format when it has the same bits per colour
// channel (A8R8G8B8 and X8R8G8B8 on an X8R8G8B8 display) and the implementation renders it.
bool BackBufferMatchesDisplay(const GlAdapterFacts& facts, Format displayFormat,
                              Format backBufferFormat);

// S_OK when `samples` (0 none, 2..16 that many) works for a colour or depth format;
// qualityLevels (may be null) becomes 1 then. Non-maskable multisampling is not offered.
Result MultisampleSupport(const GlAdapterFacts& facts, Format surfaceFormat,
                          MultisampleType samples, std::uint32_t* qualityLevels);

// The swap interval a present interval asks for, or -1 when it is not offered.
int SwapIntervalFor(std::uint32_t presentInterval);

// Checks present parameters against what can be made when showing on a display of the
// given format: back-buffer format and size, depth format, multisampling, interval.
// A zero width or height is allowed (it means the window's client size).
Result CheckPresentParameters(const GlAdapterFacts& facts, Format displayFormat,
                              const PresentParameters& params);

}  // namespace tetrakon::gfx
