#include "platform/sound/pulse/pulse_connection.h"

#include <pulse/rtclock.h>
#include <pulse/timeval.h>

namespace tetrakon::sound {

namespace {

void OnContextState(pa_context*, void* loop) {
    PulseConnection::Signal(static_cast<pa_threaded_mainloop*>(loop));
}

struct Deadline {
    pa_threaded_mainloop* loop = nullptr;
    bool passed = false;
};

void OnDeadline(pa_mainloop_api*, pa_time_event*, const timeval*, void* userdata) {
    auto* deadline = static_cast<Deadline*>(userdata);
    deadline->passed = true;
    PulseConnection::Signal(deadline->loop);
}

}  // namespace

std::unique_ptr<PulseConnection> PulseConnection::Connect(const char* clientName,
                                                          pa_usec_t timeoutUs) {
    pa_threaded_mainloop* loop = pa_threaded_mainloop_new();
    if (loop == nullptr) {
        return nullptr;
    }
    pa_context* context = pa_context_new(pa_threaded_mainloop_get_api(loop), clientName);
    if (context == nullptr) {
        pa_threaded_mainloop_free(loop);
        return nullptr;
    }
    // From here the destructor undoes everything, the thread included.
    std::unique_ptr<PulseConnection> connection(new PulseConnection(loop, context));
    pa_context_set_state_callback(context, OnContextState, loop);
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0 ||
        pa_threaded_mainloop_start(loop) < 0) {
        return nullptr;
    }
    bool connected = false;
    {
        LoopLock lock(loop);
        connection->WaitFor(
            [context] {
                const pa_context_state_t state = pa_context_get_state(context);
                return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
            },
            timeoutUs);
        connected = connection->ready();
    }
    // Released outside the lock: the destructor stops the thread.
    if (!connected) {
        return nullptr;
    }
    return connection;
}

PulseConnection::PulseConnection(pa_threaded_mainloop* loop, pa_context* context)
    : loop_(loop), context_(context) {}

PulseConnection::~PulseConnection() {
    // Stopping the thread first means nothing runs concurrently with the teardown.
    pa_threaded_mainloop_stop(loop_);
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    pa_threaded_mainloop_free(loop_);
}

bool PulseConnection::WaitFor(const std::function<bool()>& done, pa_usec_t timeoutUs) {
    Deadline deadline{loop_, false};
    pa_time_event* timer =
        pa_context_rttime_new(context_, pa_rtclock_now() + timeoutUs, OnDeadline, &deadline);
    if (timer == nullptr) {
        return done();  // without a deadline, never wait
    }
    while (!done() && !deadline.passed) {
        pa_threaded_mainloop_wait(loop_);
    }
    pa_threaded_mainloop_get_api(loop_)->time_free(timer);
    return done();
}

}  // namespace tetrakon::sound
