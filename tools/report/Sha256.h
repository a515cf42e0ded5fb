#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace sf {

// SHA-256 over data given in pieces.
class Sha256 {
  public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void update(std::span<const uint8_t> data);

    // The digest as 64 lower-case hex digits. Ends the computation.
    std::string finishHex();

    struct State;

  private:
    std::unique_ptr<State> state;
};

}  // namespace sf
