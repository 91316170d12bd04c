#include "framework/app_timer.h"

#include <cstdint>

#include "framework/steady_clock.h"

namespace tetrakon {

namespace {

// Single-precision 0.1, the step of Advance in millisecond mode.
constexpr double kAdvanceSeconds = static_cast<double>(0.1f);

struct TimerState {
    Clock* clock = nullptr;
    bool initialised = false;
    bool usingCounter = false;
    std::int64_t frequency = 0;
    // Counter mode, in ticks.
    std::int64_t baseTicks = 0;
    std::int64_t lastElapsedTicks = 0;
    std::int64_t stopTicks = 0;
    // Millisecond mode, in seconds.
    double baseSeconds = 0;
    double lastElapsedSeconds = 0;
    double stopSeconds = 0;
    bool stopped = false;
};

TimerState& State() {
    static TimerState state;
    return state;
}

bool IsKnownCommand(TimerCommand command) {
    const int value = static_cast<int>(command);
    return value >= static_cast<int>(TimerCommand::Reset) &&
           value <= static_cast<int>(TimerCommand::ElapsedTime);
}

// Start and AbsoluteTime always read the clock; every other command sees the frozen
// moment while a stop time is recorded.
bool ReadsFrozenMoment(TimerCommand command) {
    return command != TimerCommand::Start && command != TimerCommand::AbsoluteTime;
}

double CounterCommand(TimerState& s, TimerCommand command) {
    std::int64_t now;
    if (s.stopTicks != 0 && ReadsFrozenMoment(command)) {
        now = s.stopTicks;
    } else {
        now = s.clock->CounterTicks();
    }
    const double frequency = static_cast<double>(s.frequency);
    switch (command) {
        case TimerCommand::Reset:
            s.baseTicks = now;
            s.lastElapsedTicks = now;
            s.stopTicks = 0;
            s.stopped = false;
            return 0.0;
        case TimerCommand::Start:
            if (s.stopped) {
                s.baseTicks += now - s.stopTicks;
            }
            s.stopTicks = 0;
            s.lastElapsedTicks = now;
            s.stopped = false;
            return 0.0;
        case TimerCommand::Stop:
            if (!s.stopped) {
                s.stopTicks = now;
                s.lastElapsedTicks = now;
                s.stopped = true;
            }
            return 0.0;
        case TimerCommand::Advance:
            s.stopTicks += s.frequency / 10;
            return 0.0;
        case TimerCommand::AbsoluteTime:
            return static_cast<double>(now) / frequency;
        case TimerCommand::AppTime:
            return static_cast<double>(now - s.baseTicks) / frequency;
        case TimerCommand::ElapsedTime: {
            const double elapsed = static_cast<double>(now - s.lastElapsedTicks) / frequency;
            s.lastElapsedTicks = now;
            return elapsed;
        }
    }
    return -1.0;
}

double MillisecondCommand(TimerState& s, TimerCommand command) {
    double now;
    if (s.stopSeconds != 0.0 && ReadsFrozenMoment(command)) {
        now = s.stopSeconds;
    } else {
        now = static_cast<double>(s.clock->Milliseconds()) * 0.001;
    }
    switch (command) {
        case TimerCommand::Reset:
            s.baseSeconds = now;
            s.lastElapsedSeconds = now;
            s.stopSeconds = 0.0;
            s.stopped = false;
            return 0.0;
        case TimerCommand::Start:
            if (s.stopped) {
                s.baseSeconds += now - s.stopSeconds;
            }
            s.stopSeconds = 0.0;
            s.lastElapsedSeconds = now;
            s.stopped = false;
            return 0.0;
        case TimerCommand::Stop:
            if (!s.stopped) {
                s.stopSeconds = now;
                s.lastElapsedSeconds = now;
                s.stopped = true;
            }
            return 0.0;
        case TimerCommand::Advance:
            s.stopSeconds += kAdvanceSeconds;
            return 0.0;
        case TimerCommand::AbsoluteTime:
            return now;
        case TimerCommand::AppTime:
            return now - s.baseSeconds;
        case TimerCommand::ElapsedTime: {
            const double elapsed = now - s.lastElapsedSeconds;
            s.lastElapsedSeconds = now;
            return elapsed;
        }
    }
    return -1.0;
}

}  // namespace

double AppTimer(TimerCommand command) {
    if (!IsKnownCommand(command)) {
        return -1.0;
    }
    TimerState& s = State();
    if (s.clock == nullptr) {
        s.clock = &ProcessClock();
    }
    if (!s.initialised) {
        std::int64_t frequency = 0;
        s.usingCounter = s.clock->CounterFrequency(&frequency) && frequency > 0;
        s.frequency = s.usingCounter ? frequency : 0;
        s.initialised = true;
    }
    return s.usingCounter ? CounterCommand(s, command) : MillisecondCommand(s, command);
}

void ResetAppTimerState(Clock* clock) {
    State() = TimerState{};
    State().clock = clock;
}

}  // namespace tetrakon
