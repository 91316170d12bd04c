#include "framework/setup_selection.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/framework_results.h"
#include "tests/fakes/fake_graphics_api.h"

namespace tetrakon {
namespace {

using gfx::DeviceType;
using gfx::DisplayMode;
using gfx::Format;

// Answers CheckDeviceType from a list of allowed (type, adapter format, back buffer,
// windowed) rows.
struct Allowed {
    DeviceType type;
    Format adapter;
    Format backBuffer;
    bool windowed;
};

class SetupSelectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        api.adapters = {gfx::TypicalAdapter()};
        catalogue.limits.usesDepthBuffer = true;
    }

    void Allow(std::vector<Allowed> rows) {
        api.checkDeviceType = [rows](std::uint32_t, DeviceType type, Format adapter, Format back,
                                     bool windowed) {
            for (const Allowed& row : rows) {
                if (row.type == type && row.adapter == adapter && row.backBuffer == back &&
                    row.windowed == windowed) {
                    return S_OK;
                }
            }
            return gfx::D3DERR_NOTAVAILABLE;
        };
    }

    bool PickWindowed(bool requireHal = false, bool requireRef = false) {
        EXPECT_EQ(catalogue.Build(&api), S_OK);
        return PickWindowedSetup(catalogue, api, client, requireHal, requireRef, &settings);
    }

    bool PickFullScreen(bool requireHal = false, bool requireRef = false) {
        EXPECT_EQ(catalogue.Build(&api), S_OK);
        return PickFullScreenSetup(catalogue, api, requireHal, requireRef, &settings);
    }

    gfx::FakeGraphicsApi api;
    DeviceCatalog catalogue;
    DisplaySettings settings;
    gfx::Rect client{0, 0, 500, 375};
};

TEST_F(SetupSelectionTest, WindowedTakesTheFirstHalWithMatchingFormatsAndItsFirstOptions) {
    settings.isWindowed = false;
    ASSERT_TRUE(PickWindowed());
    const WindowedSetup& w = settings.windowed;
    EXPECT_TRUE(settings.isWindowed);
    EXPECT_EQ(w.device->deviceType, DeviceType::HAL);
    EXPECT_EQ(w.combo->adapterFormat, Format::X8R8G8B8);
    EXPECT_EQ(w.combo->backBufferFormat, Format::X8R8G8B8);
    EXPECT_TRUE(w.combo->windowed);
    EXPECT_EQ(w.displayMode.width, 1024u);
    EXPECT_EQ(w.displayMode.format, Format::X8R8G8B8);
    EXPECT_EQ(w.windowWidth, 500u);
    EXPECT_EQ(w.windowHeight, 375u);
    EXPECT_EQ(w.depthStencilFormat, Format::D16);
    EXPECT_EQ(w.multisampleType, 0u);
    EXPECT_EQ(w.multisampleQuality, 0u);
    EXPECT_EQ(w.vertexProcessing, VertexProcessing::PureHardware);
    EXPECT_EQ(w.presentInterval, gfx::kPresentIntervalImmediate);
}

TEST_F(SetupSelectionTest, WindowedMatchingFormatsEndTheWalk) {
    api.adapters.push_back(gfx::TypicalAdapter());
    ASSERT_TRUE(PickWindowed());
    EXPECT_EQ(settings.windowed.adapter->adapterOrdinal, 0u);
}

TEST_F(SetupSelectionTest, WindowedWithoutMatchingFormatsTakesTheFirstHal) {
    Allow({{DeviceType::REF, Format::X8R8G8B8, Format::X8R8G8B8, true},
           {DeviceType::HAL, Format::X8R8G8B8, Format::A8R8G8B8, true},
           {DeviceType::HAL, Format::R5G6B5, Format::R5G6B5, true}});
    ASSERT_TRUE(PickWindowed());
    EXPECT_EQ(settings.windowed.device->deviceType, DeviceType::HAL);
    EXPECT_EQ(settings.windowed.combo->backBufferFormat, Format::A8R8G8B8);
}

