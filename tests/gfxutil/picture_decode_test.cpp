// Picture decoding from bytes made here: exact pixels, size limits, the extra decoder.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "gfxutil/picture.h"
#include "tests/gfxutil/picture_test_support.h"

namespace tetrakon {
namespace {

using Bytes = std::vector<std::uint8_t>;
using picturetest::JpegFrameHeader;
using picturetest::RgbPng;

TEST(PictureDecodeTest, PngPixelsComeOutAsArgbWords) {
    const Bytes png = RgbPng(2, 1, {0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60});
    Picture picture;
    ASSERT_EQ(DecodePicture(png, {}, &picture), S_OK);
    EXPECT_EQ(picture.pixels, (std::vector<std::uint32_t>{0xFF102030, 0xFF405060}));
}

TEST(PictureDecodeTest, HeadersClaimingHugePicturesAreRefusedBeforeDecoding) {
    Picture picture;
    EXPECT_EQ(DecodePicture(RgbPng(100000, 100000, {0}), {}, &picture), E_OUTOFMEMORY);
    EXPECT_EQ(DecodePicture(JpegFrameHeader(60000, 60000), {}, &picture), E_OUTOFMEMORY);
    EXPECT_TRUE(picture.pixels.empty());
}

// 32 x 32 pictures against limits just at and just below their size.
TEST(PictureDecodeTest, LimitsApplyToEachSideAndToThePixelCount) {
    for (const std::string file : {"pngsuite/basn2c08.png", "jpeg/icc-after-SOF.jpg"}) {
        SCOPED_TRACE(file);
        const Bytes bytes = picturetest::LoadBytes(picturetest::ImagePath(file));
        Picture picture;
        ASSERT_EQ(DecodePicture(bytes, {}, &picture), S_OK);
        const std::uint32_t side = picture.width;
        const std::uint64_t count = std::uint64_t{side} * side;
        EXPECT_EQ(DecodePicture(bytes, {side, count}, &picture), S_OK);
        EXPECT_EQ(DecodePicture(bytes, {side - 1, count}, &picture), E_OUTOFMEMORY);
        EXPECT_EQ(DecodePicture(bytes, {side, count - 1}, &picture), E_OUTOFMEMORY);
    }
}

// Pictures one pixel wide or high, each side against the side limit and against the count.
TEST(PictureDecodeTest, LimitsApplyToEachSideOfNarrowPictures) {
    for (const auto& [width, height] : {std::pair{1u, 3u}, std::pair{3u, 1u}}) {
        Bytes rows;
        for (std::uint32_t y = 0; y < height; ++y) {
            rows.push_back(0);  // no filter
            rows.insert(rows.end(), 3 * width, 0x40);
        }
        for (const Bytes& bytes :
             {RgbPng(width, height, rows), JpegFrameHeader(static_cast<std::uint16_t>(width),
                                                           static_cast<std::uint16_t>(height))}) {
            SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
            Picture picture;
            EXPECT_EQ(DecodePicture(bytes, {3, 3}, &picture), S_OK);
            EXPECT_EQ(DecodePicture(bytes, {2, 3}, &picture), E_OUTOFMEMORY);
            EXPECT_EQ(DecodePicture(bytes, {3, 2}, &picture), E_OUTOFMEMORY);
        }
    }
}

TEST(PictureDecodeTest, NonPicturesFail) {
    Picture picture;
    EXPECT_EQ(DecodePicture(Bytes{}, {}, &picture), E_FAIL);
    EXPECT_EQ(DecodePicture(Bytes{'B', 'M', 0, 0}, {}, &picture), E_FAIL);
    EXPECT_EQ(DecodePicture(Bytes{0xFF, 0xD8, 0xFF}, {}, &picture), E_FAIL);
}

struct ExtraDecoderCalls {
    static inline int count = 0;
    static Result Decode(PictureSource& source, const PictureLimits&, Picture* out) {
        ++count;
        out->width = 1;  // half-made, to see that a failure clears it
        return source.Size() == 2 ? E_OUTOFMEMORY : E_FAIL;
    }
};

TEST(PictureDecodeTest, OnlyOtherFormatsGoToTheExtraDecoderAndItsFailureLeavesNothing) {
    SetExtraPictureDecoder(&ExtraDecoderCalls::Decode);
    ExtraDecoderCalls::count = 0;
    Picture picture;
    EXPECT_EQ(DecodePicture(Bytes{'B', 'M'}, {}, &picture), E_OUTOFMEMORY);
    EXPECT_EQ(picture.width, 0u);
    EXPECT_EQ(ExtraDecoderCalls::count, 1);
    EXPECT_EQ(DecodePicture(RgbPng(1, 1, {0, 1, 2, 3}), {}, &picture), S_OK);
    EXPECT_EQ(DecodePicture(JpegFrameHeader(8, 8), {}, &picture), S_OK);
    EXPECT_EQ(ExtraDecoderCalls::count, 1);
    SetExtraPictureDecoder(nullptr);
}

}  // namespace
}  // namespace tetrakon
