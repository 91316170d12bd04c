#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/graphics_api.h"
#include "tests/fakes/fake_device.h"

namespace tetrakon::gfx {

// A FakeDevice whose release can also answer references that the test says are leaked.
class ScriptedFakeDevice : public FakeDevice {
  public:
    using FakeDevice::FakeDevice;
    std::uint32_t leakedReferences = 0;
    std::uint32_t Release() override { return FakeDevice::Release() + leakedReferences; }
};

// One scripted display adapter.
struct FakeAdapter {
    std::string description = "Fake adapter";
    Result identifierResult = S_OK;
    // Every mode the adapter reports, of any format; enumerated per format in this order.
    std::vector<DisplayMode> modes;
    DisplayMode desktopMode{1024, 768, 60, Format::X8R8G8B8};
    Result desktopModeResult = S_OK;
    // Capabilities per device type; a type without an entry fails GetDeviceCaps.
    std::map<DeviceType, DeviceCaps> caps;
};

// Hardware-like capabilities: transform-and-lighting, pure device, intervals one and
// immediate.
DeviceCaps TypicalCaps(DeviceType type, std::uint32_t adapter = 0);
// An adapter with 640x480, 800x600 and 1024x768 at 60 and 75 Hz in X8R8G8B8 and R5G6B5,
// a 1024x768 60 Hz X8R8G8B8 desktop, and HAL and REF devices with TypicalCaps.
FakeAdapter TypicalAdapter();

// A display system that answers from a script and records every call in a CallLog
// ("CreateDevice 0 HAL 64"). The checks default to answers a common adapter gives:
// back buffers of the adapter format or its alpha variant, depth formats D16, D24X8 and
// D24S8, and no multisampling beyond "none" (one quality level).
class FakeGraphicsApi : public GraphicsApi {
  public:
    explicit FakeGraphicsApi(std::shared_ptr<CallLog> log = std::make_shared<CallLog>());

    std::vector<FakeAdapter> adapters;

    std::function<Result(std::uint32_t adapter, DeviceType type, Format adapterFormat,
                         Format backBufferFormat, bool windowed)>
        checkDeviceType;
    std::function<Result(std::uint32_t adapter, DeviceType type, Format adapterFormat,
                         Format depthStencilFormat)>
        checkDepthStencilFormat;
    std::function<Result(std::uint32_t adapter, DeviceType type, Format adapterFormat,
                         Format renderTargetFormat, Format depthStencilFormat)>
        checkDepthStencilMatch;
    // Answers CheckDeviceMultiSampleType; *qualityLevels may be null.
    std::function<Result(std::uint32_t adapter, DeviceType type, Format surfaceFormat,
                         bool windowed, MultisampleType sampleType, std::uint32_t* qualityLevels)>
        checkMultiSampleType;

    // Result of CreateDevice per device type (success when absent).
    std::map<DeviceType, Result> createResults;
    // Runs on every device handed out, before CreateDevice returns it.
    std::function<void(ScriptedFakeDevice&)> prepareDevice;

    // What the calls left.
    std::uint32_t devicesCreated = 0;
    PresentParameters lastCreateParams;
    Window* lastFocusWindow = nullptr;
    std::uint32_t lastBehaviorFlags = 0;

    const std::shared_ptr<CallLog>& log() const { return log_; }

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
    Result CreateDevice(std::uint32_t adapter, DeviceType type, Window* focusWindow,
                        std::uint32_t behaviorFlags, const PresentParameters& params,
                        std::unique_ptr<Device>* out) override;

  private:
    const FakeAdapter* Adapter(std::uint32_t adapter) const;
    std::vector<DisplayMode> ModesOf(std::uint32_t adapter, Format format) const;

    std::shared_ptr<CallLog> log_;
};

const char* DeviceTypeName(DeviceType type);

}  // namespace tetrakon::gfx
