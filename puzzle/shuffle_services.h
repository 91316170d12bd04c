#pragma once

#include <cstdint>
#include <functional>

namespace tetrakon {

// What a shuffle needs from the system, replaceable in tests.
struct ShuffleServices {
    // Seed of each shuffle: the calendar time in whole seconds since 1970, cut to 32 bits
    // as the runtime's srand(time(NULL)) cuts it.
    std::function<std::uint32_t()> seedSeconds;
    // A millisecond tick count from an arbitrary start, wrapping at 2^32.
    std::function<std::uint32_t()> milliseconds;
    // Gives up the processor for at least this many milliseconds.
    std::function<void(std::uint32_t)> sleepMilliseconds;
};

// The system clock, a steady millisecond count and std::this_thread::sleep_for.
ShuffleServices SystemShuffleServices();

}  // namespace tetrakon
