#pragma once

#include <cstdint>
#include <memory>

#include "platform/gfx/device.h"
#include "platform/gfx/gfx_types.h"

namespace tetrakon::gfx {

// The display system: its adapters, their modes and capabilities, and device creation.
// Queries answer S_OK when a combination works and a failure code when it does not.
class GraphicsApi {
  public:
    virtual ~GraphicsApi() = default;

    virtual std::uint32_t GetAdapterCount() = 0;
    virtual Result GetAdapterIdentifier(std::uint32_t adapter, AdapterIdentifier* out) = 0;
    virtual std::uint32_t GetAdapterModeCount(std::uint32_t adapter, Format format) = 0;
    virtual Result EnumAdapterModes(std::uint32_t adapter, Format format, std::uint32_t mode,
                                    DisplayMode* out) = 0;
    virtual Result GetAdapterDisplayMode(std::uint32_t adapter, DisplayMode* out) = 0;
    virtual Result GetDeviceCaps(std::uint32_t adapter, DeviceType type, DeviceCaps* out) = 0;
    virtual Result CheckDeviceType(std::uint32_t adapter, DeviceType type, Format adapterFormat,
                                   Format backBufferFormat, bool windowed) = 0;
    virtual Result CheckDeviceFormat(std::uint32_t adapter, DeviceType type, Format adapterFormat,
                                     std::uint32_t usage, ResourceType resourceType,
                                     Format checkFormat) = 0;
    virtual Result CheckDepthStencilMatch(std::uint32_t adapter, DeviceType type,
                                          Format adapterFormat, Format renderTargetFormat,
                                          Format depthStencilFormat) = 0;
    virtual Result CheckDeviceMultiSampleType(std::uint32_t adapter, DeviceType type,
                                              Format surfaceFormat, bool windowed,
                                              MultisampleType multiSampleType,
                                              std::uint32_t* qualityLevels) = 0;

    virtual Result CreateDevice(std::uint32_t adapter, DeviceType type, Window* focusWindow,
                                std::uint32_t behaviorFlags, const PresentParameters& params,
                                std::unique_ptr<Device>* out) = 0;
};

}  // namespace tetrakon::gfx
