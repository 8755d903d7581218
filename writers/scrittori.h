#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "io/nomi_file.h"

namespace brunavia {

// Each writer replaces one text file in the run's folder (named from the scenario name and the
// train number) with its fixed line list and returns the number of lines written, the value
// the run keeps in `indice`. The list functions return the lines in file order followed by the
// end marker.

std::vector<std::string> righe_linea();  // Brunavia_linea.txt, the line description
std::int32_t dati_linea(const LuogoFile& f);

std::vector<std::string> righe_treno();  // Brunavia_706-.txt, the train description
std::int32_t dati_treno(const LuogoFile& f);

std::vector<std::string> righe_note();  // Brunavia_706_note.txt, the scenario notes
std::int32_t dati_note(const LuogoFile& f);

std::vector<std::string> righe_rallentamenti();  // Brunavia_706_rallentamenti.txt
std::int32_t dati_rallentamenti(const LuogoFile& f);

std::vector<std::string> righe_scheda();  // Brunavia_706_scheda_treno.txt, the train card
std::int32_t dati_scheda(const LuogoFile& f);

}  // namespace brunavia
