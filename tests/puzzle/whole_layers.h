#pragma once

#include <bitset>

#include <gtest/gtest.h>

#include "puzzle/layer_turn.h"
#include "puzzle/piece_table.h"
#include "solved_pieces.h"

namespace tetrakon::testing {

// Every layer test of every axis selects 4, 15 and 39 frames, each frame lies in exactly
// one layer of each axis, and every selection is made of whole pieces.
inline ::testing::AssertionResult LayersHoldWholePieces(const PieceTable& pieces) {
    constexpr std::size_t kExpected[3] = {4, 15, 39};
    for (int axis = 1; axis <= 4; ++axis) {
        std::bitset<kPieceSlotCount> all;
        for (int layer = 1; layer <= 3; ++layer) {
            const auto selected = SelectLayer(pieces, axis, layer);
            if (selected.count() != kExpected[layer - 1]) {
                return ::testing::AssertionFailure()
                       << "axis " << axis << " layer " << layer << " selects " << selected.count()
                       << " frames";
            }
            if ((all & selected).any()) {
                return ::testing::AssertionFailure()
                       << "axis " << axis << " layer " << layer << " overlaps another layer";
            }
            all |= selected;
            for (const SolvedPiece& piece : SolvedPieces()) {
                const bool first = selected.test(static_cast<std::size_t>(Slot(piece.frames[0])));
                for (const char* frame : piece.frames) {
                    if (selected.test(static_cast<std::size_t>(Slot(frame))) != first) {
                        return ::testing::AssertionFailure()
                               << "axis " << axis << " layer " << layer << " splits the piece of "
                               << piece.frames[0] << " at " << frame;
                    }
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace tetrakon::testing
