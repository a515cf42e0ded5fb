#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/Expected.h"

namespace sf {

// SHA-256 over data given in pieces.
class Sha256 {
  public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void update(std::span<const uint8_t> data);

    // The 32-byte digest, or an error when the system's cryptography library
    // failed at any step. Ends the computation.
    Expected<std::array<uint8_t, 32>> finish();

    struct State;

  private:
    std::unique_ptr<State> state;
};

}  // namespace sf
