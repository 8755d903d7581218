#include "tool/testo.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace brunavia::strumento {
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
