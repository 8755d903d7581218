// The panels of values along the line (height profile with the climbing stretches, gradient,
// speed limit, adhesion) and the frame they share: title, y ticks, kilometre grid, station
// guides and the line's end.
#pragma once

#include <string_view>

#include "tool/plot/dati.h"
#include "tool/plot/pagina.h"

namespace brunavia::strumento::disegno {

// A panel's bold title; returns the top of the panel's area.
double titolo_pannello(Pagina& p, double y, std::string_view titolo);

// Vertical lines at the kilometre ticks, from `alto` down `altezza`.
void griglia_km(Pagina& p, const AsseMetri& a, double alto, double altezza);

// The line's end, where the 7000 m margin of the cells begins.
void fine_linea(Pagina& p, const Dati& d, double alto, double altezza);

// The height profile and the climbing stretches; returns the y under the panel.
double pannello_profilo(Pagina& p, const Dati& d, double y);

// A value per cell drawn as steps over a y scale that covers at least [minimo, massimo];
// returns the y under the panel.
double pannello_gradini(Pagina& p, const Dati& d, double y, std::string_view titolo, double altezza,
                        const Punti& valori, double minimo, double massimo, const char* c);

}  // namespace brunavia::strumento::disegno
