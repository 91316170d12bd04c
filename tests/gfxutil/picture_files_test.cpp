// Every picture file of tests/data/images (JPEG and PNG) against what is known about it:
// the valid ones decode at their size, the broken ones fail cleanly.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "gfxutil/picture.h"
#include "tests/gfxutil/picture_test_support.h"

namespace tetrakon {
namespace {

using picturetest::FilesIn;
using picturetest::ImagePath;
using picturetest::LoadBytes;

struct Expected {
    std::uint32_t width = 0, height = 0;  // 0 x 0: the file must be refused
};

// PngSuite names say it all: x... is corrupt, sNN is NN x NN, the cd.. family has odd
// sizes, everything else is 32 x 32.
Expected PngSuiteExpectation(const std::string& name) {
    static const std::map<std::string, Expected> odd = {
        {"cdfn2c08.png", {8, 32}}, {"cdhn2c08.png", {32, 8}}, {"cdsn2c08.png", {8, 8}}};
    if (name[0] == 'x') {
        return {};
    }
    if (odd.contains(name)) {
        return odd.at(name);
    }
    if (name[0] == 's') {
        const auto side = static_cast<std::uint32_t>(std::stoul(name.substr(1, 2)));
        return {side, side};
    }
    return {32, 32};
}

const std::map<std::string, Expected>& OtherFiles() {
    static const std::map<std::string, Expected> files = {
        {"png/vgl_5674_0098.png", {120, 96}},
        {"png/truncated_image.png", {}},
        {"png/truncated_end_chunk.png", {}},
        {"png/iphone_basi0g01.png", {}},
        {"png/iphone_basi0g02.png", {}},
        {"png/iphone_basi3p02.png", {}},
        {"png/iphone_bgwn6a08.png", {}},
        {"png/iphone_bgyn6a16.png", {}},
        {"png/iphone_tbyn3p08.png", {}},
        {"png/iphone_z06n2c08.png", {}},
        {"jpeg/testorig.jpg", {227, 149}},
        {"jpeg/testimgint.jpg", {227, 149}},
        {"jpeg/testimgp.jpg", {227, 149}},
        {"jpeg/testimggray.jpg", {227, 149}},
        {"jpeg/testimgari.jpg", {227, 149}},
        {"jpeg/testimgcrop.jpg", {124, 92}},
        {"jpeg/testorig12.jpg", {}},  // 12-bit samples: not readable by an 8-bit libjpeg
        {"jpeg/pil_sample_cmyk.jpg", {100, 100}},
        {"jpeg/pil_sample_rgb.jpg", {100, 100}},
        {"jpeg/hopper.jpg", {128, 128}},
        {"jpeg/hopper_16bit_qtables.jpg", {128, 128}},
        {"jpeg/icc-after-SOF.jpg", {10, 10}},
        {"jpeg/orientation_rectangle.jpg", {2, 1}},
        {"jpeg/junk_jpeg_header.jpg", {1024, 768}},  // decodes with a warning
        {"jpeg/truncated_app14.jpg", {100, 100}},    // decodes with a warning
        {"jpeg/truncated_jpeg.jpg", {100, 100}},     // no end marker: a warning only
    };
    return files;
}

void CheckFile(const std::string& relative, const Expected& expected) {
    SCOPED_TRACE(relative);
    Picture picture;
    const Result result = DecodePicture(LoadBytes(ImagePath(relative)), PictureLimits{}, &picture);
    if (expected.width == 0) {
        EXPECT_EQ(result, E_FAIL);
        EXPECT_TRUE(picture.pixels.empty());
        return;
    }
    ASSERT_EQ(result, S_OK);
    EXPECT_EQ(picture.width, expected.width);
    EXPECT_EQ(picture.height, expected.height);
    EXPECT_EQ(picture.pixels.size(), std::size_t{expected.width} * expected.height);
}

TEST(PictureFilesTest, EveryFileDecodesAtItsSizeOrIsRefused) {
    for (const std::string& name : FilesIn("pngsuite")) {
        CheckFile("pngsuite/" + name, PngSuiteExpectation(name));
    }
    std::size_t checked = 0;
    for (const std::string folder : {"png", "jpeg"}) {
        for (const std::string& name : FilesIn(folder)) {
            const std::string relative = folder + "/" + name;
            const auto expected = OtherFiles().find(relative);
            if (expected == OtherFiles().end()) {
                ADD_FAILURE() << relative << " has no expectation";
                continue;
            }
            CheckFile(relative, expected->second);
            ++checked;
        }
    }
    EXPECT_EQ(checked, OtherFiles().size());
}

// The references hold the straight 8-bit RGBA decode of the PngSuite primary images:
// palette expanded, gray copied, tRNS as alpha, small depths scaled, no gamma.
TEST(PictureFilesTest, PngSuitePrimaryImagesMatchTheirRgba8References) {
    const std::vector<std::string> names = FilesIn("pngsuite_rgba8_reference");
    EXPECT_EQ(names.size(), 77u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        Picture original, reference;
        ASSERT_EQ(DecodePicture(LoadBytes(ImagePath("pngsuite/" + name)), {}, &original), S_OK);
        ASSERT_EQ(
            DecodePicture(LoadBytes(ImagePath("pngsuite_rgba8_reference/" + name)), {}, &reference),
            S_OK);
        EXPECT_EQ(original.width, reference.width);
        EXPECT_TRUE(original.pixels == reference.pixels);
    }
}

double MeanChannelDifference(const Picture& a, const Picture& b) {
    double total = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        for (int shift = 0; shift < 24; shift += 8) {
            total += std::abs(static_cast<int>((a.pixels[i] >> shift) & 0xFF) -
                              static_cast<int>((b.pixels[i] >> shift) & 0xFF));
        }
    }
    return total / (3.0 * static_cast<double>(a.pixels.size()));
}

// The two files hold the same picture, once as Adobe (inverted) CMYK and once as RGB.
// The comparison also catches red and blue swapped in either path.
TEST(PictureFilesTest, AdobeCmykComesOutAsTheSameColoursAsRgb) {
    Picture cmyk, rgb;
    ASSERT_EQ(DecodePicture(LoadBytes(ImagePath("jpeg/pil_sample_cmyk.jpg")), {}, &cmyk), S_OK);
    ASSERT_EQ(DecodePicture(LoadBytes(ImagePath("jpeg/pil_sample_rgb.jpg")), {}, &rgb), S_OK);
    ASSERT_EQ(cmyk.pixels.size(), rgb.pixels.size());
    EXPECT_LT(MeanChannelDifference(cmyk, rgb), 8.0);
}

TEST(PictureFilesTest, GrayJpegGivesEqualChannelsAndOpaqueAlpha) {
    Picture gray;
    ASSERT_EQ(DecodePicture(LoadBytes(ImagePath("jpeg/testimggray.jpg")), {}, &gray), S_OK);
    std::size_t wrong = 0;
    for (const std::uint32_t pixel : gray.pixels) {
        const std::uint32_t blue = pixel & 0xFF;
        wrong += pixel != (0xFF000000u | blue << 16 | blue << 8 | blue);
    }
    EXPECT_EQ(wrong, 0u);
}

}  // namespace
}  // namespace tetrakon
