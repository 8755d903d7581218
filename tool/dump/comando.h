#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

#include "tool/dump/elenco.h"

namespace brunavia::strumento {

// What `dump` is asked to do.
struct OpzioniDump {
    std::filesystem::path file;
    std::string tipo;  // --kind, empty: from the name
    OpzioniElenco elenco;
};

// `brunavia-tool dump`: one compiled file decoded and listed on `uscita`. Returns 0, or 1 when
// the file is missing or does not decode; throws ErroreUso for a command line that does not
// fit.
int comando_dump(const OpzioniDump& o, std::ostream& uscita, std::ostream& errori);

}  // namespace brunavia::strumento
