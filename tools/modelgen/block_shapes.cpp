#include "tools/modelgen/block_shapes.h"

#include <cmath>

#include "tools/modelgen/solved_geometry.h"

namespace tetrakon::modelgen {
namespace {

// The tabled corner orders already face outwards: each shape has positive volume.
constexpr BlockShape kShapes[3] = {
    {{0.0f, -4.714f, 0.0f},
     {{6.667f, -4.714f, 0.0f}, {-3.334f, -4.714f, 5.774f}, {-3.333f, -4.714f, -5.774f}},
     {0.0f, 4.714f, 0.0f}},
    {{0.0f, 1.058f, 0.0f},
     {{5.0f, 4.71f, -2.887f}, {1.667f, -4.714f, 2.887f}, {-3.003f, -0.219f, -5.202f}},
     {-5.0f, 4.714f, 2.887f}},
    {{1.641f, -0.517f, -1.787f},
     {{7.4f, -1.048f, 0.0f}, {-3.333f, -4.714f, 0.0f}, {0.0f, 4.714f, -5.774f}},
     {0.0f, 4.714f, 5.774f}},
};

bool LiesOnSurface(const Vec3 (&modelCorners)[3]) {
    for (PyramidFace face : kPyramidFaces) {
        const FacePlane plane = PlaneOfFace(face);
        bool onPlane = true;
        for (const Vec3& corner : modelCorners) {
            onPlane = onPlane && std::fabs(plane.DistanceOutside(corner)) <= kSurfaceTolerance;
        }
        if (onPlane) {
            return true;
        }
    }
    return false;
}

}  // namespace

int ShapeNumberOfBlock(int block) {
    if (block < 13) {
        return 1;
    }
    if (block >= 16 && block <= 18) {
        return 3;
    }
    return 2;
}

const BlockShape& ShapeOfBlock(int block) {
    return kShapes[ShapeNumberOfBlock(block) - 1];
}

ModelPart BuildBlock(int block) {
    const BlockShape& shape = ShapeOfBlock(block);
    ModelPart part;
    part.name = PieceFrameName(block);
    part.frame = PieceFrameMatrix(block);

    Vec3 triangles[6][3];
    for (int i = 0; i < 3; ++i) {
        const Vec3& from = shape.corner[i];
        const Vec3& to = shape.corner[(i + 1) % 3];
        triangles[i][0] = shape.basePoint;
        triangles[i][1] = from;
        triangles[i][2] = to;
        triangles[3 + i][0] = from;
        triangles[3 + i][1] = shape.apex;
        triangles[3 + i][2] = to;
    }
    for (const auto& corners : triangles) {
        Vec3 modelCorners[3];
        for (int i = 0; i < 3; ++i) {
            modelCorners[i] = TransformCoord(corners[i], part.frame);
        }
        PartTriangle triangle;
        for (int i = 0; i < 3; ++i) {
            triangle.corner[i] = corners[i];
        }
        triangle.material = MaterialIndex(
            &part, LiesOnSurface(modelCorners) ? SurfaceBlockGrey() : InnerBlockGrey());
        part.triangles.push_back(triangle);
    }
    return part;
}

}  // namespace tetrakon::modelgen
