#pragma once

// The solved pyramid as the models store it: its corners and faces, and the place,
// orientation and colour of each of the 58 piece frames.

#include <array>
#include <string>

#include "gfxutil/matrix.h"
#include "gfxutil/mesh.h"
#include "gfxutil/vector.h"

namespace tetrakon::modelgen {

constexpr int kBlockCount = 22;
constexpr int kStickerCount = 36;
constexpr int kPieceFrameCount = kBlockCount + kStickerCount;

// The vertex of axis a (1 to 4) is PyramidVertex(a).
Vec3 PyramidVertex(int axis);
Vec3 PyramidCentroid();

// The four faces, named by the axis whose vertex they do not contain.
enum class PyramidFace { Base = 1, Blue = 4, Red = 3, Yellow = 2 };
constexpr std::array<PyramidFace, 4> kPyramidFaces = {PyramidFace::Base, PyramidFace::Blue,
                                                      PyramidFace::Red, PyramidFace::Yellow};

int OppositeAxis(PyramidFace face);
bool FaceHasVertex(PyramidFace face, int axis);

// A face plane: unit normal pointing out of the pyramid, and the offset along it, so that
// Dot(normal, p) - offset is how far p lies outside the face.
struct FacePlane {
    Vec3 normal;
    float offset = 0;
    float DistanceOutside(Vec3 p) const { return Dot(normal, p) - offset; }
};
FacePlane PlaneOfFace(PyramidFace face);

// The sticker colour of a face, alpha 1.
ColorValue FaceColour(PyramidFace face);

// Grey of the blocks: faces inside the pyramid, and faces on its surface under a sticker.
ColorValue InnerBlockGrey();
ColorValue SurfaceBlockGrey();

// Piece frame k (0 to 57): "Cone01".."Cone22", then "Gengon01".."Gengon36".
std::string PieceFrameName(int frame);
bool IsBlockFrame(int frame);

// The frame's stored matrix: its orientation class in the upper 3x3, its origin in the
// fourth row.
Matrix PieceFrameMatrix(int frame);
Vec3 PieceFrameOrigin(int frame);
int PieceFrameOrientationClass(int frame);  // 1 to 9

// The face a sticker lies on; sticker is 0 to 35 ("Gengon01" is 0).
PyramidFace StickerFace(int sticker);

}  // namespace tetrakon::modelgen
