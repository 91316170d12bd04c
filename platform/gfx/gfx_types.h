#pragma once

// Plain types of the display layer. The numbering of formats, device types, flags and
// result codes is the one the game's framework was written against, so that tables and
// messages keyed by these values keep their meaning.

#include <cstdint>
#include <string>

#include "gfxutil/mesh.h"
#include "gfxutil/result.h"
#include "gfxutil/vector.h"

namespace tetrakon::gfx {

enum class Format : std::uint32_t {
    Unknown = 0,
    R8G8B8 = 20,
    A8R8G8B8 = 21,
    X8R8G8B8 = 22,
    R5G6B5 = 23,
    X1R5G5B5 = 24,
    A1R5G5B5 = 25,
    A4R4G4B4 = 26,
    R3G3B2 = 27,
    A8R3G3B2 = 29,
    X4R4G4B4 = 30,
    A2B10G10R10 = 31,
    A2R10G10B10 = 35,
    D32 = 71,
    D15S1 = 73,
    D24S8 = 75,
    D24X8 = 77,
    D24X4S4 = 79,
    D16 = 80,
};

enum class DeviceType : std::uint32_t { HAL = 1, REF = 2, SW = 3 };

// 0 none, 1 non-maskable, 2..16 that many samples.
using MultisampleType = std::uint32_t;

enum class ResourceType : std::uint32_t { Surface = 1, Texture = 3 };

// Usage flag for CheckDeviceFormat.
constexpr std::uint32_t kUsageDepthStencil = 0x00000002;

// Device result codes.
constexpr Result D3DERR_DEVICELOST = ResultFromBits(0x88760868u);
constexpr Result D3DERR_DEVICENOTRESET = ResultFromBits(0x88760869u);
constexpr Result D3DERR_NOTAVAILABLE = ResultFromBits(0x8876086Au);
constexpr Result D3DERR_INVALIDCALL = ResultFromBits(0x8876086Cu);
constexpr Result D3DERR_OUTOFVIDEOMEMORY = ResultFromBits(0x8876017Cu);

// Device capability bits used by the framework.
constexpr std::uint32_t kDevCapsHwTransformAndLight = 0x00010000;
constexpr std::uint32_t kDevCapsPureDevice = 0x00100000;
constexpr std::uint32_t kPrimitiveMiscNullReference = 0x00001000;

// Present intervals (bit values).
constexpr std::uint32_t kPresentIntervalDefault = 0x00000000;
constexpr std::uint32_t kPresentIntervalOne = 0x00000001;
constexpr std::uint32_t kPresentIntervalTwo = 0x00000002;
constexpr std::uint32_t kPresentIntervalThree = 0x00000004;
constexpr std::uint32_t kPresentIntervalFour = 0x00000008;
constexpr std::uint32_t kPresentIntervalImmediate = 0x80000000;

// Behaviour flags of device creation.
constexpr std::uint32_t kCreateSoftwareVertexProcessing = 0x20;
constexpr std::uint32_t kCreateHardwareVertexProcessing = 0x40;
constexpr std::uint32_t kCreateMixedVertexProcessing = 0x80;
constexpr std::uint32_t kCreatePureDevice = 0x10;

struct DisplayMode {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t refreshRate = 0;
    Format format = Format::Unknown;
};

struct AdapterIdentifier {
    std::string description;  // at most 511 characters are kept by the catalogue
};

struct DeviceCaps {
    DeviceType deviceType = DeviceType::HAL;
    std::uint32_t adapterOrdinal = 0;
    std::uint32_t devCaps = 0;
    std::uint32_t primitiveMiscCaps = 0;
    std::uint32_t presentationIntervals = 0;
    std::uint32_t maxActiveLights = 8;
    std::uint32_t maxTextureWidth = 0;
    std::uint32_t maxTextureHeight = 0;
    // The largest back buffer the device can draw into; 0: no stated limit.
    std::uint32_t maxRenderTargetWidth = 0;
    std::uint32_t maxRenderTargetHeight = 0;
};

enum class SwapEffect : std::uint32_t { Discard = 1 };

class Window;

struct PresentParameters {
    std::uint32_t backBufferWidth = 0;
    std::uint32_t backBufferHeight = 0;
    Format backBufferFormat = Format::Unknown;
    std::uint32_t backBufferCount = 1;
    MultisampleType multiSampleType = 0;
    std::uint32_t multiSampleQuality = 0;
    SwapEffect swapEffect = SwapEffect::Discard;
    Window* deviceWindow = nullptr;
    bool windowed = true;
    bool enableAutoDepthStencil = false;
    Format autoDepthStencilFormat = Format::Unknown;
    std::uint32_t flags = 0;  // kPresentFlagDiscardDepthStencil
    std::uint32_t fullScreenRefreshRate = 0;
    std::uint32_t presentationInterval = kPresentIntervalDefault;
};
constexpr std::uint32_t kPresentFlagDiscardDepthStencil = 0x00000002;

struct SurfaceDesc {
    Format format = Format::Unknown;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// A screen rectangle: left and top inclusive, right and bottom exclusive.
struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace tetrakon::gfx
