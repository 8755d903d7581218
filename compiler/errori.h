#pragma once

#include <cstdint>
#include <span>
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

// An error number and its short explanation, in Italian.
struct VoceErrore {
    std::int32_t codice;
    std::string_view spiegazione;
};

// The one table of explanations: every error number the compile can record or report, in
// ascending order.
std::span<const VoceErrore> tabella_errori();

// The explanation of an error number ("errore sconosciuto" for a number not in the table).
std::string_view spiegazione_errore(std::int32_t codice);

// The line that reports a recorded compile error: "Errore n. N, posizione P - explanation".
std::string riga_errore_registrato(const Form1& f);

}  // namespace brunavia
