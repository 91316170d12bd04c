#pragma once

#include <cstdint>
#include <vector>

#include "puzzle/puzzle_session.h"
#include "puzzle/shuffle_services.h"
#include "puzzle_fixture.h"

namespace tetrakon::testing {

// A clock that moves `msPerRead` at every read, a fixed calendar time and a sleeper that
// only records what it was asked to wait.
struct FakeShuffleSystem {
    std::uint32_t seconds = 1;
    std::uint32_t milliseconds = 0;
    std::uint32_t msPerRead = 0;
    std::vector<std::uint32_t> sleeps;

    ShuffleServices Services() {
        return {[this] { return seconds; },
                [this] {
                    const std::uint32_t now = milliseconds;
                    milliseconds += msPerRead;
                    return now;
                },
                [this](std::uint32_t ms) { sleeps.push_back(ms); }};
    }
};

// The solved pyramid with the view's play state, driven frame by frame as the DrawFrame
// hook drives it. The shuffle settings start at their defaults: five turns, slow.
class SessionTest : public SolvedPuzzleTest {
  protected:
    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            session.AdvanceTurnAnimation();
            session.ShuffleStep(limit, fast);
        }
    }

    // Positions of every frame of `other` and of the session's pyramid agree within
    // `tolerance`.
    ::testing::AssertionResult SamePyramid(const Puzzle& other, float tolerance = 0) const {
        for (int slot = 0; slot < kPieceSlotCount; ++slot) {
            const float distance =
                Distance(puzzle.pieces.Position(slot), other.pieces.Position(slot));
            if (distance > tolerance) {
                return ::testing::AssertionFailure()
                       << PieceSlotName(slot) << " is " << distance << " away";
            }
        }
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult Solved(float tolerance = 2e-3f) const {
        for (int slot = 0; slot < kPieceSlotCount; ++slot) {
            const float distance = Distance(puzzle.pieces.Position(slot), SolvedOrigin(slot));
            if (distance > tolerance) {
                return ::testing::AssertionFailure()
                       << PieceSlotName(slot) << " is " << distance << " from its solved place";
            }
        }
        return ::testing::AssertionSuccess();
    }

    FakeShuffleSystem system;
    PuzzleSession session{puzzle.pieces, system.Services()};
    int limit = 5;
    bool fast = false;
};

}  // namespace tetrakon::testing
