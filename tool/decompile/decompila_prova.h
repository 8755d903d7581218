#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tool/decodifica.h"
#include "tool/nomi.h"

namespace brunavia::strumento {

// The compiled files of one scenario: their bytes and what they decode to. No plan: the
// scenario was compiled without it.
struct Compilati {
    std::string byte_celle;
    std::string byte_tabella;
    std::optional<std::string> byte_tracciato;
    std::vector<cella> celle;
    Tabella tabella{};
    std::optional<Tracciato> tracciato;
};

// Decodes the bytes of the three files (ErroreDecodifica for a damaged one).
Compilati compilati_da_byte(std::string celle, std::string tabella,
                            std::optional<std::string> tracciato);

// What the compile of a pair of descriptions gives against the compiled files.
struct EsitoProva {
    bool riprodotto = false;
    // The cells, table rows and plan points that come out different, one line each.
    std::vector<std::string> differenze;
    // The cells the compile made (empty when it made none).
    std::vector<cella> celle;
};

// Compiles the two description texts in memory, as `compile` does with these names (the plan
// only when the compiled files have one), and compares the compiled bytes with the files'.
EsitoProva prova_descrizioni(const std::string& linea, const std::string& treno,
                             const NomiScenario& nomi, const Compilati& attesi);

}  // namespace brunavia::strumento
