// The plan of the line, turned so that it runs from the origin on the left to the line's end
// on the right, with its stations and a scale bar.
#pragma once

#include "tool/plot/dati.h"
#include "tool/plot/pagina.h"

namespace brunavia::strumento::disegno {

// Draws the plan panel from `y`; returns the y under it. Without plan points the panel says
// that the plan is missing.
double pannello_tracciato(Pagina& p, const Dati& d, double y);

}  // namespace brunavia::strumento::disegno
