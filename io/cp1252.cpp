#include "io/cp1252.h"

#include <array>
#include <optional>
#include <stdexcept>

namespace brunavia {
namespace {

// Code points of the bytes 0x80 to 0x9F; 0 marks the five bytes the code page leaves unused.
constexpr std::array<char32_t, 32> kAlti = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

[[noreturn]] void rifiuta(std::string_view utf8, const char* motivo) {
    throw std::invalid_argument(std::string("testo non convertibile in Windows-1252 (") + motivo +
                                "): " + std::string(utf8));
}

}  // namespace

std::optional<char> byte_cp1252(char32_t cp);

namespace {

char byte_di(char32_t cp, std::string_view utf8) {
    const std::optional<char> b = byte_cp1252(cp);
    if (!b) rifiuta(utf8, "carattere senza byte");
    return *b;
}

void aggiungi_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

std::string da_cp1252(std::string_view byte) {
    std::string out;
    out.reserve(byte.size());
    for (const char c : byte) {
        const auto b = static_cast<unsigned char>(c);
        const char32_t alto = b >= 0x80 && b < 0xA0 ? kAlti[b - 0x80u] : 0;
        aggiungi_utf8(out, alto != 0 ? alto : char32_t{b});
    }
    return out;
}

Carattere carattere_utf8(std::string_view utf8, std::size_t i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    int seguito = 0;
    char32_t cp = 0;
    if (b < 0x80) return {b, 1, true};
    if ((b & 0xE0) == 0xC0) {
        seguito = 1;
        cp = b & 0x1Fu;
    } else if ((b & 0xF0) == 0xE0) {
        seguito = 2;
        cp = b & 0x0Fu;
    } else if ((b & 0xF8) == 0xF0) {
        seguito = 3;
        cp = b & 0x07u;
    } else {
        return {b, 1, false};
    }
    if (i + static_cast<std::size_t>(seguito) >= utf8.size()) return {b, 1, false};
    for (int k = 1; k <= seguito; ++k) {
        const auto c = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
        if ((c & 0xC0) != 0x80) return {b, 1, false};
        cp = (cp << 6) | (c & 0x3Fu);
    }
    return {cp, static_cast<std::size_t>(seguito) + 1, true};
}

std::string in_cp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const Carattere c = carattere_utf8(utf8, i);
        if (!c.valido) rifiuta(utf8, "UTF-8 non valido");
        out.push_back(byte_di(c.codice, utf8));
        i += c.lunghezza;
    }
    return out;
}

bool convertibile_in_cp1252(std::string_view utf8) {
    try {
        in_cp1252(utf8);
        return true;
    } catch (const std::invalid_argument&) {
        return false;
    }
}

std::string in_cp1252_o_sostituto(std::string_view utf8, char sostituto) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const Carattere c = carattere_utf8(utf8, i);
        const std::optional<char> b = c.valido ? byte_cp1252(c.codice) : std::nullopt;
        out.push_back(b ? *b : sostituto);
        i += c.lunghezza;
    }
    return out;
}

std::optional<char> byte_cp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (std::size_t i = 0; i < kAlti.size(); ++i) {
        if (kAlti[i] != 0 && kAlti[i] == cp) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

}  // namespace brunavia
