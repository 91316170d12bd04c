#include "puzzle/turn_animator.h"

#include "puzzle/layer_turn.h"

namespace tetrakon {

TurnAnimator::TurnAnimator(PieceTable& pieces, const bool* shuffleInProgress, TurnRecorder* history)
    : pieces_(pieces), shuffleInProgress_(shuffleInProgress), history_(history) {}

void TurnAnimator::StartTurn(TurnCode code) {
    if (turnInProgress || (shuffleInProgress_ != nullptr && *shuffleInProgress_)) {
        return;
    }
    currentTurn = code;
    if (history_ != nullptr) {
        history_->RecordTurn(code);
    }
    turnInProgress = true;
}

void TurnAnimator::AdvanceTurnAnimation() {
    if (!turnInProgress) {
        return;
    }
    if (turnStepCounter != UserTurnSteps) {
        DispatchTurn(pieces_, currentTurn, UserTurnSteps);
        ++turnStepCounter;
        return;
    }
    turnStepCounter = 0;
    turnInProgress = false;
}

}  // namespace tetrakon
