// Scales of the drawing: round steps, the metre axis shared by the panels under the plan, and
// the y scale of one panel.
#pragma once

#include <cmath>
#include <vector>

#include "tool/plot/stile.h"

namespace brunavia::strumento::disegno {

// A round step (1, 2, 2.5 or 5 times a power of ten) of at least `grezzo`.
double passo_tondo(double grezzo);

// The largest round length (1, 2 or 5 times a power of ten) not above `massimo`.
double tondo_sotto(double massimo);

// The metre axis shared by every panel under the plan: from `inizio` over `metri`.
struct AsseMetri {
    double metri = 1;  // the cells' whole length, or the stretch's
    double inizio = 0;
    double x(double m) const { return kMargineSinistro + (m - inizio) / metri * kLarghezzaArea; }
    double fine() const { return inizio + metri; }
    // The first multiple of the kilometre step on the axis, in km.
    double primo_km() const { return std::ceil(inizio / 1000 / passo_km() - 1e-9) * passo_km(); }
    double passo_km() const { return passo_tondo(kPixelTraTacche * metri / 1000 / kLarghezzaArea); }
};

struct ScalaY {
    double minimo = 0;
    double massimo = 1;
    double alto = 0;
    double altezza = 1;
    double passo = 1;  // between two ticks; `minimo` and `massimo` are multiples of it
    double y(double v) const { return alto + (massimo - v) / (massimo - minimo) * altezza; }
};

// A y scale over [minimo, massimo] widened to multiples of a round step.
ScalaY scala_per(double minimo, double massimo, double alto, double altezza);

// The tick values of a scale: every multiple of its step from its bottom to its top, so 0 is
// among them whenever the scale reaches it.
std::vector<double> tacche(const ScalaY& s);

}  // namespace brunavia::strumento::disegno
