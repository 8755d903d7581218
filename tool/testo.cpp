#include "tool/testo.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace brunavia::strumento {
namespace {

// Code points of the bytes 0x80 to 0x9F; the unused bytes keep their own value.
constexpr std::array<char32_t, 32> kAlti = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

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
        aggiungi_utf8(out, b >= 0x80 && b < 0xA0 ? kAlti[b - 0x80u] : char32_t{b});
    }
    return out;
}

std::string stringa_json(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (b < 0x20) {
            char codice[8];
            std::snprintf(codice, sizeof codice, "\\u%04x", b);
            out += codice;
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
    return out;
}

std::string testo_xml(std::string_view utf8) {
    std::string out;
    for (const char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                // Control characters are not allowed in XML 1.0: shown as a space.
                out.push_back(static_cast<unsigned char>(c) < 0x20 ? ' ' : c);
        }
    }
    return out;
}

std::string numero_json(double valore) {
    if (!std::isfinite(valore)) return "null";
    char testo[32];
    const auto fine = std::to_chars(testo, testo + sizeof testo, valore);
    return std::string(testo, fine.ptr);
}

std::string orario(std::int32_t secondi) {
    if (secondi < 0) return std::to_string(secondi);
    char testo[24];
    std::snprintf(testo, sizeof testo, "%02d:%02d:%02d", secondi / 3600, secondi / 60 % 60,
                  secondi % 60);
    return testo;
}

}  // namespace brunavia::strumento
