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
    std::int32_t orario = 0;  // seconds of the day
    std::string nome;         // UTF-8
};
std::vector<Stazione> stazioni(const Tabella& t);

// The speeds (km/h) and stripe counts of a maximum-speed board cell: each speed code holds the
// left speed × 20 plus the right speed / 5.
struct IndicatoreVMax {
    std::int32_t sinistra[3] = {};  // categories a, b, c
    std::int32_t destra[3] = {};
    std::int32_t strisce_sinistra = 0;
    std::int32_t strisce_destra = 0;
};
IndicatoreVMax indicatore_v_max(const cella& c);

// The first metre of cell k.
inline std::int64_t metri_cella(std::size_t k) {
    return static_cast<std::int64_t>(k) * 50;
}

}  // namespace brunavia::strumento
