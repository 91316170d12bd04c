#include "platform/picture/qt_picture_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "tests/gfxutil/picture_test_support.h"

namespace tetrakon {
namespace {

using picturetest::FilesIn;
using picturetest::ImagePath;
using picturetest::LoadBytes;

enum class Outcome { Decodes, Refused, Either };

struct Expected {
    Outcome outcome;
    std::uint32_t width = 127, height = 64;  // the size of most bmpsuite pictures
};

// bmpsuite's own classification: good files decode, bad ones are refused, questionable ones
// may go either way. Qt's reader decodes four of the bad ones safely rather than refusing
// them: damaged run-length data, rows missing at the end of the file (left blank) and
// palette indices beyond the palette (black); for those either outcome is accepted.
const std::map<std::string, Expected>& BmpFiles() {
    static const std::map<std::string, Expected> files = {
        {"pal1.bmp", {Outcome::Decodes}},
        {"pal4.bmp", {Outcome::Decodes}},
        {"pal4rle.bmp", {Outcome::Decodes}},
        {"pal8.bmp", {Outcome::Decodes}},
        {"pal8rle.bmp", {Outcome::Decodes}},
        {"pal8topdown.bmp", {Outcome::Decodes}},
        {"pal8os2.bmp", {Outcome::Decodes}},
        {"pal8v5.bmp", {Outcome::Decodes}},
        {"pal8w125.bmp", {Outcome::Decodes, 125, 62}},
        {"rgb16-565.bmp", {Outcome::Decodes}},
        {"rgb24.bmp", {Outcome::Decodes}},
        {"rgb32.bmp", {Outcome::Decodes}},
        {"rgb32bf.bmp", {Outcome::Decodes}},
        {"vgl_6434_0018a.bmp", {Outcome::Decodes, 119, 96}},
        {"rgba32.bmp", {Outcome::Either}},
        {"rgb24jpeg.bmp", {Outcome::Either}},
        {"rgb24png.bmp", {Outcome::Either}},
        {"badbitcount.bmp", {Outcome::Refused}},
        {"badwidth.bmp", {Outcome::Refused}},
        {"reallybig.bmp", {Outcome::Refused}},
        {"shortfile.bmp", {Outcome::Either}},
        {"pal8badindex.bmp", {Outcome::Either}},
        {"badrle.bmp", {Outcome::Either}},
        {"rletopdown.bmp", {Outcome::Either}},
    };
    return files;
}

class QtPictureDecoderTest : public ::testing::Test {
  protected:
    void SetUp() override { InstallQtPictureDecoder(); }
    void TearDown() override { SetExtraPictureDecoder(nullptr); }
};

TEST_F(QtPictureDecoderTest, EveryBmpDecodesAtItsSizeOrIsRefused) {
    std::size_t checked = 0;
    for (const std::string& name : FilesIn("bmp")) {
        SCOPED_TRACE(name);
        const auto expected = BmpFiles().find(name);
        ASSERT_NE(expected, BmpFiles().end()) << "no expectation";
        Picture picture;
        const Result result = DecodePicture(LoadBytes(ImagePath("bmp/" + name)), {}, &picture);
        const Outcome outcome = expected->second.outcome;
        if (outcome == Outcome::Refused || (outcome == Outcome::Either && Failed(result))) {
            EXPECT_LT(result, 0);
            EXPECT_TRUE(picture.pixels.empty());
        } else {
            ASSERT_EQ(result, S_OK);
            EXPECT_EQ(picture.width, expected->second.width);
            EXPECT_EQ(picture.height, expected->second.height);
            EXPECT_EQ(picture.pixels.size(), std::size_t{picture.width} * picture.height);
        }
        ++checked;
    }
    EXPECT_EQ(checked, BmpFiles().size());
}

// A BMP file and info header claiming width x height at 24 bits, with no pixel data.
std::vector<std::uint8_t> BmpHeader(std::int32_t width, std::int32_t height) {
    std::vector<std::uint8_t> bytes(54, 0);
    const auto put32 = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    bytes[0] = 'B', bytes[1] = 'M';
    put32(2, 54);   // file size
    put32(10, 54);  // pixel data offset
    put32(14, 40);  // info header size
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;   // planes
    bytes[28] = 24;  // bits per pixel
    return bytes;
}

// Qt's BMP reader refuses the huge headers itself while reading them; the limits of a
// caller are checked on the size the header claims.
TEST_F(QtPictureDecoderTest, HeadersClaimingHugePicturesAreRefusedBeforeDecoding) {
    Picture picture;
    EXPECT_LT(DecodePicture(BmpHeader(100000, 100000), {}, &picture), 0);
    EXPECT_LT(DecodePicture(LoadBytes(ImagePath("bmp/reallybig.bmp")), {}, &picture), 0);
    EXPECT_EQ(DecodePicture(LoadBytes(ImagePath("bmp/rgb24.bmp")), {126, 1u << 20}, &picture),
              E_OUTOFMEMORY);
    EXPECT_TRUE(picture.pixels.empty());
}

// Qt's PNG reader and the libpng decoder are independent; agreeing on every pixel checks
// the colour order and alpha of both paths into 0xAARRGGBB.
TEST_F(QtPictureDecoderTest, QtAndLibpngAgreeOnEveryPixel) {
    for (const std::string& name : FilesIn("pngsuite_rgba8_reference")) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> bytes =
            LoadBytes(ImagePath("pngsuite_rgba8_reference/" + name));
        Picture byQt, byLibpng;
        MemoryPictureSource qtSource(bytes);
        ASSERT_EQ(DecodePictureWithQt(qtSource, {}, &byQt), S_OK);
        ASSERT_EQ(DecodePicture(bytes, {}, &byLibpng), S_OK);
        EXPECT_TRUE(byQt.pixels == byLibpng.pixels);
    }
}

// The process's peak resident memory in KiB (VmHWM).
std::uint64_t PeakKib() {
    std::ifstream status("/proc/self/status");
    std::string name;
    std::uint64_t kib = 0;
    while (status >> name && !(name == "VmHWM:" && status >> kib)) {
    }
    return kib;
}

// An opaque GIF (Qt's image is RGB32) is held at most twice while it is decoded: in Qt's
// image and in the picture, never in a converted copy as well. This one claims 4096 x 4096
// and ends after a clear and an end code, so Qt leaves its pixels black.
TEST_F(QtPictureDecoderTest, AnOpaqueGifIsHeldAtMostTwiceWhileDecoded) {
    const char gif[] =
        "GIF89a\0\20\0\20\200\0\0\0\0\0\377\377\377,\0\0\0\0\0\20\0\20\0\2\2\54\0\0;";
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts afresh
    const std::uint64_t before = PeakKib();
    Picture picture;
    ASSERT_EQ(
        DecodePicture({reinterpret_cast<const std::uint8_t*>(gif), sizeof gif - 1}, {}, &picture),
        S_OK);
    EXPECT_EQ(picture.width * picture.height, 4096u * 4096u);
    EXPECT_EQ(picture.pixels.back(), 0xFF000000u);
    EXPECT_LT(PeakKib() - before, 160u * 1024);
}

// Qt reads no picture stored inside another file: an icon stored as PNG is decoded by
// DecodePng (one whose chunk claims 1.29 GB costs nothing), and an SVG, which draws any file
// or picture it names, is refused.
TEST_F(QtPictureDecoderTest, PicturesInsideOtherFilesAreNotLeftToQt) {
    const std::vector<std::uint8_t> png = LoadBytes(ImagePath("pngsuite/basn6a08.png"));
    // An icon file whose one image, 32 x 32, is that PNG at offset 22.
    std::vector<std::uint8_t> icon = {0, 0,  1, 0, 1, 0, 32, 32, 0, 0, 1,
                                      0, 32, 0, 0, 0, 0, 0,  22, 0, 0, 0};
    icon[14] = static_cast<std::uint8_t>(png.size());
    icon[15] = static_cast<std::uint8_t>(png.size() >> 8);
    icon.insert(icon.end(), png.begin(), png.end());
    Picture expected, picture;
    ASSERT_EQ(DecodePicture(png, {}, &expected), S_OK);
    ASSERT_EQ(DecodePicture(icon, {}, &picture), S_OK);
    EXPECT_EQ(picture.pixels, expected.pixels);
    const std::string made = testing::TempDir() + "tetrakon-hostile-pictures";
    const std::string script = TETRAKON_TEST_DATA "/../../tools/make-hostile-pictures.sh ";
    ASSERT_EQ(std::system(("sh " + script + made).c_str()), 0);
    std::ofstream("/proc/self/clear_refs") << "5";
    const std::uint64_t before = PeakKib();
    EXPECT_EQ(DecodePicture(LoadBytes(made + "/ztxt-in-icon.ico"), {}, &picture), E_FAIL);
    EXPECT_LT(PeakKib() - before, 64u * 1024);
    const std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="8" height="8"/>)";
    EXPECT_EQ(DecodePicture(std::vector<std::uint8_t>(svg.begin(), svg.end()), {}, &picture),
              E_FAIL);
}

}  // namespace
}  // namespace tetrakon
