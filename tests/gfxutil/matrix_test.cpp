#include "gfxutil/matrix.h"

#include <gtest/gtest.h>

namespace tetrakon {
namespace {

TEST(Matrix, ProductAppliesLeftFactorFirst) {
    // Translate then rotate 90 degrees about Z: (1, 0, 0) -> (2, 0, 0) -> (0, 2, 0).
    const Matrix m = MatrixTranslation(1, 0, 0) * MatrixRotationZ(1.5707964f);
    const Vec3 p = TransformCoord({1, 0, 0}, m);
    EXPECT_NEAR(p.x, 0.0f, 1e-6f);
    EXPECT_NEAR(p.y, 2.0f, 1e-6f);
}

}  // namespace
}  // namespace tetrakon
