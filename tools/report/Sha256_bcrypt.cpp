#include <windows.h>
// bcrypt.h needs the types of windows.h first.
#include <bcrypt.h>

#include <algorithm>

#include "tools/report/Sha256.h"

namespace sf {

// SHA-256 through the system's own cryptography API (CNG).
struct Sha256::State {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    ~State() {
        if (hash != nullptr) BCryptDestroyHash(hash);
        if (algorithm != nullptr) BCryptCloseAlgorithmProvider(algorithm, 0);
    }
};

Sha256::Sha256() : state(std::make_unique<State>()) {
    BCryptOpenAlgorithmProvider(&state->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
    BCryptCreateHash(state->algorithm, &state->hash, nullptr, 0, nullptr, 0, 0);
}

Sha256::~Sha256() = default;

void Sha256::update(std::span<const uint8_t> data) {
    // BCryptHashData takes at most a ULONG's worth of bytes at a time.
    constexpr size_t kLargestPiece = 1u << 30;
    while (!data.empty()) {
        const auto piece = data.first(std::min(data.size(), kLargestPiece));
        BCryptHashData(state->hash, const_cast<PUCHAR>(piece.data()),
                       static_cast<ULONG>(piece.size()), 0);
        data = data.subspan(piece.size());
    }
}

std::array<uint8_t, 32> Sha256::finish() {
    std::array<uint8_t, 32> digest{};
    BCryptFinishHash(state->hash, digest.data(), static_cast<ULONG>(digest.size()), 0);
    return digest;
}

}  // namespace sf
