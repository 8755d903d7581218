#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "tool/nomi.h"

namespace brunavia::strumento {

// What `plot` is asked to do.
struct OpzioniPlot {
    std::filesystem::path cartella;
    std::string destinazione;  // -o
    NomiDati nomi;
    std::optional<double> da_km;  // --from, --to
    std::optional<double> a_km;
};

// `brunavia-tool plot`: the compiled scenario of a folder drawn on one SVG page (or the stretch
// of --from and --to). Returns 0, or 1 when its files are missing, damaged, of different
// compiles or the page cannot be written; throws ErroreUso for a command line that does not
// fit or a folder of several scenarios with none named.
int comando_plot(const OpzioniPlot& o, std::ostream& uscita, std::ostream& errori);

}  // namespace brunavia::strumento
