#include <windows.h>
// After windows.h, whose types it uses.
#include <bcrypt.h>

#include <stdexcept>

#include "tests/golden/impronte_sha.h"

namespace brunavia::golden {
namespace {

bool riuscito(NTSTATUS stato) {
    return stato >= 0;
}

// The algorithm's provider, opened once for the whole run.
BCRYPT_ALG_HANDLE algoritmo() {
    static const BCRYPT_ALG_HANDLE a = [] {
        BCRYPT_ALG_HANDLE h = nullptr;
        if (!riuscito(::BCryptOpenAlgorithmProvider(&h, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
            throw std::runtime_error("SHA-256 non disponibile");
        }
        return h;
    }();
    return a;
}

}  // namespace

std::string sha256(const std::string& byte) {
    constexpr ULONG kBlocco = 1u << 30;
    BCRYPT_HASH_HANDLE h = nullptr;
    if (!riuscito(::BCryptCreateHash(algoritmo(), &h, nullptr, 0, nullptr, 0, 0))) {
        throw std::runtime_error("SHA-256 non disponibile");
    }
    bool ok = true;
    auto* dati = reinterpret_cast<PUCHAR>(const_cast<char*>(byte.data()));
    for (std::size_t fatto = 0; ok && fatto < byte.size();) {
        const ULONG n =
            byte.size() - fatto < kBlocco ? static_cast<ULONG>(byte.size() - fatto) : kBlocco;
        ok = riuscito(::BCryptHashData(h, dati + fatto, n, 0));
        fatto += n;
    }
    unsigned char md[32];
    ok = ok && riuscito(::BCryptFinishHash(h, md, sizeof md, 0));
    ::BCryptDestroyHash(h);
    if (!ok) throw std::runtime_error("SHA-256 non riuscito");
    return esadecimale(md, sizeof md);
}

}  // namespace brunavia::golden
