#pragma once

#include "gfxutil/matrix.h"

namespace tetrakon {

// (x, y, z) is the vector part and w the scalar part.
struct Quaternion {
    float x = 0, y = 0, z = 0, w = 1;
};

// The rotation `first` followed by `then`; equal to the Hamilton product then * first.
Quaternion QuaternionMultiply(const Quaternion& first, const Quaternion& then);

// Rotation matrix of a unit quaternion, for row vectors (p' = p x M).
Matrix MatrixRotationQuaternion(const Quaternion& q);

}  // namespace tetrakon
