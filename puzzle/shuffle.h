#pragma once

#include "puzzle/piece_table.h"
#include "puzzle/runtime_random.h"
#include "puzzle/shuffle_services.h"
#include "puzzle/turn_code.h"
#include "puzzle/turn_history.h"

namespace tetrakon {

// Steps of a shuffle turn: five of 24 degrees, or one of 120 degrees when fast.
constexpr int SlowShuffleSteps = 5;
constexpr int FastShuffleSteps = 1;

// The redraw rule applied to each freshly drawn code: a draw of `avoid` + 3 becomes one
// less, a draw of `avoid` - 3 one more, and either change makes the result the new code to
// avoid. Any other draw passes unchanged and leaves `avoid` alone.
TurnCode ApplyAvoidRule(TurnCode drawn, TurnCode& avoid);

// A run of random turns, animated one step per drawn frame. The run state lives as long as
// the owner and is shared by all runs: the last code drawn in one run is the first turn of
// the next.
class Shuffle {
  public:
    Shuffle(PieceTable& pieces, TurnHistory& history, ShuffleServices services);

    // The shuffle command: clears the history, reseeds the generator from the clock and
    // starts (or, during a run, continues) the run with its counters as they are.
    void StartShuffle();

    // Once per drawn frame while no user or undo turn runs. `limit` is the number of turns
    // of a run ("NumberRandomRotate"); a limit of 0 or less ends the run at once. `fast`
    // ("FastRandomRotate") must not change while a turn is part-way through. A slow step
    // then gives up the processor until steps - 1 ms have passed since the frame's step
    // began.
    void ShuffleStep(int limit, bool fast);

    // Ends any run at once and drops the part-played turn, so that the next run plays its
    // first turn from the beginning. shuffleTurn and shuffleAvoid keep their values.
    void Stop();

    bool shuffleInProgress = false;
    TurnCode shuffleTurn = 1;
    TurnCode shuffleAvoid = 1;
    int shuffleStepCounter = 0;
    int shuffleTurnsDone = 0;

  private:
    void DrawNextTurn();
    void WaitAfterStep(std::uint32_t t0, int steps);

    PieceTable& pieces_;
    TurnHistory& history_;
    ShuffleServices services_;
    RuntimeRandom random_;
};

}  // namespace tetrakon
