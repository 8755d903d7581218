#include "writers/formato_treno.h"

#include <array>
#include <cstddef>

#include "writers/formato_campi.h"

namespace brunavia::treno {
namespace {

// Field widths after each comma; numbers are right-aligned in them.
constexpr std::size_t kLargPosizione = 8;
constexpr std::size_t kLargValore = 6;  // adhesion percent, speed
constexpr std::array<std::size_t, 16> kLargStazione = {8, 3, 5, 3, 2, 2, 3, 1,
                                                       1, 3, 1, 1, 5, 4, 2, 2};
constexpr std::array<std::size_t, 10> kLargSegnale = {8, 4, 2, 2, 3, 2, 5, 3, 1, 1};

// Keyword, then each value right-aligned in its width after a comma.
template <std::size_t N>
std::string campi(const char* chiave, const std::array<int, N>& valori,
                  const std::array<std::size_t, N>& larghezze) {
    std::string riga = chiave;
    for (std::size_t i = 0; i < N; ++i) riga += "," + a_destra(valori[i], larghezze[i]);
    return riga;
}

}  // namespace

std::string riga_aderenza(const Aderenza& a, bool prima) {
    if (prima) {
        return "aderenza,   " + std::to_string(a.posizione) + ",    " +
               std::to_string(a.percentuale);
    }
    return campi<2>("aderenza", {a.posizione, a.percentuale}, {kLargPosizione, kLargValore});
}

std::string riga_velocita(const Velocita& v) {
    return campi<2>("velocita", {v.posizione, v.velocita}, {kLargPosizione, kLargValore});
}

std::string riga_stazione(const Stazione& s) {
    const std::array<int, 16> valori = {s.posizione, s.tipo,       s.lunghezza, s.flag1,
                                        s.flag2,     s.estensione, s.numero1,   s.numero2,
                                        s.flag3,     s.numero3,    s.numero4,   s.numero5,
                                        s.sosta,     s.ore,        s.minuti,    s.secondi};
    return campi("stazione", valori, kLargStazione) + ", " + std::string(s.nome);
}

std::string riga_segnale(const Segnale& s) {
    const std::array<int, 10> valori = {s.posizione, s.sx, s.s1, s.s2, s.s3,
                                        s.rapp,      s.dx, s.d1, s.d2, s.d3};
    return campi("segnale", valori, kLargSegnale) + ", " + std::to_string(s.tempo);
}

}  // namespace brunavia::treno
