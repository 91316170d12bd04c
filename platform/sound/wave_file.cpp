#include "platform/sound/wave_file.h"

#include <cstddef>
#include <string_view>

namespace tetrakon::sound {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kPcmFormatSize = 16;

std::uint16_t Read16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t Read32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(Read16(bytes, at)) |
           static_cast<std::uint32_t>(Read16(bytes, at + 2)) << 16;
}

bool HasTag(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view tag) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data() + at), 4) == tag;
}

// Fills the format fields from a "fmt " chunk's body; false unless it is PCM we can play.
bool ReadFormat(std::span<const std::uint8_t> body, WaveSound* sound) {
    if (body.size() < kPcmFormatSize || Read16(body, 0) != kFormatPcm) {
        return false;
    }
    const int channels = Read16(body, 2);
    const std::uint32_t rate = Read32(body, 4);
    const int blockAlign = Read16(body, 12);
    const int bits = Read16(body, 14);
    if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16) || rate == 0 ||
        blockAlign != channels * bits / 8) {
        return false;
    }
    sound->channels = channels;
    sound->bitsPerSample = bits;
    sound->samplesPerSecond = rate;
    return true;
}

}  // namespace

bool ReadWave(std::span<const std::uint8_t> file, WaveSound* sound) {
    if (file.size() < 12 || !HasTag(file, 0, "RIFF") || !HasTag(file, 8, "WAVE")) {
        return false;
    }
    WaveSound found;
    bool haveFormat = false;
    std::span<const std::uint8_t> data;
    std::size_t at = 12;
    while (file.size() - at >= kChunkHeaderSize) {
        const std::size_t size = Read32(file, at + 4);
        const std::size_t bodyAt = at + kChunkHeaderSize;
        if (size > file.size() - bodyAt) {
            return false;
        }
        const std::span<const std::uint8_t> body = file.subspan(bodyAt, size);
        if (HasTag(file, at, "fmt ")) {
            if (haveFormat || !ReadFormat(body, &found)) {
                return false;
            }
            haveFormat = true;
        } else if (HasTag(file, at, "data")) {
            data = body;
            break;
        }
        // Chunks start on even offsets; an odd-sized one is followed by a pad byte.
        at = bodyAt + size + (size & 1);
        if (at > file.size()) {
            break;
        }
    }
    if (!haveFormat) {
        return false;
    }
    const std::size_t frameSize =
        static_cast<std::size_t>(found.channels * found.bitsPerSample / 8);
    found.frames = data.first(data.size() - data.size() % frameSize);
    if (found.frames.empty()) {
        return false;
    }
    *sound = found;
    return true;
}

}  // namespace tetrakon::sound
