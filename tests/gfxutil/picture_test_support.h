#pragma once

// Loading the picture test files of tests/data/images.

#include <gtest/gtest.h>

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

}  // namespace tetrakon::picturetest
