// The train description reader on any bytes, after the shipped line has been read (once, its
// model copied for every input); the table and the cells it leaves must serialise.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/lettore_campi.h"
#include "compiler/lettore_linea.h"
#include "compiler/lettore_treno.h"
#include "fuzz/serializzazione.h"
#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"

namespace {

// The model and the reader's state as the shipped line's reading leaves them, read once.
struct LineaLetta {
    brunavia::Form1 f;
    brunavia::StatoLinea stato;
};

const LineaLetta& linea_spedita() {
    static const LineaLetta letta = [] {
        LineaLetta l;
        l.f.flag_linea = 0;
        std::size_t righe = 0;
        const auto testo = brunavia::codifica_righe(brunavia::righe_linea(), righe);
        if (brunavia::leggi_descrizione_linea(l.f, testo, l.stato) !=
            brunavia::EsitoLinea::prosegui) {
            __builtin_trap();
        }
        return l;
    }();
    return letta;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    const LineaLetta& linea = linea_spedita();
    brunavia::Form1& f = brunavia::fuzz::modello_da(linea.f);
    try {
        brunavia::leggi_descrizione_treno(
            f, std::string_view(reinterpret_cast<const char*>(dati), dimensione),
            linea.stato.slot_cartello);
    } catch (const brunavia::ErroreLettura&) {
    }
    brunavia::fuzz::serializza_modello(f);
    return 0;
}
