#pragma once

#include <string>

#include "writers/tabelle_treno.h"

// One formatter per row kind of the train description: each gives the exact text of a row.
namespace brunavia::treno {

// The first adhesion row of the file is spaced differently from the others.
std::string riga_aderenza(const Aderenza& a, bool prima);
std::string riga_velocita(const Velocita& v);
std::string riga_stazione(const Stazione& s);
std::string riga_segnale(const Segnale& s);

}  // namespace brunavia::treno
