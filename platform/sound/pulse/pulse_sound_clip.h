#pragma once

#include <pulse/operation.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "platform/sound/pulse/pulse_connection.h"
#include "platform/sound/sound.h"

namespace tetrakon::sound {

// A wave held in the sound server's sample cache under `sampleName`. Every start asks the
// server to play it as a new stream of its own, which the server mixes over the others, so
// repeats overlap. A primary start first ends the clip's earlier starts: the server names
// each started stream, and those are killed.
class PulseSoundClip : public SoundClip {
  public:
    // Starts remembered for a later primary start; the wave lasts well under a second, so
    // starts older than these have ended long before.
    static constexpr std::size_t kRememberedStarts = 32;

    PulseSoundClip(std::shared_ptr<PulseConnection> connection, std::string sampleName);
    ~PulseSoundClip() override;

    // Fails (E_FAIL) once the connection to the server is lost; never waits for the server.
    Result PlayClip(std::uint32_t playFlags) override;

  private:
    struct Start {
        PulseSoundClip* clip = nullptr;
        std::uint64_t generation = 0;  // primary starts before this one
        pa_operation* request = nullptr;
        bool answered = false;
        std::uint32_t stream = 0;  // the server's sink input, once answered
    };

    static void OnStarted(pa_context* context, std::uint32_t stream, void* userdata);
    void EndEarlierStarts();
    void ForgetOldStarts();

    std::shared_ptr<PulseConnection> connection_;
    std::string sampleName_;
    std::uint64_t generation_ = 0;
    std::deque<std::unique_ptr<Start>> starts_;  // touched only with the loop locked
};

}  // namespace tetrakon::sound
