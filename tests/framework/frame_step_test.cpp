#include <gtest/gtest.h>

#include "tests/framework/recording_app.h"

namespace tetrakon {
namespace {

using Calls = std::vector<std::string>;

class FrameStepTest : public RenderAppFixture {
  protected:
    void SetUp() override {
        RenderAppFixture::SetUp();
        Start();
    }
};

TEST_F(FrameStepTest, NoTimeElapsedDrawsNothing) {
    AdvanceMs(10);
    ASSERT_EQ(app->StepFrame(), S_OK);
    log->calls.clear();
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_TRUE(log->calls.empty());
    EXPECT_NEAR(app->elapsedTime, 0.010f, 1e-6f);
}

TEST_F(FrameStepTest, FrozenTimeStillDrawsButKeepsTheTime) {
    AdvanceMs(10);
    app->StepFrame();
    const float time = app->time;
    app->frameMoving = false;
    log->calls.clear();
    AdvanceMs(10);
    EXPECT_EQ(app->StepFrame(), S_OK);
    // No time at all has passed: with time frozen the frame is still drawn.
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(Events(), (Calls{"DrawFrame", "Present", "DrawFrame", "Present"}));
    EXPECT_EQ(app->time, time);

    app->singleStep = true;
    log->calls.clear();
    AdvanceMs(10);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(Events(), (Calls{"UpdateFrame", "DrawFrame", "Present"}));
    EXPECT_FALSE(app->singleStep);
    EXPECT_GT(app->time, time);
}

TEST_F(FrameStepTest, ResetWithFrozenTimeRequestsOneUpdate) {
    app->frameMoving = false;
    view.Resize(300, 200);
    ASSERT_EQ(app->OnClientResize(), S_OK);
    EXPECT_TRUE(app->singleStep);
    log->calls.clear();
    app->StepFrame();
    app->StepFrame();
    EXPECT_EQ(Events(), (Calls{"UpdateFrame", "DrawFrame", "Present", "DrawFrame", "Present"}));
}

TEST_F(FrameStepTest, HookFailuresEndTheStep) {
    app->script["UpdateFrame"] = {E_OUTOFMEMORY};
    AdvanceMs(10);
    EXPECT_EQ(app->StepFrame(), E_OUTOFMEMORY);
    EXPECT_EQ(Events(), (Calls{"UpdateFrame"}));

    app->script["DrawFrame"] = {E_FAIL};
    log->calls.clear();
    AdvanceMs(10);
    EXPECT_EQ(app->StepFrame(), E_FAIL);
    EXPECT_EQ(Events(), (Calls{"UpdateFrame", "DrawFrame"}));
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(FrameStepTest, AnUnchangedFrameIsNeitherCountedNorPresented) {
    app->script["DrawFrame"] = {kFrameUnchanged};
    AdvanceMs(10);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(Events(), (Calls{"UpdateFrame", "DrawFrame"}));
}

TEST_F(FrameStepTest, OnlyALostDeviceAtPresentMarksTheDeviceLost) {
    app->Device().presentResult = E_FAIL;
    AdvanceMs(10);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_FALSE(app->deviceLost);
    app->Device().presentResult = gfx::D3DERR_DEVICELOST;
    AdvanceMs(10);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_TRUE(app->deviceLost);
}

struct DeviceStateCase {
    const char* name;
    Result cooperativeLevel;
    Result stepResult;
    std::vector<std::string> events;
    bool stillLost;
};

class DeviceStateTest : public FrameStepTest,
                        public ::testing::WithParamInterface<DeviceStateCase> {};

TEST_P(DeviceStateTest, DecidesTheStep) {
    app->Device().presentResult = gfx::D3DERR_DEVICELOST;
    AdvanceMs(10);
    app->StepFrame();
    app->Device().presentResult = S_OK;
    app->Device().cooperativeLevel = GetParam().cooperativeLevel;
    log->calls.clear();
    AdvanceMs(10);
    EXPECT_EQ(app->StepFrame(), GetParam().stepResult);
    EXPECT_EQ(Events(), GetParam().events);
    EXPECT_EQ(app->deviceLost, GetParam().stillLost);
}

INSTANTIATE_TEST_SUITE_P(
    States, DeviceStateTest,
    ::testing::Values(
        DeviceStateCase{"Usable", S_OK, S_OK, {"UpdateFrame", "DrawFrame", "Present"}, false},
        DeviceStateCase{"Lost", gfx::D3DERR_DEVICELOST, S_OK, {}, true},
        DeviceStateCase{"NotReset",
                        gfx::D3DERR_DEVICENOTRESET,
                        S_OK,
                        {"DeviceLost", "Reset 500x375", "DeviceReset"},
                        true},
        DeviceStateCase{
            "OtherFailure", gfx::D3DERR_INVALIDCALL, gfx::D3DERR_INVALIDCALL, {}, true}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(FrameStepTest, FailedResetOfALostDeviceIsReturnedSilently) {
    app->Device().presentResult = gfx::D3DERR_DEVICELOST;
    AdvanceMs(10);
    app->StepFrame();
    app->Device().cooperativeLevel = gfx::D3DERR_DEVICENOTRESET;
    app->Device().resetResult = gfx::D3DERR_OUTOFVIDEOMEMORY;
    AdvanceMs(10);
    EXPECT_EQ(app->StepFrame(), gfx::D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_TRUE(box.shown.empty());
    EXPECT_FALSE(app->objectsRestored);
}

TEST_F(FrameStepTest, WithoutADeviceNothingIsDrawn) {
    app->ShutDown();
    log->calls.clear();
    AdvanceMs(10);
    EXPECT_EQ(app->StepFrame(), E_FAIL);
    app->CheckFullScreenDevice();
    EXPECT_TRUE(log->calls.empty());
}

}  // namespace
}  // namespace tetrakon
