#pragma once

#include "framework/clock.h"

namespace tetrakon {

// The values are part of the interface.
enum class TimerCommand : int {
    Reset = 0,
    Start = 1,
    Stop = 2,
    Advance = 3,
    AbsoluteTime = 4,
    AppTime = 5,
    ElapsedTime = 6,
};

// The process-wide application timer. Answers seconds for AbsoluteTime, AppTime and
// ElapsedTime, 0 for Reset, Start, Stop and Advance, and -1 for any other command value.
// The time source is chosen on the first call: the high-resolution counter when the clock
// reports its frequency, the millisecond clock otherwise.
double AppTimer(TimerCommand command);

// Forgets all timer state, as at process start, and makes the timer read `clock` (the
// process clock when null). For tests, which each need a timer of their own.
void ResetAppTimerState(Clock* clock = nullptr);

}  // namespace tetrakon
