#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "tool/diagnosi.h"

namespace brunavia::strumento {

// What `check` is asked to do.
struct OpzioniVerifica {
    std::filesystem::path linea;  // line description
    std::filesystem::path treno;  // train description
    bool json = false;
    std::string nome_scenario = "Brunavia";  // named by errors of no row
    std::string numero_treno = "706";
};

// Exit statuses of `check` beyond 0 (nothing found), 1 (a file unreadable) and 64 (misuse).
inline constexpr int kUscitaVerificaErrori = 2;
inline constexpr int kUscitaVerificaAvvisi = 3;

// Every problem of a pair of description texts, in file order: each error the compile records
// (number and position as it records them), the errors found by reading on past those that
// stop it (marked), and a warning for each silent trap of the format.
std::vector<Diagnosi> verifica_descrizioni(const std::string& linea, const std::string& treno);

// `brunavia-tool check`: reads both files, never writes, moves or deletes anything, reports on
// `uscita` (gcc-style lines with the source line and a caret, or one JSON array). Returns 0,
// 1, 2 or 3.
int comando_check(const OpzioniVerifica& o, std::ostream& uscita, std::ostream& errori);

}  // namespace brunavia::strumento
