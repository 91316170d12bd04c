#pragma once

// Loading the picture test files of tests/data/images, and picture bytes made here.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tetrakon::picturetest {

inline std::filesystem::path ImagePath(const std::string& relative) {
    return std::filesystem::path(TETRAKON_TEST_DATA) / "images" / relative;
}

inline std::vector<std::uint8_t> LoadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The file names of one folder of tests/data/images, sorted; README.md left out.
inline std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(ImagePath(folder))) {
        if (entry.path().extension() != ".md") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline void PutBigEndian32(std::vector<std::uint8_t>* out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out->push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

inline void PutPngChunk(std::vector<std::uint8_t>* out, const char* type,
                        const std::vector<std::uint8_t>& data) {
    PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out->insert(out->end(), body.begin(), body.end());
    PutBigEndian32(
        out, static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

// An 8-bit RGB PNG of the given rows (each already prefixed with its filter byte).
inline std::vector<std::uint8_t> RgbPng(std::uint32_t width, std::uint32_t height,
                                        const std::vector<std::uint8_t>& filteredRows) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBigEndian32(&header, width);
    PutBigEndian32(&header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // depth 8, RGB, no interlace
    PutPngChunk(&png, "IHDR", header);
    std::vector<std::uint8_t> compressed(compressBound(static_cast<uLong>(filteredRows.size())));
    uLongf size = static_cast<uLongf>(compressed.size());
    compress(compressed.data(), &size, filteredRows.data(),
             static_cast<uLong>(filteredRows.size()));
    compressed.resize(size);
    PutPngChunk(&png, "IDAT", compressed);
    PutPngChunk(&png, "IEND", {});
    return png;
}

// A JPEG with flat quantisation tables, a frame header and an empty scan: libjpeg reads
// its size, then fills the missing data with a warning (a progressive frame refuses the
// baseline scan, but only after libjpeg has taken its memory).
inline std::vector<std::uint8_t> JpegFrameHeader(std::uint16_t width, std::uint16_t height,
                                                 bool progressive = false) {
    const auto high = [](std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); };
    const auto low = [](std::uint16_t v) { return static_cast<std::uint8_t>(v); };
    std::vector<std::uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x84, 0x00};
    jpeg.insert(jpeg.end(), 64, 1);  // quantisation table 0
    jpeg.push_back(0x01);
    jpeg.insert(jpeg.end(), 64, 1);  // and 1
    jpeg.insert(jpeg.end(), {0xFF,        static_cast<std::uint8_t>(progressive ? 0xC2 : 0xC0),
                             0x00,        0x11,
                             0x08,        high(height),
                             low(height), high(width),
                             low(width),  0x03,  // 3 components:
                             0x01,        0x22,
                             0x00,        0x02,
                             0x11,        0x01,
                             0x03,        0x11,
                             0x01,  // 4:2:0
                             0xFF,        0xDA,
                             0x00,        0x0C,
                             0x03,        0x01,
                             0x00,        0x02,
                             0x11,        0x03,
                             0x11,        0x00,
                             0x3F,        0x00,
                             0xFF,        0xD9});
    return jpeg;
}

}  // namespace tetrakon::picturetest
