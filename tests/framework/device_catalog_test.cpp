#include "framework/device_catalog.h"

#include <gtest/gtest.h>

#include <new>
#include <tuple>

#include "tests/fakes/fake_graphics_api.h"

namespace tetrakon {
namespace {

using gfx::DeviceType;
using gfx::DisplayMode;
using gfx::Format;

class DeviceCatalogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        api.adapters = {gfx::TypicalAdapter()};
        catalogue.limits.usesDepthBuffer = true;
    }

    const AdapterEntry& Adapter() {
        EXPECT_EQ(catalogue.Build(&api), S_OK);
        if (catalogue.Adapters().empty()) {
            ADD_FAILURE() << "no adapter";
            static const AdapterEntry none;
            return none;
        }
        return catalogue.Adapters().front();
    }

    // The first combo of a device type, adapter format, back-buffer format and mode.
    const FormatCombo* Find(DeviceType type, Format adapter, Format back, bool windowed) {
        for (const AdapterEntry& a : catalogue.Adapters()) {
            for (const DeviceEntry& d : a.devices) {
                for (const FormatCombo& c : d.combos) {
                    if (d.deviceType == type && c.adapterFormat == adapter &&
                        c.backBufferFormat == back && c.windowed == windowed) {
                        return &c;
                    }
                }
            }
        }
        return nullptr;
    }

    gfx::FakeGraphicsApi api;
    DeviceCatalog catalogue;
};

TEST_F(DeviceCatalogTest, WithoutGraphicsInterfaceTheBuildFails) {
    EXPECT_EQ(catalogue.Build(nullptr), E_FAIL);
}

TEST_F(DeviceCatalogTest, RunningOutOfMemoryLeavesAnEmptyCatalogue) {
    ASSERT_EQ(catalogue.Build(&api), S_OK);
    api.checkMultiSampleType = [](std::uint32_t, DeviceType type, Format, bool,
                                  gfx::MultisampleType, std::uint32_t*) -> Result {
        if (type == DeviceType::REF) {
            throw std::bad_alloc();
        }
        return S_OK;
    };
    EXPECT_EQ(catalogue.Build(&api), E_OUTOFMEMORY);
    EXPECT_TRUE(catalogue.Adapters().empty());
}

TEST_F(DeviceCatalogTest, SmallModesAreLeftOutOfFullScreenAndKeptForAWindow) {
    api.adapters[0].modes = {{640, 480, 60, Format::X8R8G8B8},
                             {639, 480, 60, Format::R5G6B5},
                             {640, 479, 60, Format::R5G6B5},
                             {639, 1000, 60, Format::X1R5G5B5},
                             {2000, 479, 60, Format::X1R5G5B5}};
    const AdapterEntry& adapter = Adapter();
    ASSERT_EQ(adapter.displayModes.size(), 1u);
    EXPECT_EQ(adapter.displayModes[0].width, 640u);
    EXPECT_EQ(adapter.displayModes[0].height, 480u);
    for (const DeviceEntry& device : adapter.devices) {
        for (const FormatCombo& combo : device.combos) {
            EXPECT_TRUE(combo.windowed || combo.adapterFormat == Format::X8R8G8B8);
        }
    }
    EXPECT_NE(Find(DeviceType::HAL, Format::R5G6B5, Format::R5G6B5, true), nullptr);
    EXPECT_NE(Find(DeviceType::HAL, Format::X1R5G5B5, Format::X1R5G5B5, true), nullptr);
}

