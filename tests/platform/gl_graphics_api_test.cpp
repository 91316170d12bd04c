// The catalogue queries of this machine's OpenGL, checked against what the display and
// an independently made context say.

#include "platform/gfx/gl/gl_graphics_api.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QScreen>

#include "tests/platform/gl_test_window.h"

namespace tetrakon::gfx {
namespace {

struct ContextFacts {
    std::string renderer;
    GLint maxSamples = 0;
};

ContextFacts ReadContextFacts() {
    QOffscreenSurface surface;
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    surface.setFormat(format);
    surface.create();
    QOpenGLContext context;
    context.setFormat(format);
    ContextFacts facts;
    if (!context.create() || !context.makeCurrent(&surface)) {
        return facts;
    }
    QOpenGLFunctions* gl = context.functions();
    facts.renderer = reinterpret_cast<const char*>(gl->glGetString(GL_RENDERER));
    gl->glGetIntegerv(GL_MAX_SAMPLES, &facts.maxSamples);
    context.doneCurrent();
    return facts;
}

TEST(GlGraphicsApi, OneAdapterNamedAfterTheRenderer) {
    GlGraphicsApi& api = TestGraphicsApi();
    EXPECT_EQ(api.GetAdapterCount(), 1u);
    AdapterIdentifier identifier;
    ASSERT_EQ(api.GetAdapterIdentifier(0, &identifier), S_OK);
    const ContextFacts facts = ReadContextFacts();
    ASSERT_FALSE(facts.renderer.empty());
    EXPECT_EQ(identifier.description, facts.renderer);
    EXPECT_NE(api.GetAdapterIdentifier(1, &identifier), S_OK);
}

TEST(GlGraphicsApi, ModesAreTheScreensModes) {
    GlGraphicsApi& api = TestGraphicsApi();
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    ASSERT_EQ(screen->depth(), 24) << "run under Xvfb with -screen 0 1280x1024x24";

    ASSERT_EQ(api.GetAdapterModeCount(0, Format::X8R8G8B8), 1u);
    DisplayMode mode;
    ASSERT_EQ(api.EnumAdapterModes(0, Format::X8R8G8B8, 0, &mode), S_OK);
    EXPECT_EQ(mode.width, static_cast<std::uint32_t>(screen->size().width()));
    EXPECT_EQ(mode.height, static_cast<std::uint32_t>(screen->size().height()));
    EXPECT_EQ(mode.width, 1280u);
    EXPECT_EQ(mode.height, 1024u);
    EXPECT_EQ(mode.format, Format::X8R8G8B8);
    EXPECT_EQ(mode.refreshRate, static_cast<std::uint32_t>(qRound(screen->refreshRate())));

    DisplayMode desktop;
    ASSERT_EQ(api.GetAdapterDisplayMode(0, &desktop), S_OK);
    EXPECT_EQ(desktop.width, mode.width);
    EXPECT_EQ(desktop.height, mode.height);
    EXPECT_EQ(desktop.format, Format::X8R8G8B8);

    EXPECT_EQ(api.GetAdapterModeCount(0, Format::R5G6B5), 0u);
    EXPECT_EQ(api.GetAdapterModeCount(1, Format::X8R8G8B8), 0u);
    EXPECT_NE(api.EnumAdapterModes(0, Format::X8R8G8B8, 1, &mode), S_OK);
}

TEST(GlGraphicsApi, OnlyTheHalDeviceHasCapabilities) {
    GlGraphicsApi& api = TestGraphicsApi();
    DeviceCaps caps;
    ASSERT_EQ(api.GetDeviceCaps(0, DeviceType::HAL, &caps), S_OK);
    EXPECT_EQ(caps.deviceType, DeviceType::HAL);
    EXPECT_NE(caps.devCaps & kDevCapsHwTransformAndLight, 0u);
    EXPECT_EQ(caps.devCaps & kDevCapsPureDevice, 0u);
    EXPECT_EQ(caps.primitiveMiscCaps & kPrimitiveMiscNullReference, 0u);
    EXPECT_EQ(caps.presentationIntervals, kPresentIntervalImmediate | kPresentIntervalOne);
    EXPECT_GE(caps.maxTextureWidth, 2048u);
    EXPECT_GE(caps.maxActiveLights, 8u);

    EXPECT_TRUE(Failed(api.GetDeviceCaps(0, DeviceType::REF, &caps)));
    EXPECT_TRUE(Failed(api.GetDeviceCaps(0, DeviceType::SW, &caps)));
    EXPECT_TRUE(Failed(api.GetDeviceCaps(1, DeviceType::HAL, &caps)));
}

TEST(GlGraphicsApi, BackBuffersOnTheDesktopFormat) {
    GlGraphicsApi& api = TestGraphicsApi();
    for (const bool windowed : {true, false}) {
        EXPECT_EQ(
            api.CheckDeviceType(0, DeviceType::HAL, Format::X8R8G8B8, Format::A8R8G8B8, windowed),
            S_OK);
        EXPECT_EQ(
            api.CheckDeviceType(0, DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, windowed),
            S_OK);
        EXPECT_NE(
            api.CheckDeviceType(0, DeviceType::HAL, Format::X8R8G8B8, Format::R5G6B5, windowed),
            S_OK);
        // No screen is in a 16-bit mode, and Qt cannot switch one.
        EXPECT_NE(api.CheckDeviceType(0, DeviceType::HAL, Format::R5G6B5, Format::R5G6B5, windowed),
                  S_OK);
        EXPECT_NE(
            api.CheckDeviceType(0, DeviceType::REF, Format::X8R8G8B8, Format::X8R8G8B8, windowed),
            S_OK);
    }
}

TEST(GlGraphicsApi, DepthFormatsThatAttach) {
    GlGraphicsApi& api = TestGraphicsApi();
    auto depthOk = [&](Format format) {
        return api.CheckDeviceFormat(0, DeviceType::HAL, Format::X8R8G8B8, kUsageDepthStencil,
                                     ResourceType::Surface, format) == S_OK;
    };
    EXPECT_TRUE(depthOk(Format::D16));
    EXPECT_TRUE(depthOk(Format::D24X8));
    EXPECT_TRUE(depthOk(Format::D24S8));
    EXPECT_FALSE(depthOk(Format::D15S1));
    EXPECT_FALSE(depthOk(Format::D24X4S4));
    EXPECT_FALSE(depthOk(Format::X8R8G8B8));
    EXPECT_EQ(api.CheckDepthStencilMatch(0, DeviceType::HAL, Format::X8R8G8B8, Format::A8R8G8B8,
                                         Format::D24S8),
              S_OK);
    EXPECT_NE(api.CheckDepthStencilMatch(0, DeviceType::HAL, Format::X8R8G8B8, Format::A8R8G8B8,
                                         Format::D15S1),
              S_OK);
    EXPECT_EQ(api.CheckDeviceFormat(0, DeviceType::HAL, Format::X8R8G8B8, 0, ResourceType::Texture,
                                    Format::A8R8G8B8),
              S_OK);
}

TEST(GlGraphicsApi, MultisampleCountsWithinTheImplementationsLimit) {
    GlGraphicsApi& api = TestGraphicsApi();
    const ContextFacts facts = ReadContextFacts();
    std::uint32_t quality = 0;
    ASSERT_EQ(
        api.CheckDeviceMultiSampleType(0, DeviceType::HAL, Format::X8R8G8B8, true, 0, &quality),
        S_OK);
    EXPECT_EQ(quality, 1u);
    EXPECT_NE(
        api.CheckDeviceMultiSampleType(0, DeviceType::HAL, Format::X8R8G8B8, true, 1, &quality),
        S_OK);
    int offered = 0;
    for (MultisampleType samples = 2; samples <= 16; ++samples) {
        const bool ok = api.CheckDeviceMultiSampleType(0, DeviceType::HAL, Format::X8R8G8B8, true,
                                                       samples, &quality) == S_OK;
        if (ok) {
            ++offered;
            EXPECT_LE(static_cast<GLint>(samples), facts.maxSamples) << samples;
        }
    }
    if (facts.maxSamples >= 2) {
        EXPECT_GE(offered, 1);
    }
}

TEST(GlGraphicsApi, CreateDeviceRefusesWhatItCannotMake) {
    GlGraphicsApi& api = TestGraphicsApi();
    TestWindow window(64, 48);
    const PresentParameters good = WindowedParameters(window.adapter.get());
    std::unique_ptr<Device> device;
    EXPECT_NE(api.CreateDevice(0, DeviceType::REF, nullptr, kCreateSoftwareVertexProcessing, good,
                               &device),
              S_OK);
    EXPECT_NE(api.CreateDevice(0, DeviceType::HAL, nullptr,
                               kCreateHardwareVertexProcessing | kCreatePureDevice, good, &device),
              S_OK);
    EXPECT_NE(api.CreateDevice(0, DeviceType::HAL, nullptr,
                               kCreateHardwareVertexProcessing | kCreateSoftwareVertexProcessing,
                               good, &device),
              S_OK);
    PresentParameters noWindow = good;
    noWindow.deviceWindow = nullptr;
    EXPECT_NE(api.CreateDevice(0, DeviceType::HAL, nullptr, kCreateHardwareVertexProcessing,
                               noWindow, &device),
              S_OK);
    PresentParameters sixteenBit = good;
    sixteenBit.backBufferFormat = Format::R5G6B5;
    EXPECT_NE(api.CreateDevice(0, DeviceType::HAL, nullptr, kCreateHardwareVertexProcessing,
                               sixteenBit, &device),
              S_OK);
    PresentParameters everyOther = good;
    everyOther.presentationInterval = kPresentIntervalTwo;
    EXPECT_NE(api.CreateDevice(0, DeviceType::HAL, nullptr, kCreateHardwareVertexProcessing,
                               everyOther, &device),
              S_OK);
    PresentParameters fullScreenOddSize = good;
    fullScreenOddSize.windowed = false;
    fullScreenOddSize.backBufferWidth = 1000;
    fullScreenOddSize.backBufferHeight = 700;
    EXPECT_NE(api.CreateDevice(0, DeviceType::HAL, nullptr, kCreateHardwareVertexProcessing,
                               fullScreenOddSize, &device),
              S_OK);
    EXPECT_EQ(device, nullptr);

    // The focus window stands in when the parameters name none.
    ASSERT_EQ(api.CreateDevice(0, DeviceType::HAL, window.adapter.get(),
                               kCreateSoftwareVertexProcessing, noWindow, &device),
              S_OK);
    EXPECT_EQ(device->Release(), 0u);
}

}  // namespace
}  // namespace tetrakon::gfx
