#include "framework/device_catalog.h"

#include <algorithm>
#include <new>
#include <tuple>

#include "platform/gfx/format_info.h"

namespace tetrakon {

using gfx::DeviceType;
using gfx::Format;

namespace {

constexpr std::size_t kMaxAdapterDescription = 511;
constexpr gfx::MultisampleType kMaxMultisampleType = 16;

bool ModeLess(const gfx::DisplayMode& a, const gfx::DisplayMode& b) {
    return std::make_tuple(a.width, a.height, static_cast<std::uint32_t>(a.format), a.refreshRate) <
           std::make_tuple(b.width, b.height, static_cast<std::uint32_t>(b.format), b.refreshRate);
}

}  // namespace

std::uint32_t BehaviorFlagsFor(VertexProcessing kind) {
    switch (kind) {
        case VertexProcessing::Software:
            return gfx::kCreateSoftwareVertexProcessing;
        case VertexProcessing::Mixed:
            return gfx::kCreateMixedVertexProcessing;
        case VertexProcessing::Hardware:
            return gfx::kCreateHardwareVertexProcessing;
        case VertexProcessing::PureHardware:
            return gfx::kCreateHardwareVertexProcessing | gfx::kCreatePureDevice;
    }
    return gfx::kCreateSoftwareVertexProcessing;
}

const std::vector<Format>& DeviceCatalog::AllowedAdapterFormats() {
    static const std::vector<Format> formats = {Format::X8R8G8B8, Format::X1R5G5B5, Format::R5G6B5,
                                                Format::A2R10G10B10};
    return formats;
}

const std::vector<Format>& DeviceCatalog::BackBufferFormats() {
    static const std::vector<Format> formats = {Format::A8R8G8B8,    Format::X8R8G8B8,
                                                Format::A2R10G10B10, Format::R5G6B5,
                                                Format::A1R5G5B5,    Format::X1R5G5B5};
    return formats;
}

const std::vector<Format>& DeviceCatalog::DepthStencilFormats() {
    static const std::vector<Format> formats = {Format::D16,   Format::D15S1,   Format::D24X8,
                                                Format::D24S8, Format::D24X4S4, Format::D32};
    return formats;
}

Result DeviceCatalog::Build(gfx::GraphicsApi* graphics) {
    adapters_.clear();
    graphics_ = graphics;
    if (graphics_ == nullptr) {
        return E_FAIL;
    }
    try {
        const std::uint32_t count = graphics_->GetAdapterCount();
        for (std::uint32_t ordinal = 0; ordinal < count; ++ordinal) {
            BuildAdapter(ordinal);
        }
    } catch (const std::bad_alloc&) {
        adapters_.clear();
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

void DeviceCatalog::BuildAdapter(std::uint32_t ordinal) {
    AdapterEntry adapter;
    adapter.adapterOrdinal = ordinal;
    graphics_->GetAdapterIdentifier(ordinal, &adapter.identifier);
    if (adapter.identifier.description.size() > kMaxAdapterDescription) {
        adapter.identifier.description.resize(kMaxAdapterDescription);
    }

    // The size floor is full screen's: a window fits on a smaller screen, so a mode below
    // it still offers its format for windowed combos.
    AdapterFormats formats;
    const auto add = [](std::vector<Format>& list, Format format) {
        if (std::find(list.begin(), list.end(), format) == list.end()) {
            list.push_back(format);
        }
    };
    for (Format format : AllowedAdapterFormats()) {
        const std::uint32_t modeCount = graphics_->GetAdapterModeCount(ordinal, format);
        for (std::uint32_t i = 0; i < modeCount; ++i) {
            gfx::DisplayMode mode;
            if (Failed(graphics_->EnumAdapterModes(ordinal, format, i, &mode)) ||
                gfx::ColorChannelBits(mode.format) < limits.minColorChannelBits) {
                continue;
            }
            add(formats.windowed, mode.format);
            if (mode.width < limits.minFullScreenWidth ||
                mode.height < limits.minFullScreenHeight) {
                continue;
            }
            adapter.displayModes.push_back(mode);
            add(formats.fullScreen, mode.format);
        }
    }
    std::sort(adapter.displayModes.begin(), adapter.displayModes.end(), ModeLess);

    BuildDevices(adapter, formats);
    if (!adapter.devices.empty()) {
        adapters_.push_back(std::move(adapter));
    }
}

void DeviceCatalog::BuildDevices(AdapterEntry& adapter, const AdapterFormats& adapterFormats) {
    for (DeviceType type : {DeviceType::HAL, DeviceType::SW, DeviceType::REF}) {
        DeviceEntry device;
        device.adapterOrdinal = adapter.adapterOrdinal;
        device.deviceType = type;
        if (Failed(graphics_->GetDeviceCaps(adapter.adapterOrdinal, type, &device.caps))) {
            continue;
        }
        BuildCombos(device, adapterFormats);
        if (!device.combos.empty()) {
            adapter.devices.push_back(std::move(device));
        }
    }
}

void DeviceCatalog::BuildCombos(DeviceEntry& device, const AdapterFormats& adapterFormats) {
    for (Format adapterFormat : adapterFormats.windowed) {
        const bool hasFullScreenMode =
            std::find(adapterFormats.fullScreen.begin(), adapterFormats.fullScreen.end(),
                      adapterFormat) != adapterFormats.fullScreen.end();
        for (Format backBufferFormat : BackBufferFormats()) {
            if (gfx::AlphaChannelBits(backBufferFormat) < limits.minAlphaChannelBits) {
                continue;
            }
            for (bool windowed : {false, true}) {
                if ((!windowed && (limits.requiresWindowed || !hasFullScreenMode)) ||
                    (windowed && limits.requiresFullScreen)) {
                    continue;
                }
                if (Failed(graphics_->CheckDeviceType(device.adapterOrdinal, device.deviceType,
                                                      adapterFormat, backBufferFormat, windowed))) {
                    continue;
                }
                FormatCombo combo;
                combo.adapterOrdinal = device.adapterOrdinal;
                combo.deviceType = device.deviceType;
                combo.adapterFormat = adapterFormat;
                combo.backBufferFormat = backBufferFormat;
                combo.windowed = windowed;
                if (FillCombo(device, combo)) {
                    device.combos.push_back(std::move(combo));
                }
            }
        }
    }
}

bool DeviceCatalog::FillCombo(const DeviceEntry& device, FormatCombo& combo) {
    if (limits.usesDepthBuffer) {
        AddDepthStencilFormats(combo);
        if (combo.depthStencilFormats.empty()) {
            return false;
        }
    }
    AddMultisampleTypes(combo);
    if (combo.multisampleTypes.empty()) {
        return false;
    }
    AddConflicts(combo);
    AddVertexProcessings(device.caps, combo);
    if (combo.vertexProcessings.empty()) {
        return false;
    }
    AddPresentIntervals(device.caps, combo);
    return true;
}

void DeviceCatalog::AddDepthStencilFormats(FormatCombo& combo) {
    for (Format format : DepthStencilFormats()) {
        if (gfx::DepthBits(format) < limits.minDepthBits ||
            gfx::StencilBits(format) < limits.minStencilBits) {
            continue;
        }
        if (Failed(graphics_->CheckDeviceFormat(combo.adapterOrdinal, combo.deviceType,
                                                combo.adapterFormat, gfx::kUsageDepthStencil,
                                                gfx::ResourceType::Surface, format))) {
            continue;
        }
        if (Failed(graphics_->CheckDepthStencilMatch(combo.adapterOrdinal, combo.deviceType,
                                                     combo.adapterFormat, combo.backBufferFormat,
                                                     format))) {
            continue;
        }
        combo.depthStencilFormats.push_back(format);
    }
}

void DeviceCatalog::AddMultisampleTypes(FormatCombo& combo) {
    for (gfx::MultisampleType type = 0; type <= kMaxMultisampleType; ++type) {
        std::uint32_t qualityLevels = 0;
        if (Succeeded(graphics_->CheckDeviceMultiSampleType(combo.adapterOrdinal, combo.deviceType,
                                                            combo.backBufferFormat, combo.windowed,
                                                            type, &qualityLevels))) {
            combo.multisampleTypes.push_back(type);
            combo.multisampleQualities.push_back(qualityLevels);
        }
    }
}

void DeviceCatalog::AddConflicts(FormatCombo& combo) {
    for (Format format : combo.depthStencilFormats) {
        for (gfx::MultisampleType type : combo.multisampleTypes) {
            if (Failed(graphics_->CheckDeviceMultiSampleType(combo.adapterOrdinal, combo.deviceType,
                                                             format, combo.windowed, type,
                                                             nullptr))) {
                combo.conflicts.push_back({format, type});
            }
        }
    }
}

void DeviceCatalog::AddVertexProcessings(const gfx::DeviceCaps& caps, FormatCombo& combo) {
    const bool hardwareTnl = (caps.devCaps & gfx::kDevCapsHwTransformAndLight) != 0;
    const bool pureDevice = (caps.devCaps & gfx::kDevCapsPureDevice) != 0;
    const Format backBuffer = combo.backBufferFormat;
    if (hardwareTnl && pureDevice && Accepts(caps, VertexProcessing::PureHardware, backBuffer)) {
        combo.vertexProcessings.push_back(VertexProcessing::PureHardware);
    }
    if (hardwareTnl && Accepts(caps, VertexProcessing::Hardware, backBuffer)) {
        combo.vertexProcessings.push_back(VertexProcessing::Hardware);
    }
    if (hardwareTnl && limits.usesMixedVertexProcessing &&
        Accepts(caps, VertexProcessing::Mixed, backBuffer)) {
        combo.vertexProcessings.push_back(VertexProcessing::Mixed);
    }
    if (Accepts(caps, VertexProcessing::Software, backBuffer)) {
        combo.vertexProcessings.push_back(VertexProcessing::Software);
    }
}

void DeviceCatalog::AddPresentIntervals(const gfx::DeviceCaps& caps, FormatCombo& combo) {
    static constexpr std::uint32_t kTrialOrder[] = {
        gfx::kPresentIntervalImmediate, gfx::kPresentIntervalDefault, gfx::kPresentIntervalOne,
        gfx::kPresentIntervalTwo,       gfx::kPresentIntervalThree,   gfx::kPresentIntervalFour};
    for (std::uint32_t interval : kTrialOrder) {
        const bool beyondOne = interval == gfx::kPresentIntervalTwo ||
                               interval == gfx::kPresentIntervalThree ||
                               interval == gfx::kPresentIntervalFour;
        if (combo.windowed && beyondOne) {
            continue;
        }
        if (interval == gfx::kPresentIntervalDefault ||
            (caps.presentationIntervals & interval) != 0) {
            combo.presentIntervals.push_back(interval);
        }
    }
}

bool DeviceCatalog::Accepts(const gfx::DeviceCaps& caps, VertexProcessing kind, Format backBuffer) {
    if (!acceptance_) {
        return true;
    }
    return Succeeded(acceptance_(caps, BehaviorFlagsFor(kind), backBuffer));
}

}  // namespace tetrakon
