#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "compiler/modello.h"

namespace brunavia {

// The run was stopped by the error report: carries the prompt shown to the user.
class Terminazione : public std::runtime_error {
public:
    explicit Terminazione(const std::string& prompt) : std::runtime_error(prompt) {}
};

// The error report: shows " Errore n. " and the number and ends the program. Here it stores
// the OK answer in `risposta` and throws Terminazione, which the run sequence turns into the
// console line and the end of the program.
[[noreturn]] void errore(Form1& f, const std::string& a);

// One short explanation, in Italian, for every error number the compiler records.
std::string_view spiegazione_errore(std::int32_t codice);

// The line that reports a recorded compile error: "Errore n. N, posizione P - explanation".
std::string riga_errore_registrato(const Form1& f);

}  // namespace brunavia
