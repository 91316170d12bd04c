#pragma once

#include <cstdint>

#include "framework/clock.h"

namespace tetrakon {

// A clock that moves only when the test moves it. With `hasCounter` false it reports no
// high-resolution counter, so the timer falls back to the millisecond clock.
class FakeClock : public Clock {
  public:
    bool hasCounter = true;
    std::int64_t frequency = 1'000'000;
    std::int64_t ticks = 0;
    std::uint32_t milliseconds = 0;
    int counterReads = 0;
    int millisecondReads = 0;

    // Moves both time sources forward together.
    void AdvanceMicroseconds(std::int64_t us) {
        ticks += us * frequency / 1'000'000;
        milliseconds += static_cast<std::uint32_t>(us / 1000);
    }

    bool CounterFrequency(std::int64_t* ticksPerSecond) override {
        *ticksPerSecond = hasCounter ? frequency : 0;
        return hasCounter;
    }
    std::int64_t CounterTicks() override {
        ++counterReads;
        return ticks;
    }
    std::uint32_t Milliseconds() override {
        ++millisecondReads;
        return milliseconds;
    }
};

}  // namespace tetrakon
