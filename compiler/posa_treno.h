#pragma once

#include <cstddef>
#include <cstdint>

#include "compiler/modello.h"
#include "compiler/numeri.h"

namespace brunavia {

// A slowdown gets its warning board only when it starts beyond this position (metres).
inline constexpr std::int32_t kInizioConAvviso = 1500;
// Station type codes from this one up leave the cells alone.
inline constexpr std::uint8_t kPrimoCodiceSenzaSegni = 25;

// What a placement returns: kPosato when the feature is in the cells, else the number of the
// error that refused it. The placements never touch `codice_errore`: the reader records the
// number with the row's position and stops.
inline constexpr std::int32_t kPosato = 0;

namespace errore_treno {
inline constexpr std::int32_t abbattimento_occupato = 7;
inline constexpr std::int32_t stazione_non_multipla_50 = 8;
inline constexpr std::int32_t lunghezza_non_multipla_100 = 9;
inline constexpr std::int32_t troppe_stazioni = 10;
inline constexpr std::int32_t fuori_dalle_celle = 15;
inline constexpr std::int32_t segnale_occupato = 16;
inline constexpr std::int32_t avviso_occupato = 17;
inline constexpr std::int32_t inizio_occupato = 18;
inline constexpr std::int32_t fine_occupata = 19;
inline constexpr std::int32_t prima_dell_avviso_occupata = 20;
inline constexpr std::int32_t stazioni_vicine = 22;
inline constexpr std::int32_t fine_zona_troppo_vicina = 24;
}  // namespace errore_treno

// 32-bit arithmetic on row values: a result outside the 32-bit range is a run-time failure of
// the reading (error 25), never a wrapped value.
inline std::int32_t somma32(std::int64_t a, std::int64_t b) {
    return memorizza_in<std::int32_t>(a + b);
}
inline std::int32_t prodotto32(std::int64_t a, std::int64_t b) {
    return memorizza_in<std::int32_t>(a * b);
}

// The fields of a signal row after its position.
struct RigaSegnale {
    std::int32_t sx = 0;
    std::int32_t s1 = 0;
    std::int32_t s2 = 0;
    std::int32_t s3 = 0;
    std::int32_t rapp = 0;
    std::int32_t dx = 0;
    std::int32_t d1 = 0;
    std::int32_t d2 = 0;
    std::int32_t d3 = 0;
    std::int32_t tempo = 0;  // raised to 101 when 1 ... 100
};

// The fields of a slowdown row after its start position `x`.
struct RigaRallentamento {
    std::int32_t v = 0;     // slowdown speed, km/h
    std::int32_t l = 0;     // length, m
    std::int32_t f_tt = 0;  // value of the start and end boards
    std::int32_t f_ta = 0;  // with a warning board: mark the four cells before it
    std::int32_t d_v = 0;   // second value, written into `dato1` when not 0
};

// A signal in the cell after its position, with the approach codes 2, 4, 6 and 8 cells
// before it (those before cell 0 are dropped). Refusals: 15 (cell outside), 16 (cell taken).
std::int32_t memo_segnale(Form1& f, std::int32_t posizione, RigaSegnale& s);

// A slowdown: start and end cells, the warning board 1200 m before the start (starts beyond
// 1500 m only) and, when asked, the four cells before the board. Refusals, nothing written:
// 15 (a cell outside), 17, 18, 19 (warning, start, end taken); 20 when one of the four cells
// before the board is taken (start, end and board stay).
std::int32_t memo_rallentamento(Form1& f, std::int32_t x, const RigaRallentamento& r);

// An "abbattimento" row in the cell of its position: a marker carrying the value when it is
// positive, else type 13. Refusals: 15 (cell outside), 7 (cell taken).
std::int32_t memo_abbattimento(Form1& f, std::int32_t posizione, std::int32_t valore);

// The marks of station `numero` (table row `stazione`, zone already computed), for type codes
// below 25: its type-10 cell just before the zone end and, except for codes 5 and 6, the
// marks 81 ... 84 in the four cells before that. Refusals: 15 (type-10 cell past the last
// cell), 24 (zone end at 100 m or less).
std::int32_t segna_stazione(Form1& f, std::int32_t numero, const voce& stazione);

}  // namespace brunavia
