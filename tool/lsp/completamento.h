#pragma once

#include <string>
#include <vector>

#include "tool/lsp/analisi.h"

namespace brunavia::strumento::lsp {

// A keyword an author writes, with the snippet that writes its row.
struct ParolaChiave {
    std::string parola;   // "stazione", "progressiva chilometrica due"
    std::string snippet;  // "stazione, ${1:pos}, ${2:tipo}, ..."
    TipoRiga tipo;
};
// Every keyword of one description, in the order of the field tables.
std::vector<ParolaChiave> parole_chiave(bool treno);

// The keyword nearest to a misspelt word, within a small edit distance; nothing when none is
// near or the word already starts a keyword.
std::optional<ParolaChiave> parola_vicina(std::string_view parola, bool treno);

// Completion at line r, character c: the keywords valid in the file and the line's section,
// each a snippet with its fields as placeholders; a misspelt keyword is offered its nearest;
// section headers after "[". Nothing inside a row's fields.
Json completamento(const Documento& d, const Analisi& a, std::size_t r, std::size_t c,
                   Codifica cod);

}  // namespace brunavia::strumento::lsp
