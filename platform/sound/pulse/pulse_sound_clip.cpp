#include "platform/sound/pulse/pulse_sound_clip.h"

#include <pulse/introspect.h>
#include <pulse/scache.h>
#include <pulse/volume.h>

#include <utility>

namespace tetrakon::sound {

namespace {

// Asks the server to end one started stream, not waiting for the answer. A stream that has
// already ended makes the request fail harmlessly.
void EndStream(pa_context* context, std::uint32_t stream) {
    if (pa_operation* request = pa_context_kill_sink_input(context, stream, nullptr, nullptr)) {
        pa_operation_unref(request);
    }
}

// Drops our reference to a play request; one still running will call nobody back.
void DropRequest(pa_operation* request) {
    if (pa_operation_get_state(request) == PA_OPERATION_RUNNING) {
        pa_operation_cancel(request);
    }
    pa_operation_unref(request);
}

}  // namespace

PulseSoundClip::PulseSoundClip(std::shared_ptr<PulseConnection> connection, std::string sampleName)
    : connection_(std::move(connection)), sampleName_(std::move(sampleName)) {}

PulseSoundClip::~PulseSoundClip() {
    LoopLock lock(connection_->loop());
    // Unanswered requests must not call back into this clip once it is gone.
    for (const auto& start : starts_) {
        DropRequest(start->request);
    }
}

Result PulseSoundClip::PlayClip(std::uint32_t playFlags) {
    LoopLock lock(connection_->loop());
    if (!connection_->ready()) {
        return E_FAIL;
    }
    if ((playFlags & kPlaySecondary) == 0) {
        EndEarlierStarts();
    }
    ForgetOldStarts();
    auto start = std::make_unique<Start>();
    start->clip = this;
    start->generation = generation_;
    // The server's default sink and volume, as for any event sound.
    start->request =
        pa_context_play_sample_with_proplist(connection_->context(), sampleName_.c_str(), nullptr,
                                             PA_VOLUME_INVALID, nullptr, OnStarted, start.get());
    if (start->request == nullptr) {
        return E_FAIL;
    }
    starts_.push_back(std::move(start));
    return S_OK;
}

void PulseSoundClip::OnStarted(pa_context* context, std::uint32_t stream, void* userdata) {
    auto* start = static_cast<Start*>(userdata);
    start->answered = true;
    start->stream = stream;
    // A primary start came after this request went out: end this one as soon as it is known.
    if (stream != PA_INVALID_INDEX && start->generation < start->clip->generation_) {
        EndStream(context, stream);
    }
}

void PulseSoundClip::EndEarlierStarts() {
    ++generation_;
    for (const auto& start : starts_) {
        if (start->answered && start->stream != PA_INVALID_INDEX) {
            EndStream(connection_->context(), start->stream);
        }
    }
}

void PulseSoundClip::ForgetOldStarts() {
    const auto settled = [this](const Start& start) {
        return start.answered && start.generation < generation_;
    };
    while (!starts_.empty() && (settled(*starts_.front()) || starts_.size() >= kRememberedStarts)) {
        DropRequest(starts_.front()->request);
        starts_.pop_front();
    }
}

}  // namespace tetrakon::sound
