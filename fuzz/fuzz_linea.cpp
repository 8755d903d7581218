// The line description reader alone, on any bytes, with the plan built.
#include <cstddef>
#include <cstdint>
#include <string_view>

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
    return 0;
}
