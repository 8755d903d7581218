#pragma once

#include "tool/lsp/analisi.h"

namespace brunavia::strumento::lsp {

// Quick fixes for the diagnostics of `textDocument/codeAction` that have one right fix: a
// header read as a row renamed to its section's name, a speed rounded to a multiple of 5 and
// a position to 50 m (a zone length to 100 m), a misspelt keyword replaced, `[generale]` added.
Json azioni(const Documento& d, const Analisi& a, const Json& diagnostiche, Codifica c);

}  // namespace brunavia::strumento::lsp
