#include "game/sound_repeat.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_sound.h"

namespace tetrakon {
namespace {

constexpr float kFrame = 0.015f;

// Runs `frames` frames of 15 ms with F5 as given, advancing the clip's clock.
void RunFrames(SoundRepeat* repeat, RecordingSoundClip* clip, bool f5Down, int frames) {
    for (int i = 0; i < frames; ++i) {
        repeat->Step(f5Down, kFrame, clip);
        clip->now += kFrame;
    }
}

TEST(SoundRepeat, HoldingF5ForOnePointTwoSecondsPlaysAtOnceThenEveryHalfSecond) {
    SoundRepeat repeat;
    RecordingSoundClip clip;
    RunFrames(&repeat, &clip, true, 80);  // 1.2 s
    ASSERT_EQ(clip.starts.size(), 3u);
    EXPECT_EQ(clip.starts[0].time, 0.0);
    // Each repeat comes at the first frame by which another half second has passed.
    for (int i = 1; i < 3; ++i) {
        const double gap = clip.starts[i].time - clip.starts[i - 1].time;
        EXPECT_GE(gap, 0.5 - 1e-4) << "start " << i;
        EXPECT_LT(gap, 0.5 + kFrame) << "start " << i;
    }
    for (const auto& start : clip.starts) {
        EXPECT_EQ(start.flags, sound::kPlaySecondary);
    }
}

TEST(SoundRepeat, ReleasingF5ResetsTheCountdownSoTheNextPressPlaysAtOnce) {
    SoundRepeat repeat;
    RecordingSoundClip clip;
    RunFrames(&repeat, &clip, true, 2);  // a short tap plays once
    RunFrames(&repeat, &clip, false, 3);
    EXPECT_EQ(clip.starts.size(), 1u);
    RunFrames(&repeat, &clip, true, 1);
    EXPECT_EQ(clip.starts.size(), 2u);
}

TEST(SoundRepeat, ACountdownThatLandsExactlyOnZeroPlays) {
    SoundRepeat repeat;
    RecordingSoundClip clip;
    for (int frame = 0; frame < 3; ++frame) {
        repeat.Step(true, 0.25f, &clip);  // the second quarter ends the half second exactly
    }
    EXPECT_EQ(clip.starts.size(), 2u);
}

TEST(SoundRepeat, WithoutAClipTheCountdownStillRuns) {
    SoundRepeat repeat;
    repeat.Step(true, kFrame, nullptr);
    EXPECT_FLOAT_EQ(repeat.countdown(), SoundRepeat::kRepeatPeriod);
}

}  // namespace
}  // namespace tetrakon
