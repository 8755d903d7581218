#pragma once

#include "compiler/modello.h"

namespace brunavia {

// Walks the cells once and adds the marker cells in front of signals near slowdown warning
// boards, before and inside slowdowns and at their exits; errors 11 to 13 are recorded.
void applica_finitura(Form1& f);

// The smaller of two numbers (the second when the first is greater, else the first).
template <typename T>
T minimo(T a, T b) {
    return a > b ? b : a;
}

}  // namespace brunavia
