#pragma once

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/operation.h>
#include <pulse/rtclock.h>
#include <pulse/sample.h>
#include <pulse/scache.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <memory>

namespace tetrakon::sound {

// The functions of libpulse the player calls.
#define TETRAKON_PULSE_FUNCTIONS(X)         \
    X(pa_context_connect)                   \
    X(pa_context_disconnect)                \
    X(pa_context_get_state)                 \
    X(pa_context_kill_sink_input)           \
    X(pa_context_new)                       \
    X(pa_context_play_sample_with_proplist) \
    X(pa_context_rttime_new)                \
    X(pa_context_set_state_callback)        \
    X(pa_context_unref)                     \
    X(pa_operation_cancel)                  \
    X(pa_operation_get_state)               \
    X(pa_operation_unref)                   \
    X(pa_rtclock_now)                       \
    X(pa_sample_spec_valid)                 \
    X(pa_stream_connect_upload)             \
    X(pa_stream_disconnect)                 \
    X(pa_stream_finish_upload)              \
    X(pa_stream_get_state)                  \
    X(pa_stream_new)                        \
    X(pa_stream_set_state_callback)         \
    X(pa_stream_unref)                      \
    X(pa_stream_write)                      \
    X(pa_threaded_mainloop_free)            \
    X(pa_threaded_mainloop_get_api)         \
    X(pa_threaded_mainloop_lock)            \
    X(pa_threaded_mainloop_new)             \
    X(pa_threaded_mainloop_signal)          \
    X(pa_threaded_mainloop_start)           \
    X(pa_threaded_mainloop_stop)            \
    X(pa_threaded_mainloop_unlock)          \
    X(pa_threaded_mainloop_wait)

// libpulse, opened when the player first connects instead of linked to the program: the
// library and the codec libraries it brings along load after the first frame, not before
// every start, and a machine without it plays no sound instead of not starting.
struct PulseLibrary {
#define TETRAKON_PULSE_POINTER(name) decltype(&::name) name = nullptr;
    TETRAKON_PULSE_FUNCTIONS(TETRAKON_PULSE_POINTER)
#undef TETRAKON_PULSE_POINTER

    // The library of that name with all the functions above; null when it cannot be
    // opened or lacks one of them. The library stays loaded for the process.
    static std::unique_ptr<PulseLibrary> Open(const char* soname);
};

// libpulse.so.0, opened at the first call; null when it is missing or incomplete.
const PulseLibrary* Pulse();

}  // namespace tetrakon::sound
