// The catalogue answers derived from what an OpenGL implementation can make, for
// implementations and displays this machine does not have (a 16-bit desktop, other
// sample counts).

#include "platform/gfx/gl/gl_adapter_facts.h"

#include <gtest/gtest.h>

namespace tetrakon::gfx {
namespace {

GlAdapterFacts SixteenBitCapable() {
    GlAdapterFacts facts;
    facts.maxTextureSize = 4096;
    facts.maxRenderTargetSize = 2048;  // a renderbuffer limit below the texture limit
    facts.colorFormats = {{Format::A8R8G8B8, (1u << 4)},
                          {Format::X8R8G8B8, (1u << 4)},
                          {Format::R5G6B5, (1u << 2) | (1u << 4)}};
    facts.depthFormats = {{Format::D16, (1u << 2) | (1u << 4)}, {Format::D24S8, 0}};
    return facts;
}

TEST(GlAdapterFacts, BackBufferNeedsTheDisplaysChannelDepth) {
    const GlAdapterFacts facts = SixteenBitCapable();
    EXPECT_TRUE(BackBufferMatchesDisplay(facts, Format::R5G6B5, Format::R5G6B5));
    EXPECT_FALSE(BackBufferMatchesDisplay(facts, Format::R5G6B5, Format::X8R8G8B8));
    EXPECT_TRUE(BackBufferMatchesDisplay(facts, Format::X8R8G8B8, Format::A8R8G8B8));
    // Same depth, but the implementation cannot render it.
    EXPECT_FALSE(BackBufferMatchesDisplay(facts, Format::R5G6B5, Format::X1R5G5B5));
    EXPECT_FALSE(BackBufferMatchesDisplay(facts, Format::Unknown, Format::Unknown));
}

TEST(GlAdapterFacts, MultisamplingAsFoundPerFormat) {
    const GlAdapterFacts facts = SixteenBitCapable();
    std::uint32_t quality = 0;
    EXPECT_EQ(MultisampleSupport(facts, Format::R5G6B5, 2, &quality), S_OK);
    EXPECT_EQ(quality, 1u);
    EXPECT_NE(MultisampleSupport(facts, Format::X8R8G8B8, 2, nullptr), S_OK);
    EXPECT_EQ(MultisampleSupport(facts, Format::X8R8G8B8, 4, nullptr), S_OK);
    EXPECT_NE(MultisampleSupport(facts, Format::X8R8G8B8, 1, nullptr), S_OK);
    EXPECT_NE(MultisampleSupport(facts, Format::X8R8G8B8, 17, nullptr), S_OK);
    EXPECT_NE(MultisampleSupport(facts, Format::D24S8, 4, nullptr), S_OK);
    EXPECT_EQ(MultisampleSupport(facts, Format::D24S8, 0, nullptr), S_OK);
    EXPECT_NE(MultisampleSupport(facts, Format::D32, 0, nullptr), S_OK);
}

TEST(GlAdapterFacts, PresentIntervalsMapToSwapIntervals) {
    EXPECT_EQ(SwapIntervalFor(kPresentIntervalImmediate), 0);
    EXPECT_EQ(SwapIntervalFor(kPresentIntervalDefault), 1);
    EXPECT_EQ(SwapIntervalFor(kPresentIntervalOne), 1);
    EXPECT_EQ(SwapIntervalFor(kPresentIntervalTwo), -1);
    EXPECT_EQ(SwapIntervalFor(kPresentIntervalFour), -1);
}

TEST(GlAdapterFacts, PresentParametersChecked) {
    const GlAdapterFacts facts = SixteenBitCapable();
    PresentParameters params;
    params.backBufferWidth = 640;
    params.backBufferHeight = 480;
    params.backBufferFormat = Format::R5G6B5;
    params.enableAutoDepthStencil = true;
    params.autoDepthStencilFormat = Format::D16;
    params.multiSampleType = 2;
    EXPECT_EQ(CheckPresentParameters(facts, Format::R5G6B5, params), S_OK);
    EXPECT_NE(CheckPresentParameters(facts, Format::X8R8G8B8, params), S_OK);

    auto changed = [&](auto change) {
        PresentParameters copy = params;
        change(copy);
        return CheckPresentParameters(facts, Format::R5G6B5, copy);
    };
    EXPECT_NE(changed([](PresentParameters& p) { p.multiSampleQuality = 1; }), S_OK);
    EXPECT_NE(changed([](PresentParameters& p) { p.backBufferCount = 2; }), S_OK);
    EXPECT_EQ(changed([](PresentParameters& p) { p.backBufferWidth = 2048; }), S_OK);
    EXPECT_NE(changed([](PresentParameters& p) { p.backBufferHeight = 2049; }), S_OK);
    EXPECT_NE(changed([](PresentParameters& p) { p.autoDepthStencilFormat = Format::D24S8; }),
              S_OK);
    EXPECT_EQ(changed([](PresentParameters& p) { p.enableAutoDepthStencil = false; }), S_OK);
    EXPECT_NE(changed([](PresentParameters& p) { p.presentationInterval = kPresentIntervalTwo; }),
              S_OK);
}

}  // namespace
}  // namespace tetrakon::gfx
