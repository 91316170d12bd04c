#include "platform/gfx/gl/gl_graphics_api.h"

#include <algorithm>

#include "platform/gfx/gl/gl_adapter_probe.h"
#include "platform/gfx/gl/gl_device.h"
#include "platform/gfx/gl/qt_window.h"
#include "platform/gfx/gl/screen_modes.h"

namespace tetrakon::gfx {

namespace {

std::vector<DisplayMode> ModesOfFormat(Format format) {
    std::vector<DisplayMode> modes = ScreenModes();
    std::erase_if(modes, [&](const DisplayMode& mode) { return mode.format != format; });
    return modes;
}

bool IsScreenFormat(Format format) {
    return !ModesOfFormat(format).empty();
}

}  // namespace

Result GlGraphicsApi::Create(std::unique_ptr<GlGraphicsApi>* out, std::string* whyNot) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    GlAdapterFacts facts;
    const Result probed = ProbeGlAdapter(&facts, whyNot);
    if (Failed(probed)) {
        return probed;
    }
    out->reset(new GlGraphicsApi(std::move(facts)));
    return S_OK;
}

GlGraphicsApi::~GlGraphicsApi() = default;

Result GlGraphicsApi::Offered(std::uint32_t adapter, DeviceType type) {
    if (adapter != 0) {
        return D3DERR_INVALIDCALL;
    }
    return type == DeviceType::HAL ? S_OK : D3DERR_NOTAVAILABLE;
}

std::uint32_t GlGraphicsApi::GetAdapterCount() {
    return 1;
}

Result GlGraphicsApi::GetAdapterIdentifier(std::uint32_t adapter, AdapterIdentifier* out) {
    if (adapter != 0 || out == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    out->description = facts_.renderer;
    return S_OK;
}

std::uint32_t GlGraphicsApi::GetAdapterModeCount(std::uint32_t adapter, Format format) {
    return adapter == 0 ? static_cast<std::uint32_t>(ModesOfFormat(format).size()) : 0;
}

Result GlGraphicsApi::EnumAdapterModes(std::uint32_t adapter, Format format, std::uint32_t mode,
                                       DisplayMode* out) {
    const std::vector<DisplayMode> modes = ModesOfFormat(format);
    if (adapter != 0 || out == nullptr || mode >= modes.size()) {
        return D3DERR_INVALIDCALL;
    }
    *out = modes[mode];
    return S_OK;
}

Result GlGraphicsApi::GetAdapterDisplayMode(std::uint32_t adapter, DisplayMode* out) {
    if (adapter != 0 || out == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const DisplayMode desktop = DesktopMode();
    if (desktop.format == Format::Unknown) {
        return D3DERR_NOTAVAILABLE;
    }
    *out = desktop;
    return S_OK;
}

Result GlGraphicsApi::GetDeviceCaps(std::uint32_t adapter, DeviceType type, DeviceCaps* out) {
    const Result offered = Offered(adapter, type);
    if (Failed(offered)) {
        return offered;
    }
    if (out == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *out = HalDeviceCaps(facts_);
    return S_OK;
}

Result GlGraphicsApi::CheckDeviceType(std::uint32_t adapter, DeviceType type, Format adapterFormat,
                                      Format backBufferFormat, bool windowed) {
    const Result offered = Offered(adapter, type);
    if (Failed(offered)) {
        return offered;
    }
    // A window shows on the desktop as it is; full screen needs a mode of that format.
    const bool displayable =
        windowed ? adapterFormat == DesktopMode().format : IsScreenFormat(adapterFormat);
    if (!displayable || !BackBufferMatchesDisplay(facts_, adapterFormat, backBufferFormat)) {
        return D3DERR_NOTAVAILABLE;
    }
    return S_OK;
}

Result GlGraphicsApi::CheckDeviceFormat(std::uint32_t adapter, DeviceType type,
                                        Format adapterFormat, std::uint32_t usage,
                                        ResourceType resourceType, Format checkFormat) {
    const Result offered = Offered(adapter, type);
    if (Failed(offered)) {
        return offered;
    }
    if (!IsScreenFormat(adapterFormat)) {
        return D3DERR_NOTAVAILABLE;
    }
    bool available = false;
    if ((usage & kUsageDepthStencil) != 0) {
        available = resourceType == ResourceType::Surface && facts_.FindDepth(checkFormat);
    } else if (resourceType == ResourceType::Texture) {
        // Textures are made from 32-bit pixels.
        available = checkFormat == Format::A8R8G8B8 || checkFormat == Format::X8R8G8B8;
    } else {
        available = facts_.FindColor(checkFormat) != nullptr;
    }
    return available ? S_OK : D3DERR_NOTAVAILABLE;
}

Result GlGraphicsApi::CheckDepthStencilMatch(std::uint32_t adapter, DeviceType type,
                                             Format adapterFormat, Format renderTargetFormat,
                                             Format depthStencilFormat) {
    const Result offered = Offered(adapter, type);
    if (Failed(offered)) {
        return offered;
    }
    // Any depth buffer the implementation attaches works beside any colour buffer it
    // renders: OpenGL has no pairing rule between their sizes.
    const bool match = IsScreenFormat(adapterFormat) &&
                       facts_.FindColor(renderTargetFormat) != nullptr &&
                       facts_.FindDepth(depthStencilFormat) != nullptr;
    return match ? S_OK : D3DERR_NOTAVAILABLE;
}

Result GlGraphicsApi::CheckDeviceMultiSampleType(std::uint32_t adapter, DeviceType type,
                                                 Format surfaceFormat, bool,
                                                 MultisampleType multiSampleType,
                                                 std::uint32_t* qualityLevels) {
    const Result offered = Offered(adapter, type);
    if (Failed(offered)) {
        return offered;
    }
    return MultisampleSupport(facts_, surfaceFormat, multiSampleType, qualityLevels);
}

Result GlGraphicsApi::CreateDevice(std::uint32_t adapter, DeviceType type, Window* focusWindow,
                                   std::uint32_t behaviorFlags, const PresentParameters& params,
                                   std::unique_ptr<Device>* out) {
    const Result offered = Offered(adapter, type);
    if (Failed(offered)) {
        return offered;
    }
    const std::uint32_t processing =
        behaviorFlags & (kCreateSoftwareVertexProcessing | kCreateHardwareVertexProcessing |
                         kCreateMixedVertexProcessing);
    const bool oneKind = processing == kCreateSoftwareVertexProcessing ||
                         processing == kCreateHardwareVertexProcessing ||
                         processing == kCreateMixedVertexProcessing;
    // A pure device is not offered (its capability bit is not set).
    if (out == nullptr || !oneKind || (behaviorFlags & kCreatePureDevice) != 0) {
        return D3DERR_INVALIDCALL;
    }
    QWindow* window = QWindowOf(params.deviceWindow != nullptr ? params.deviceWindow : focusWindow);
    if (window == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    return GlDevice::Create(window, facts_, params, out);
}

}  // namespace tetrakon::gfx
