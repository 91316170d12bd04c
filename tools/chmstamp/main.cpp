// chmstamp FILE SECONDS
// chmcmd stamps a CHM file with the time of day it was compiled, in milliseconds, twice:
// in the ITSF header (big-endian, at byte 16) and in the #SYSTEM file's entry 10 (little-
// endian). This sets both to the time of day of SECONDS since the epoch (the build's
// SOURCE_DATE_EPOCH). #SYSTEM lies uncompressed in content section 0; it is found through
// the directory's listing chunks. Exits 2 with one line on stderr when the file does not
// have that shape.

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

std::uint64_t ReadLe(const Bytes& data, std::size_t at, int size) {
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | data.at(at + static_cast<std::size_t>(i));
    }
    return value;
}

// The directory's variable-length numbers: 7 bits a byte, most significant first.
std::uint64_t ReadEncInt(const Bytes& data, std::size_t* at) {
    std::uint64_t value = 0;
    unsigned char byte = 0;
    do {
        byte = data.at((*at)++);
        value = value << 7 | (byte & 0x7Fu);
    } while ((byte & 0x80u) != 0);
    return value;
}

// Offset in the file of the named entry of content section 0.
std::optional<std::size_t> FindSectionZeroFile(const Bytes& data, const std::string& name) {
    const std::size_t directory = ReadLe(data, 0x48, 8);
    const std::size_t directoryLength = ReadLe(data, 0x50, 8);
    const std::size_t contentStart = ReadLe(data, 0x58, 8);
    const std::size_t headerLength = ReadLe(data, directory + 8, 4);
    const std::size_t chunkSize = ReadLe(data, directory + 0x10, 4);
    for (std::size_t chunk = directory + headerLength;
         chunkSize > 20 && chunk + chunkSize <= directory + directoryLength; chunk += chunkSize) {
        if (std::string(data.begin() + static_cast<long>(chunk),
                        data.begin() + static_cast<long>(chunk) + 4) != "PMGL") {
            continue;
        }
        const std::size_t end = chunk + chunkSize - ReadLe(data, chunk + 4, 4);
        std::size_t at = chunk + 20;
        while (at < end) {
            const std::size_t length = ReadEncInt(data, &at);
            const std::string entry(data.begin() + static_cast<long>(at),
                                    data.begin() + static_cast<long>(at + length));
            at += length;
            const std::uint64_t section = ReadEncInt(data, &at);
            const std::uint64_t offset = ReadEncInt(data, &at);
            ReadEncInt(data, &at);
            if (entry == name && section == 0) {
                return contentStart + offset;
            }
        }
    }
    return std::nullopt;
}

int Fail(const std::string& path, const std::string& why) {
    std::cerr << "chmstamp: " << path << ": " << why << '\n';
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "chmstamp: usage: chmstamp FILE SECONDS\n";
        return 2;
    }
    const std::string path = argv[1];
    const std::uint32_t stamp =
        static_cast<std::uint32_t>(std::strtoull(argv[2], nullptr, 10) % 86400 * 1000);
    std::ifstream in(path, std::ios::binary);
    Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() < 0x60 || std::string(data.begin(), data.begin() + 4) != "ITSF" ||
        ReadLe(data, 4, 4) != 3) {
        return Fail(path, "not a version 3 CHM file");
    }
    std::optional<std::size_t> system;
    try {
        system = FindSectionZeroFile(data, "/#SYSTEM");
    } catch (const std::out_of_range&) {
        return Fail(path, "its directory runs past its end");
    }
    // #SYSTEM: a version, then entries of a 16-bit code and length; 10 is the time.
    if (!system || *system + 12 > data.size() || ReadLe(data, *system + 4, 2) != 10 ||
        ReadLe(data, *system + 6, 2) != 4) {
        return Fail(path, "no compile time in #SYSTEM");
    }
    for (int i = 0; i < 4; ++i) {
        const auto byte = static_cast<unsigned char>(stamp >> (8 * i));
        data[0x10 + 3 - static_cast<std::size_t>(i)] = byte;
        data[*system + 8 + static_cast<std::size_t>(i)] = byte;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    return out ? 0 : Fail(path, "cannot write");
}
