#include "platform/gfx/texture_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfxutil/picture.h"
#include "tests/fakes/fake_device.h"

namespace tetrakon::gfx {
namespace {

std::string ImagePath(const std::string& relative) {
    return std::string(TETRAKON_TEST_DATA) + "/images/" + relative;
}

// The fake device, also keeping the pixels of the last texture made.
class PixelKeepingDevice : public FakeDevice {
  public:
    std::vector<std::uint32_t> lastPixels;

    Result CreateTexture(std::uint32_t width, std::uint32_t height, const std::uint32_t* pixels,
                         std::unique_ptr<Texture>* out) override {
        lastPixels.assign(pixels, pixels + std::size_t{width} * height);
        return FakeDevice::CreateTexture(width, height, pixels, out);
    }
};

struct SizeCase {
    const char* file;
    std::uint32_t maxWidth, maxHeight;  // the device's largest texture; 0: no limit
    const char* created;
};

// A JPEG comes out of libjpeg already scaled (by 7/8 to 1/8, keeping its aspect); other
// pictures are scaled afterwards, each side on its own.
TEST(TextureFileTest, APictureLargerThanTheDeviceTakesIsScaledDownToFit) {
    const SizeCase cases[] = {
        {"jpeg/testorig.jpg", 0, 0, "CreateTexture 227x149"},
        {"jpeg/testorig.jpg", 227, 149, "CreateTexture 227x149"},
        {"jpeg/testorig.jpg", 128, 128, "CreateTexture 114x75"},
        {"jpeg/testorig.jpg", 0, 100, "CreateTexture 142x94"},
        {"pngsuite/basn6a08.png", 16, 8, "CreateTexture 16x8"},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.maxWidth));
        FakeDevice device;
        device.caps.maxTextureWidth = c.maxWidth;
        device.caps.maxTextureHeight = c.maxHeight;
        std::unique_ptr<Texture> texture;
        ASSERT_EQ(LoadTextureFromFile(&device, ImagePath(c.file), &texture), S_OK);
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(device.log()->Matching("CreateTexture"), std::vector<std::string>{c.created});
    }
}

TEST(TextureFileTest, TheDecodedPixelsReachTheDevice) {
    PixelKeepingDevice device;
    std::unique_ptr<Texture> texture;
    ASSERT_EQ(LoadTextureFromFile(&device, ImagePath("pngsuite/basn6a08.png"), &texture), S_OK);
    Picture expected;
    std::ifstream file(ImagePath("pngsuite/basn6a08.png"), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_EQ(DecodePicture(bytes, {}, &expected), S_OK);
    EXPECT_EQ(device.lastPixels, expected.pixels);
}

struct FailureCase {
    std::string path;
    Result deviceAnswer;
    Result expected;
};

TEST(TextureFileTest, AFailureLeavesNoTextureAndSaysWhy) {
    const FailureCase cases[] = {
        {ImagePath("no_such_file.jpg"), S_OK, E_FILE_NOT_FOUND},
        {ImagePath("jpeg"), S_OK, E_FILE_NOT_FOUND},  // a folder
        {ImagePath("README.md"), S_OK, E_FAIL},
        {ImagePath("pngsuite/xcsn0g01.png"), S_OK, E_FAIL},
        {ImagePath("jpeg/testorig.jpg"), E_OUTOFMEMORY, E_OUTOFMEMORY},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.path);
        FakeDevice earlier;  // what the texture held before is released in any case
        std::unique_ptr<Texture> texture;
        ASSERT_EQ(earlier.CreateTexture(1, 1, nullptr, &texture), S_OK);
        FakeDevice device;
        device.createTextureResult = c.deviceAnswer;
        EXPECT_EQ(LoadTextureFromFile(&device, c.path, &texture), c.expected);
        EXPECT_EQ(texture, nullptr);
        EXPECT_EQ(device.LiveResources(), 0u);
    }
}

}  // namespace
}  // namespace tetrakon::gfx
