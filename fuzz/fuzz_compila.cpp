// A whole compile from two descriptions in memory (the input split at its first NUL byte)
// through the finishing rules, the stamps and the serialisation of the three compiled files.
#include <cstddef>
#include <cstdint>
#include <string>

#include "compiler/descrizioni_in_memoria.h"
#include "compiler/errori.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    const std::string ingresso(reinterpret_cast<const char*>(dati), dimensione);
    const auto separatore = ingresso.find('\0');
    const std::string linea = ingresso.substr(0, separatore);
    const std::string treno =
        separatore == std::string::npos ? std::string() : ingresso.substr(separatore + 1);
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
    return 0;
}
