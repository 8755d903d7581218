#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tool/diagnosi.h"
#include "tool/verifica_descrizioni.h"

namespace brunavia::strumento {

// What `check` is asked to do.
struct OpzioniVerifica {
    std::filesystem::path linea;  // line description
    std::filesystem::path treno;  // train description
    bool json = false;
    bool tutte = false;                      // every warning printed, none folded into a run
    std::string nome_scenario = "Brunavia";  // named by errors of no row
    std::string numero_treno = "706";
};

// Exit statuses of `check` beyond 0 (nothing found), 1 (a file unreadable) and 64 (misuse).
inline constexpr int kUscitaVerificaErrori = 2;
inline constexpr int kUscitaVerificaAvvisi = 3;

// `brunavia-tool check`: reads both files, never writes, moves or deletes anything, reports on
// `uscita` (gcc-style lines with the source line and a caret, or one JSON array). Returns 0,
// 1, 2 or 3.
int comando_check(const OpzioniVerifica& o, std::ostream& uscita, std::ostream& errori);

}  // namespace brunavia::strumento
