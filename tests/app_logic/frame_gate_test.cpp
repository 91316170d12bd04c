#include "app/logic/frame_gate.h"

#include <gtest/gtest.h>

namespace tetrakon {
namespace {

using std::chrono::milliseconds;

// One row per rule of whether an idle pass steps, after one present into window `a`.
TEST(FrameGate, StepsOnlyWhereEveryRuleAllows) {
    const int a = 0;
    const int b = 0;
    struct Row {
        const char* rule;
        bool paced;
        bool minimised;
        bool active;
        const void* target;
        milliseconds since;
        bool readyAgain;
        bool steps;
    };
    const Row rows[] = {
        {"an X11 window steps at once", false, false, true, &a, milliseconds(0), false, true},
        {"minimised: no step", false, true, true, &a, milliseconds(500), false, false},
        {"inactive view: no step", true, false, false, &a, milliseconds(500), true, false},
        {"Wayland: waits for the frame callback", true, false, true, &a, milliseconds(99), false,
         false},
        {"Wayland: the callback ends the wait", true, false, true, &a, milliseconds(1), true, true},
        {"Wayland: the wait ends after 100 ms", true, false, true, &a, milliseconds(100), false,
         true},
        {"Wayland: another window is not held", true, false, true, &b, milliseconds(0), false,
         true},
    };
    const FrameGate::Clock::time_point start{};
    for (const Row& row : rows) {
        FrameGate gate(row.paced);
        gate.Presented(&a, 100, 100, true, start);
        if (row.readyAgain) {
            gate.WindowReady(&a);
        }
        EXPECT_EQ(gate.MayStep(row.minimised, row.active, row.target, start + row.since), row.steps)
            << row.rule;
    }
}

// Mesa keeps a window's old size until its next swap: the first present at a new size
// on screen is followed by one more frame, and only that one.
TEST(FrameGate, OneMoreFrameAfterTheFirstPresentAtANewSizeOnScreen) {
    const int window = 0;
    FrameGate gate(false);
    EXPECT_TRUE(gate.Presented(&window, 100, 30, true));
    EXPECT_FALSE(gate.Presented(&window, 100, 30, true));
    EXPECT_FALSE(gate.Presented(&window, 532, 379, false)) << "not on screen: nothing swapped";
    EXPECT_TRUE(gate.Presented(&window, 532, 379, true));
    EXPECT_TRUE(gate.Presented(&window, 532, 380, true));
}

}  // namespace
}  // namespace tetrakon
