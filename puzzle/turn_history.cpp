#include "puzzle/turn_history.h"

namespace tetrakon {

void TurnHistory::Clear() {
    std::vector<TurnCode>().swap(turns_);
}

}  // namespace tetrakon
