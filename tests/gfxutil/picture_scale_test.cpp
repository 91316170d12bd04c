#include <gtest/gtest.h>

#include "gfxutil/picture.h"

namespace tetrakon {
namespace {

Picture Make(std::uint32_t width, std::uint32_t height, std::vector<std::uint32_t> pixels) {
    return Picture{width, height, std::move(pixels)};
}

TEST(PictureScaleTest, EachResultPixelAveragesTheSourcePixelsItCovers) {
    // 4 x 2 to 2 x 1: each result pixel is the mean of a 2 x 2 block, channel by channel.
    const Picture source = Make(4, 2,
                                {0xFF000000, 0xFF0000FF, 0x00FF0000, 0x00FF0000,  //
                                 0xFF000000, 0xFF0000FF, 0x0000FF00, 0x0000FF00});
    Picture scaled;
    ASSERT_EQ(ScalePictureToFit(source, 2, 1, &scaled), S_OK);
    EXPECT_EQ(scaled.width, 2u);
    EXPECT_EQ(scaled.height, 1u);
    EXPECT_EQ(scaled.pixels, (std::vector<std::uint32_t>{0xFF000080, 0x00808000}));
}

// Odd ratios (3 to 2) must still reach the last source pixel; a side within its limit,
// or with limit 0, keeps its size.
TEST(PictureScaleTest, OddRatiosCoverEverySourcePixelAndUnlimitedSidesStay) {
    const Picture source = Make(3, 2, {0, 0, 0xFF, 0, 0, 0xFF});
    Picture scaled;
    ASSERT_EQ(ScalePictureToFit(source, 2, 0, &scaled), S_OK);
    EXPECT_EQ(scaled.height, 2u);
    EXPECT_EQ(scaled.pixels, (std::vector<std::uint32_t>{0, 0x80, 0, 0x80}));
    ASSERT_EQ(ScalePictureToFit(source, 5, 2, &scaled), S_OK);
    EXPECT_EQ(scaled.pixels, source.pixels);
}

// 3 to 2: the middle source pixel lies under both result pixels and counts in each, along
// either side.
TEST(PictureScaleTest, APixelUnderTwoResultPixelsCountsInBoth) {
    const std::vector<std::uint32_t> line = {0x31, 0x60, 0x90};
    Picture scaled;
    ASSERT_EQ(ScalePictureToFit(Make(3, 1, line), 2, 0, &scaled), S_OK);
    EXPECT_EQ(scaled.pixels, (std::vector<std::uint32_t>{0x49, 0x78}));
    ASSERT_EQ(ScalePictureToFit(Make(1, 3, line), 0, 2, &scaled), S_OK);
    EXPECT_EQ(scaled.pixels, (std::vector<std::uint32_t>{0x49, 0x78}));
}

}  // namespace
}  // namespace tetrakon
