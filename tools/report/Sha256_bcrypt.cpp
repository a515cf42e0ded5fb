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
    bool failed = false;  // some call of the API's did not succeed
    void check(NTSTATUS status) { failed = failed || !BCRYPT_SUCCESS(status); }
    ~State() {
        if (hash != nullptr) BCryptDestroyHash(hash);
        if (algorithm != nullptr) BCryptCloseAlgorithmProvider(algorithm, 0);
    }
};

Sha256::Sha256() : state(std::make_unique<State>()) {
    state->check(
        BCryptOpenAlgorithmProvider(&state->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0));
    if (!state->failed) {
        state->check(BCryptCreateHash(state->algorithm, &state->hash, nullptr, 0, nullptr, 0, 0));
    }
}

Sha256::~Sha256() = default;

void Sha256::update(std::span<const uint8_t> data) {
    // BCryptHashData takes at most a ULONG's worth of bytes at a time.
    constexpr size_t kLargestPiece = 1u << 30;
    while (!data.empty() && !state->failed) {
        const auto piece = data.first(std::min(data.size(), kLargestPiece));
        state->check(BCryptHashData(state->hash, const_cast<PUCHAR>(piece.data()),
                                    static_cast<ULONG>(piece.size()), 0));
        data = data.subspan(piece.size());
    }
}

Expected<std::array<uint8_t, 32>> Sha256::finish() {
    std::array<uint8_t, 32> digest{};
    if (!state->failed) {
        state->check(
            BCryptFinishHash(state->hash, digest.data(), static_cast<ULONG>(digest.size()), 0));
    }
    if (state->failed) return fail("Windows could not compute a SHA-256 digest");
    return digest;
}

}  // namespace sf
