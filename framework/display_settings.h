#pragma once

#include <cstdint>

#include "framework/device_catalog.h"
#include "platform/gfx/gfx_types.h"

namespace tetrakon {

// One way to open the display: entries of the catalogue and the chosen options.
struct DisplaySetup {
    const AdapterEntry* adapter = nullptr;
    const DeviceEntry* device = nullptr;
    const FormatCombo* combo = nullptr;
    gfx::DisplayMode displayMode;
    gfx::Format depthStencilFormat = gfx::Format::Unknown;
    gfx::MultisampleType multisampleType = 0;
    std::uint32_t multisampleQuality = 0;
    VertexProcessing vertexProcessing = VertexProcessing::Software;
    std::uint32_t presentInterval = gfx::kPresentIntervalDefault;

    bool Found() const { return combo != nullptr; }
};

struct WindowedSetup : DisplaySetup {
    std::uint32_t windowWidth = 0;
    std::uint32_t windowHeight = 0;
};

// A windowed and a full-screen setup; `isWindowed` tells which one is current.
struct DisplaySettings {
    bool isWindowed = true;
    WindowedSetup windowed;
    DisplaySetup fullScreen;

    const DisplaySetup& Current() const {
        return isWindowed ? static_cast<const DisplaySetup&>(windowed) : fullScreen;
    }
};

}  // namespace tetrakon
