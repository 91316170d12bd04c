#pragma once

// The framework's process-wide state (timer, fatal-report latch, pause count) as a fresh
// process has it, for tests that start and stop whole views.

#include "framework/app_timer.h"
#include "framework/error_report.h"
#include "framework/render_app.h"
#include "tests/fakes/fake_clock.h"

namespace tetrakon {

// Puts the timer on `clock`, kept away from 0 (a stop time of 0 would read as "not
// stopped"), and clears the latch and the pause count.
inline void StartFreshProcessState(FakeClock& clock) {
    clock.ticks = 1'000'000;
    clock.milliseconds = 1000;
    ResetAppTimerState(&clock);
    ResetFatalErrorLatch();
    RenderApp::ResetPauseCount();
}

// Back to the real clock, with the latch and the pause count cleared.
inline void ForgetProcessState() {
    ResetAppTimerState();
    ResetFatalErrorLatch();
    RenderApp::ResetPauseCount();
}

}  // namespace tetrakon
