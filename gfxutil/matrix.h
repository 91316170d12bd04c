#pragma once

#include "gfxutil/vector.h"

namespace tetrakon {

// 4x4 single-precision matrix for row vectors: a point p maps to p x M, so the
// translation sits in the fourth row, and A x B applies A first. m[row][column],
// both counted from 0; the text elsewhere counts from 1 (M41 is m[3][0]).
struct Matrix {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    static Matrix Identity() { return Matrix{}; }
    Vec3 TranslationRow() const { return {m[3][0], m[3][1], m[3][2]}; }
};

bool operator==(const Matrix& a, const Matrix& b);

// A x B: the transform that applies A, then B. Each element is summed left to right in
// single precision, so repeated products round exactly as float arithmetic does.
Matrix operator*(const Matrix& a, const Matrix& b);

Matrix MatrixRotationX(float angle);
Matrix MatrixRotationY(float angle);
Matrix MatrixRotationZ(float angle);
Matrix MatrixTranslation(float x, float y, float z);
Matrix MatrixScaling(float sx, float sy, float sz);

// Inverse by cofactors. Returns false, and leaves *out alone, for a singular matrix.
bool MatrixInverse(const Matrix& matrix, Matrix* out);

// Left-handed camera: eye looking at target, with the given up direction.
Matrix MatrixLookAtLH(Vec3 eye, Vec3 target, Vec3 up);

// Left-handed perspective projection; depth maps to 0 at zNear and 1 at zFar.
Matrix MatrixPerspectiveFovLH(float fieldOfViewY, float aspect, float zNear, float zFar);

// p x M for the point (p, 1), divided by the resulting w.
Vec3 TransformCoord(Vec3 p, const Matrix& matrix);

// p x M for the direction (p, 0): translation is ignored.
Vec3 TransformNormal(Vec3 p, const Matrix& matrix);

}  // namespace tetrakon