TEST_F(DeviceCatalogTest, ModesSortByWidthHeightFormatThenRefreshRate) {
    api.adapters[0].modes = {{800, 600, 60, Format::X8R8G8B8},   {640, 480, 75, Format::R5G6B5},
                             {640, 480, 85, Format::X8R8G8B8},   {640, 480, 60, Format::X8R8G8B8},
                             {640, 480, 60, Format::R5G6B5},     {640, 600, 60, Format::R5G6B5},
                             {640, 480, 70, Format::A2R10G10B10}};
    const std::vector<DisplayMode> expected = {
        {640, 480, 60, Format::X8R8G8B8},    {640, 480, 85, Format::X8R8G8B8},
        {640, 480, 60, Format::R5G6B5},      {640, 480, 75, Format::R5G6B5},
        {640, 480, 70, Format::A2R10G10B10}, {640, 600, 60, Format::R5G6B5},
        {800, 600, 60, Format::X8R8G8B8}};
    const AdapterEntry& adapter = Adapter();
    ASSERT_EQ(adapter.displayModes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const DisplayMode& m = adapter.displayModes[i];
        EXPECT_EQ(std::tie(m.width, m.height, m.format, m.refreshRate),
                  std::tie(expected[i].width, expected[i].height, expected[i].format,
                           expected[i].refreshRate))
            << "mode " << i;
    }
}

TEST_F(DeviceCatalogTest, DevicesAndCombosComeInTrialOrder) {
    api.adapters[0].caps[DeviceType::SW] = gfx::TypicalCaps(DeviceType::SW);
    api.adapters[0].description = std::string(600, 'x');
    const AdapterEntry& adapter = Adapter();
    EXPECT_EQ(adapter.identifier.description.size(), 511u);
    ASSERT_EQ(adapter.devices.size(), 3u);
    EXPECT_EQ(adapter.devices[0].deviceType, DeviceType::HAL);
    EXPECT_EQ(adapter.devices[1].deviceType, DeviceType::SW);
    EXPECT_EQ(adapter.devices[2].deviceType, DeviceType::REF);

    using Key = std::tuple<Format, Format, bool>;
    std::vector<Key> keys;
    for (const FormatCombo& c : adapter.devices[0].combos) {
        keys.emplace_back(c.adapterFormat, c.backBufferFormat, c.windowed);
        EXPECT_EQ(c.deviceType, DeviceType::HAL);
    }
    EXPECT_EQ(keys, (std::vector<Key>{{Format::X8R8G8B8, Format::A8R8G8B8, false},
                                      {Format::X8R8G8B8, Format::A8R8G8B8, true},
                                      {Format::X8R8G8B8, Format::X8R8G8B8, false},
                                      {Format::X8R8G8B8, Format::X8R8G8B8, true},
                                      {Format::R5G6B5, Format::R5G6B5, false},
                                      {Format::R5G6B5, Format::R5G6B5, true}}));
}

TEST_F(DeviceCatalogTest, EntriesWithoutCapsOrCombosAreDropped) {
    api.adapters.push_back(gfx::TypicalAdapter());
    api.adapters[0].caps.clear();  // adapter 0 offers no device type
    api.checkDeviceType = [](std::uint32_t, DeviceType type, Format adapter, Format back, bool) {
        return type == DeviceType::HAL && adapter == back ? S_OK : gfx::D3DERR_NOTAVAILABLE;
    };
    ASSERT_EQ(catalogue.Build(&api), S_OK);
    ASSERT_EQ(catalogue.Adapters().size(), 1u);
    EXPECT_EQ(catalogue.Adapters()[0].adapterOrdinal, 1u);
    ASSERT_EQ(catalogue.Adapters()[0].devices.size(), 1u);  // REF has no combo
    EXPECT_EQ(catalogue.Adapters()[0].devices[0].deviceType, DeviceType::HAL);
}

TEST_F(DeviceCatalogTest, WindowedOrFullScreenRequirementSkipsTheOther) {
    catalogue.limits.requiresWindowed = true;
    Adapter();
    EXPECT_EQ(Find(DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, false), nullptr);
    EXPECT_NE(Find(DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, true), nullptr);
    catalogue.limits = {};
    catalogue.limits.requiresFullScreen = true;
    Adapter();
    EXPECT_NE(Find(DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, false), nullptr);
    EXPECT_EQ(Find(DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, true), nullptr);
}

