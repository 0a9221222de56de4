#include "project/sha256.h"

#include <new>
#include <openssl/evp.h>

namespace zelmora {

// OpenSSL's libcrypto, which uses the processor's SHA instructions where there are some: a
// data folder of a gigabyte is hashed before every analysis.
struct Sha256Hasher::State {
    EVP_MD_CTX* context = EVP_MD_CTX_new();

    State() {
        if (context == nullptr || EVP_DigestInit_ex(context, EVP_sha256(), nullptr) != 1) {
            EVP_MD_CTX_free(context);
            throw std::bad_alloc();
        }
    }
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State() { EVP_MD_CTX_free(context); }
};

Sha256Hasher::Sha256Hasher() : state_(std::make_unique<State>()) {}
Sha256Hasher::~Sha256Hasher() = default;
Sha256Hasher::Sha256Hasher(Sha256Hasher&&) noexcept = default;
Sha256Hasher& Sha256Hasher::operator=(Sha256Hasher&&) noexcept = default;

void Sha256Hasher::Update(std::string_view bytes) {
    if (EVP_DigestUpdate(state_->context, bytes.data(), bytes.size()) != 1) {
        throw std::bad_alloc();
    }
}

std::array<unsigned char, 32> Sha256Hasher::Finish() {
    std::array<unsigned char, 32> digest{};
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(state_->context, digest.data(), &length) != 1 ||
        length != digest.size() || EVP_DigestInit_ex(state_->context, EVP_sha256(), nullptr) != 1) {
        throw std::bad_alloc();
    }
    return digest;
}

} // namespace zelmora
