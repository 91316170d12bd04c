#include "framework/steady_clock.h"

#include <chrono>

namespace tetrakon {

namespace {
using Source = std::chrono::steady_clock;
}

bool SteadyClock::CounterFrequency(std::int64_t* ticksPerSecond) {
    *ticksPerSecond = static_cast<std::int64_t>(Source::period::den / Source::period::num);
    return *ticksPerSecond > 0;
}

std::int64_t SteadyClock::CounterTicks() {
    return static_cast<std::int64_t>(Source::now().time_since_epoch().count());
}

std::uint32_t SteadyClock::Milliseconds() {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(Source::now().time_since_epoch());
    return static_cast<std::uint32_t>(ms.count());
}

Clock& ProcessClock() {
    static SteadyClock clock;
    return clock;
}

}  // namespace tetrakon
