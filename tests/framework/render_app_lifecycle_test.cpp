#include <gtest/gtest.h>

#include "framework/framework_results.h"
#include "tests/framework/recording_app.h"

namespace tetrakon {
namespace {

using Calls = std::vector<std::string>;
using gfx::DeviceType;
using gfx::Format;

class LifecycleTest : public RenderAppFixture {};

TEST_F(LifecycleTest, StartOpensTheWindowedHardwareDeviceAndActivates) {
    EXPECT_FALSE(app->active);
    EXPECT_EQ(RenderApp::PauseCount(), 1u);
    ASSERT_EQ(app->StartUp(), S_OK);

    EXPECT_EQ(Events(), (Calls{"SceneInit", "ApplyWindowStyle windowed",
                               "CreateDevice 0 HAL 80 windowed", "DeviceCreated", "DeviceReset"}));
    EXPECT_TRUE(app->active);
    EXPECT_EQ(RenderApp::PauseCount(), 0u);
    EXPECT_TRUE(app->objectsCreated);
    EXPECT_TRUE(app->objectsRestored);
    EXPECT_EQ(api->lastFocusWindow, &popup);
    EXPECT_EQ(app->createFlags, 0x50u);
    EXPECT_EQ(view.lastMove, (gfx::Rect{100, 50, 600, 425}));
    EXPECT_FALSE(view.cursorClipped);
    EXPECT_TRUE(box.shown.empty());

    const gfx::PresentParameters& pp = app->presentParams;
    EXPECT_EQ(pp.backBufferWidth, 500u);
    EXPECT_EQ(pp.backBufferHeight, 375u);
    EXPECT_EQ(pp.backBufferFormat, Format::X8R8G8B8);
    EXPECT_EQ(pp.backBufferCount, 1u);
    EXPECT_EQ(pp.deviceWindow, &view);
    EXPECT_TRUE(pp.windowed);
    EXPECT_TRUE(pp.enableAutoDepthStencil);
    EXPECT_EQ(pp.autoDepthStencilFormat, Format::D16);
    EXPECT_EQ(pp.flags, gfx::kPresentFlagDiscardDepthStencil);
    EXPECT_EQ(pp.fullScreenRefreshRate, 0u);
    EXPECT_EQ(pp.presentationInterval, gfx::kPresentIntervalImmediate);
    EXPECT_EQ(app->backBufferDesc.width, 500u);
}

TEST_F(LifecycleTest, FramesRunBetweenEvents) {
    Start();
    AdvanceMs(20);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(Events(), (Calls{"UpdateFrame", "DrawFrame", "Present"}));
    EXPECT_NEAR(app->elapsedTime, 0.020f, 1e-6f);
}

TEST_F(LifecycleTest, ResizeResetsTheDeviceAtTheNewSize) {
    Start();
    view.Resize(640, 480);
    EXPECT_EQ(app->OnClientResize(), S_OK);
    EXPECT_EQ(Events(), (Calls{"DeviceLost", "Reset 640x480", "DeviceReset"}));
    EXPECT_EQ(app->backBufferDesc.width, 640u);
    EXPECT_EQ(app->windowBounds, (gfx::Rect{100, 50, 740, 530}));
    EXPECT_TRUE(app->active);
}

TEST_F(LifecycleTest, ResizeToTheSameSizeOrDuringASwitchDoesNothing) {
    Start();
    view.windowRect = {10, 10, 510, 385};  // moved, same client size
    EXPECT_EQ(app->OnClientResize(), S_OK);
    EXPECT_TRUE(Events().empty());

    app->ignoreSizeChange = true;
    view.Resize(800, 600);
    EXPECT_EQ(app->OnClientResize(), S_OK);
    EXPECT_TRUE(Events().empty());
    EXPECT_EQ(app->clientRect.Width(), 500);
}

TEST_F(LifecycleTest, ResizeBeforeStartUpChangesNothing) {
    app->SetRenderWindow(nullptr);
    view.Resize(800, 600);
    EXPECT_EQ(app->OnClientResize(), S_OK);
    EXPECT_EQ(RenderApp::PauseCount(), 1u);
    EXPECT_EQ(app->clientRect, gfx::Rect{});
    EXPECT_TRUE(log->calls.empty());
}

TEST_F(LifecycleTest, DeviceLostWhileWindowedWaitsThenResets) {
    Start();
    app->Device().presentResult = gfx::D3DERR_DEVICELOST;
    AdvanceMs(15);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_TRUE(app->deviceLost);

    app->Device().cooperativeLevel = gfx::D3DERR_DEVICELOST;
    log->calls.clear();
    AdvanceMs(15);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(log->calls, (Calls{"TestCooperativeLevel"}));

    // The desktop changed to 16 bits while the device was away.
    api->adapters[0].desktopMode = {1024, 768, 60, Format::R5G6B5};
    app->Device().cooperativeLevel = gfx::D3DERR_DEVICENOTRESET;
    app->Device().presentResult = S_OK;
    log->calls.clear();
    AdvanceMs(15);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(Events(), (Calls{"DeviceLost", "Reset 500x375", "DeviceReset"}));
    EXPECT_EQ(app->presentParams.backBufferFormat, Format::R5G6B5);
    EXPECT_EQ(app->settings.windowed.displayMode.format, Format::R5G6B5);

    log->calls.clear();
    AdvanceMs(15);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_FALSE(app->deviceLost);
    EXPECT_EQ(Events(), (Calls{"UpdateFrame", "DrawFrame", "Present"}));
}

TEST_F(LifecycleTest, ModeSwitchOnTheSameDeviceResetsItAndTogglesBack) {
    Start();
    EXPECT_EQ(app->SwitchScreenMode(), S_OK);
    EXPECT_EQ(Events(), (Calls{"ApplyWindowStyle fullscreen", "DeviceLost", "Reset 1024x768",
                               "DeviceReset"}));
    EXPECT_FALSE(app->windowed);
    EXPECT_FALSE(app->settings.isWindowed);
    EXPECT_TRUE(app->active);
    EXPECT_EQ(app->presentParams.deviceWindow, &popup);
    EXPECT_FALSE(app->presentParams.windowed);
    EXPECT_EQ(app->presentParams.fullScreenRefreshRate, 60u);
    EXPECT_EQ(app->presentParams.presentationInterval, gfx::kPresentIntervalDefault);
    EXPECT_TRUE(popup.cursorClipped);

    log->calls.clear();
    view.windowRect = {0, 0, 1, 1};  // wherever the host left it
    EXPECT_EQ(app->SwitchScreenMode(), S_OK);
    EXPECT_EQ(Events(),
              (Calls{"ApplyWindowStyle windowed", "DeviceLost", "Reset 500x375", "DeviceReset"}));
    EXPECT_TRUE(app->windowed);
    EXPECT_EQ(view.windowRect, (gfx::Rect{100, 50, 600, 425}));
    EXPECT_FALSE(view.cursorClipped);
    EXPECT_EQ(RenderApp::PauseCount(), 0u);
}

// Full-screen setups on another device type or another adapter than the windowed one.
struct OtherDeviceCase {
    const char* name;
    void (*arrange)(gfx::FakeGraphicsApi& api);
    const char* fullScreenCreate;
};

const OtherDeviceCase kOtherDeviceCases[] = {
    {"OtherDeviceType",
     [](gfx::FakeGraphicsApi& api) {
         api.checkDeviceType = [](std::uint32_t, DeviceType type, Format adapter, Format back,
                                  bool windowed) {
             const bool allowed = windowed == (type == DeviceType::HAL);
             return allowed && adapter == back ? S_OK : gfx::D3DERR_NOTAVAILABLE;
         };
     },
     "CreateDevice 0 REF 80 fullscreen"},
    {"OtherAdapter",
     [](gfx::FakeGraphicsApi& api) {
         api.adapters.push_back(gfx::TypicalAdapter());
         api.checkDeviceType = [](std::uint32_t adapter, DeviceType, Format adapterFormat,
                                  Format back, bool windowed) {
             const bool allowed = windowed == (adapter == 0);
             return allowed && adapterFormat == back ? S_OK : gfx::D3DERR_NOTAVAILABLE;
         };
     },
     "CreateDevice 1 HAL 80 fullscreen"},
};

class OtherDeviceSwitchTest : public RenderAppFixture,
                              public ::testing::WithParamInterface<OtherDeviceCase> {};

TEST_P(OtherDeviceSwitchTest, ModeSwitchReopensTheDevice) {
    GetParam().arrange(*api);
    Start();
    EXPECT_EQ(app->SwitchScreenMode(), S_OK);
    EXPECT_EQ(Events(), (Calls{"ApplyWindowStyle fullscreen", "DeviceLost", "DeviceDestroyed",
                               "Release", "ApplyWindowStyle fullscreen",
                               GetParam().fullScreenCreate, "DeviceCreated", "DeviceReset"}));
    EXPECT_TRUE(app->active);

    log->calls.clear();
    EXPECT_EQ(app->SwitchScreenMode(), S_OK);
    EXPECT_EQ(Events(), (Calls{"ApplyWindowStyle windowed", "DeviceLost", "DeviceDestroyed",
                               "Release", "ApplyWindowStyle windowed",
                               "CreateDevice 0 HAL 80 windowed", "DeviceCreated", "DeviceReset"}));
}

INSTANTIATE_TEST_SUITE_P(Switch, OtherDeviceSwitchTest, ::testing::ValuesIn(kOtherDeviceCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(LifecycleTest, DeviceLostWhileFullScreenReturnsToAWindow) {
    Start();
    ASSERT_EQ(app->SwitchScreenMode(), S_OK);
    app->CheckFullScreenDevice();  // usable: nothing happens
    EXPECT_FALSE(app->windowed);

    app->Device().cooperativeLevel = gfx::D3DERR_DEVICELOST;
    log->calls.clear();
    app->CheckFullScreenDevice();
    EXPECT_EQ(Events(),
              (Calls{"DeviceLost", "DeviceDestroyed", "Release", "ApplyWindowStyle windowed",
                     "CreateDevice 0 HAL 80 windowed", "DeviceCreated", "DeviceReset"}));
    EXPECT_TRUE(app->windowed);
    EXPECT_TRUE(app->active);
    EXPECT_EQ(view.windowRect, (gfx::Rect{100, 50, 600, 425}));
}

TEST_F(LifecycleTest, EndReleasesTheDeviceThenTheGraphicsThenTheScene) {
    Start();
    app->ShutDown();
    EXPECT_EQ(Events(), (Calls{"DeviceLost", "DeviceDestroyed", "Release", "SceneShutdown"}));
    EXPECT_FALSE(app->graphicsAliveAtSceneShutdown);
    app->ShutDown();
    EXPECT_EQ(Count("SceneShutdown"), 1);
}

TEST_F(LifecycleTest, DestroyingWithoutShutDownStillReleasesTheDevice) {
    Start();
    app.reset();
    EXPECT_EQ(Events(), (Calls{"Release"}));
}

TEST_F(LifecycleTest, PausedSpanIsLeftOutOfTheNextFrame) {
    Start();
    AdvanceMs(20);
    app->StepFrame();
    app->SetPaused(true);
    app->SetPaused(true);
    EXPECT_FALSE(app->active);
    AdvanceMs(5000);
    app->SetPaused(false);
    EXPECT_FALSE(app->active);
    AdvanceMs(1000);
    app->SetPaused(false);
    EXPECT_TRUE(app->active);
    AdvanceMs(30);
    app->StepFrame();
    EXPECT_NEAR(app->elapsedTime, 0.030f, 1e-6f);
    // The timer started at the clock's 1 s and lost the 6 s paused span.
    EXPECT_NEAR(app->time, 1.050f, 1e-6f);
}

}  // namespace
}  // namespace tetrakon
