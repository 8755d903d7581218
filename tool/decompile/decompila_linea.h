#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tool/decodifica.h"
#include "writers/tabelle_linea.h"

namespace brunavia::strumento {

// What a recovery could not explain: one line each, in Italian, naming the cells, table rows or
// plan points concerned. An empty list means every value found a row that stores it.
using Motivi = std::vector<std::string>;

// A kilometric reference point as the line description gives it, before the ordering.
struct ProgressivaLetta {
    std::int32_t posizione = 0;
    std::int32_t chilometrica = 0;
    std::int32_t verso = 0;
};

// A maximum-speed board with both boards' speeds (a reading of its three speed codes).
struct IndicatoreRicostruito {
    std::int32_t posizione = 0;
    std::array<std::int32_t, 3> sinistra{};
    std::int32_t strisce_sinistra = 0;
    std::array<std::int32_t, 3> destra{};
    std::int32_t strisce_destra = 0;
};

struct CartelloRicostruito {
    std::int32_t posizione = 0;
    std::string testo;  // Windows-1252 bytes, as the table holds it
};

// The line description recovered from the compiled files, row by row.
struct LineaRicostruita {
    std::int32_t lunghezza = 0;
    std::array<ProgressivaLetta, 3> progressive{};  // "uno", "due", "tre"
    std::array<std::int32_t, 3> sfondi{};           // "uno", "due", "tre"
    std::int32_t ripetizione_prima = 0;
    std::int32_t ripetizione_seconda = 0;
    std::int32_t codici_ripetizione = 4;
    std::vector<linea::Curva> curve;
    std::vector<linea::Pendenza> pendenze;
    std::vector<linea::Montagna> montagne;
    std::vector<IndicatoreRicostruito> indicatori;
    std::vector<CartelloRicostruito> cartelli;
};

// Rows (position, value) that make the compile's cursor fill of `valori` (cells 0 ... N)
// write exactly those values: a first row at 0, one row at each change up to cell
// `fine_riempimento` - 1 (where the completion after the last row stops), and for values
// past it rows at the completion's last cell, each of which writes one cell more.
struct RigaSerie {
    std::int32_t posizione = 0;
    std::int32_t valore = 0;
};
std::vector<RigaSerie> righe_da_serie(const std::vector<std::int32_t>& valori,
                                      std::size_t fine_riempimento);

// How the climbing stretches are recovered: `per_tratti` one row per run of a kind (split where
// its type-11 markers change step), as an author writes them; `per_celle` a four-cell stretch
// with markers for every type-11 cell and then every run written again without markers, which
// also explains overlapping stretches and stretches of kind 0, in more rows.
enum class ModoMontagne { per_tratti, per_celle };

// The line rows that store these cells, table rows and plan (no plan: a compile without it, no
// curve rows). What no row can store is added to `motivi`.
LineaRicostruita ricostruisci_linea(const std::vector<cella>& celle, const Tabella& tabella,
                                    const std::optional<Tracciato>& tracciato, ModoMontagne modo,
                                    Motivi& motivi);

// The description's text: the sections, keywords and spacing of the program's line
// description, Windows-1252 bytes with CR LF line ends, ending with "[fine]".
std::string testo_linea(const LineaRicostruita& l);

// A text that the field reader reads back whole as the last field of a row: no comma or line
// end, no leading blank.
bool testo_rileggibile(const std::string& testo);

}  // namespace brunavia::strumento
