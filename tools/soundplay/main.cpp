// soundplay [count] [interval-ms]: starts the wave "BOUNCE" `count` times (3), one start
// every `interval-ms` (500) as secondary starts, then waits for the last one to end. Prints
// how long the sound set-up took and whether it succeeded.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include "platform/sound/pulse/pulse_sound_player.h"
#include "resources/module_resources.h"

using tetrakon::sound::kPlaySecondary;

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 3;
    const int intervalMs = argc > 2 ? std::atoi(argv[2]) : 500;

    using Clock = std::chrono::steady_clock;
    const Clock::time_point setUpStart = Clock::now();
    tetrakon::sound::PulseSoundPlayer player([](std::string_view name, std::string_view type) {
        return tetrakon::FindResource(name, type);
    });
    const auto initResult = player.InitSound();
    std::unique_ptr<tetrakon::sound::SoundClip> clip;
    const auto clipResult = player.CreateClipFromResource("BOUNCE", "WAVE", &clip);
    const auto setUpMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - setUpStart);
    std::printf("set-up %lld ms, InitSound 0x%08x, clip 0x%08x\n",
                static_cast<long long>(setUpMs.count()), static_cast<unsigned>(initResult),
                static_cast<unsigned>(clipResult));
    std::fflush(stdout);

    for (int played = 0; played < count; ++played) {
        if (played > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs));
        }
        if (clip) {
            clip->PlayClip(kPlaySecondary);
        }
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    return clip ? 0 : 1;
}
