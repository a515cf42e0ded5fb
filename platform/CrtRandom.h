#pragma once

#include <cstdint>

namespace sf {

// The Microsoft C runtime's srand/rand generator, so that one seed gives the
// same draws, and so the same package, on every platform.
class CrtRandom {
  public:
    // One step: state = state * kMultiplier + kIncrement (mod 2^32).
    static constexpr uint32_t kMultiplier = 214013u;
    static constexpr uint32_t kIncrement = 2531011u;

    explicit CrtRandom(uint32_t seed) : state(seed) {}

    // A value from 0 to 0x7FFF, as rand() gives it: bits 16 to 30 of the new state.
    int next() {
        state = state * kMultiplier + kIncrement;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }

  private:
    uint32_t state;
};

}  // namespace sf
