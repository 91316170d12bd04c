#include "puzzle/layer_turn.h"

#include "puzzle/layer_band.h"
#include "puzzle/puzzle_geometry.h"
#include "puzzle/working_frame.h"

namespace tetrakon {

namespace {

bool ValidLayer(int axis, int layer) {
    return axis >= 1 && axis <= kAxisCount && layer >= 1 && layer <= kLayersPerAxis;
}

}  // namespace

void RotateLayerStep(PieceTable& pieces, int axis, int layer, int flag, int steps) {
    if (!pieces.bound() || !ValidLayer(axis, layer) || (flag != 0 && flag != 1) || steps <= 0) {
        return;
    }
    pieces.ApplyToAllPieces(WorkingFrame(axis));

    LayerExtremes extremes;
    for (int slot = 0; slot < kBlockSlotCount; ++slot) {
        extremes.Include(MeasuredCoordinate(axis, pieces.matrix(slot)));
    }

    const Matrix rotation = StepRotation(axis, StepAngle(axis, flag, steps));
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        Matrix& frame = pieces.matrix(slot);
        if (InLayerBand(axis, layer, MeasuredCoordinate(axis, frame), extremes)) {
            frame = frame * rotation;
        }
    }

    pieces.ApplyToAllPieces(WorkingFrameBack(axis));
}

void DispatchTurn(PieceTable& pieces, TurnCode code, int steps) {
    if (!IsTurnCode(code)) {
        return;
    }
    RotateLayerStep(pieces, TurnAxis(code), TurnLayer(code), TurnFlag(code), steps);
}

std::bitset<kPieceSlotCount> SelectLayer(const PieceTable& pieces, int axis, int layer) {
    std::bitset<kPieceSlotCount> selected;
    if (!pieces.bound() || !ValidLayer(axis, layer)) {
        return selected;
    }
    const Matrix w = WorkingFrame(axis);
    float measured[kPieceSlotCount];
    LayerExtremes extremes;
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        measured[slot] = MeasuredCoordinate(axis, pieces.matrix(slot) * w);
        if (slot < kBlockSlotCount) {
            extremes.Include(measured[slot]);
        }
    }
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        selected[static_cast<std::size_t>(slot)] =
            InLayerBand(axis, layer, measured[slot], extremes);
    }
    return selected;
}

}  // namespace tetrakon
