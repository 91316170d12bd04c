#pragma once

// Turn codes name the 24 whole turns; the layout is fixed in puzzle_geometry.h.

namespace tetrakon {

using TurnCode = int;

constexpr TurnCode kFirstTurnCode = 1;
constexpr TurnCode kLastTurnCode = 24;

constexpr bool IsTurnCode(TurnCode code) {
    return code >= kFirstTurnCode && code <= kLastTurnCode;
}

// Axis 1 to 4.
constexpr int TurnAxis(TurnCode code) {
    return (code - 1) / 6 + 1;
}
// Layer 1 (tip), 2 (middle) or 3 (far).
constexpr int TurnLayer(TurnCode code) {
    return (code - 1) % 3 + 1;
}
// Direction flag 0 or 1.
constexpr int TurnFlag(TurnCode code) {
    return ((code - 1) / 3) % 2;
}

// The same axis and layer with the other flag.
constexpr TurnCode InverseTurn(TurnCode code) {
    return TurnFlag(code) == 0 ? code + 3 : code - 3;
}

constexpr TurnCode MakeTurnCode(int axis, int layer, int flag) {
    return 6 * (axis - 1) + 3 * flag + layer;
}

}  // namespace tetrakon
