#include "compiler/codici_gara.h"

#include <array>
#include <string>

namespace brunavia {
namespace {

// Only the first 25 characters of the keyed text enter a code.
constexpr std::size_t kCaratteriCodice = 25;

// Windows-1252 upper-case letters outside A..Z and their lower-case forms.
constexpr std::array<std::pair<unsigned char, unsigned char>, 4> kMaiuscoleSpeciali = {{
    {0x8A, 0x9A},  // S caron
    {0x8C, 0x9C},  // OE
    {0x8E, 0x9E},  // Z caron
    {0x9F, 0xFF},  // Y diaeresis
}};

// Lower-case mapping of one Windows-1252 byte.
unsigned char minuscola(unsigned char c) {
    const bool latina = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    if (latina) return static_cast<unsigned char>(c + 0x20);
    for (const auto& [maiuscola, minuscola_speciale] : kMaiuscoleSpeciali) {
        if (c == maiuscola) return minuscola_speciale;
    }
    return c;
}

// The character codes of positions 1 .. 25 of lower-case(train & scenario) & filler.
std::array<std::uint8_t, kCaratteriCodice> codici_chiave(const Form1& f) {
    std::string chiave =
        f.tabella[riga_tabella::treno].testo + f.tabella[riga_tabella::scenario].testo;
    chiave.append(kRiempitivoCodice);
    std::array<std::uint8_t, kCaratteriCodice> codici{};
    for (std::size_t i = 0; i < codici.size(); ++i) {
        codici[i] = minuscola(static_cast<unsigned char>(chiave[i]));
    }
    return codici;
}

}  // namespace

std::int16_t codice_gara_og(const Form1& f) {
    std::int16_t somma = 0;
    for (const std::uint8_t codice : codici_chiave(f))
        somma = static_cast<std::int16_t>(somma + codice);
    return somma;
}

std::int32_t codice_gara_st(const Form1& f) {
    std::int32_t somma = 0;
    std::int32_t i = 1;
    for (const std::uint8_t codice : codici_chiave(f)) somma += codice * i++;
    return somma;
}

}  // namespace brunavia
