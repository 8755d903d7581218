#pragma once

#include <string>

namespace brunavia::banco {

// Descriptions of any length with the density of features of the shipped ones, per 120 km:
// line: 195 curves, 103 gradients, 20 climbing stretches, 31 speed boards;
// train: 37 adhesion rows, 24 speed rows, 44 signals, plus 4 slowdowns (the shipped train has
// none, which would leave the finishing rules idle).
// The table rows 1 ... 80 are shared by board texts and stations, so both stay at the shipped
// counts whatever the length: 55 indication boards, 23 stations spread over the line.
std::string linea_generata(int metri);
std::string treno_generato(int metri);

}  // namespace brunavia::banco
