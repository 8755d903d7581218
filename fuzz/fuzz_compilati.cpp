// The readers of compiled files, as `dump` and `plot` use them, on files passed on by others:
// the cells, the table and the plan (see fuzz/compilati.h for how the input is split) each
// decoded and listed as text and JSON, and the three together drawn as plot draws them. A
// damaged file may only be refused with ErroreDecodifica; any other exception, a sanitizer
// report or a read past the end is a finding.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz/compilati.h"
#include "tool/decodifica.h"
#include "tool/dump/elenco.h"
#include "tool/plot/disegno.h"

namespace {

using namespace brunavia::strumento;

// Decodes one file and lists it both ways; nothing when the decoder refuses it.
template <typename Decodifica, typename Elenca>
auto decodifica_ed_elenca(std::string_view byte, Decodifica decodifica, Elenca elenca,
                          std::ostringstream& out) -> std::optional<decltype(decodifica(byte))> {
    try {
        auto decodificato = decodifica(byte);
        for (const bool json : {false, true}) {
            OpzioniElenco o;
            o.json = json;
            elenca(decodificato, o, out);
        }
        return decodificato;
    } catch (const ErroreDecodifica&) {
        return std::nullopt;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    const auto file = brunavia::fuzz::separa_compilati(
        std::string_view(reinterpret_cast<const char*>(dati), dimensione));
    // One stream for every run, written again from its start: its buffer keeps its room.
    static std::ostringstream out;
    out.seekp(0);
    auto celle = decodifica_ed_elenca(file.celle, decodifica_celle, elenca_celle, out);
    auto tabella = decodifica_ed_elenca(file.tabella, decodifica_tabella, elenca_tabella, out);
    std::optional<brunavia::Tracciato> tracciato;
    if (file.tracciato) {
        tracciato =
            decodifica_ed_elenca(*file.tracciato, decodifica_tracciato, elenca_tracciato, out);
        // A plan that is there but damaged stops plot, as a damaged table does.
        if (!tracciato) return 0;
    }
    if (!celle || !tabella) return 0;
    const ScenarioCompilato s{std::move(*celle), *tabella, std::move(tracciato)};
    const Disegno d = disegna_scenario(s, "Brunavia, treno 706");
    if (d.svg.empty()) __builtin_trap();
    return 0;
}
