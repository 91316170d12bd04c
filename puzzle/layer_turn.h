#pragma once

#include <bitset>

#include "puzzle/piece_table.h"
#include "puzzle/turn_code.h"

// Turning one layer, one animation step at a time. Axes, layers and codes as in
// puzzle_geometry.h.

namespace tetrakon {

// One step of one layer turn: every frame into the axis's working frame, the layer found
// by its band against the blocks' current extent, the layer rotated by the step angle,
// every frame back. Allocates nothing. Does nothing while the table is unbound or when
// the axis, layer, flag or step count is out of range.
void RotateLayerStep(PieceTable& pieces, int axis, int layer, int flag, int steps);

// RotateLayerStep for the axis, layer and flag of `code`. A code outside 1 to 24 does
// nothing.
void DispatchTurn(PieceTable& pieces, TurnCode code, int steps);

// The slots that the layer test of (axis, layer) selects in the current state, found as
// RotateLayerStep finds them but without moving anything. Empty while unbound.
std::bitset<kPieceSlotCount> SelectLayer(const PieceTable& pieces, int axis, int layer);

}  // namespace tetrakon
