#pragma once

#include <functional>

#include "puzzle/piece_table.h"
#include "puzzle/shuffle.h"
#include "puzzle/shuffle_services.h"
#include "puzzle/turn_animator.h"
#include "puzzle/turn_code.h"
#include "puzzle/turn_history.h"

namespace tetrakon {

// What ReturnToStart asks of the 3-D view, in this order. Their results are not examined;
// an empty function is skipped.
struct ReturnToStartHooks {
    std::function<void()> reloadPieces;  // BindPieces: every frame back to its solved matrix
    std::function<void()> resetView;     // ViewRotation::Reset, as the centre command does
    std::function<void()> deviceLost;    // then DeviceReset: rebuild the device copies of
    std::function<void()> deviceReset;   // the reloaded meshes
};

// The puzzle's play state: the turn history, the single animation slot of user and undo
// turns, and the shuffle run, and the rules by which they share the drawn frames. The 3-D
// view owns one for the whole program run and calls AdvanceTurnAnimation and then
// ShuffleStep once per drawn frame.
//
// The pyramid is never left part-turned: return to start stops a running turn or shuffle
// before reloading, and a shuffle started during a user or undo turn takes its first step
// in the frame after the one that ends that turn.
class PuzzleSession {
  public:
    explicit PuzzleSession(PieceTable& pieces, ShuffleServices services = SystemShuffleServices());

    PuzzleSession(const PuzzleSession&) = delete;
    PuzzleSession& operator=(const PuzzleSession&) = delete;

    // A user turn (refused during a turn or shuffle, and for anything but a turn code).
    void StartTurn(TurnCode code) { animator.StartTurn(code); }
    // Takes back the last recorded turn by animating its inverse. Ignored during a turn or
    // a shuffle and with an empty history.
    void UndoTurn();
    // Stops any turn or shuffle, clears the history and reloads the solved pyramid.
    void ReturnToStart(const ReturnToStartHooks& hooks);
    // Clears the history and starts a shuffle run, or reseeds a running one.
    void StartShuffle() { shuffle.StartShuffle(); }

    // Once per drawn frame, in this order.
    void AdvanceTurnAnimation();
    void ShuffleStep(int limit, bool fast);

    bool turnInProgress() const { return animator.turnInProgress; }
    bool shuffleInProgress() const { return shuffle.shuffleInProgress; }

    TurnHistory history;
    Shuffle shuffle;
    TurnAnimator animator;

  private:
    // A user or undo turn held the animation slot at the start of this frame.
    bool turnHeldThisFrame_ = false;
};

}  // namespace tetrakon