TEST_F(SetupSelectionTest, WindowedTakesTheFirstNonHalOnlyWithoutHal) {
    api.adapters[0].caps.erase(DeviceType::HAL);
    api.adapters[0].caps[DeviceType::SW] = gfx::TypicalCaps(DeviceType::SW);
    ASSERT_TRUE(PickWindowed());
    EXPECT_EQ(settings.windowed.device->deviceType, DeviceType::SW);
    EXPECT_EQ(settings.windowed.combo->backBufferFormat, Format::A8R8G8B8);
}

TEST_F(SetupSelectionTest, WindowedHalOnALaterAdapterBeatsAnEarlierReference) {
    api.adapters.push_back(gfx::TypicalAdapter());
    api.adapters[0].caps.erase(DeviceType::HAL);
    ASSERT_TRUE(PickWindowed());
    EXPECT_EQ(settings.windowed.adapter->adapterOrdinal, 1u);
    EXPECT_EQ(settings.windowed.device->deviceType, DeviceType::HAL);
}

TEST_F(SetupSelectionTest, AnyHalCandidateReplacesANonHalBest) {
    api.adapters.push_back(gfx::TypicalAdapter());
    api.adapters[0].caps.erase(DeviceType::HAL);
    api.adapters[1].caps.erase(DeviceType::REF);
    Allow({{DeviceType::REF, Format::X8R8G8B8, Format::X8R8G8B8, true},
           {DeviceType::REF, Format::X8R8G8B8, Format::X8R8G8B8, false},
           {DeviceType::HAL, Format::X8R8G8B8, Format::A8R8G8B8, true},
           {DeviceType::HAL, Format::R5G6B5, Format::R5G6B5, false}});
    ASSERT_TRUE(PickWindowed());
    EXPECT_EQ(settings.windowed.device->deviceType, DeviceType::HAL);
    EXPECT_EQ(settings.windowed.combo->backBufferFormat, Format::A8R8G8B8);
    ASSERT_TRUE(PickFullScreen());
    EXPECT_EQ(settings.fullScreen.device->deviceType, DeviceType::HAL);
    EXPECT_EQ(settings.fullScreen.combo->adapterFormat, Format::R5G6B5);
}

TEST_F(SetupSelectionTest, WindowedOnlyConsidersTheDesktopFormatOfAdapterZero) {
    api.adapters[0].desktopMode = {800, 600, 75, Format::R5G6B5};
    ASSERT_TRUE(PickWindowed());
    EXPECT_EQ(settings.windowed.combo->adapterFormat, Format::R5G6B5);
    EXPECT_EQ(settings.windowed.displayMode.width, 800u);

    api.adapters[0].desktopMode.format = Format::X1R5G5B5;  // no combo of this format
    settings = {};
    EXPECT_FALSE(PickWindowed());
    EXPECT_EQ(settings.windowed.combo, nullptr);
}

TEST_F(SetupSelectionTest, RequirementsRestrictTheDeviceType) {
    ASSERT_TRUE(PickWindowed(false, true));
    EXPECT_EQ(settings.windowed.device->deviceType, DeviceType::REF);
    api.adapters[0].caps.erase(DeviceType::HAL);
    EXPECT_FALSE(PickWindowed(true, false));
    EXPECT_FALSE(PickFullScreen(true, false));
}

