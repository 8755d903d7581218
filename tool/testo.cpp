#include "tool/testo.h"

#include <cstdio>

namespace brunavia::strumento {
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

std::string orario(std::int32_t secondi) {
    if (secondi < 0) return std::to_string(secondi);
    char testo[24];
    std::snprintf(testo, sizeof testo, "%02d:%02d:%02d", secondi / 3600, secondi / 60 % 60,
                  secondi % 60);
    return testo;
}

}  // namespace brunavia::strumento
