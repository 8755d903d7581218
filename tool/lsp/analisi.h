#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "tool/campi.h"
#include "tool/lsp/documento.h"

namespace brunavia::strumento::lsp {

using Json = nlohmann::json;

// A section header of a description and the lines under it.
struct Sezione {
    std::string nome;  // "[stazioni]"
    std::size_t riga = 0;
    std::size_t fine = 0;  // the line after its last
};

// The one parse every feature works on: each line split into its keyword and fields, and the
// sections. Columns are characters of the line (bytes of its Windows-1252 form).
struct Analisi {
    bool treno = false;
    std::vector<RigaScritta> righe;
    std::vector<Sezione> sezioni;

    // The section that holds line r, if any.
    const Sezione* sezione_di(std::size_t r) const;
};
Analisi analizza(const Documento& d, bool treno);

// The index of the field of `riga` at character c (the keyword is none); nothing when c is
// on no field.
std::optional<std::size_t> campo_a(const RigaScritta& riga, std::size_t c);

// An LSP range on line r from character `da` to character `a`.
Json intervallo(const Documento& d, std::size_t r, std::size_t da, std::size_t a, Codifica c);

}  // namespace brunavia::strumento::lsp
