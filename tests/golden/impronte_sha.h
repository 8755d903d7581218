#pragma once

// SHA-256 of the compiled files: OpenSSL's on POSIX (impronte_sha_posix.cpp), the system's own
// on Windows (impronte_sha_win32.cpp).

#include <cstddef>
#include <string>

namespace brunavia::golden {

// The digest of `byte` in 64 lowercase hex digits; std::runtime_error when unavailable.
std::string sha256(const std::string& byte);

// Digest bytes as lowercase hex digits.
std::string esadecimale(const unsigned char* digest, std::size_t quanti);

}  // namespace brunavia::golden
