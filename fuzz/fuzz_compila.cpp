// A whole compile from two descriptions in memory (the input split at its first NUL byte)
// through the finishing rules, the stamps and the serialisation of the three compiled files.
// Any exception other than the error report's end of the program is a finding.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "compiler/descrizioni_in_memoria.h"
#include "compiler/errori.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    const std::string ingresso(reinterpret_cast<const char*>(dati), dimensione);
    const auto separatore = ingresso.find('\0');
    const std::string linea = ingresso.substr(0, separatore);
    // Without a NUL byte there is no train description at all, as when its file is missing.
    const std::optional<std::string> treno = separatore == std::string::npos
                                                 ? std::nullopt
                                                 : std::optional(ingresso.substr(separatore + 1));
    brunavia::Form1 f;
    brunavia::DescrizioniInMemoria descrizioni(linea, treno);
    try {
        if (brunavia::compila(f, 1, descrizioni)) {
            const auto piano = brunavia::serializza_tracciato(f.tracciato);
            const auto tabella = brunavia::serializza_tabella(f);
            const auto celle = brunavia::serializza_celle(f);
            if (celle.size() != 15 * f.celle.size()) __builtin_trap();
            if (piano.empty() || tabella.size() < 87 * 34) __builtin_trap();
        }
    } catch (const brunavia::Terminazione&) {
        // Errors 1250 and 1251 end the program before any file is written.
    }
    // Whichever way the reading ended, the line description it read has been deleted.
    if (descrizioni.linea_presente()) __builtin_trap();
    return 0;
}
