#pragma once

#include "puzzle/turn_code.h"

namespace tetrakon {

// Where a started user turn is recorded so that it can be taken back. The turn history
// implements it; the animator only appends.
class TurnRecorder {
  public:
    virtual ~TurnRecorder() = default;
    virtual void RecordTurn(TurnCode code) = 0;
};

}  // namespace tetrakon
