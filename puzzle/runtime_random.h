#pragma once

#include <cstdint>

namespace tetrakon {

// The C runtime's rand()/srand() generator the shuffle has always drawn from, written out
// so that a seed gives the same turns on every platform: a linear congruential generator
// whose results are bits 16 to 30 of its state.
class RuntimeRandom {
  public:
    static constexpr int kMax = 0x7FFF;

    void Seed(std::uint32_t seed) { state_ = seed; }

    // 0 to kMax.
    int Next() {
        state_ = state_ * 214013u + 2531011u;  // wraps modulo 2^32
        return static_cast<int>((state_ >> 16) & kMax);
    }

  private:
    // The runtime's state before any srand().
    std::uint32_t state_ = 1;
};

}  // namespace tetrakon
