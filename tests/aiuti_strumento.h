#pragma once

// Compiles shared by the tool's tests and their properties.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/modello.h"
#include "tool/decompile/decompila_prova.h"
#include "tool/nomi.h"

namespace brunavia::prova {

// The shipped descriptions, as the program writes them.
const std::string& linea_spedita();
const std::string& treno_spedito();

// What a compile leaves: its errors and the bytes of the table and the cells; `osservata`
// compiles with the tool's watcher of the reading.
std::string esito_compilazione(const std::string& linea, const std::string& treno, bool osservata);

// The compile's errors, as it records them, for the same texts (and the error report's number
// when it ended the compile).
std::vector<ErroreRegistrato> errori_compilati(const std::string& linea, const std::string& treno);

// The compiled files of a pair of descriptions, compiled in memory; nothing when the compile
// records an error.
std::optional<strumento::Compilati> compila_testi(const std::string& linea,
                                                  const std::string& treno, int flag = 1,
                                                  const strumento::NomiScenario& nomi = {"Brunavia",
                                                                                         "706"});

// The code the compiler stores for a speed board with these category-a speeds.
std::int16_t codice_compilato(std::int32_t sinistra, std::int32_t destra);

}  // namespace brunavia::prova
