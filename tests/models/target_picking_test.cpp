#include <gtest/gtest.h>

#include "resources/module_resources.h"
#include "scene/pick_turn.h"
#include "tests/models/model_test_support.h"

namespace tetrakon::modeltest {
namespace {

struct PickModels {
    Mesh hull;
    Mesh targets;
};

void LoadPickModels(PickModels* models) {
    XFile hull, targets;
    ASSERT_TRUE(ReadXFile(FindResource(kHullModelId, "X"), &hull).ok());
    ASSERT_TRUE(ReadXFile(FindResource(kTurnTargetModelId, "X"), &targets).ok());
    ASSERT_TRUE(LoadMergedMesh(hull, &models->hull).ok());
    ASSERT_TRUE(LoadMergedMesh(targets, &models->targets).ok());
    ASSERT_EQ(models->targets.subsets.size(), 72u);
}

int PickedCode(const PickModels& models, Vec3 origin, Vec3 direction) {
    return PickTurnAlongRay(models.hull, models.targets, {origin, direction});
}

Vec3 SubsetCentroid(const Mesh& mesh, std::uint32_t subset) {
    const Triangle& face = mesh.faces[mesh.subsets[subset].faceStart];
    return (mesh.positions[face.index[0]] + mesh.positions[face.index[1]] +
            mesh.positions[face.index[2]]) *
           (1.0f / 3.0f);
}

Plane NearestFacePlane(Vec3 p) {
    Plane best = FacePlaneWithout(1);
    for (int missing = 2; missing <= 4; ++missing) {
        const Plane plane = FacePlaneWithout(missing);
        if (std::fabs(plane.Outside(p)) < std::fabs(best.Outside(p)))
            best = plane;
    }
    return best;
}

// Every target can be clicked: a ray at its centre, straight on or slanted, picks the
// target's own turn.
TEST(TargetPicking, EveryTargetPicksItsOwnTurn) {
    PickModels models;
    LoadPickModels(&models);
    for (std::uint32_t plane = 0; plane < 72; ++plane) {
        const Vec3 centre = SubsetCentroid(models.targets, plane);
        const Vec3 normal = NearestFacePlane(centre).normal;
        const Vec3 side = Normalize(Cross(normal, Vec3{0.3f, 0.8f, 0.5f}));
        const Vec3 across = Cross(normal, side);
        const Vec3 slants[5] = {{}, side * 0.15f, side * -0.15f, across * 0.15f, across * -0.15f};
        for (const Vec3& slant : slants) {
            const Vec3 direction = (normal + slant) * -1.0f;
            EXPECT_EQ(PickedCode(models, centre - direction * 40.0f, direction),
                      TargetGroupTurnCode(static_cast<int>(plane / 3)))
                << "Plane" << plane + 1 << " slant " << slant.x << "," << slant.y << "," << slant.z;
        }
    }
}

TEST(TargetPicking, BodyBetweenTargetsPicksNothing) {
    PickModels models;
    LoadPickModels(&models);
    // Straight down onto the apex: the targets of the tip stop short of it.
    EXPECT_EQ(PickedCode(models, {0.0f, 40.0f, 0.0f}, {0.0f, -1.0f, 0.0f}), 0);
    // Straight at the middle of each face, where six sticker triangles meet.
    for (int missing = 1; missing <= 4; ++missing) {
        Vec3 centre;
        for (int axis = 1; axis <= 4; ++axis) {
            if (axis != missing)
                centre = centre + Corner(axis) * (1.0f / 3.0f);
        }
        const Vec3 normal = FacePlaneWithout(missing).normal;
        EXPECT_EQ(PickedCode(models, centre + normal * 40.0f, normal * -1.0f), 0)
            << "face without " << missing;
    }
}

}  // namespace
}  // namespace tetrakon::modeltest
