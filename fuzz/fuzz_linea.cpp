// The line description reader alone, on any bytes, with the plan built; whatever the reading
// left in the model must serialise, as a compile writes it after any recorded error.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "compiler/lettore_campi.h"
#include "compiler/lettore_linea.h"
#include "fuzz/serializzazione.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    static const brunavia::Form1 iniziale = [] {
        brunavia::Form1 m;
        m.flag_linea = 1;
        return m;
    }();
    brunavia::Form1& f = brunavia::fuzz::modello_da(iniziale);
    brunavia::StatoLinea stato;
    try {
        brunavia::leggi_descrizione_linea(
            f, std::string_view(reinterpret_cast<const char*>(dati), dimensione), stato);
    } catch (const brunavia::ErroreLettura&) {
    }
    if (f.celle_dimensionate()) brunavia::fuzz::serializza_modello(f);
    return 0;
}
