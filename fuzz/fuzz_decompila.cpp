// Decompile from damaged compiled files, in memory and writing nothing: the cells, the table
// and, when present, the plan (see fuzz/compilati.h for how the input is split) are decoded,
// and decompile either proves a pair of descriptions or gives its reasons. A damaged file may
// only be refused with ErroreDecodifica; any other exception, a sanitizer report or a proven
// pair with no text is a finding.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

#include "fuzz/compilati.h"
#include "tool/decodifica.h"
#include "tool/decompile/decompila.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    using namespace brunavia::strumento;
    auto file = brunavia::fuzz::separa_compilati(
        std::string_view(reinterpret_cast<const char*>(dati), dimensione));
    Compilati c;
    try {
        c = compilati_da_byte(std::move(file.celle), std::move(file.tabella),
                              std::move(file.tracciato));
    } catch (const ErroreDecodifica&) {
        return 0;
    }
    const EsitoDecompila esito = decompila(c, NomiScenario{});
    if (esito.descrizioni && esito.descrizioni->linea.empty()) __builtin_trap();
    if (!esito.descrizioni && esito.motivi.empty()) __builtin_trap();
    return 0;
}
