#pragma once

#include <rapidcheck.h>

#include <string>

namespace brunavia::prova {

// A pair of description texts (Windows-1252, CR LF) made from a seed: a line of 4 to 24 km
// with every row kind (positions anywhere within their cells, halves included; climbing
// stretches close enough to take kind 3, some meeting half a cell off the grid; boards with
// both boards' speeds) and a train with adhesion and speed rows,
// stations of every zone kind, slowdowns, "abbattimento" rows (some of the finishing rules'
// value) and signals, every object on a cell of its own. One pair in three also has rows that
// the program's writer never makes: repeated positions, rows in the margin beyond the line's
// end, overlapping climbing stretches and stretches of kind 0, signals a few cells apart and
// stations after the signals. Most pairs compile without error.
struct CoppiaCasuale {
    std::string linea;
    std::string treno;
    bool con_piano = true;  // compiled with the plan, else with flag 0
};

CoppiaCasuale coppia_da_seme(unsigned long long seme);
rc::Gen<CoppiaCasuale> coppia_casuale();

}  // namespace brunavia::prova
