// A whole compile from two descriptions in memory (the input split at its first NUL byte)
// through the finishing rules, the stamps and the serialisation of the three compiled files.
// Any exception other than the error report's end of the program is a finding.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "compiler/descrizioni_in_memoria.h"
#include "compiler/errori.h"
#include "compiler/memorizza.h"
#include "fuzz/serializzazione.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    const std::string ingresso(reinterpret_cast<const char*>(dati), dimensione);
    const auto separatore = ingresso.find('\0');
    const std::string linea = ingresso.substr(0, separatore);
    // Without a NUL byte there is no train description at all, as when its file is missing.
    const std::optional<std::string> treno = separatore == std::string::npos
                                                 ? std::nullopt
                                                 : std::optional(ingresso.substr(separatore + 1));
    static const brunavia::Form1 iniziale;
    brunavia::Form1& f = brunavia::fuzz::modello_da(iniziale);
    brunavia::DescrizioniInMemoria descrizioni(linea, treno);
    try {
        if (brunavia::compila(f, 1, descrizioni)) brunavia::fuzz::serializza_modello(f);
    } catch (const brunavia::Terminazione&) {
        // Errors 1250 and 1251 end the program before any file is written.
    }
    // Whichever way the reading ended, the line description it read has been deleted.
    if (descrizioni.linea_presente()) __builtin_trap();
    return 0;
}
