#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "tool/decompile/decompila_linea.h"
#include "tool/decompile/decompila_prova.h"
#include "tool/nomi.h"

namespace brunavia::strumento {

// A pair of description texts (Windows-1252, CR LF) proven to compile to the compiled files.
struct DescrizioniProvate {
    std::string linea;
    std::string treno;
};

// Either the proven descriptions, or the reasons why none were found: what the recovery could
// not explain and the cells, table rows and plan points that still came out different.
struct EsitoDecompila {
    std::optional<DescrizioniProvate> descrizioni;
    Motivi motivi;
};

// Recovers the line and train descriptions from the compiled files and proves them: they are
// compiled in memory with these names and must give the same bytes.
EsitoDecompila decompila(const Compilati& c, const NomiScenario& nomi);

// What `decompile` is asked to do.
struct OpzioniDecompila {
    std::filesystem::path cartella;  // the compiled files
    std::filesystem::path uscita;    // where the descriptions go (created when missing)
    std::optional<std::string> scenario;
    std::optional<std::string> treno;
    bool sostituisci = false;  // --force: descriptions already in `uscita` may be replaced
};

// The command: reads NAME_linea.dat (when there), NAME_N.sim and NAME_N.dat from the folder,
// writes NAME_linea.txt and NAME_N-.txt once proven. Returns 0 written, 1 refused or unreadable
// input (the reason on `errori`), 64 an invalid name.
int comando_decompile(const OpzioniDecompila& o, std::ostream& uscita, std::ostream& errori);

}  // namespace brunavia::strumento