TEST_F(SetupSelectionTest, FullScreenTakesTheDesktopModeAndTheDefaultInterval) {
    ASSERT_TRUE(PickFullScreen());
    const DisplaySetup& f = settings.fullScreen;
    EXPECT_FALSE(settings.isWindowed);
    EXPECT_EQ(f.device->deviceType, DeviceType::HAL);
    EXPECT_EQ(f.combo->backBufferFormat, Format::X8R8G8B8);
    EXPECT_FALSE(f.combo->windowed);
    EXPECT_EQ(f.combo->presentIntervals.front(), gfx::kPresentIntervalImmediate);
    EXPECT_EQ(f.presentInterval, gfx::kPresentIntervalDefault);
    EXPECT_EQ(f.vertexProcessing, VertexProcessing::PureHardware);
    EXPECT_EQ(f.depthStencilFormat, Format::D16);
    EXPECT_EQ(f.displayMode.width, 1024u);
    EXPECT_EQ(f.displayMode.height, 768u);
    EXPECT_EQ(f.displayMode.refreshRate, 60u);
    EXPECT_EQ(f.displayMode.format, Format::X8R8G8B8);
}

TEST_F(SetupSelectionTest, FullScreenPrefersACandidateOnTheDesktopFormat) {
    api.adapters[0].desktopMode = {1024, 768, 60, Format::X1R5G5B5};
    api.adapters[0].modes.push_back({1024, 768, 60, Format::X1R5G5B5});
    Allow({{DeviceType::HAL, Format::X8R8G8B8, Format::A8R8G8B8, false},
           {DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, false},
           {DeviceType::HAL, Format::X1R5G5B5, Format::A1R5G5B5, false},
           {DeviceType::HAL, Format::R5G6B5, Format::R5G6B5, false}});
    ASSERT_TRUE(PickFullScreen());
    EXPECT_EQ(settings.fullScreen.combo->adapterFormat, Format::X1R5G5B5);
    EXPECT_EQ(settings.fullScreen.combo->backBufferFormat, Format::A1R5G5B5);
    EXPECT_EQ(settings.fullScreen.displayMode.format, Format::X1R5G5B5);
}

TEST_F(SetupSelectionTest, FullScreenUsesEachAdaptersOwnDesktop) {
    api.adapters.push_back(gfx::TypicalAdapter());
    api.adapters[0].caps.erase(DeviceType::HAL);
    api.adapters[1].desktopMode = {800, 600, 75, Format::R5G6B5};
    ASSERT_TRUE(PickFullScreen());
    EXPECT_EQ(settings.fullScreen.adapter->adapterOrdinal, 1u);
    EXPECT_EQ(settings.fullScreen.combo->adapterFormat, Format::R5G6B5);
    EXPECT_EQ(settings.fullScreen.displayMode.width, 800u);
    EXPECT_EQ(settings.fullScreen.displayMode.refreshRate, 75u);
    EXPECT_EQ(settings.fullScreen.displayMode.format, Format::R5G6B5);
}

struct ModeChoiceCase {
    const char* name;
    DisplayMode desktop;
    DisplayMode expected;
};

class FullScreenModeTest : public SetupSelectionTest,
                           public ::testing::WithParamInterface<ModeChoiceCase> {};

TEST_P(FullScreenModeTest, ChoosesTheClosestMode) {
    // Adapter modes: 640x480, 800x600, 1024x768 at 60 and 75 Hz in X8R8G8B8 and R5G6B5,
    // plus 1024x600 X8R8G8B8 at 60 Hz.
    api.adapters[0].modes.push_back({1024, 600, 60, Format::X8R8G8B8});
    api.adapters[0].desktopMode = GetParam().desktop;
    ASSERT_TRUE(PickFullScreen());
    const DisplayMode& m = settings.fullScreen.displayMode;
    const DisplayMode& e = GetParam().expected;
    EXPECT_EQ(std::tie(m.width, m.height, m.refreshRate, m.format),
              std::tie(e.width, e.height, e.refreshRate, e.format));
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, FullScreenModeTest,
    ::testing::Values(
        ModeChoiceCase{"Exact", {800, 600, 75, Format::X8R8G8B8}, {800, 600, 75, Format::X8R8G8B8}},
        ModeChoiceCase{"SameWidthLastOne",
                       {1024, 768, 85, Format::X8R8G8B8},
                       {1024, 768, 75, Format::X8R8G8B8}},
        ModeChoiceCase{"SameWidthOtherHeight",
                       {1024, 700, 60, Format::X8R8G8B8},
                       {1024, 768, 75, Format::X8R8G8B8}},
        ModeChoiceCase{
            "NoSuchWidth", {1280, 1024, 60, Format::X8R8G8B8}, {640, 480, 60, Format::X8R8G8B8}},
        ModeChoiceCase{
            "OnlyTheComboFormat", {800, 600, 60, Format::R5G6B5}, {800, 600, 60, Format::R5G6B5}}),
    [](const auto& row) { return std::string(row.param.name); });

