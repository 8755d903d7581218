#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "app/schermo.h"
#include "compiler/modello.h"

namespace brunavia {

// Exit statuses of a run.
inline constexpr int kUscitaRegolare = 0;          // no error recorded
inline constexpr int kUscitaFermata = 1;           // stopped by the error report or a file failure
inline constexpr int kUscitaErroreRegistrato = 2;  // files written, a compile error recorded

// The run in its fixed order: waiting window, the five writers, the compile. Returns the exit
// status; every failure is shown on `schermo`.
int Form_Load(Form1& f, Schermo& schermo);
// The same on the console: every failure is reported on `errori` as one line.
int Form_Load(Form1& f, std::ostream& uscita, std::ostream& errori);

// Runs `lavoro` and shows what stops it on `schermo`: the error report (1250, 1251), a failed
// file operation, anything else as an internal error; each gives kUscitaFermata.
int con_rapporto_errori(Schermo& schermo, const std::function<int()>& lavoro);

// The whole program: the answer to its arguments, or the run in the program's folder.
int programma(const std::vector<std::string>& argomenti, Schermo& schermo);

}  // namespace brunavia
