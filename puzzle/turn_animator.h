#pragma once

#include "puzzle/piece_table.h"
#include "puzzle/turn_code.h"
#include "puzzle/turn_recorder.h"

namespace tetrakon {

// Steps of a user or undo turn: eight steps of 15 degrees.
constexpr int UserTurnSteps = 8;

// The single animation slot shared by user and undo turns. One turn is animated over
// nine drawn frames: eight that each turn the layer by one step and a ninth that ends the
// turn. The owner (the 3-D view) keeps one animator for the whole program run, so
// turnStepCounter lives as long as the process and is not reset when the model is
// reloaded.
class TurnAnimator {
  public:
    // `shuffleInProgress` (may be null: no shuffle) is the shuffle's running flag, read at
    // each StartTurn; `history` (may be null) receives every turn that starts.
    TurnAnimator(PieceTable& pieces, const bool* shuffleInProgress, TurnRecorder* history);

    // Starts a user turn unless a turn or a shuffle is running or `code` is not a turn
    // code: the code is recorded as the turn starts, and no frame moves until the next
    // AdvanceTurnAnimation. Refusing non-codes keeps them out of the history, where
    // taking them back would turn a real layer.
    void StartTurn(TurnCode code);

    // Starts animating `code` without recording it (an undo turn). Refused, returning
    // false, under the same conditions as StartTurn.
    bool PlayTurn(TurnCode code);

    // Abandons the running turn, if any, and leaves the slot idle with its counter at 0.
    void Stop();

    // Once per drawn frame: one step of the running turn, or the end of it.
    void AdvanceTurnAnimation();

    bool turnInProgress = false;
    TurnCode currentTurn = 0;
    int turnStepCounter = 0;

  private:
    PieceTable& pieces_;
    const bool* shuffleInProgress_;
    TurnRecorder* history_;
};

}  // namespace tetrakon
