#include "platform/gfx/texture_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfxutil/picture.h"
#include "tests/fakes/fake_device.h"
#include "tests/gfxutil/picture_test_support.h"

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

// Bytes this process has read from files so far (the kernel's count).
std::uint64_t BytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string name;
    std::uint64_t value = 0;
    while (io >> name >> value) {
        if (name == "rchar:") {
            return value;
        }
    }
    ADD_FAILURE() << "no rchar in /proc/self/io";
    return 0;
}

enum class Kind { Bytes, NamedPipe, Sparse500MB };

struct HostileCase {
    const char* what;
    Kind kind;
    std::vector<std::uint8_t> bytes;
    Result expected;
    const char* created;  // the texture made, if any
};

std::vector<std::uint8_t> FirstBytes(std::vector<std::uint8_t> bytes, std::size_t count) {
    bytes.resize(count);
    return bytes;
}

// Each is refused or shrunk after reading no more than its first megabyte, and nothing
// blocks: the device here takes textures up to 16384 a side.
TEST(TextureFileTest, HostilePicturesAreRefusedOrShrunkWithoutBeingReadWhole) {
    using picturetest::JpegFrameHeader;
    using picturetest::RgbPng;
    const HostileCase cases[] = {
        {"named pipe with no writer", Kind::NamedPipe, {}, E_FILE_NOT_FOUND, nullptr},
        {"500 MB sparse file", Kind::Sparse500MB, {}, E_FAIL, nullptr},
        {"PNG of 8192 x 8192", Kind::Bytes, RgbPng(8192, 8192, {0}), E_OUTOFMEMORY, nullptr},
        {"JPEG of 8192 x 8192", Kind::Bytes, JpegFrameHeader(8192, 8192), S_OK,
         "CreateTexture 4096x4096"},
        {"progressive JPEG of 16384 x 16384", Kind::Bytes, JpegFrameHeader(16384, 16384, true),
         E_OUTOFMEMORY, nullptr},
        {"PNG cut short in its image data", Kind::Bytes,
         FirstBytes(RgbPng(64, 64, std::vector<std::uint8_t>(64 * 193, 7)), 60), E_FAIL, nullptr},
    };
    char folderTemplate[] = "/tmp/tetrakon-hostile-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const std::filesystem::path folder = folderTemplate;
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = (folder / "picture").string();
        std::filesystem::remove(path);
        if (c.kind == Kind::NamedPipe) {
            ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        } else {
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(c.bytes.data()),
                       static_cast<std::streamsize>(c.bytes.size()));
        }
        if (c.kind == Kind::Sparse500MB) {
            ASSERT_EQ(truncate(path.c_str(), 500 * 1000 * 1000), 0);
        }
        FakeDevice device;
        device.caps.maxTextureWidth = device.caps.maxTextureHeight = 16384;
        std::unique_ptr<Texture> texture;
        const std::uint64_t readBefore = BytesReadSoFar();
        EXPECT_EQ(LoadTextureFromFile(&device, path, &texture), c.expected);
        EXPECT_LT(BytesReadSoFar() - readBefore, 1u << 20);
        EXPECT_EQ(device.log()->Matching("CreateTexture"),
                  c.created ? std::vector<std::string>{c.created} : std::vector<std::string>{});
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tetrakon::gfx
