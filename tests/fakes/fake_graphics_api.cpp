#include "tests/fakes/fake_graphics_api.h"

#include <algorithm>

#include "platform/gfx/format_info.h"

namespace tetrakon::gfx {

namespace {

std::string Str(std::uint32_t value) {
    return std::to_string(value);
}
std::string Str(Format format) {
    return std::to_string(static_cast<std::uint32_t>(format));
}

// The adapter format itself, or the same layout with alpha.
bool BackBufferFits(Format adapterFormat, Format backBufferFormat) {
    if (adapterFormat == backBufferFormat) {
        return true;
    }
    return (adapterFormat == Format::X8R8G8B8 && backBufferFormat == Format::A8R8G8B8) ||
           (adapterFormat == Format::X1R5G5B5 && backBufferFormat == Format::A1R5G5B5);
}

}  // namespace

const char* DeviceTypeName(DeviceType type) {
    switch (type) {
        case DeviceType::HAL:
            return "HAL";
        case DeviceType::REF:
            return "REF";
        case DeviceType::SW:
            return "SW";
    }
    return "?";
}

DeviceCaps TypicalCaps(DeviceType type, std::uint32_t adapter) {
    DeviceCaps caps;
    caps.deviceType = type;
    caps.adapterOrdinal = adapter;
    caps.devCaps = kDevCapsHwTransformAndLight | kDevCapsPureDevice;
    caps.presentationIntervals = kPresentIntervalOne | kPresentIntervalImmediate;
    caps.maxTextureWidth = 4096;
    caps.maxTextureHeight = 4096;
    return caps;
}

FakeAdapter TypicalAdapter() {
    FakeAdapter adapter;
    for (Format format : {Format::X8R8G8B8, Format::R5G6B5}) {
        for (auto [w, h] : {std::pair{640u, 480u}, {800u, 600u}, {1024u, 768u}}) {
            for (std::uint32_t refresh : {60u, 75u}) {
                adapter.modes.push_back({w, h, refresh, format});
            }
        }
    }
    adapter.caps[DeviceType::HAL] = TypicalCaps(DeviceType::HAL);
    adapter.caps[DeviceType::REF] = TypicalCaps(DeviceType::REF);
    return adapter;
}

FakeGraphicsApi::FakeGraphicsApi(std::shared_ptr<CallLog> log) : log_(std::move(log)) {
    checkDeviceType = [](std::uint32_t, DeviceType, Format adapterFormat, Format backBufferFormat,
                         bool) {
        return BackBufferFits(adapterFormat, backBufferFormat) ? S_OK : D3DERR_NOTAVAILABLE;
    };
    checkDepthStencilFormat = [](std::uint32_t, DeviceType, Format, Format depthStencilFormat) {
        return depthStencilFormat == Format::D16 || depthStencilFormat == Format::D24X8 ||
                       depthStencilFormat == Format::D24S8
                   ? S_OK
                   : D3DERR_NOTAVAILABLE;
    };
    checkDepthStencilMatch = [](std::uint32_t, DeviceType, Format, Format, Format) { return S_OK; };
    checkMultiSampleType = [](std::uint32_t, DeviceType, Format, bool, MultisampleType sampleType,
                              std::uint32_t* qualityLevels) {
        if (sampleType != 0) {
            return D3DERR_NOTAVAILABLE;
        }
        if (qualityLevels != nullptr) {
            *qualityLevels = 1;
        }
        return S_OK;
    };
}

const FakeAdapter* FakeGraphicsApi::Adapter(std::uint32_t adapter) const {
    return adapter < adapters.size() ? &adapters[adapter] : nullptr;
}

std::vector<DisplayMode> FakeGraphicsApi::ModesOf(std::uint32_t adapter, Format format) const {
    std::vector<DisplayMode> modes;
    if (const FakeAdapter* a = Adapter(adapter)) {
        std::copy_if(a->modes.begin(), a->modes.end(), std::back_inserter(modes),
                     [format](const DisplayMode& mode) { return mode.format == format; });
    }
    return modes;
}

std::uint32_t FakeGraphicsApi::GetAdapterCount() {
    log_->Add("GetAdapterCount");
    return static_cast<std::uint32_t>(adapters.size());
}

Result FakeGraphicsApi::GetAdapterIdentifier(std::uint32_t adapter, AdapterIdentifier* out) {
    log_->Add("GetAdapterIdentifier " + Str(adapter));
    const FakeAdapter* a = Adapter(adapter);
    if (a == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (Succeeded(a->identifierResult)) {
        out->description = a->description;
    }
    return a->identifierResult;
}

std::uint32_t FakeGraphicsApi::GetAdapterModeCount(std::uint32_t adapter, Format format) {
    log_->Add("GetAdapterModeCount " + Str(adapter) + " " + Str(format));
    return static_cast<std::uint32_t>(ModesOf(adapter, format).size());
}

Result FakeGraphicsApi::EnumAdapterModes(std::uint32_t adapter, Format format, std::uint32_t mode,
                                         DisplayMode* out) {
    log_->Add("EnumAdapterModes " + Str(adapter) + " " + Str(format) + " " + Str(mode));
    const std::vector<DisplayMode> modes = ModesOf(adapter, format);
    if (mode >= modes.size()) {
        return D3DERR_INVALIDCALL;
    }
    *out = modes[mode];
    return S_OK;
}

Result FakeGraphicsApi::GetAdapterDisplayMode(std::uint32_t adapter, DisplayMode* out) {
    log_->Add("GetAdapterDisplayMode " + Str(adapter));
    const FakeAdapter* a = Adapter(adapter);
    if (a == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (Succeeded(a->desktopModeResult)) {
        *out = a->desktopMode;
    }
    return a->desktopModeResult;
}

Result FakeGraphicsApi::GetDeviceCaps(std::uint32_t adapter, DeviceType type, DeviceCaps* out) {
    log_->Add("GetDeviceCaps " + Str(adapter) + " " + DeviceTypeName(type));
    const FakeAdapter* a = Adapter(adapter);
    if (a == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const auto found = a->caps.find(type);
    if (found == a->caps.end()) {
        return D3DERR_NOTAVAILABLE;
    }
    *out = found->second;
    return S_OK;
}

Result FakeGraphicsApi::CheckDeviceType(std::uint32_t adapter, DeviceType type,
                                        Format adapterFormat, Format backBufferFormat,
                                        bool windowed) {
    log_->Add("CheckDeviceType " + Str(adapter) + " " + DeviceTypeName(type) + " " +
              Str(adapterFormat) + " " + Str(backBufferFormat) + " " + Str(windowed ? 1 : 0));
    return checkDeviceType(adapter, type, adapterFormat, backBufferFormat, windowed);
}

Result FakeGraphicsApi::CheckDeviceFormat(std::uint32_t adapter, DeviceType type,
                                          Format adapterFormat, std::uint32_t usage,
                                          ResourceType resourceType, Format checkFormat) {
    log_->Add("CheckDeviceFormat " + Str(adapter) + " " + DeviceTypeName(type) + " " +
              Str(adapterFormat) + " " + Str(usage) + " " +
              Str(static_cast<std::uint32_t>(resourceType)) + " " + Str(checkFormat));
    if (usage != kUsageDepthStencil || resourceType != ResourceType::Surface) {
        return D3DERR_NOTAVAILABLE;
    }
    return checkDepthStencilFormat(adapter, type, adapterFormat, checkFormat);
}

Result FakeGraphicsApi::CheckDepthStencilMatch(std::uint32_t adapter, DeviceType type,
                                               Format adapterFormat, Format renderTargetFormat,
                                               Format depthStencilFormat) {
    log_->Add("CheckDepthStencilMatch " + Str(adapter) + " " + DeviceTypeName(type) + " " +
              Str(adapterFormat) + " " + Str(renderTargetFormat) + " " + Str(depthStencilFormat));
    return checkDepthStencilMatch(adapter, type, adapterFormat, renderTargetFormat,
                                  depthStencilFormat);
}

Result FakeGraphicsApi::CheckDeviceMultiSampleType(std::uint32_t adapter, DeviceType type,
                                                   Format surfaceFormat, bool windowed,
                                                   MultisampleType multiSampleType,
                                                   std::uint32_t* qualityLevels) {
    log_->Add("CheckDeviceMultiSampleType " + Str(adapter) + " " + DeviceTypeName(type) + " " +
              Str(surfaceFormat) + " " + Str(windowed ? 1 : 0) + " " + Str(multiSampleType));
    return checkMultiSampleType(adapter, type, surfaceFormat, windowed, multiSampleType,
                                qualityLevels);
}

Result FakeGraphicsApi::CreateDevice(std::uint32_t adapter, DeviceType type, Window* focusWindow,
                                     std::uint32_t behaviorFlags, const PresentParameters& params,
                                     std::unique_ptr<Device>* out) {
    log_->Add("CreateDevice " + Str(adapter) + " " + DeviceTypeName(type) + " " +
              Str(behaviorFlags) + (params.windowed ? " windowed" : " fullscreen"));
    lastCreateParams = params;
    lastFocusWindow = focusWindow;
    lastBehaviorFlags = behaviorFlags;
    const auto scripted = createResults.find(type);
    if (scripted != createResults.end() && Failed(scripted->second)) {
        return scripted->second;
    }
    const FakeAdapter* a = Adapter(adapter);
    if (a == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    auto device = std::make_unique<ScriptedFakeDevice>(log_);
    if (const auto caps = a->caps.find(type); caps != a->caps.end()) {
        device->caps = caps->second;
    }
    device->backBuffer = {params.backBufferFormat, params.backBufferWidth, params.backBufferHeight};
    if (prepareDevice) {
        prepareDevice(*device);
    }
    ++devicesCreated;
    *out = std::move(device);
    return S_OK;
}

}  // namespace tetrakon::gfx
