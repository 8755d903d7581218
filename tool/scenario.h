#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tool/decodifica.h"

namespace brunavia::strumento {

// The name of a cell type code, as the model names it ("tipo_N" for a code it has none for).
std::string nome_tipo_cella(std::uint8_t tipo);

// The role of a table row: rows 81 to 86 have fixed roles; rows 1 to 80 hold a station (any
// number set), an indication board's text (only the text set) or nothing.
enum class Ruolo {
    riservata,  // row 0
    stazione,
    cartello_indicatore,
    vuota,
    punto_chilometrico,  // 81, 82, 83
    percorso,            // 84
    scenario,            // 85
    treno,               // 86
};
Ruolo ruolo_riga(const Tabella& t, std::size_t r);
std::string_view nome_ruolo(Ruolo r);

// A station as the table holds it.
struct Stazione {
    std::size_t riga = 0;
    std::int32_t posizione = 0;  // metres, its centre
    std::int32_t inizio = 0;     // zone start and end, metres
    std::int32_t fine = 0;
    std::uint8_t tipo = 0;
    std::string orario;  // hh:mm:ss, or "transito"
    std::string nome;    // UTF-8
};
std::vector<Stazione> stazioni(const Tabella& t);

// A station row's time as hh:mm:ss, or "transito" for a station passed without stopping (stop
// value 0 and no time), whose stored 0 is no midnight.
std::string orario_stazione(const voce& v);

// A speed code of a maximum-speed board holds round(right / 5 + left × 20) km/h in one number,
// so the two speeds cannot always be told apart: 1700 is 85 left and 0 right, but also 84 left
// and 100 right. A code is read back as every (left, right) pair that stores it with both
// speeds from 0 upward and either
//   - the right speed below 100 km/h (any left speed), or
//   - both speeds multiples of 5, as boards show them, the right one below 500 km/h.
// A code whose low two digits are below 20 (1700, 85 | 0) has one such reading; any other
// (2020: 101 | 0 or 100 | 100) has two and is ambiguous; a negative code has none.
struct VelocitaCartello {
    std::int32_t sinistra = 0;  // km/h
    std::int32_t destra = 0;
    bool operator==(const VelocitaCartello&) const = default;
};
struct CodiceVelocita {
    std::int16_t grezzo = 0;
    std::vector<VelocitaCartello> letture;  // the highest left speed first
    bool unica() const { return letture.size() == 1; }
};
CodiceVelocita leggi_codice_velocita(std::int16_t grezzo);

// "85|0" (left|right, km/h) for a code with one reading; otherwise the raw number with every
// reading: "ambiguo, grezzo 2020: 101|0 o 100|100", "illeggibile, grezzo -20".
std::string testo_codice_velocita(const CodiceVelocita& c);

// A maximum-speed board cell: the speed codes of the categories a, b, c and the stripe counts.
struct IndicatoreVMax {
    CodiceVelocita categorie[3];
    std::int32_t strisce_sinistra = 0;
    std::int32_t strisce_destra = 0;
};
IndicatoreVMax indicatore_v_max(const cella& c);

// The board's three categories as text: "a 85|0, b 90|0, c 90|0".
std::string testo_indicatore_v_max(const IndicatoreVMax& i);

// Why compiled files read under the names `scenario` and `treno` do not belong to one compile:
// the table's names (rows 85 and 86) against those names, and the cells and the plan against
// the line length of row 84. One line each; none when they agree. `piano` is null without a
// plan.
std::vector<std::string> file_discordanti(const Tabella& t, std::size_t celle,
                                          const Tracciato* piano, std::string_view scenario,
                                          std::string_view treno);

// The first metre of cell k.
inline std::int64_t metri_cella(std::size_t k) {
    return static_cast<std::int64_t>(k) * 50;
}

}  // namespace brunavia::strumento
