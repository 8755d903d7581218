#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "compiler/modello.h"

namespace brunavia {

// The model runs this far beyond the line's end: the cells and the plan of a line of length L
// reach L + kMargineMetri metres.
inline constexpr std::int32_t kMargineMetri = 7000;

// The cells of a line of `lunghezza` metres, as its length row sizes them.
inline std::size_t celle_di_linea(std::int64_t lunghezza) {
    return static_cast<std::size_t>(
               std::nearbyint(static_cast<double>(lunghezza + kMargineMetri) / 50.0)) +
           1;
}

// Reader state that the line placement rules share while the line file is read.
struct StatoLinea {
    std::int32_t cursore_pendenza = 0;    // next cell to receive a gradient
    std::int32_t ultima_pendenza = 0;     // last gradient read
    std::int32_t indice_geometria = 2;    // next metre point of the plan to compute
    std::int32_t slot_cartello = 80;      // next table row to receive a board text
    std::int32_t contatore_montagne = 0;  // climbing stretches read so far
};

// How the line reading ended: `prosegui` after the normal end (also after error 15), when the
// train description is read next; `interrompi` after an error that returns at once.
enum class EsitoLinea { prosegui, interrompi };

// Reads the line description from memory into the model: sizes the cells (and, with
// `flag_linea`, the plan), fills the general rows, orders the reference points and places
// every feature row. Records errors in `codice_errore` / `posizione_errore`. A read failure
// throws ErroreLettura (error 25, recorded by the caller with its clean-up).
EsitoLinea leggi_descrizione_linea(Form1& f, std::string_view testo, StatoLinea& stato);

// Orders table rows 81..83 (the kilometric reference points) as read from "tre", "due", "uno".
void progressive_ordina(Form1& f);

}  // namespace brunavia
