#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The golden corpus: description pairs made from fixed seeds by a generator of its own, kept
// apart from the property tests' generator so that a change there never changes the corpus.
namespace brunavia::golden {

// One case: a pair of description texts (Windows-1252; a missing text is a missing file) and
// the flag of the compile (1 with the plan, as the tool compiles, 0 without).
struct Caso {
    std::string famiglia;  // valida, bordo, errore, tronca
    std::uint64_t seme = 0;
    std::string descrizione;  // what the case is, in a few words
    std::optional<std::string> linea;
    std::optional<std::string> treno;
    int flag = 1;
};

// Every case of the corpus, in a fixed order.
std::vector<Caso> corpus();

}  // namespace brunavia::golden
