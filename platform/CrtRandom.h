#pragma once

#include <cstdint>

namespace sf {

// The Microsoft C runtime's srand/rand generator, so that one seed gives the
// same draws, and so the same package, on every platform.
class CrtRandom {
  public:
    explicit CrtRandom(uint32_t seed) : state(seed) {}

    // A value from 0 to 0x7FFF, as rand() gives it.
    int next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }

  private:
    uint32_t state;
};

}  // namespace sf