struct SampleChoiceCase {
    const char* name;
    std::vector<gfx::MultisampleType> offered;
    gfx::MultisampleType conflictingWithD16;  // 0: none
    gfx::MultisampleType expected;
};

class SampleChoiceTest : public SetupSelectionTest,
                         public ::testing::WithParamInterface<SampleChoiceCase> {};

TEST_P(SampleChoiceTest, BothSetupsTakeFourSamplesOrTheMostBelow) {
    const SampleChoiceCase& c = GetParam();
    api.checkMultiSampleType = [c](std::uint32_t, DeviceType, Format surface, bool,
                                   gfx::MultisampleType type, std::uint32_t* qualityLevels) {
        const bool listed = std::find(c.offered.begin(), c.offered.end(), type) != c.offered.end();
        if (!listed || (surface == Format::D16 && type == c.conflictingWithD16)) {
            return gfx::D3DERR_NOTAVAILABLE;
        }
        if (qualityLevels != nullptr) {
            *qualityLevels = 3;
        }
        return S_OK;
    };
    ASSERT_TRUE(PickFullScreen());
    ASSERT_TRUE(PickWindowed());
    const DisplaySetup& windowed = settings.windowed;
    const DisplaySetup& fullScreen = settings.fullScreen;
    for (const DisplaySetup* setup : {&windowed, &fullScreen}) {
        EXPECT_EQ(setup->depthStencilFormat, Format::D16);
        EXPECT_EQ(setup->multisampleType, c.expected);
        EXPECT_EQ(setup->multisampleQuality, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Offers, SampleChoiceTest,
                         ::testing::Values(SampleChoiceCase{"FourAmongMore", {0, 2, 4, 8}, 0, 4},
                                           SampleChoiceCase{"LargestBelowFour", {0, 1, 2, 8}, 0, 2},
                                           SampleChoiceCase{"NoneWithoutMultisampling", {0}, 0, 0},
                                           SampleChoiceCase{
                                               "NotOneTheDepthFormatRefuses", {0, 2, 4}, 4, 2}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(SetupSelectionTest, StartSettingsPreferAWindow) {
    ASSERT_EQ(catalogue.Build(&api), S_OK);
    EXPECT_EQ(ChooseStartSettings(catalogue, api, client, false, &settings), S_OK);
    EXPECT_TRUE(settings.isWindowed);
    EXPECT_NE(settings.windowed.combo, nullptr);
    EXPECT_NE(settings.fullScreen.combo, nullptr);

    EXPECT_EQ(ChooseStartSettings(catalogue, api, client, true, &settings), S_OK);
    EXPECT_FALSE(settings.isWindowed);
}

TEST_F(SetupSelectionTest, StartSettingsFallBackToFullScreenOrFail) {
    Allow({{DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, false}});
    ASSERT_EQ(catalogue.Build(&api), S_OK);
    EXPECT_EQ(ChooseStartSettings(catalogue, api, client, false, &settings), S_OK);
    EXPECT_FALSE(settings.isWindowed);

    Allow({});
    ASSERT_EQ(catalogue.Build(&api), S_OK);
    EXPECT_EQ(ChooseStartSettings(catalogue, api, client, false, &settings), NoCompatibleDevice);
}

}  // namespace
}  // namespace tetrakon
