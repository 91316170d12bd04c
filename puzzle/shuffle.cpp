#include "puzzle/shuffle.h"

#include <utility>

#include "puzzle/layer_turn.h"

namespace tetrakon {

namespace {

constexpr int kTurnCodeCount = kLastTurnCode - kFirstTurnCode + 1;

}  // namespace

TurnCode ApplyAvoidRule(TurnCode drawn, TurnCode& avoid) {
    TurnCode code = drawn;
    if (code == avoid + 3) {
        code -= 1;
        avoid = code;
    }
    // After the first rule has fired this cannot hold: code is then avoid itself.
    if (code == avoid - 3) {
        code += 1;
        avoid = code;
    }
    return code;
}

Shuffle::Shuffle(PieceTable& pieces, TurnHistory& history, ShuffleServices services)
    : pieces_(pieces), history_(history), services_(std::move(services)) {}

void Shuffle::StartShuffle() {
    history_.Clear();
    random_.Seed(services_.seedSeconds());
    shuffleInProgress = true;
}

void Shuffle::ShuffleStep(int limit, bool fast) {
    if (!shuffleInProgress) {
        return;
    }
    const int steps = fast ? FastShuffleSteps : SlowShuffleSteps;
    if (shuffleTurnsDone >= limit) {
        shuffleTurnsDone = 0;
        shuffleInProgress = false;
        return;
    }
    if (shuffleStepCounter == steps) {
        // The turn is complete: record it and draw the next; no step in this frame.
        shuffleStepCounter = 0;
        history_.RecordTurn(shuffleTurn);
        DrawNextTurn();
        ++shuffleTurnsDone;
        return;
    }
    const std::uint32_t t0 = services_.milliseconds();
    DispatchTurn(pieces_, shuffleTurn, steps);
    ++shuffleStepCounter;
    WaitAfterStep(t0, steps);
}

void Shuffle::Stop() {
    shuffleInProgress = false;
    shuffleStepCounter = 0;
    shuffleTurnsDone = 0;
}

void Shuffle::DrawNextTurn() {
    shuffleTurn = ApplyAvoidRule(random_.Next() % kTurnCodeCount + kFirstTurnCode, shuffleAvoid);
}

// Slows a slow shuffle down to a visible pace (at least 4 ms a step) without holding the
// processor.
void Shuffle::WaitAfterStep(std::uint32_t t0, int steps) {
    const auto wanted = static_cast<std::uint32_t>(steps - 1);
    const std::uint32_t elapsed = services_.milliseconds() - t0;
    if (elapsed < wanted) {
        services_.sleepMilliseconds(wanted - elapsed);
    }
}

}  // namespace tetrakon
