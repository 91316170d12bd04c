#pragma once

#include "gfxutil/matrix.h"

// The working frame of each axis (axes as in puzzle_geometry.h): W carries the model so
// that the axis lies along one coordinate axis, W' carries it back. W' is rebuilt from its
// own factors and is not an exact inverse of W.

namespace tetrakon {

// W: identity x each factor of the axis in turn.
//   axis 1: T(0, 0, 0)
//   axis 2: RotY(-30 deg) x RotZ(-phi) x T(0, lift, 0)
//   axis 3: RotY(+30 deg) x RotZ(+phi) x T(0, lift, 0)
//   axis 4: RotX(+phi) x T(0, lift, 0)
Matrix WorkingFrame(int axis);

// W': identity x each factor of the way back.
//   axis 1: T(0, 0, 0)
//   axis 2: T(0, -lift, 0) x RotZ(+phi) x RotY(+30 deg)
//   axis 3: T(0, -lift, 0) x RotZ(-phi) x RotY(-30 deg)
//   axis 4: T(0, -lift, 0) x RotX(-phi)
Matrix WorkingFrameBack(int axis);

// The coordinate of a frame's position (translation row) along the axis inside its
// working frame: y for axis 1, x for axes 2 and 3, z for axis 4.
float MeasuredCoordinate(int axis, const Matrix& frameInWorkingFrame);

// Direction sign of a turn: axis 1 and 4 turn by -1 for flag 0, axes 2 and 3 by +1.
int TurnSign(int axis, int flag);

// The step angle in radians: trunc(sign x 120 / steps) whole degrees, converted in single
// precision.
float StepAngle(int axis, int flag, int steps);

// Rotation about the axis inside its working frame: RotY for axis 1, RotX for axes 2 and
// 3, RotZ for axis 4.
Matrix StepRotation(int axis, float angle);

}  // namespace tetrakon
