#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "gfxutil/result.h"

namespace tetrakon::sound {

// The sound layer's failure code for a clip that has nothing to play, with the value the
// music service gives it.
constexpr Result DMUS_E_NOT_INIT = ResultFromBits(0x88781182u);

// How a clip starts. A secondary start plays over whatever is sounding, so quick repeats
// overlap; a primary start first silences the clip's earlier starts.
enum PlayFlags : std::uint32_t {
    kPlayPrimary = 0x00,
    kPlaySecondary = 0x80,  // DMUS_SEGF_SECONDARY
};

// One sound, loaded and prepared once, started on demand.
class SoundClip {
  public:
    virtual ~SoundClip() = default;

    // Starts the sound at once. Fails when the clip has nothing loaded or no device to play
    // on; the callers ignore that, since sound is optional.
    virtual Result PlayClip(std::uint32_t playFlags) = 0;
};

// Finds the bytes of the resource `name` of type `type` (as "BOUNCE", "WAVE"); empty when
// there is none. The program hands its embedded resources to the sound layer this way, so
// that the layer itself knows nothing of where they are kept.
using ResourceFinder =
    std::function<std::span<const std::uint8_t>(std::string_view name, std::string_view type)>;

// The sound service: set up once at start-up, then hands out clips of the program's own
// sound resources.
class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;

    // Prepares the output. A failure leaves a player that makes no clips.
    virtual Result InitSound() = 0;

    // Loads the resource `name` of type `type` (as "BOUNCE", "WAVE") into a clip that is
    // ready to play. On failure `clip` is left empty.
    virtual Result CreateClipFromResource(std::string_view name, std::string_view type,
                                          std::unique_ptr<SoundClip>* clip) = 0;
};

}  // namespace tetrakon::sound
