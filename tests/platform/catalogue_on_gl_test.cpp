// The framework's device catalogue built from this machine's OpenGL: it finds a windowed
// and a full-screen setup, and a device opened from the windowed one draws.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include "framework/device_catalog.h"
#include "framework/setup_selection.h"
#include "tests/platform/gl_test_window.h"

namespace tetrakon::gfx {
namespace {

PresentParameters ParametersFor(const DisplaySetup& setup, std::uint32_t width,
                                std::uint32_t height, bool windowed, Window* window) {
    PresentParameters params;
    params.backBufferWidth = width;
    params.backBufferHeight = height;
    params.backBufferFormat = setup.combo->backBufferFormat;
    params.multiSampleType = setup.multisampleType;
    params.multiSampleQuality = setup.multisampleQuality;
    params.deviceWindow = window;
    params.windowed = windowed;
    params.enableAutoDepthStencil = true;
    params.autoDepthStencilFormat = setup.depthStencilFormat;
    params.flags = kPresentFlagDiscardDepthStencil;
    params.fullScreenRefreshRate = windowed ? 0 : setup.displayMode.refreshRate;
    params.presentationInterval = setup.presentInterval;
    return params;
}

TEST(CatalogueOnGl, WindowedSetupOpensAndPresents) {
    GlGraphicsApi& api = TestGraphicsApi();
    DeviceCatalog catalogue;
    catalogue.limits.usesDepthBuffer = true;
    ASSERT_EQ(catalogue.Build(&api), S_OK);
    ASSERT_EQ(catalogue.Adapters().size(), 1u);
    const AdapterEntry& adapter = catalogue.Adapters()[0];
    EXPECT_EQ(adapter.identifier.description, api.facts().renderer);
    ASSERT_EQ(adapter.devices.size(), 1u);
    EXPECT_EQ(adapter.devices[0].deviceType, DeviceType::HAL);
    ASSERT_EQ(adapter.displayModes.size(), 1u);
    EXPECT_EQ(adapter.displayModes[0].width, 1280u);

    TestWindow window(200, 150);
    DisplaySettings settings;
    ASSERT_EQ(
        ChooseStartSettings(catalogue, api, window.adapter->GetClientRect(), false, &settings),
        S_OK);
    ASSERT_TRUE(settings.isWindowed);
    const WindowedSetup& setup = settings.windowed;
    ASSERT_TRUE(setup.Found());
    EXPECT_EQ(setup.combo->adapterFormat, Format::X8R8G8B8);
    EXPECT_EQ(setup.combo->backBufferFormat, Format::X8R8G8B8);
    EXPECT_EQ(setup.depthStencilFormat, Format::D16);
    EXPECT_EQ(setup.vertexProcessing, VertexProcessing::Hardware);
    EXPECT_EQ(setup.presentInterval, kPresentIntervalImmediate);
    EXPECT_EQ(setup.windowWidth, 200u);
    ASSERT_TRUE(settings.fullScreen.Found());
    EXPECT_EQ(settings.fullScreen.displayMode.width, 1280u);
    EXPECT_EQ(settings.fullScreen.displayMode.height, 1024u);

    std::unique_ptr<Device> device;
    ASSERT_EQ(api.CreateDevice(setup.combo->adapterOrdinal, setup.device->deviceType,
                               window.adapter.get(), BehaviorFlagsFor(setup.vertexProcessing),
                               ParametersFor(setup, setup.windowWidth, setup.windowHeight, true,
                                             window.adapter.get()),
                               &device),
              S_OK);
    ASSERT_EQ(device->Clear(kClearTarget | kClearZBuffer, 0xFF6688AA, 1.0f, 0), S_OK);
    ASSERT_EQ(device->BeginScene(), S_OK);
    ASSERT_EQ(device->EndScene(), S_OK);
    ASSERT_EQ(device->Present(), S_OK);
    const QImage shown = GrabWhenShown(*window.window, 100, 75, 0x6688AA);
    EXPECT_EQ(shown.pixel(100, 75) & 0xFFFFFF, 0x6688AAu);

    // The full-screen setup's parameters are accepted by the same device.
    const DisplaySetup& full = settings.fullScreen;
    EXPECT_EQ(device->Reset(ParametersFor(full, full.displayMode.width, full.displayMode.height,
                                          false, window.adapter.get())),
              S_OK);
    SurfaceDesc desc;
    ASSERT_EQ(device->GetBackBufferDesc(&desc), S_OK);
    EXPECT_EQ(desc.width, 1280u);
    EXPECT_EQ(device->Release(), 0u);
}

}  // namespace
}  // namespace tetrakon::gfx
