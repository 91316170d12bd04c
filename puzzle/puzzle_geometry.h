#pragma once

// The pyramid's coordinate system. Every other file of the puzzle core refers to this
// comment.
//
// Matrices are row-major and act on row vectors: a point p maps to p x M, the translation
// is the fourth row, and A x B applies A first (gfxutil/matrix.h). The puzzle's state is
// nothing but the 58 frame matrices of the puzzle model, each relative to the model's
// root frame; a frame's position is the translation row of its matrix.
//
// Model space: +Y is up, the apex is on +Y, the base lies in the plane y = -9.428. The
// pyramid is regular with edge 34.641 and its centroid at (0, -2.357, 0). The four axes
// run from the centroid through one vertex each:
//
//   axis 1: apex         (0, 18.856, 0)          tip block Cone01
//   axis 2: base vertex  (-17.32, -9.428, 10)    tip block Cone06
//   axis 3: base vertex  (17.32, -9.428, 10)     tip block Cone05
//   axis 4: base vertex  (0, -9.428, -20)        tip block Cone07
//
// Each axis cuts the pyramid into three layers: layer 1 is the tip (the vertex's own small
// tetrahedron, 4 frames), layer 2 the middle layer (the axial centre and the three edges
// that end at the vertex, 15 frames), layer 3 the far layer (everything else, 39 frames).
// The face opposite vertex a carries the stickers of one colour: axis 1 the base (green,
// Gengon01-09), axis 4 blue (Gengon10-18), axis 3 red (Gengon19-27), axis 2 yellow
// (Gengon28-36).
//
// A turn rotates one layer of one axis by 120 degrees. It is named by a TurnCode from 1 to
// 24: axis a owns codes 6(a-1)+1 .. 6(a-1)+6; code 6(a-1)+l turns layer l with direction
// flag 0 and code 6(a-1)+l+3 turns the same layer with flag 1, the inverse turn
// (turn_code.h).
//
// To turn, every frame is carried into the axis's working frame W, where the axis lies
// along a coordinate axis (y for axis 1, which needs no move; x for axes 2 and 3 and z for
// axis 4, with the vertex about 22 from the origin), the layer is chosen by position bands
// along that coordinate, the layer is rotated about that coordinate axis, and everything
// is carried back by W' (working_frame.h, layer_band.h, layer_turn.h). The working frames
// use the constants below exactly as the game always has: kPhi is slightly larger than
// asin(1/3) and the lift slightly smaller than the centroid's depth, so a whole turn is a
// symmetry of the pyramid only to within about a hundredth; the band tolerances absorb
// that. Nothing snaps frames back to their places: single-precision rounding builds up
// slowly (about 0.03 after 10,000 random whole turns, 0.12 after 100,000), far inside
// the bands.

namespace tetrakon {

constexpr int kAxisCount = 4;
constexpr int kLayersPerAxis = 3;

// Tilt of a side axis out of the horizontal plane, in radians.
constexpr float kPhi = 0.339859247f;
// 30 degrees, in radians: turns a base vertex into the x = 0 or z = 0 plane.
constexpr float kThirtyDegrees = 0.52359879f;
// Lifts the centroid of the tilted pyramid up to (about) the origin.
constexpr float kWorkingFrameLift = 2.22f;
// Whole degrees to radians.
constexpr float kRadiansPerDegree = 0.0174532924f;

}  // namespace tetrakon