TEST_F(DeviceCatalogTest, BackBuffersWithTooFewAlphaBitsAreSkipped) {
    catalogue.limits.minAlphaChannelBits = 1;
    Adapter();
    EXPECT_NE(Find(DeviceType::HAL, Format::X8R8G8B8, Format::A8R8G8B8, true), nullptr);
    EXPECT_EQ(Find(DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, true), nullptr);
}

TEST_F(DeviceCatalogTest, DepthStencilFormatsReachTheMinimumsInTrialOrder) {
    api.checkDepthStencilFormat = [](std::uint32_t, DeviceType, Format, Format) { return S_OK; };
    api.checkDepthStencilMatch = [](std::uint32_t, DeviceType, Format, Format, Format ds) {
        return ds == Format::D32 ? gfx::D3DERR_NOTAVAILABLE : S_OK;
    };
    Adapter();
    const FormatCombo* combo = Find(DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, true);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->depthStencilFormats,
              (std::vector<Format>{Format::D16, Format::D15S1, Format::D24X8, Format::D24S8,
                                   Format::D24X4S4}));

    catalogue.limits.minDepthBits = 24;
    catalogue.limits.minStencilBits = 4;
    Adapter();
    combo = Find(DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, true);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->depthStencilFormats, (std::vector<Format>{Format::D24S8, Format::D24X4S4}));
}

TEST_F(DeviceCatalogTest, NoDepthStencilFormatDropsTheComboOnlyWhenADepthBufferIsUsed) {
    api.checkDepthStencilMatch = [](std::uint32_t, DeviceType, Format, Format, Format) {
        return gfx::D3DERR_NOTAVAILABLE;
    };
    EXPECT_EQ(catalogue.Build(&api), S_OK);
    EXPECT_TRUE(catalogue.Adapters().empty());

    catalogue.limits.usesDepthBuffer = false;
    Adapter();
    const FormatCombo* combo = Find(DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, true);
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->depthStencilFormats.empty());
}

TEST_F(DeviceCatalogTest, MultisampleTypesWithQualitiesAndConflicts) {
    api.checkMultiSampleType = [](std::uint32_t, DeviceType, Format surface, bool,
                                  gfx::MultisampleType type, std::uint32_t* quality) {
        const bool depth =
            surface == Format::D16 || surface == Format::D24X8 || surface == Format::D24S8;
        if (type == 0 || type == 2 || (type == 4 && surface != Format::D24X8) ||
            (type == 16 && !depth)) {
            if (quality != nullptr) {
                *quality = type + 1;
            }
            return S_OK;
        }
        return gfx::D3DERR_NOTAVAILABLE;
    };
    Adapter();
    const FormatCombo* combo = Find(DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, false);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->multisampleTypes, (std::vector<gfx::MultisampleType>{0, 2, 4, 16}));
    EXPECT_EQ(combo->multisampleQualities, (std::vector<std::uint32_t>{1, 3, 5, 17}));
    using Pair = std::pair<Format, gfx::MultisampleType>;
    std::vector<Pair> conflicts;
    for (const auto& c : combo->conflicts) {
        conflicts.emplace_back(c.depthStencilFormat, c.multisampleType);
    }
    EXPECT_EQ(
        conflicts,
        (std::vector<Pair>{
            {Format::D16, 16}, {Format::D24X8, 4}, {Format::D24X8, 16}, {Format::D24S8, 16}}));
}

TEST_F(DeviceCatalogTest, NoMultisampleTypeDropsTheCombo) {
    api.checkMultiSampleType = [](std::uint32_t, DeviceType, Format, bool windowed,
                                  gfx::MultisampleType, std::uint32_t*) {
        return windowed ? gfx::D3DERR_NOTAVAILABLE : S_OK;
    };
    Adapter();
    EXPECT_EQ(Find(DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, true), nullptr);
    EXPECT_NE(Find(DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, false), nullptr);
}

struct VertexProcessingCase {
    const char* name;
    std::uint32_t devCaps;
    bool mixed;
    std::vector<VertexProcessing> expected;
};

