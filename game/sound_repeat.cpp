#include "game/sound_repeat.h"

namespace tetrakon {

void SoundRepeat::Step(bool f5Down, float elapsedTime, sound::SoundClip* clip) {
    if (!f5Down) {
        countdown_ = 0.0f;
        return;
    }
    countdown_ -= elapsedTime;
    if (countdown_ <= 0.0f) {
        countdown_ = kRepeatPeriod;
        if (clip != nullptr) {
            // Secondary, so a repeat mixes over the previous start (the wave outlasts the
            // period).
            clip->PlayClip(sound::kPlaySecondary);
        }
    }
}

}  // namespace tetrakon
