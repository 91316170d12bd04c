#include "platform/sound/wave_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "resources/module_resources.h"

namespace tetrakon::sound {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes* out, std::uint32_t value) {
    out->push_back(static_cast<std::uint8_t>(value));
    out->push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes* out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

Bytes Chunk(const std::string& tag, const Bytes& body, std::uint32_t declaredSize) {
    Bytes out(tag.begin(), tag.end());
    Put32(&out, declaredSize);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 == 1) {
        out.push_back(0);
    }
    return out;
}

Bytes Chunk(const std::string& tag, const Bytes& body) {
    return Chunk(tag, body, static_cast<std::uint32_t>(body.size()));
}

struct Format {
    std::uint32_t tag = 1, channels = 1, rate = 11025, bits = 16;
    std::uint32_t blockAlign = 2, size = 16;
};

Bytes Fmt(const Format& f) {
    Bytes body;
    Put16(&body, f.tag);
    Put16(&body, f.channels);
    Put32(&body, f.rate);
    Put32(&body, f.rate * f.blockAlign);
    Put16(&body, f.blockAlign);
    Put16(&body, f.bits);
    body.resize(f.size, 0);
    return Chunk("fmt ", body);
}

Bytes Riff(const std::vector<Bytes>& chunks, const std::string& form = "WAVE") {
    Bytes body(form.begin(), form.end());
    for (const Bytes& chunk : chunks) {
        body.insert(body.end(), chunk.begin(), chunk.end());
    }
    return Chunk("RIFF", body);
}

Bytes Samples(std::size_t n) {
    return Bytes(n, 0x40);
}

struct Case {
    const char* what;
    Bytes file;
    bool readable;
    int channels = 0, bits = 0;
    std::uint32_t rate = 0;
    std::size_t frameBytes = 0;
};

TEST(WaveFile, ReadsPlayablePcmAndRefusesTheRest) {
    const Bytes mono16 = Fmt({});
    const Case cases[] = {
        {"16-bit mono", Riff({mono16, Chunk("data", Samples(8))}), true, 1, 16, 11025, 8},
        {"8-bit stereo after an odd-sized chunk",
         Riff({Chunk("LIST", Samples(3)),
               Fmt({.channels = 2, .rate = 44100, .bits = 8, .blockAlign = 2}),
               Chunk("data", Samples(10))}),
         true, 2, 8, 44100, 10},
        {"a longer format chunk, data cut to whole frames",
         Riff({Fmt({.channels = 2, .blockAlign = 4, .size = 18}), Chunk("data", Samples(7))}), true,
         2, 16, 11025, 4},
        {"not RIFF", Bytes(44, 0), false},
        {"not WAVE", Riff({mono16, Chunk("data", Samples(8))}, "AVI "), false},
        {"cut inside the header", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A'}, false},
        {"floating point",
         Riff({Fmt({.tag = 3, .bits = 32, .blockAlign = 4}), Chunk("data", Samples(8))}), false},
        {"24 bits", Riff({Fmt({.bits = 24, .blockAlign = 3}), Chunk("data", Samples(9))}), false},
        {"three channels",
         Riff({Fmt({.channels = 3, .blockAlign = 6}), Chunk("data", Samples(12))}), false},
        {"block size not channels times sample size",
         Riff({Fmt({.blockAlign = 4}), Chunk("data", Samples(8))}), false},
        {"rate 0", Riff({Fmt({.rate = 0}), Chunk("data", Samples(8))}), false},
        {"format chunk too short", Riff({Fmt({.size = 14}), Chunk("data", Samples(8))}), false},
        {"data chunk past the end", Riff({mono16, Chunk("data", Samples(8), 0xFFFFFFF0u)}), false},
        {"no data chunk", Riff({mono16}), false},
        {"no format chunk", Riff({Chunk("data", Samples(8))}), false},
        {"less than one frame of data", Riff({mono16, Chunk("data", Samples(1))}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WaveSound sound;
        ASSERT_EQ(ReadWave(c.file, &sound), c.readable);
        if (c.readable) {
            EXPECT_EQ(sound.channels, c.channels);
            EXPECT_EQ(sound.bitsPerSample, c.bits);
            EXPECT_EQ(sound.samplesPerSecond, c.rate);
            EXPECT_EQ(sound.frames.size(), c.frameBytes);
            EXPECT_EQ(sound.frames.front(), 0x40);
        }
    }
}

TEST(WaveFile, TheProgramsOwnWaveIsEmbeddedAndReadable) {
    WaveSound sound;
    ASSERT_TRUE(ReadWave(FindResource("bounce", "wave"), &sound));
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.bitsPerSample, 16);
    EXPECT_EQ(sound.samplesPerSecond, 11025u);
    EXPECT_EQ(sound.frames.size(), 13424u);
    EXPECT_TRUE(FindResource("BOUNCE", "X").empty());
    EXPECT_TRUE(FindResource(0, "WAVE").empty());
}

}  // namespace
}  // namespace tetrakon::sound
