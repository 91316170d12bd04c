#include "gfxutil/matrix.h"

#include <cmath>

namespace tetrakon {

bool operator==(const Matrix& a, const Matrix& b) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (a.m[r][c] != b.m[r][c]) {
                return false;
            }
        }
    }
    return true;
}

Matrix operator*(const Matrix& a, const Matrix& b) {
    Matrix out;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out.m[r][c] = a.m[r][0] * b.m[0][c] + a.m[r][1] * b.m[1][c] + a.m[r][2] * b.m[2][c] +
                          a.m[r][3] * b.m[3][c];
        }
    }
    return out;
}

Matrix MatrixRotationX(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix out;
    out.m[1][1] = c;
    out.m[1][2] = s;
    out.m[2][1] = -s;
    out.m[2][2] = c;
    return out;
}

Matrix MatrixRotationY(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix out;
    out.m[0][0] = c;
    out.m[0][2] = -s;
    out.m[2][0] = s;
    out.m[2][2] = c;
    return out;
}

Matrix MatrixRotationZ(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix out;
    out.m[0][0] = c;
    out.m[0][1] = s;
    out.m[1][0] = -s;
    out.m[1][1] = c;
    return out;
}

Matrix MatrixTranslation(float x, float y, float z) {
    Matrix out;
    out.m[3][0] = x;
    out.m[3][1] = y;
    out.m[3][2] = z;
    return out;
}

Matrix MatrixScaling(float sx, float sy, float sz) {
    Matrix out;
    out.m[0][0] = sx;
    out.m[1][1] = sy;
    out.m[2][2] = sz;
    return out;
}

namespace {

// Determinant of the 3x3 matrix left after removing row `skipRow` and column `skipCol`.
float Minor(const Matrix& a, int skipRow, int skipCol) {
    float e[3][3];
    for (int r = 0, rr = 0; r < 4; ++r) {
        if (r == skipRow) {
            continue;
        }
        for (int c = 0, cc = 0; c < 4; ++c) {
            if (c == skipCol) {
                continue;
            }
            e[rr][cc++] = a.m[r][c];
        }
        ++rr;
    }
    return e[0][0] * (e[1][1] * e[2][2] - e[1][2] * e[2][1]) -
           e[0][1] * (e[1][0] * e[2][2] - e[1][2] * e[2][0]) +
           e[0][2] * (e[1][0] * e[2][1] - e[1][1] * e[2][0]);
}

}  // namespace

bool MatrixInverse(const Matrix& matrix, Matrix* out) {
    float cofactor[4][4];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            const float sign = ((r + c) % 2 == 0) ? 1.0f : -1.0f;
            cofactor[r][c] = sign * Minor(matrix, r, c);
        }
    }
    float determinant = 0;
    for (int c = 0; c < 4; ++c) {
        determinant += matrix.m[0][c] * cofactor[0][c];
    }
    if (determinant == 0.0f || !std::isfinite(determinant)) {
        return false;
    }
    const float scale = 1.0f / determinant;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out->m[r][c] = cofactor[c][r] * scale;  // adjugate is the transposed cofactors
        }
    }
    return true;
}

Matrix MatrixLookAtLH(Vec3 eye, Vec3 target, Vec3 up) {
    const Vec3 zAxis = Normalize(target - eye);
    const Vec3 xAxis = Normalize(Cross(up, zAxis));
    const Vec3 yAxis = Cross(zAxis, xAxis);
    Matrix out;
    out.m[0][0] = xAxis.x;
    out.m[1][0] = xAxis.y;
    out.m[2][0] = xAxis.z;
    out.m[0][1] = yAxis.x;
    out.m[1][1] = yAxis.y;
    out.m[2][1] = yAxis.z;
    out.m[0][2] = zAxis.x;
    out.m[1][2] = zAxis.y;
    out.m[2][2] = zAxis.z;
    out.m[3][0] = -Dot(xAxis, eye);
    out.m[3][1] = -Dot(yAxis, eye);
    out.m[3][2] = -Dot(zAxis, eye);
    return out;
}

Matrix MatrixPerspectiveFovLH(float fieldOfViewY, float aspect, float zNear, float zFar) {
    const float yScale = 1.0f / std::tan(fieldOfViewY / 2.0f);
    const float xScale = yScale / aspect;
    Matrix out;
    out.m[0][0] = xScale;
    out.m[1][1] = yScale;
    out.m[2][2] = zFar / (zFar - zNear);
    out.m[2][3] = 1.0f;
    out.m[3][2] = -zNear * zFar / (zFar - zNear);
    out.m[3][3] = 0.0f;
    return out;
}

Vec3 TransformCoord(Vec3 p, const Matrix& a) {
    const float x = p.x * a.m[0][0] + p.y * a.m[1][0] + p.z * a.m[2][0] + a.m[3][0];
    const float y = p.x * a.m[0][1] + p.y * a.m[1][1] + p.z * a.m[2][1] + a.m[3][1];
    const float z = p.x * a.m[0][2] + p.y * a.m[1][2] + p.z * a.m[2][2] + a.m[3][2];
    const float w = p.x * a.m[0][3] + p.y * a.m[1][3] + p.z * a.m[2][3] + a.m[3][3];
    if (w == 0.0f) {
        return {x, y, z};
    }
    return {x / w, y / w, z / w};
}

Vec3 TransformNormal(Vec3 p, const Matrix& a) {
    return {p.x * a.m[0][0] + p.y * a.m[1][0] + p.z * a.m[2][0],
            p.x * a.m[0][1] + p.y * a.m[1][1] + p.z * a.m[2][1],
            p.x * a.m[0][2] + p.y * a.m[1][2] + p.z * a.m[2][2]};
}

}  // namespace tetrakon
