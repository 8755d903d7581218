#pragma once

#include <string>
#include <vector>

#include "compiler/modello.h"

namespace brunavia {

// Each writer replaces one text file in the program's folder with its fixed line list. The
// list functions return the lines in file order followed by the end marker.

std::vector<std::string> righe_linea();  // Brunavia_linea.txt, the line description
void dati_linea(Form1& f);

std::vector<std::string> righe_treno();  // Brunavia_706-.txt, the train description
void dati_treno(Form1& f);

std::vector<std::string> righe_note();  // Brunavia_706_note.txt, the scenario notes
void dati_note(Form1& f);

std::vector<std::string> righe_rallentamenti();  // Brunavia_706_rallentamenti.txt
void dati_rallentamenti(Form1& f);

std::vector<std::string> righe_scheda();  // Brunavia_706_scheda_treno.txt, the train card
void dati_scheda(Form1& f);

}  // namespace brunavia
