#pragma once

#include <cstdint>

namespace tetrakon {

// The time sources the application timer can read: a high-resolution counter with a
// known frequency and, when there is none, a millisecond clock.
class Clock {
  public:
    virtual ~Clock() = default;

    // Ticks per second of the high-resolution counter; false when there is no counter.
    virtual bool CounterFrequency(std::int64_t* ticksPerSecond) = 0;
    virtual std::int64_t CounterTicks() = 0;
    // Milliseconds since an arbitrary start, wrapping at 2^32.
    virtual std::uint32_t Milliseconds() = 0;
};

}  // namespace tetrakon
