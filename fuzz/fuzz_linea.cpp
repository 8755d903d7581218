// The line description reader alone, on any bytes, with the plan built; whatever the reading
// left in the model must serialise, as a compile writes it after any recorded error.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "compiler/file_compilati.h"
#include "compiler/lettore_campi.h"
#include "compiler/lettore_linea.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    brunavia::Form1 f;
    f.flag_linea = 1;
    brunavia::StatoLinea stato;
    try {
        brunavia::leggi_descrizione_linea(
            f, std::string_view(reinterpret_cast<const char*>(dati), dimensione), stato);
    } catch (const brunavia::ErroreLettura&) {
    }
    if (f.celle_dimensionate()) {
        brunavia::serializza_tracciato(f.tracciato);
        brunavia::serializza_tabella(f);
        brunavia::serializza_celle(f);
    }
    return 0;
}
