#pragma once

#include <memory>
#include <string>

#include "platform/gfx/gl/gl_adapter_facts.h"
#include "platform/gfx/graphics_api.h"

namespace tetrakon::gfx {

// The display system of this machine as OpenGL through Qt shows it: one adapter (the GL
// renderer), the modes the screens are in (Qt cannot switch modes), and one device type,
// HAL, whose format answers come from what the implementation was seen to create.
class GlGraphicsApi : public GraphicsApi {
  public:
    // E_FAIL when no context the game can draw with can be made, with the reason in
    // `whyNot` when given (see ProbeGlAdapter). Needs a QGuiApplication.
    static Result Create(std::unique_ptr<GlGraphicsApi>* out, std::string* whyNot = nullptr);
    ~GlGraphicsApi() override;

    const GlAdapterFacts& facts() const { return facts_; }

    std::uint32_t GetAdapterCount() override;
    Result GetAdapterIdentifier(std::uint32_t adapter, AdapterIdentifier* out) override;
    std::uint32_t GetAdapterModeCount(std::uint32_t adapter, Format format) override;
    Result EnumAdapterModes(std::uint32_t adapter, Format format, std::uint32_t mode,
                            DisplayMode* out) override;
    Result GetAdapterDisplayMode(std::uint32_t adapter, DisplayMode* out) override;
    Result GetDeviceCaps(std::uint32_t adapter, DeviceType type, DeviceCaps* out) override;
    Result CheckDeviceType(std::uint32_t adapter, DeviceType type, Format adapterFormat,
                           Format backBufferFormat, bool windowed) override;
    Result CheckDeviceFormat(std::uint32_t adapter, DeviceType type, Format adapterFormat,
                             std::uint32_t usage, ResourceType resourceType,
                             Format checkFormat) override;
    Result CheckDepthStencilMatch(std::uint32_t adapter, DeviceType type, Format adapterFormat,
                                  Format renderTargetFormat, Format depthStencilFormat) override;
    Result CheckDeviceMultiSampleType(std::uint32_t adapter, DeviceType type, Format surfaceFormat,
                                      bool windowed, MultisampleType multiSampleType,
                                      std::uint32_t* qualityLevels) override;
    // The device presents into the QWindow of the present parameters' window, or of the
    // focus window when that is not set; both must be QtWindows. Full screen is the
    // host's business (it shows the window full screen); the device only checks that
    // the back buffer matches a screen mode.
    Result CreateDevice(std::uint32_t adapter, DeviceType type, Window* focusWindow,
                        std::uint32_t behaviorFlags, const PresentParameters& params,
                        std::unique_ptr<Device>* out) override;

  private:
    explicit GlGraphicsApi(GlAdapterFacts facts) : facts_(std::move(facts)) {}
    // An answer for adapter 0 and HAL: S_OK, else why not.
    static Result Offered(std::uint32_t adapter, DeviceType type);

    GlAdapterFacts facts_;
};

}  // namespace tetrakon::gfx
