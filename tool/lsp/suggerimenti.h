#pragma once

#include "tool/lsp/analisi.h"

namespace brunavia::strumento::lsp {

// Inlay hints for lines da … a (excluded): each field's short name ("pos:", "tipo:") before
// every field of the station, signal, slowdown and speed-board rows.
Json suggerimenti(const Documento& d, const Analisi& a, std::size_t da, std::size_t a_riga,
                  Codifica c);

}  // namespace brunavia::strumento::lsp
