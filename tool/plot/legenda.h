// The legend at the bottom of the page: one symbol and one text per kind of thing drawn.
#pragma once

#include "tool/plot/pagina.h"

namespace brunavia::strumento::disegno {

// Draws the legend from `y`; returns the y under it.
double legenda(Pagina& p, double y);

}  // namespace brunavia::strumento::disegno
