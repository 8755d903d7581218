// The data a drawing works from: the decoded scenario, its metre axis and stations, and the
// per-cell values turned into points (metres, value).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tool/plot/disegno.h"
#include "tool/plot/scale.h"
#include "tool/scenario.h"

namespace brunavia::strumento::disegno {

struct Dati {
    const ScenarioCompilato& s;
    AsseMetri asse;        // the whole cells, or the stretch drawn
    double lunghezza = 0;  // the line's length, m
    std::vector<Stazione> stazioni;
    std::size_t prima_cella = 0;  // the cells drawn: [prima_cella, dopo_cella)
    std::size_t dopo_cella = 0;
    bool ogni_etichetta = false;  // a stretch: every board and signal gets its label

    bool nel_tratto(double m) const { return m >= asse.inizio && m <= asse.fine(); }
};

using Punti = std::vector<std::pair<double, double>>;  // metres, value

// The part of a line of points (metres, value) within the axis, cut where it crosses the
// axis's ends.
Punti ritaglia(const Punti& p, const AsseMetri& a);

// A per-cell value as steps, up to the last cell where it is set (not 0); merged where equal.
template <typename Valore>
Punti gradini(const std::vector<cella>& celle, Valore valore, std::uint8_t cella::*membro) {
    std::size_t fine = celle.size();
    while (fine > 0 && celle[fine - 1].*membro == 0) --fine;
    Punti p;
    for (std::size_t k = 0; k < fine; ++k) {
        const double v = valore(celle[k]);
        const auto m = static_cast<double>(metri_cella(k));
        if (p.empty() || p.back().second != v) {
            if (!p.empty()) p.emplace_back(m, p.back().second);
            p.emplace_back(m, v);
        }
    }
    if (!p.empty()) p.emplace_back(static_cast<double>(metri_cella(fine)), p.back().second);
    return p;
}

// The gradient of a cell, per mille.
double pendenza_di(const cella& c);

// Heights relative to the start: each cell climbs its gradient (per mille) over 50 m.
Punti profilo(const std::vector<cella>& celle);

// The lowest and highest value, 0 included.
std::pair<double, double> estremi(const Punti& p);

// Points in metres and values turned into page coordinates.
Punti in_pixel(const Dati& d, const ScalaY& s, const Punti& valori);

// The x of a cell's middle.
double x_cella(const Dati& d, std::size_t k);

// A cell's index, metres and four values, for a tooltip.
std::string descrivi_cella(std::size_t k, const cella& c);

}  // namespace brunavia::strumento::disegno
