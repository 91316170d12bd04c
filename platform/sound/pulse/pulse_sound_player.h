#pragma once

#include <memory>
#include <utility>

#include "platform/sound/pulse/pulse_connection.h"
#include "platform/sound/sound.h"

namespace tetrakon::sound {

// The sound service on a PulseAudio server. InitSound connects (at most about two seconds);
// without a server it fails and the program stays silent. A clip's wave is uploaded once
// into the server's sample cache under "tetrakon-<name>"; a later upload under that name
// replaces it, so nothing piles up on the server, and it is left there at the end, since
// another running copy of the program plays the same entry.
class PulseSoundPlayer : public SoundPlayer {
  public:
    static constexpr pa_usec_t kServerTimeoutUs = 2'000'000;

    // `findResource` gives the bytes that CreateClipFromResource reads its waves from.
    explicit PulseSoundPlayer(ResourceFinder findResource)
        : findResource_(std::move(findResource)) {}

    Result InitSound() override;
    Result CreateClipFromResource(std::string_view name, std::string_view type,
                                  std::unique_ptr<SoundClip>* clip) override;

  private:
    ResourceFinder findResource_;
    std::shared_ptr<PulseConnection> connection_;  // shared with the clips
};

}  // namespace tetrakon::sound
