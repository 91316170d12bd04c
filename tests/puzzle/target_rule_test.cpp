// The turn targets of the picking model against the turns they start: clicking a half of
// a layer's band turns that layer so that the band moves, on that face, towards the
// clicked half.

#include <gtest/gtest.h>

#include "gfxutil/mesh.h"
#include "ideal_symmetry.h"
#include "puzzle/layer_turn.h"
#include "puzzle/turn_code.h"
#include "puzzle_fixture.h"

namespace tetrakon::testing {
namespace {

constexpr int kTargetGroups = 24;

// The turn code of target group g (planes 3g+1 to 3g+3 of the target model).
TurnCode GroupTurnCode(int group) {
    return 6 * (group / 6) + (group % 6) / 2 + 1 + 3 * (group % 2);
}

Vec3 Vertex(int axis) {
    const IdealVec v = IdealVertex(axis);
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

// Signed distance outside the face opposite vertex `opposite`.
float DistanceOutsideFace(Vec3 p, int opposite) {
    int corners[3];
    int n = 0;
    for (int axis = 1; axis <= 4; ++axis) {
        if (axis != opposite) {
            corners[n++] = axis;
        }
    }
    const Vec3 a = Vertex(corners[0]);
    Vec3 normal = Normalize(Cross(Vertex(corners[1]) - a, Vertex(corners[2]) - a));
    if (Dot(normal, a - Vertex(opposite)) < 0) {
        normal = normal * -1.0f;
    }
    return Dot(p - a, normal);
}

Vec3 SubsetCentroid(const Mesh& mesh, int subset) {
    const Subset& s = mesh.subsets[static_cast<std::size_t>(subset)];
    Vec3 sum;
    int count = 0;
    for (std::uint32_t f = s.faceStart; f < s.faceStart + s.faceCount; ++f) {
        for (std::uint32_t index : mesh.faces[f].index) {
            sum = sum + mesh.positions[index];
            ++count;
        }
    }
    return sum * (1.0f / static_cast<float>(count));
}

TEST(TurnTargets, GroupCodesFollowTheTurnLayout) {
    const TurnCode expected[kTargetGroups] = {1,  4,  2,  5,  3,  6,  7,  10, 8,  11, 9,  12,
                                              13, 16, 14, 17, 15, 18, 19, 22, 20, 23, 21, 24};
    for (int group = 0; group < kTargetGroups; ++group) {
        EXPECT_EQ(GroupTurnCode(group), expected[group]) << "group " << group;
    }
}

TEST(TurnTargets, EachTargetsTurnMovesItsBandTowardsTheTarget) {
    Puzzle probe;
    ASSERT_EQ(probe.Load(), S_OK);
    const Mesh* targets = probe.turnTargetMesh.sourceMesh();
    ASSERT_NE(targets, nullptr);
    ASSERT_EQ(targets->subsets.size(), 3u * kTargetGroups);

    for (int group = 0; group < kTargetGroups; ++group) {
        const TurnCode code = GroupTurnCode(group);
        const int axis = TurnAxis(code);
        for (int k = 0; k < 3; ++k) {
            const int plane = 3 * group + k;
            SCOPED_TRACE(::testing::Message() << "Plane" << plane + 1 << ", code " << code);
            const Vec3 target = SubsetCentroid(*targets, plane);

            // The face of the axis's vertex the target lies on, and the two other corners
            // of that face.
            int face = 0;
            for (int opposite = 1; opposite <= 4; ++opposite) {
                if (opposite != axis &&
                    (face == 0 || std::abs(DistanceOutsideFace(target, opposite)) <
                                      std::abs(DistanceOutsideFace(target, face)))) {
                    face = opposite;
                }
            }
            const float outside = DistanceOutsideFace(target, face);
            EXPECT_GE(outside, 0.0f);
            EXPECT_LE(outside, 0.62f);
            int corners[2];
            int n = 0;
            for (int v = 1; v <= 4; ++v) {
                if (v != axis && v != face) {
                    corners[n++] = v;
                }
            }
            // The median from the axis's vertex splits the face into the halves nearer to
            // each of the other two corners.
            const bool nearFirst =
                Distance(target, Vertex(corners[0])) < Distance(target, Vertex(corners[1]));
            const int towards = nearFirst ? corners[0] : corners[1];
            const int away = nearFirst ? corners[1] : corners[0];

            // Turn the layer on a fresh pyramid and follow the band's stickers on this face:
            // they cross the edge to the clicked half's corner, onto the face that lies
            // beyond it, the one opposite the far corner.
            Puzzle puzzle;
            ASSERT_EQ(puzzle.Load(), S_OK);
            const auto band = SelectLayer(puzzle.pieces, axis, TurnLayer(code));
            std::vector<int> stickers;
            for (int slot = kBlockSlotCount; slot < kPieceSlotCount; ++slot) {
                if (band.test(static_cast<std::size_t>(slot)) &&
                    std::abs(DistanceOutsideFace(puzzle.pieces.Position(slot), face)) < 0.5f) {
                    stickers.push_back(slot);
                }
            }
            const std::size_t expectedStickers[3] = {1, 3, 5};
            EXPECT_EQ(stickers.size(), expectedStickers[TurnLayer(code) - 1]);

            puzzle.Turn(code);
            for (int slot : stickers) {
                EXPECT_LT(std::abs(DistanceOutsideFace(puzzle.pieces.Position(slot), away)), 0.5f)
                    << PieceSlotName(slot) << " did not move towards the target's half (corner "
                    << towards << ")";
            }
        }
    }
}

}  // namespace
}  // namespace tetrakon::testing
