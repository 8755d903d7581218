#pragma once

#include <cstdint>
#include <string_view>

#include "compiler/modello.h"

namespace brunavia {

// Reads the train description from memory into the model, after the line: composition, clock
// and sand into the table, speed limit and adhesion into every cell, the stations into table
// rows 1, 2, 3 ... and signals, slowdowns and "abbattimento" rows into the cells.
// `limite_cartelli` is the next free board row left by the line reader (stations must stay
// below it). Records errors in `codice_errore` / `posizione_errore`: a row beyond the cells
// (15) ends the reading with the end step (fills completed, reference points checked, error 2);
// a refused row stops it at once. A read failure, or a value that does not fit where it is
// stored, throws ErroreLettura (error 25, recorded by the caller with its clean-up).
void leggi_descrizione_treno(Form1& f, std::string_view testo, std::int32_t limite_cartelli);

}  // namespace brunavia
