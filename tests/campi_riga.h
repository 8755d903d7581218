#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splitting the rows of the written description files back into their fields, for the tests
// that check the files' text.
namespace brunavia::prova {

using Campi = std::vector<std::string>;

inline std::string senza_spazi(std::string_view testo) {
    const auto inizio = testo.find_first_not_of(' ');
    if (inizio == std::string_view::npos) return {};
    return std::string(testo.substr(inizio, testo.find_last_not_of(' ') - inizio + 1));
}

// A row split at its commas, spaces kept.
inline Campi grezzi(const std::string& riga) {
    Campi out;
    std::size_t inizio = 0;
    for (;;) {
        const auto virgola = riga.find(',', inizio);
        out.push_back(riga.substr(inizio, virgola - inizio));
        if (virgola == std::string::npos) return out;
        inizio = virgola + 1;
    }
}

// The same fields with the surrounding spaces removed; field 0 is the keyword.
inline Campi campi(const std::string& riga) {
    auto out = grezzi(riga);
    for (auto& c : out) c = senza_spazi(c);
    return out;
}

// A numeric field; an empty one reads 0, as the compiler reads it.
inline long numero(const std::string& campo) {
    return campo.empty() ? 0 : std::stol(campo);
}

}  // namespace brunavia::prova
