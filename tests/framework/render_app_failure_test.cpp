#include <gtest/gtest.h>

#include "framework/framework_results.h"
#include "tests/framework/recording_app.h"

namespace tetrakon {
namespace {

using Calls = std::vector<std::string>;
using gfx::DeviceType;
using gfx::Format;

const std::string kFatalSuffix = "\n\nThis program will now exit.";

class FailureTest : public RenderAppFixture {
  protected:
    // The text of the n-th box shown.
    std::string Text(std::size_t n) const {
        return n < box.shown.size() ? box.shown[n].text : std::string("<no box>");
    }
};

TEST_F(FailureTest, DeviceCreatedFailingIsUndoneOnceThenFallsBackToReference) {
    app->script["DeviceCreated"] = {E_FAIL};
    ASSERT_EQ(app->StartUp(), S_OK);
    EXPECT_EQ(Events(),
              (Calls{"SceneInit", "ApplyWindowStyle windowed", "CreateDevice 0 HAL 80 windowed",
                     "DeviceCreated", "DeviceDestroyed", "Release", "ApplyWindowStyle windowed",
                     "MessageBox Warning", "ApplyWindowStyle windowed",
                     "CreateDevice 0 REF 80 windowed", "DeviceCreated", "DeviceReset"}));
    EXPECT_EQ(Count("DeviceLost"), 0);
    EXPECT_EQ(Text(0),
              "Generic application error. Enable\ndebug output for detailed information.\n\n"
              "Switching to Mesa's software renderer,\nwhich implements the entire OpenGL\n"
              "feature set, but runs very slowly.");
    EXPECT_EQ(box.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(box.shown[0].caption, "Tetrakon1.0");
    EXPECT_EQ(app->settings.windowed.device->deviceType, DeviceType::REF);
    EXPECT_TRUE(app->active);
}

TEST_F(FailureTest, DeviceResetFailingDuringCreationLosesThenDestroysThenReleases) {
    app->script["DeviceReset"] = {E_OUTOFMEMORY};
    ASSERT_EQ(app->StartUp(), S_OK);
    const Calls events = Events();
    const Calls firstAttempt(events.begin() + 2, events.begin() + 8);
    EXPECT_EQ(firstAttempt, (Calls{"CreateDevice 0 HAL 80 windowed", "DeviceCreated", "DeviceReset",
                                   "DeviceLost", "DeviceDestroyed", "Release"}));
    EXPECT_EQ(Count("DeviceLost"), 1);
    EXPECT_EQ(Count("DeviceDestroyed"), 1);
    EXPECT_EQ(Text(0).rfind("Not enough memory.\n\nSwitching", 0), 0u);
}

TEST_F(FailureTest, ReferenceFailureIsReturnedWithoutAThirdAttempt) {
    api->createResults[DeviceType::HAL] = gfx::D3DERR_NOTAVAILABLE;
    api->createResults[DeviceType::REF] = gfx::D3DERR_INVALIDCALL;
    EXPECT_EQ(app->StartUp(), gfx::D3DERR_INVALIDCALL);
    EXPECT_EQ(log->Matching("CreateDevice"),
              (Calls{"CreateDevice 0 HAL 80 windowed", "CreateDevice 0 REF 80 windowed"}));
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(box.shown[1].icon, MessageIcon::Error);
    EXPECT_EQ(view.closeRequests, 1);
    EXPECT_FALSE(app->active);
    EXPECT_EQ(app->graphics, nullptr);
    EXPECT_FALSE(app->HasDevice());
}

TEST_F(FailureTest, NoReferenceDeviceMeansNoFallBack) {
    api->adapters[0].caps.erase(DeviceType::REF);
    api->createResults[DeviceType::HAL] = gfx::D3DERR_NOTAVAILABLE;
    EXPECT_EQ(app->StartUp(), gfx::D3DERR_NOTAVAILABLE);
    EXPECT_EQ(log->Matching("CreateDevice").size(), 1u);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].icon, MessageIcon::Error);
}

TEST_F(FailureTest, ReferenceDeviceItselfDoesNotFallBack) {
    api->adapters[0].caps.erase(DeviceType::HAL);
    api->createResults[DeviceType::REF] = E_FAIL;
    EXPECT_EQ(app->StartUp(), E_FAIL);
    EXPECT_EQ(log->Matching("CreateDevice"), (Calls{"CreateDevice 0 REF 80 windowed"}));
}

// Missing media would be missing on the reference device as well.
class MediaFailureTest : public FailureTest, public ::testing::WithParamInterface<Result> {};

TEST_P(MediaFailureTest, NeverFallsBack) {
    app->script["DeviceCreated"] = {GetParam()};
    EXPECT_EQ(app->StartUp(), GetParam());
    EXPECT_EQ(log->Matching("CreateDevice").size(), 1u);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(Text(0), "Could not load required media." + kFatalSuffix);
    EXPECT_EQ(log->calls.back(), "RequestClose view");
}

INSTANTIATE_TEST_SUITE_P(Codes, MediaFailureTest,
                         ::testing::Values(MediaMissing, E_FILE_NOT_FOUND));

TEST_F(FailureTest, NoGraphicsInterfaceIsFatalAndReportedOnce) {
    pendingApi.reset();
    EXPECT_EQ(app->StartUp(), NoGraphicsApi);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(Text(0).rfind("Could not initialize OpenGL. You may\n", 0), 0u);
    EXPECT_EQ(box.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(view.closeRequests, 1);
    EXPECT_FALSE(app->active);
    EXPECT_EQ(Count("SceneInit"), 0);

    EXPECT_EQ(app->StartUp(), NoGraphicsApi);
    EXPECT_EQ(box.shown.size(), 1u);
}

TEST_F(FailureTest, NoCompatibleDeviceIsFatal) {
    api->adapters[0].caps.clear();
    EXPECT_EQ(app->StartUp(), NoCompatibleDevice);
    EXPECT_EQ(Text(0), "Could not find any compatible OpenGL\ndevices." + kFatalSuffix);
    EXPECT_EQ(app->graphics, nullptr);
    EXPECT_EQ(Count("SceneInit"), 0);
    EXPECT_EQ(RenderApp::PauseCount(), 1u);
}

TEST_F(FailureTest, SceneInitFailureIsFatalBeforeAnyDevice) {
    app->script["SceneInit"] = {E_OUTOFMEMORY};
    EXPECT_EQ(app->StartUp(), E_OUTOFMEMORY);
    EXPECT_EQ(Text(0), "Not enough memory." + kFatalSuffix);
    EXPECT_EQ(log->Matching("CreateDevice").size(), 0u);
    EXPECT_EQ(app->graphics, nullptr);
}

TEST_F(FailureTest, NullReferenceDeviceWarnsAndGoesOn) {
    api->adapters[0].caps[DeviceType::HAL].primitiveMiscCaps = gfx::kPrimitiveMiscNullReference;
    EXPECT_EQ(app->StartUp(), S_OK);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(Text(0).rfind("Warning: Nothing will be rendered.\n", 0), 0u);
    EXPECT_TRUE(app->active);
}

TEST_F(FailureTest, StartsFullScreenWhenNoWindowedCombinationExists) {
    api->checkDeviceType = [](std::uint32_t, DeviceType, Format adapter, Format back,
                              bool windowed) {
        return !windowed && adapter == back ? S_OK : gfx::D3DERR_NOTAVAILABLE;
    };
    ASSERT_EQ(app->StartUp(), S_OK);
    EXPECT_EQ(log->Matching("CreateDevice"), (Calls{"CreateDevice 0 HAL 80 fullscreen"}));
    EXPECT_FALSE(app->windowed);
    const gfx::PresentParameters& pp = api->lastCreateParams;
    EXPECT_EQ(pp.backBufferWidth, 1024u);
    EXPECT_EQ(pp.backBufferHeight, 768u);
    EXPECT_EQ(pp.fullScreenRefreshRate, 60u);
    EXPECT_EQ(pp.deviceWindow, &popup);
    EXPECT_TRUE(popup.cursorClipped);
    EXPECT_EQ(view.moves, 0);

    // With no windowed setup, a lost device cannot return to a window.
    app->Device().cooperativeLevel = gfx::D3DERR_DEVICELOST;
    log->calls.clear();
    EXPECT_EQ(app->ReturnToWindow(), E_FAIL);
    EXPECT_TRUE(Events().empty());
    EXPECT_FALSE(app->windowed);
    EXPECT_TRUE(app->active);
    // Nor can the mode be switched.
    EXPECT_EQ(app->SwitchScreenMode(), E_FAIL);
    EXPECT_TRUE(Events().empty());
    EXPECT_TRUE(app->active);
}

TEST_F(FailureTest, ScreenBelowTheFullScreenFloorRunsInAWindowAndSaysWhyNotFullScreen) {
    api->adapters[0].modes = {{639, 480, 60, Format::X8R8G8B8}};
    api->adapters[0].desktopMode = {639, 480, 60, Format::X8R8G8B8};
    ASSERT_EQ(app->StartUp(), S_OK);
    EXPECT_TRUE(app->windowed);
    EXPECT_EQ(app->SwitchScreenMode(), E_FAIL);
    EXPECT_EQ(Text(0).rfind("The screen is too small for full screen.\n", 0), 0u);
    EXPECT_EQ(box.shown[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(app->windowed && app->active);
}

struct ResizeFailure {
    Result resetResult;
    Result reported;
    const char* text;
};

class ResizeFailureTest : public FailureTest,
                          public ::testing::WithParamInterface<ResizeFailure> {};

TEST_P(ResizeFailureTest, IsFatal) {
    Start();
    app->Device().resetResult = GetParam().resetResult;
    view.Resize(700, 500);
    EXPECT_EQ(app->OnClientResize(), GetParam().reported);
    EXPECT_EQ(Events(),
              (Calls{"DeviceLost", "Reset 700x500", "MessageBox Error", "RequestClose view"}));
    EXPECT_EQ(Text(0), GetParam().text + kFatalSuffix);
    EXPECT_TRUE(app->active);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ResizeFailureTest,
    ::testing::Values(ResizeFailure{E_FAIL, ResetFailed, "Could not reset the OpenGL device."},
                      ResizeFailure{gfx::D3DERR_DEVICELOST, ResetFailed,
                                    "Could not reset the OpenGL device."},
                      ResizeFailure{gfx::D3DERR_OUTOFVIDEOMEMORY, gfx::D3DERR_OUTOFVIDEOMEMORY,
                                    "Not enough video memory."}));

// A back buffer above the largest render target is refused before the device is asked,
// with the reset text: on a resize and at creation.
class RenderTargetLimitTest : public FailureTest {
  protected:
    void LimitRenderTargets(std::uint32_t side) {
        for (auto& [type, caps] : api->adapters[0].caps) {
            caps.maxRenderTargetWidth = side;
            caps.maxRenderTargetHeight = side;
        }
    }
};

TEST_F(RenderTargetLimitTest, LargerClientAreaIsRefusedWithoutAReset) {
    LimitRenderTargets(2048);
    Start();
    view.Resize(2049, 500);
    EXPECT_EQ(app->OnClientResize(), ResetFailed);
    EXPECT_EQ(Events(), (Calls{"MessageBox Error", "RequestClose view"}));
    EXPECT_EQ(Text(0), "Could not reset the OpenGL device." + kFatalSuffix);
}

TEST_F(RenderTargetLimitTest, LargerWindowIsNeverCreated) {
    LimitRenderTargets(499);  // the view is 500 wide
    EXPECT_EQ(app->StartUp(), ResetFailed);
    EXPECT_TRUE(log->Matching("CreateDevice").empty());
    EXPECT_EQ(Text(box.shown.size() - 1), "Could not reset the OpenGL device." + kFatalSuffix);
}

TEST_F(FailureTest, DeviceResetHookFailingOnResizeDropsItsStateAgain) {
    Start();
    app->script["DeviceReset"] = {E_FAIL};
    view.Resize(700, 500);
    EXPECT_EQ(app->OnClientResize(), ResetFailed);
    EXPECT_EQ(Events(), (Calls{"DeviceLost", "Reset 700x500", "DeviceReset", "DeviceLost",
                               "MessageBox Error", "RequestClose view"}));
    EXPECT_FALSE(app->objectsRestored);
    // Closing later does not call DeviceLost a third time.
    log->calls.clear();
    app->ShutDown();
    EXPECT_EQ(Events(), (Calls{"DeviceDestroyed", "Release", "SceneShutdown"}));
}

TEST_F(FailureTest, FailedSwitchToFullScreenGoesBackToAWindowAndStaysPaused) {
    Start();
    app->Device().resetResult = gfx::D3DERR_OUTOFVIDEOMEMORY;
    EXPECT_EQ(app->SwitchScreenMode(), gfx::D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(Events(),
              (Calls{"ApplyWindowStyle fullscreen", "DeviceLost", "Reset 1024x768",
                     "ApplyWindowStyle windowed", "MessageBox Error", "RequestClose view"}));
    EXPECT_TRUE(app->windowed);
    EXPECT_TRUE(app->settings.isWindowed);
    EXPECT_EQ(view.lastMove, (gfx::Rect{100, 50, 600, 425}));
    EXPECT_EQ(Text(0), "Not enough video memory." + kFatalSuffix);
    EXPECT_FALSE(app->active);
    EXPECT_FALSE(app->ignoreSizeChange);
}

TEST_F(FailureTest, FailedReturnToWindowIsFatal) {
    Start();
    ASSERT_EQ(app->SwitchScreenMode(), S_OK);
    api->createResults[DeviceType::HAL] = E_OUTOFMEMORY;
    api->createResults[DeviceType::REF] = E_OUTOFMEMORY;
    app->Device().cooperativeLevel = gfx::D3DERR_DEVICELOST;
    log->calls.clear();
    app->CheckFullScreenDevice();
    EXPECT_EQ(log->Matching("CreateDevice"),
              (Calls{"CreateDevice 0 HAL 80 windowed", "CreateDevice 0 REF 80 windowed"}));
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(Text(1), "Not enough memory." + kFatalSuffix);
    EXPECT_FALSE(app->active);
}

TEST_F(FailureTest, LeakedReferencesAreReportedAtRelease) {
    api->prepareDevice = [](gfx::ScriptedFakeDevice& device) { device.leakedReferences = 2; };
    Start();
    app->ShutDown();
    EXPECT_EQ(Events(), (Calls{"DeviceLost", "DeviceDestroyed", "Release", "MessageBox Error",
                               "RequestClose view", "SceneShutdown"}));
    EXPECT_EQ(Text(0),
              "An OpenGL object has a non-zero reference\ncount (meaning things were not "
              "properly\ncleaned up)." +
                  kFatalSuffix);
}

TEST_F(FailureTest, ResourcesStillAliveAtReleaseCountAsLeaks) {
    std::unique_ptr<gfx::Texture> kept;
    Start();
    ASSERT_EQ(app->Device().CreateTexture(1, 1, nullptr, &kept), S_OK);
    app->ShutDown();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(Text(0).rfind("An OpenGL object has a non-zero reference", 0), 0u);
}

}  // namespace
}  // namespace tetrakon
