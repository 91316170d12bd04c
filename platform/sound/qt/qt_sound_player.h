#pragma once

#include <QAudioDevice>
#include <QUrl>
#include <cstddef>
#include <memory>
#include <vector>

#include "platform/sound/sound.h"

class QSoundEffect;

namespace tetrakon::sound {

// A clip played with QSoundEffect. One effect plays one start at a time, so the clip keeps
// a few voices and gives each start the next one: a start mixes over a previous one that is
// still sounding (the wave outlasts the half-second repeat of the F5 key).
class QtSoundClip : public SoundClip {
  public:
    static constexpr std::size_t kVoices = 4;

    QtSoundClip(const QUrl& source, const QAudioDevice& device);
    ~QtSoundClip() override;

    Result PlayClip(std::uint32_t playFlags) override;

  private:
    std::vector<std::unique_ptr<QSoundEffect>> voices_;
    std::size_t nextVoice_ = 0;
};

// The sound service on Qt Multimedia. Without an audio output (no sound card, no sound
// server) InitSound fails and the program stays silent.
class QtSoundPlayer : public SoundPlayer {
  public:
    Result InitSound() override;
    Result CreateClipFromResource(std::string_view name, std::string_view type,
                                  std::unique_ptr<SoundClip>* clip) override;

  private:
    bool initialised_ = false;
    QAudioDevice device_;
};

}  // namespace tetrakon::sound
