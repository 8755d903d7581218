#pragma once

#include <array>
#include <string>
#include <string_view>

#include "writers/tabelle_linea.h"

// One formatter per row kind of the line description: each gives the exact text of a row.
namespace brunavia::linea {

std::string riga_curva(const Curva& c);
// The first gradient row of the file is spaced differently from the others.
std::string riga_pendenza(const Pendenza& p, bool prima);
std::string riga_montagna(const Montagna& m);
std::string riga_indicatore_vmax(const IndicatoreVmax& b);
// The board text: each non-empty group in parentheses, padded with spaces to the widest group.
std::string testo_cartello(const std::array<std::string_view, 3>& gruppi);
std::string riga_cartello(const CartelloIndicatore& c);

}  // namespace brunavia::linea
