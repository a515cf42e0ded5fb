#include <openssl/evp.h>

#include "tools/report/Sha256.h"

namespace sf {

struct Sha256::State {
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    bool failed = context == nullptr;  // some call of OpenSSL's did not succeed
    ~State() { EVP_MD_CTX_free(context); }
    void check(int result) { failed = failed || result != 1; }
};

Sha256::Sha256() : state(std::make_unique<State>()) {
    if (!state->failed) state->check(EVP_DigestInit_ex(state->context, EVP_sha256(), nullptr));
}

Sha256::~Sha256() = default;

void Sha256::update(std::span<const uint8_t> data) {
    if (!state->failed) state->check(EVP_DigestUpdate(state->context, data.data(), data.size()));
}

Expected<std::array<uint8_t, 32>> Sha256::finish() {
    std::array<uint8_t, 32> digest{};
    if (!state->failed) state->check(EVP_DigestFinal_ex(state->context, digest.data(), nullptr));
    if (state->failed) return fail("OpenSSL could not compute a SHA-256 digest");
    return digest;
}

}  // namespace sf
