#include "puzzle/puzzle_session.h"

#include <utility>

namespace tetrakon {

PuzzleSession::PuzzleSession(PieceTable& pieces, ShuffleServices services)
    : shuffle(pieces, history, std::move(services)),
      animator(pieces, &shuffle.shuffleInProgress, &history) {}

void PuzzleSession::UndoTurn() {
    if (history.empty()) {
        return;
    }
    if (animator.PlayTurn(InverseTurn(history.Last()))) {
        history.RemoveLast();
    }
}

void PuzzleSession::ReturnToStart(const ReturnToStartHooks& hooks) {
    // Whatever was turning stops here; its remaining steps must not land on the reloaded
    // model.
    animator.Stop();
    shuffle.Stop();
    history.Clear();
    for (const auto* hook :
         {&hooks.reloadPieces, &hooks.resetView, &hooks.deviceLost, &hooks.deviceReset}) {
        if (*hook) {
            (*hook)();
        }
    }
}

void PuzzleSession::AdvanceTurnAnimation() {
    turnHeldThisFrame_ = animator.turnInProgress;
    animator.AdvanceTurnAnimation();
}

void PuzzleSession::ShuffleStep(int limit, bool fast) {
    // A shuffle chosen during a user or undo turn waits until that turn has ended, so that
    // no frame turns two layers at once.
    if (turnHeldThisFrame_ || animator.turnInProgress) {
        return;
    }
    shuffle.ShuffleStep(limit, fast);
}

}  // namespace tetrakon