class VertexProcessingTest : public DeviceCatalogTest,
                             public ::testing::WithParamInterface<VertexProcessingCase> {};

TEST_P(VertexProcessingTest, KindsFollowTheCapabilityBits) {
    api.adapters[0].caps[DeviceType::HAL].devCaps = GetParam().devCaps;
    catalogue.limits.usesMixedVertexProcessing = GetParam().mixed;
    Adapter();
    const FormatCombo* combo = Find(DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, true);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->vertexProcessings, GetParam().expected);
}

constexpr std::uint32_t kTnl = gfx::kDevCapsHwTransformAndLight;
constexpr std::uint32_t kPure = gfx::kDevCapsPureDevice;
using VP = VertexProcessing;

INSTANTIATE_TEST_SUITE_P(
    Caps, VertexProcessingTest,
    ::testing::Values(
        VertexProcessingCase{"None", 0, false, {VP::Software}},
        VertexProcessingCase{"PureWithoutTnl", kPure, true, {VP::Software}},
        VertexProcessingCase{"Tnl", kTnl, false, {VP::Hardware, VP::Software}},
        VertexProcessingCase{"TnlMixed", kTnl, true, {VP::Hardware, VP::Mixed, VP::Software}},
        VertexProcessingCase{
            "TnlPure", kTnl | kPure, false, {VP::PureHardware, VP::Hardware, VP::Software}},
        VertexProcessingCase{"TnlPureMixed",
                             kTnl | kPure,
                             true,
                             {VP::PureHardware, VP::Hardware, VP::Mixed, VP::Software}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(DeviceCatalogTest, AcceptanceCallbackDecidesEachKind) {
    catalogue.limits.usesMixedVertexProcessing = true;
    std::vector<std::uint32_t> flagsAsked;
    catalogue.SetAcceptance(
        [&](const gfx::DeviceCaps& caps, std::uint32_t flags, Format backBuffer) {
            if (caps.deviceType == DeviceType::HAL && backBuffer == Format::X8R8G8B8) {
                flagsAsked.push_back(flags);
            }
            if (caps.deviceType == DeviceType::REF) {
                return E_FAIL;
            }
            return flags == gfx::kCreateSoftwareVertexProcessing ? E_FAIL : S_OK;
        });
    Adapter();
    // Two X8R8G8B8 back-buffer combos, four kinds asked for each.
    EXPECT_EQ(flagsAsked,
              (std::vector<std::uint32_t>{0x50, 0x40, 0x80, 0x20, 0x50, 0x40, 0x80, 0x20}));
    const FormatCombo* combo = Find(DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, true);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->vertexProcessings,
              (std::vector<VertexProcessing>{VP::PureHardware, VP::Hardware, VP::Mixed}));
    // Nothing accepted: the REF device has no combo left and is dropped.
    ASSERT_EQ(catalogue.Adapters()[0].devices.size(), 1u);
}

TEST_F(DeviceCatalogTest, PresentIntervalsFollowCapsAndWindowedNeverGetsTwoToFour) {
    api.adapters[0].caps[DeviceType::HAL].presentationIntervals = 0x8000000F;
    api.adapters[0].caps[DeviceType::REF].presentationIntervals = 0;
    Adapter();
    const FormatCombo* full = Find(DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, false);
    const FormatCombo* window = Find(DeviceType::HAL, Format::X8R8G8B8, Format::X8R8G8B8, true);
    const FormatCombo* reference = Find(DeviceType::REF, Format::X8R8G8B8, Format::X8R8G8B8, false);
    ASSERT_TRUE(full && window && reference);
    EXPECT_EQ(full->presentIntervals, (std::vector<std::uint32_t>{0x80000000, 0, 1, 2, 4, 8}));
    EXPECT_EQ(window->presentIntervals, (std::vector<std::uint32_t>{0x80000000, 0, 1}));
    EXPECT_EQ(reference->presentIntervals, (std::vector<std::uint32_t>{0}));
}

}  // namespace
}  // namespace tetrakon
