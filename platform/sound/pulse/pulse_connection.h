#pragma once

#include <pulse/context.h>
#include <pulse/thread-mainloop.h>

#include <functional>
#include <memory>

namespace tetrakon::sound {

// One connection to the sound server, served by libpulse's own thread. Every call into the
// context is made with the loop locked (LoopLock); the loop's callbacks run with it held.
class PulseConnection {
  public:
    // Connects to the default server (autospawning it if the user's client.conf allows) and
    // waits until the connection is ready, at most `timeoutUs`. Null when it failed or took
    // too long; then no thread is left running.
    static std::unique_ptr<PulseConnection> Connect(const char* clientName, pa_usec_t timeoutUs);

    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    pa_context* context() const { return context_; }
    pa_threaded_mainloop* loop() const { return loop_; }
    bool ready() const { return pa_context_get_state(context_) == PA_CONTEXT_READY; }

    // With the loop locked: waits for the loop's signals until `done` holds or `timeoutUs`
    // has passed. Returns `done()`.
    bool WaitFor(const std::function<bool()>& done, pa_usec_t timeoutUs);

    // Wakes WaitFor; a state callback for the context and the streams of this connection.
    static void Signal(pa_threaded_mainloop* loop) { pa_threaded_mainloop_signal(loop, 0); }

  private:
    PulseConnection(pa_threaded_mainloop* loop, pa_context* context);

    pa_threaded_mainloop* loop_;
    pa_context* context_;
};

// Holds the loop's lock for one scope.
class LoopLock {
  public:
    explicit LoopLock(pa_threaded_mainloop* loop) : loop_(loop) {
        pa_threaded_mainloop_lock(loop_);
    }
    ~LoopLock() { pa_threaded_mainloop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

  private:
    pa_threaded_mainloop* loop_;
};

}  // namespace tetrakon::sound
