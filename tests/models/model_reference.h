#pragma once

// Reference values the model files are checked against, written out independently of the
// generator's own tables.

#include "tests/reference/solved_frames.h"

namespace tetrakon::modeltest {

using reference::FrameRow;
using reference::kFrames;
using reference::kOrientationClasses;

// The first two target groups as the original model has them, corners in order.
constexpr float kFirstTargets[6][3][3] = {
    {{-0.06f, 9.45f, -6.67f}, {-2.87f, 9.5f, -2.07f}, {-0.21f, 13.19f, -4.18f}},  // Plane01
    {{5.8f, 9.43f, 3.32f}, {3.21f, 9.43f, -1.44f}, {4.15f, 12.3f, 2.21f}},        // Plane02
    {{-5.77f, 9.44f, 3.49f}, {0.02f, 9.44f, 3.49f}, {-3.66f, 12.86f, 2.28f}},     // Plane03
    {{-2.83f, 9.49f, -1.95f}, {-5.82f, 9.43f, 3.3f}, {-4.1f, 12.4f, 2.24f}},      // Plane04
    {{0.22f, 12.31f, -4.74f}, {0.16f, 9.43f, -6.75f}, {3.18f, 9.43f, -1.43f}},    // Plane05
    {{0.0f, 9.43f, 3.49f}, {3.92f, 12.45f, 2.42f}, {5.77f, 9.43f, 3.49f}},        // Plane06
};

}  // namespace tetrakon::modeltest
