#include "framework/app_timer.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_clock.h"

namespace tetrakon {
namespace {

// The timer's arithmetic is the same with both time sources; each case runs on both.
class AppTimerTest : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        clock.hasCounter = GetParam();
        clock.ticks = 5'000'000;  // 5 s
        clock.milliseconds = 5000;
        ResetAppTimerState(&clock);
        AppTimer(TimerCommand::Reset);
    }
    void TearDown() override { ResetAppTimerState(); }

    void Advance(double seconds) {
        clock.AdvanceMicroseconds(static_cast<std::int64_t>(seconds * 1e6 + 0.5));
    }

    FakeClock clock;
};

constexpr double kTolerance = 1e-9;

TEST_P(AppTimerTest, AppTimeAndElapsedTimeFollowTheClock) {
    Advance(1.5);
    EXPECT_NEAR(AppTimer(TimerCommand::AppTime), 1.5, kTolerance);
    EXPECT_NEAR(AppTimer(TimerCommand::ElapsedTime), 1.5, kTolerance);
    Advance(0.25);
    EXPECT_NEAR(AppTimer(TimerCommand::ElapsedTime), 0.25, kTolerance);
    EXPECT_EQ(AppTimer(TimerCommand::ElapsedTime), 0.0);
    EXPECT_NEAR(AppTimer(TimerCommand::AppTime), 1.75, kTolerance);
    EXPECT_NEAR(AppTimer(TimerCommand::AbsoluteTime), 6.75, kTolerance);
}

TEST_P(AppTimerTest, StoppedSpanIsLeftOutOfAppTime) {
    Advance(1.0);
    EXPECT_EQ(AppTimer(TimerCommand::Stop), 0.0);
    Advance(10.0);
    EXPECT_NEAR(AppTimer(TimerCommand::AppTime), 1.0, kTolerance);
    EXPECT_EQ(AppTimer(TimerCommand::ElapsedTime), 0.0);
    // AbsoluteTime always reads the clock.
    EXPECT_NEAR(AppTimer(TimerCommand::AbsoluteTime), 16.0, kTolerance);
    EXPECT_EQ(AppTimer(TimerCommand::Start), 0.0);
    Advance(0.5);
    EXPECT_NEAR(AppTimer(TimerCommand::AppTime), 1.5, kTolerance);
    EXPECT_NEAR(AppTimer(TimerCommand::ElapsedTime), 0.5, kTolerance);
}

TEST_P(AppTimerTest, SecondStopChangesNothing) {
    Advance(1.0);
    AppTimer(TimerCommand::Stop);
    Advance(2.0);
    AppTimer(TimerCommand::Stop);
    Advance(3.0);
    EXPECT_NEAR(AppTimer(TimerCommand::AppTime), 1.0, kTolerance);
    AppTimer(TimerCommand::Start);
    // Base moved forward by the whole stopped span of 5 s.
    EXPECT_NEAR(AppTimer(TimerCommand::AppTime), 1.0, kTolerance);
    EXPECT_EQ(AppTimer(TimerCommand::ElapsedTime), 0.0);
}

TEST_P(AppTimerTest, AdvanceMovesTheFrozenMomentByOneTenth) {
    Advance(1.0);
    AppTimer(TimerCommand::Stop);
    EXPECT_EQ(AppTimer(TimerCommand::ElapsedTime), 0.0);
    EXPECT_EQ(AppTimer(TimerCommand::Advance), 0.0);
    const double step = GetParam() ? 0.1 : static_cast<double>(0.1f);
    EXPECT_NEAR(AppTimer(TimerCommand::ElapsedTime), step, kTolerance);
    EXPECT_EQ(AppTimer(TimerCommand::ElapsedTime), 0.0);
    EXPECT_NEAR(AppTimer(TimerCommand::AppTime), 1.0 + step, kTolerance);
}

TEST_P(AppTimerTest, UnknownCommandAnswersMinusOneAndChangesNothing) {
    Advance(1.0);
    EXPECT_EQ(AppTimer(static_cast<TimerCommand>(7)), -1.0);
    EXPECT_EQ(AppTimer(static_cast<TimerCommand>(-1)), -1.0);
    EXPECT_NEAR(AppTimer(TimerCommand::ElapsedTime), 1.0, kTolerance);
    EXPECT_NEAR(AppTimer(TimerCommand::AppTime), 1.0, kTolerance);
}

INSTANTIATE_TEST_SUITE_P(BothTimeSources, AppTimerTest, ::testing::Values(true, false),
                         [](const auto& row) { return row.param ? "Counter" : "Milliseconds"; });

TEST(AppTimerSource, CounterIsPreferredAndTheChoiceIsKept) {
    FakeClock clock;
    ResetAppTimerState(&clock);
    AppTimer(TimerCommand::AbsoluteTime);
    clock.hasCounter = false;
    AppTimer(TimerCommand::AbsoluteTime);
    EXPECT_EQ(clock.counterReads, 2);
    EXPECT_EQ(clock.millisecondReads, 0);
    ResetAppTimerState();
}

TEST(AppTimerSource, MillisecondClockWithoutCounter) {
    FakeClock clock;
    clock.hasCounter = false;
    clock.milliseconds = 1234;
    ResetAppTimerState(&clock);
    EXPECT_DOUBLE_EQ(AppTimer(TimerCommand::AbsoluteTime), 1.234);
    EXPECT_EQ(clock.counterReads, 0);
    ResetAppTimerState();
}

TEST(AppTimerSource, CounterTicksAreDividedByTheFrequency) {
    FakeClock clock;
    clock.frequency = 3'579'545;
    clock.ticks = 3'579'545 * 2 + 3'579'545 / 2;
    ResetAppTimerState(&clock);
    EXPECT_NEAR(AppTimer(TimerCommand::AbsoluteTime), 2.5, 1e-6);
    // Advance is frequency / 10 in whole ticks.
    AppTimer(TimerCommand::Reset);
    AppTimer(TimerCommand::Stop);
    AppTimer(TimerCommand::Advance);
    EXPECT_DOUBLE_EQ(AppTimer(TimerCommand::AppTime), 357'954.0 / 3'579'545.0);
    ResetAppTimerState();
}

}  // namespace
}  // namespace tetrakon
