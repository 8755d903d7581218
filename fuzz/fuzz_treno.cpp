// The train description reader on any bytes, after the shipped line has been read; the table
// and the cells it leaves must serialise.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/file_compilati.h"
#include "compiler/lettore_campi.h"
#include "compiler/lettore_linea.h"
#include "compiler/lettore_treno.h"
#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"

namespace {
const std::string& linea_spedita() {
    static const std::string testo = [] {
        std::size_t righe = 0;
        return brunavia::codifica_righe(brunavia::righe_linea(), righe);
    }();
    return testo;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    brunavia::Form1 f;
    f.flag_linea = 0;
    brunavia::StatoLinea stato;
    try {
        brunavia::leggi_descrizione_linea(f, linea_spedita(), stato);
        brunavia::leggi_descrizione_treno(
            f, std::string_view(reinterpret_cast<const char*>(dati), dimensione),
            stato.slot_cartello);
    } catch (const brunavia::ErroreLettura&) {
    }
    brunavia::serializza_tabella(f);
    brunavia::serializza_celle(f);
    return 0;
}
