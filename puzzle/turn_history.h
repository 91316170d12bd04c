#pragma once

#include <cstddef>
#include <vector>

#include "puzzle/turn_code.h"
#include "puzzle/turn_recorder.h"

namespace tetrakon {

// The turns made since the last shuffle command or return to start, oldest first, so that
// they can be taken back one by one. No size limit of its own.
class TurnHistory : public TurnRecorder {
  public:
    void RecordTurn(TurnCode code) override { turns_.push_back(code); }

    bool empty() const { return turns_.empty(); }
    // The most recent turn. Only when not empty.
    TurnCode Last() const { return turns_.back(); }
    // Forgets the most recent turn. Only when not empty.
    void RemoveLast() { turns_.pop_back(); }
    // Forgets every turn and gives the storage back: a long session of turns should not
    // keep its memory after the pyramid is shuffled or reset.
    void Clear();

    const std::vector<TurnCode>& turns() const { return turns_; }

  private:
    std::vector<TurnCode> turns_;
};

}  // namespace tetrakon
