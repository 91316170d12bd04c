#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sound/sound.h"

namespace tetrakon {

// Records every start with its flags and the time the test says it is.
class RecordingSoundClip : public sound::SoundClip {
  public:
    struct Start {
        std::uint32_t flags = 0;
        double time = 0.0;
    };

    double now = 0.0;  // set by the test before each frame
    Result result = S_OK;
    std::vector<Start> starts;

    Result PlayClip(std::uint32_t playFlags) override {
        starts.push_back({playFlags, now});
        return result;
    }
};

// A player whose set-up and loads succeed or fail as scripted; it records the resources
// asked for and hands out recording clips.
class FakeSoundPlayer : public sound::SoundPlayer {
  public:
    Result initResult = S_OK;
    Result loadResult = S_OK;
    std::vector<std::string> loaded;  // "TYPE/NAME"
    RecordingSoundClip* lastClip = nullptr;

    Result InitSound() override { return initResult; }
    Result CreateClipFromResource(std::string_view name, std::string_view type,
                                  std::unique_ptr<sound::SoundClip>* clip) override;
};

}  // namespace tetrakon
