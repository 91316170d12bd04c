#pragma once

#include "framework/clock.h"

namespace tetrakon {

// The process's real clock: std::chrono::steady_clock for both time sources.
class SteadyClock : public Clock {
  public:
    bool CounterFrequency(std::int64_t* ticksPerSecond) override;
    std::int64_t CounterTicks() override;
    std::uint32_t Milliseconds() override;
};

// One shared instance, used by the application timer unless a test supplies another.
Clock& ProcessClock();

}  // namespace tetrakon
