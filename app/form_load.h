#pragma once

#include <iosfwd>

#include "compiler/modello.h"

namespace brunavia {

// Exit statuses of a run.
inline constexpr int kUscitaRegolare = 0;          // no error recorded
inline constexpr int kUscitaFermata = 1;           // stopped by the error report or a file failure
inline constexpr int kUscitaErroreRegistrato = 2;  // files written, a compile error recorded

// The run in its fixed order: waiting line, the five writers, the compile. Returns the exit
// status; every failure is reported on `errori` as one line.
int Form_Load(Form1& f, std::ostream& uscita, std::ostream& errori);

}  // namespace brunavia
