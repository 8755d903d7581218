// The tracks of objects at their cells under the panels (stations, signals, maximum-speed
// boards, indication boards, slowdowns, markers), their labels in lanes, and the kilometre
// axis under them.
#pragma once

#include "tool/plot/dati.h"
#include "tool/plot/pagina.h"

namespace brunavia::strumento::disegno {

// Each track is drawn from `y` and returns the y under it (its labels included).
double traccia_stazioni(Pagina& p, const Dati& d, double y);
double traccia_segnali(Pagina& p, const Dati& d, double y);
double traccia_indicatori_v(Pagina& p, const Dati& d, double y);
double traccia_cartelli(Pagina& p, const Dati& d, double y);
double traccia_rallentamenti(Pagina& p, const Dati& d, double y);
double traccia_marcatori(Pagina& p, const Dati& d, double y);

// The kilometre axis at `y`, with the grid through the tracks from `alto`; returns the y
// under it.
double asse_km(Pagina& p, const Dati& d, double alto, double y);

}  // namespace brunavia::strumento::disegno
