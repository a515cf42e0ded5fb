#include <openssl/evp.h>

#include "tools/report/Sha256.h"

namespace sf {

struct Sha256::State {
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    ~State() { EVP_MD_CTX_free(context); }
};

Sha256::Sha256() : state(std::make_unique<State>()) {
    EVP_DigestInit_ex(state->context, EVP_sha256(), nullptr);
}

Sha256::~Sha256() = default;

void Sha256::update(std::span<const uint8_t> data) {
    EVP_DigestUpdate(state->context, data.data(), data.size());
}

std::array<uint8_t, 32> Sha256::finish() {
    std::array<uint8_t, 32> digest{};
    EVP_DigestFinal_ex(state->context, digest.data(), nullptr);
    return digest;
}

}  // namespace sf
