#include "puzzle/shuffle_services.h"

#include <chrono>
#include <thread>

namespace tetrakon {

ShuffleServices SystemShuffleServices() {
    ShuffleServices services;
    services.seedSeconds = [] {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::seconds>(now).count());
    };
    services.milliseconds = [] {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    };
    services.sleepMilliseconds = [](std::uint32_t ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    };
    return services;
}

}  // namespace tetrakon
