#pragma once

#include <optional>

#include "tool/lsp/analisi.h"

namespace brunavia::strumento::lsp {

// The hover at line r, character c: on a field, the row kind, the field's name, unit and
// range, what it sets, its value as stored and, for a position, its cell; on a keyword, the
// row's whole field list. Nothing elsewhere.
std::optional<Json> hover(const Documento& d, const Analisi& a, std::size_t r, std::size_t c,
                          Codifica cod);

// The text of the hover on field i of a row (markdown), and on its keyword.
std::string testo_campo(const RigaScritta& riga, std::size_t i);
std::string testo_parola(TipoRiga tipo);

}  // namespace brunavia::strumento::lsp
