// A layer step runs in every drawn frame of a turn: it must not allocate. The count comes
// from replacing the global allocation functions, which clashes with the address
// sanitizer's own replacements; that build skips the check.

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "puzzle/turn_animator.h"
#include "puzzle_fixture.h"

#ifndef __SANITIZE_ADDRESS__

namespace {

int allocationCount = 0;

}  // namespace

void* operator new(std::size_t size) {
    ++allocationCount;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace tetrakon::testing {
namespace {

using TurnAllocation = SolvedPuzzleTest;

TEST_F(TurnAllocation, StepsAndTheAnimationAllocateNothing) {
    TurnAnimator animator(puzzle.pieces, nullptr, nullptr);
    const int before = allocationCount;
    for (TurnCode code = 1; code <= 24; ++code) {
        DispatchTurn(puzzle.pieces, code, 5);
        RotateLayerStep(puzzle.pieces, TurnAxis(code), TurnLayer(code), TurnFlag(code), 1);
        animator.StartTurn(code);
        for (int frame = 0; frame < 9; ++frame) {
            animator.AdvanceTurnAnimation();
        }
    }
    const int during = allocationCount - before;
    EXPECT_EQ(during, 0);
    // The counter does see allocations.
    ::operator delete(::operator new(16));
    EXPECT_GT(allocationCount - before, during);
}

}  // namespace
}  // namespace tetrakon::testing

#endif
