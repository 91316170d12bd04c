#include "platform/sound/pulse/pulse_sound_player.h"

#include <pulse/scache.h>
#include <pulse/stream.h>

#include <string>

#include "platform/sound/pulse/pulse_sound_clip.h"
#include "platform/sound/wave_file.h"

namespace tetrakon::sound {

namespace {

void OnStreamState(pa_stream*, void* loop) {
    PulseConnection::Signal(static_cast<pa_threaded_mainloop*>(loop));
}

// The server's description of the wave's frames; false for one it cannot take.
bool DescribeFrames(const WaveSound& wave, pa_sample_spec* frames) {
    frames->format = wave.bitsPerSample == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    frames->rate = wave.samplesPerSecond;
    frames->channels = static_cast<std::uint8_t>(wave.channels);
    return pa_sample_spec_valid(frames) != 0;
}

// With the loop locked: waits until the stream has reached `goal` or has failed.
bool WaitForStream(PulseConnection& connection, pa_stream* stream, pa_stream_state_t goal) {
    return connection.WaitFor(
               [stream, goal] {
                   const pa_stream_state_t state = pa_stream_get_state(stream);
                   return state == goal || !PA_STREAM_IS_GOOD(state);
               },
               PulseSoundPlayer::kServerTimeoutUs) &&
           pa_stream_get_state(stream) == goal;
}

// Puts the wave's frames into the server's sample cache under `sampleName`, replacing an
// entry of that name. The stream ends (terminated) once the server has stored it.
bool UploadSample(PulseConnection& connection, const std::string& sampleName,
                  const WaveSound& wave) {
    pa_sample_spec frames{};
    if (!DescribeFrames(wave, &frames)) {
        return false;
    }
    LoopLock lock(connection.loop());
    pa_stream* stream = pa_stream_new(connection.context(), sampleName.c_str(), &frames, nullptr);
    if (stream == nullptr) {
        return false;
    }
    pa_stream_set_state_callback(stream, OnStreamState, connection.loop());
    const bool stored = pa_stream_connect_upload(stream, wave.frames.size()) == 0 &&
                        WaitForStream(connection, stream, PA_STREAM_READY) &&
                        pa_stream_write(stream, wave.frames.data(), wave.frames.size(), nullptr, 0,
                                        PA_SEEK_RELATIVE) == 0 &&
                        pa_stream_finish_upload(stream) == 0 &&
                        WaitForStream(connection, stream, PA_STREAM_TERMINATED);
    pa_stream_set_state_callback(stream, nullptr, nullptr);
    if (!stored && pa_stream_get_state(stream) != PA_STREAM_UNCONNECTED) {
        pa_stream_disconnect(stream);
    }
    pa_stream_unref(stream);
    return stored;
}

}  // namespace

Result PulseSoundPlayer::InitSound() {
    connection_ = PulseConnection::Connect("Tetrakon", kServerTimeoutUs);
    return connection_ != nullptr ? S_OK : E_FAIL;
}

Result PulseSoundPlayer::CreateClipFromResource(std::string_view name, std::string_view type,
                                                std::unique_ptr<SoundClip>* clip) {
    clip->reset();
    if (connection_ == nullptr) {
        return DMUS_E_NOT_INIT;
    }
    WaveSound wave;
    if (!ReadWave(findResource_(name, type), &wave)) {
        return E_FAIL;
    }
    std::string sampleName = "tetrakon-" + std::string(name);
    if (!UploadSample(*connection_, sampleName, wave)) {
        return E_FAIL;
    }
    *clip = std::make_unique<PulseSoundClip>(connection_, std::move(sampleName));
    return S_OK;
}

}  // namespace tetrakon::sound
