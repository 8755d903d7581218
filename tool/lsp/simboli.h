#pragma once

#include "tool/lsp/analisi.h"

namespace brunavia::strumento::lsp {

// The outline: the sections, holding the stations by name and time, and the signals, boards
// and slowdowns by position.
Json simboli(const Documento& d, const Analisi& a, Codifica c);

}  // namespace brunavia::strumento::lsp
