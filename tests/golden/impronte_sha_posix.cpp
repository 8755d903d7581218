#include <openssl/evp.h>

#include <stdexcept>

#include "tests/golden/impronte_sha.h"

namespace brunavia::golden {

std::string sha256(const std::string& byte) {
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int n = 0;
    if (EVP_Digest(byte.data(), byte.size(), md, &n, EVP_sha256(), nullptr) != 1) {
        throw std::runtime_error("SHA-256 non disponibile");
    }
    return esadecimale(md, n);
}

}  // namespace brunavia::golden
