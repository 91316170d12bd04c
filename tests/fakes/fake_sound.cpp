#include "tests/fakes/fake_sound.h"

namespace tetrakon {

Result FakeSoundPlayer::CreateClipFromResource(std::string_view name, std::string_view type,
                                               std::unique_ptr<sound::SoundClip>* clip) {
    loaded.push_back(std::string(type) + "/" + std::string(name));
    clip->reset();
    lastClip = nullptr;
    if (Failed(loadResult)) {
        return loadResult;
    }
    auto recording = std::make_unique<RecordingSoundClip>();
    lastClip = recording.get();
    *clip = std::move(recording);
    return S_OK;
}

}  // namespace tetrakon
