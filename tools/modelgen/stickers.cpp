#include "tools/modelgen/stickers.h"

#include "tools/modelgen/solved_geometry.h"

namespace tetrakon::modelgen {
namespace {

Vec3 Raised(Vec3 p, float height) {
    return {p.x, p.y + height, p.z};
}

// The slab is convex, so a triangle faces outwards when its normal points away from the
// slab's centre.
PartTriangle Outward(Vec3 a, Vec3 b, Vec3 c, Vec3 centre) {
    const Vec3 faceCentre = (a + b + c) * (1.0f / 3.0f);
    if (Dot(Cross(b - a, c - a), faceCentre - centre) < 0.0f) {
        return {{a, c, b}, 0};
    }
    return {{a, b, c}, 0};
}

struct Slab {
    Vec3 low[3];
    Vec3 high[3];
};

Slab CanonicalSlab() {
    Slab slab;
    for (int i = 0; i < 3; ++i) {
        slab.low[i] = kStickerCorners[i];
        slab.high[i] = Raised(kStickerCorners[i], kStickerThickness);
    }
    return slab;
}

Slab Transformed(const Slab& slab, const Matrix& matrix) {
    Slab out;
    for (int i = 0; i < 3; ++i) {
        out.low[i] = TransformCoord(slab.low[i], matrix);
        out.high[i] = TransformCoord(slab.high[i], matrix);
    }
    return out;
}

Vec3 Centre(const Slab& slab) {
    Vec3 sum;
    for (int i = 0; i < 3; ++i) {
        sum = sum + slab.low[i] + slab.high[i];
    }
    return sum * (1.0f / 6.0f);
}

// The red and yellow faces are the blue face turned a third of a turn either way about the
// vertical axis, which runs through the apex and the centroid.
Matrix BlueFaceTo(PyramidFace face) {
    const float sine = 0.8660254f;
    Matrix turn;
    turn.m[0][0] = -0.5f;
    turn.m[2][2] = -0.5f;
    const float s = face == PyramidFace::Red ? -sine : sine;
    turn.m[0][2] = -s;
    turn.m[2][0] = s;
    return turn;
}

// The slab in the sticker's own coordinates. The base and blue stickers are the canonical
// slab. The red and yellow ones have less exact frame orientations that would tilt it by up
// to 0.9 off their face, so they take the model-space place of the blue sticker that the
// face's symmetry carries nearest to them, brought back through the inverse frame matrix.
Slab LocalSlab(int sticker) {
    const Slab canonical = CanonicalSlab();
    const PyramidFace face = StickerFace(sticker);
    if (face == PyramidFace::Base || face == PyramidFace::Blue) {
        return canonical;
    }
    const Matrix frame = PieceFrameMatrix(kBlockCount + sticker);
    const Vec3 placedCentre = Centre(Transformed(canonical, frame));
    const Matrix turn = BlueFaceTo(face);
    Slab best;
    float bestDistance = 0.0f;
    for (int blue = 9; blue < 18; ++blue) {
        const Slab candidate =
            Transformed(Transformed(canonical, PieceFrameMatrix(kBlockCount + blue)), turn);
        const float distance = Length(Centre(candidate) - placedCentre);
        if (blue == 9 || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    Matrix toFrame;
    MatrixInverse(frame, &toFrame);
    return Transformed(best, toFrame);
}

}  // namespace

ModelPart BuildSticker(int sticker) {
    const int frame = kBlockCount + sticker;
    ModelPart part;
    part.name = PieceFrameName(frame);
    part.frame = PieceFrameMatrix(frame);
    MaterialIndex(&part, FaceColour(StickerFace(sticker)));

    const Slab local = LocalSlab(sticker);
    const Vec3* low = local.low;
    const Vec3* high = local.high;
    const Vec3 centre = Centre(local);

    part.triangles.push_back(Outward(high[0], high[1], high[2], centre));
    part.triangles.push_back(Outward(low[0], low[1], low[2], centre));
    for (int i = 0; i < 3; ++i) {
        const int next = (i + 1) % 3;
        part.triangles.push_back(Outward(low[i], low[next], high[next], centre));
        part.triangles.push_back(Outward(low[i], high[next], high[i], centre));
    }
    return part;
}

}  // namespace tetrakon::modelgen
