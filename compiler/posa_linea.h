#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/lettore_linea.h"
#include "compiler/modello.h"

namespace brunavia {

// Outcome of placing one feature row of the line description.
enum class EsitoPosa {
    posata,
    // The row would write outside the cells or the plan: the reader records error 15 with the
    // row's first position and leaves the feature sections.
    fuori_limiti,
    // The row was refused and its error is recorded: the reader stops.
    rifiutata,
};

// Error numbers of the line placement rules.
namespace errore_linea {
inline constexpr std::int32_t fuori_celle = 15;
inline constexpr std::int32_t cartello_occupato = 6;
inline constexpr std::int32_t indicatore_occupato = 21;
inline constexpr std::int32_t curva_o_geometria = 103;
}  // namespace errore_linea

// Gradient row: from the cursor up to the cell before round(posizione / 50), every cell gets
// the previous gradient + 100 (at least one cell once k > 0); `pendenza` then holds onwards.
EsitoPosa memo_pendenza(Form1& f, StatoLinea& s, std::int32_t posizione, std::int32_t pendenza);
// After the last row: the last gradient up to the cell before P - 2.
void completa_pendenze(Form1& f, StatoLinea& s);

// Points 0 and 1 of the plan, (0, 0) and (0, 1) as 16-bit integers: the line starts heading
// along +y.
void inizia_tracciato(Form1& f);
// Curve row: class and side from the keyword text, straight run up to `inizio`, then the curve
// up to `inizio` + `lunghezza`. Records 103 for a missing class or the geometry limit. Nothing
// happens when the compile builds no plan.
EsitoPosa memo_curva(Form1& f, StatoLinea& s, std::string_view chiave, std::int32_t inizio,
                     std::int32_t lunghezza);
// After the last row: straight on up to point L - 2; points L - 1 and L stay unset.
void completa_tracciato(Form1& f, StatoLinea& s);

// Climbing stretch: kind 11 or 12 turns on marker mode (every fourth cell written becomes a
// type 11 cell where free); a stretch 150 m or less after the previous one gets kind 3.
// `tipo` is changed in place.
EsitoPosa memo_montagna(Form1& f, StatoLinea& s, std::int32_t inizio, std::int32_t fine,
                        std::int32_t& tipo);

// A maximum-speed board row: speeds in km/h for the categories a, b, c of the left (s) and
// right (d) boards, with their stripe counts.
struct IndicatoriVMax {
    std::int32_t posizione = 0;
    std::int32_t vas = 0, vbs = 0, vcs = 0;
    std::int16_t strisces = 0;
    std::int32_t vad = 0, vbd = 0, vcd = 0;
    std::int16_t strisced = 0;
};
// Places the board on cell round(posizione / 50 + 1); error 21 when the cell is taken.
EsitoPosa memo_indicatori_v_max(Form1& f, const IndicatoriVMax& r);

// Places an indication board on cell round(posizione / 50 + 1) with its text in the table row
// of the current board slot, which then counts down. Error 6 when the cell is taken or no slot
// is left.
EsitoPosa memo_cartello_indicatore(Form1& f, StatoLinea& s, std::int32_t posizione,
                                   const std::string& testo);

}  // namespace brunavia
