#pragma once

#include "platform/sound/sound.h"

namespace tetrakon {

// The F5 sound: played at the first frame the key is down, then again each time another
// half second of frame time has passed while it stays down. Releasing the key resets the
// countdown, so the next press plays at once.
class SoundRepeat {
  public:
    static constexpr float kRepeatPeriod = 0.5f;

    // Once per frame, after the input step. `elapsedTime` is the seconds since the previous
    // frame. `clip` may be null (no sound); a failed start is ignored.
    void Step(bool f5Down, float elapsedTime, sound::SoundClip* clip);

    float countdown() const { return countdown_; }

  private:
    float countdown_ = 0.0f;
};

}  // namespace tetrakon
