#include <openssl/evp.h>

#include <array>
#include <cstdio>

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

std::string Sha256::finishHex() {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    EVP_DigestFinal_ex(state->context, digest.data(), &length);
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        std::array<char, 3> pair{};
        std::snprintf(pair.data(), pair.size(), "%02x", digest[i]);
        hex += pair.data();
    }
    return hex;
}

}  // namespace sf
