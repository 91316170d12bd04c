#include "puzzle/turn_animator.h"

#include "puzzle/layer_turn.h"

namespace tetrakon {

TurnAnimator::TurnAnimator(PieceTable& pieces, const bool* shuffleInProgress, TurnRecorder* history)
    : pieces_(pieces), shuffleInProgress_(shuffleInProgress), history_(history) {}

void TurnAnimator::StartTurn(TurnCode code) {
    if (PlayTurn(code) && history_ != nullptr) {
        history_->RecordTurn(code);
    }
}

bool TurnAnimator::PlayTurn(TurnCode code) {
    const bool shuffling = shuffleInProgress_ != nullptr && *shuffleInProgress_;
    if (turnInProgress || shuffling || !IsTurnCode(code)) {
        return false;
    }
    currentTurn = code;
    turnInProgress = true;
    return true;
}

void TurnAnimator::Stop() {
    turnInProgress = false;
    turnStepCounter = 0;
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
