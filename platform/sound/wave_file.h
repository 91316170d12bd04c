#pragma once

#include <cstdint>
#include <span>

namespace tetrakon::sound {

// The playable part of a RIFF wave file: uncompressed PCM, 8 bits (unsigned) or 16 bits
// (signed, little-endian) per sample, one or two interleaved channels, any rate.
struct WaveSound {
    int channels = 0;
    int bitsPerSample = 0;
    std::uint32_t samplesPerSecond = 0;
    std::span<const std::uint8_t> frames;  // whole frames only, inside the file's bytes
};

// Reads a wave file held in memory. False for anything else: another format or sample size,
// a malformed or truncated header, a chunk that runs past the end, no sample data.
bool ReadWave(std::span<const std::uint8_t> file, WaveSound* sound);

}  // namespace tetrakon::sound
