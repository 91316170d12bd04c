#pragma once

// The rotations of the ideal regular pyramid of puzzle_geometry.h (edge 20 sqrt 3, apex at
// y = 40 sqrt 2 / 3, base at y = -20 sqrt 2 / 3), worked out in double precision apart from
// the turn code, as references for the turn tests.

#include <array>
#include <cmath>

#include "gfxutil/matrix.h"
#include "gfxutil/vector.h"

namespace tetrakon::testing {

struct IdealVec {
    double x = 0, y = 0, z = 0;
};

inline IdealVec IdealCentroid() {
    return {0.0, -5.0 * std::sqrt(2.0) / 3.0, 0.0};
}

// Vertex of axis 1 to 4.
inline IdealVec IdealVertex(int axis) {
    const double baseY = -20.0 * std::sqrt(2.0) / 3.0;
    switch (axis) {
        case 1:
            return {0.0, 40.0 * std::sqrt(2.0) / 3.0, 0.0};
        case 2:
            return {-10.0 * std::sqrt(3.0), baseY, 10.0};
        case 3:
            return {10.0 * std::sqrt(3.0), baseY, 10.0};
        default:
            return {0.0, baseY, -20.0};
    }
}

// Rotation by `degrees` about the line from the centroid towards `towards`, counter-
// clockwise seen from `towards`, as a row-vector matrix.
inline Matrix IdealRotation(IdealVec towards, double degrees) {
    const IdealVec c = IdealCentroid();
    double ux = towards.x - c.x, uy = towards.y - c.y, uz = towards.z - c.z;
    const double length = std::sqrt(ux * ux + uy * uy + uz * uz);
    ux /= length;
    uy /= length;
    uz /= length;
    const double a = degrees * 3.14159265358979323846 / 180.0;
    const double cs = std::cos(a), sn = std::sin(a), t = 1.0 - cs;
    // Column-vector rotation matrix (Rodrigues); the row-vector form is its transpose.
    const double r[3][3] = {
        {t * ux * ux + cs, t * ux * uy - sn * uz, t * ux * uz + sn * uy},
        {t * ux * uy + sn * uz, t * uy * uy + cs, t * uy * uz - sn * ux},
        {t * ux * uz - sn * uy, t * uy * uz + sn * ux, t * uz * uz + cs},
    };
    Matrix m;
    double translation[3] = {c.x, c.y, c.z};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            m.m[row][col] = static_cast<float>(r[col][row]);
        }
    }
    // p' = (p - c) R + c.
    const double cv[3] = {c.x, c.y, c.z};
    for (int col = 0; col < 3; ++col) {
        double moved = 0;
        for (int k = 0; k < 3; ++k) {
            moved += cv[k] * r[col][k];
        }
        translation[col] = cv[col] - moved;
    }
    m.m[3][0] = static_cast<float>(translation[0]);
    m.m[3][1] = static_cast<float>(translation[1]);
    m.m[3][2] = static_cast<float>(translation[2]);
    return m;
}

inline Matrix IdealAxisRotation(int axis, double degrees) {
    return IdealRotation(IdealVertex(axis), degrees);
}

// The 12 rotations that map the pyramid onto itself: the identity, a third of a turn
// either way about each vertex axis, and a half turn about each line through the
// midpoints of two opposite edges.
inline std::array<Matrix, 12> IdealSymmetries() {
    std::array<Matrix, 12> out;
    std::size_t n = 0;
    out[n++] = Matrix::Identity();
    for (int axis = 1; axis <= 4; ++axis) {
        out[n++] = IdealAxisRotation(axis, 120.0);
        out[n++] = IdealAxisRotation(axis, -120.0);
    }
    for (int other : {2, 3, 4}) {
        const IdealVec a = IdealVertex(1), b = IdealVertex(other);
        out[n++] = IdealRotation({(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2}, 180.0);
    }
    return out;
}

}  // namespace tetrakon::testing
