#include "tool/plot/dati.h"

#include <algorithm>

namespace brunavia::strumento::disegno {

double pendenza_di(const cella& c) {
    return static_cast<double>(c.attributo5) - 100;
}

// Heights relative to the start: each cell climbs its gradient (per mille) over 50 m.
Punti profilo(const std::vector<cella>& celle) {
    std::size_t fine = celle.size();
    while (fine > 0 && celle[fine - 1].attributo5 == 0) --fine;
    Punti p{{0.0, 0.0}};
    double h = 0;
    for (std::size_t k = 0; k < fine; ++k) {
        h += pendenza_di(celle[k]) * 50 / 1000;
        p.emplace_back(static_cast<double>(metri_cella(k + 1)), h);
    }
    return p;
}

Punti ritaglia(const Punti& p, const AsseMetri& a) {
    const double da = a.inizio, fino = a.fine();
    const auto taglio = [](const std::pair<double, double>& u, const std::pair<double, double>& v,
                           double m) {
        const double t = (m - u.first) / (v.first - u.first);
        return std::pair{m, u.second + t * (v.second - u.second)};
    };
    Punti r;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const auto& q = p[i];
        if (i > 0) {
            const auto& u = p[i - 1];
            if (u.first < da && q.first > da) r.push_back(taglio(u, q, da));
            if (u.first < fino && q.first > fino) r.push_back(taglio(u, q, fino));
        }
        if (q.first >= da && q.first <= fino) r.push_back(q);
    }
    return r;
}

std::pair<double, double> estremi(const Punti& p) {
    double lo = 0, hi = 0;
    for (const auto& [m, v] : p) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    return {lo, hi};
}

Punti in_pixel(const Dati& d, const ScalaY& s, const Punti& valori) {
    Punti p;
    p.reserve(valori.size());
    for (const auto& [m, v] : valori) p.emplace_back(d.asse.x(m), s.y(v));
    return p;
}

double x_cella(const Dati& d, std::size_t k) {
    return d.asse.x(static_cast<double>(metri_cella(k)) + 25);
}

std::string descrivi_cella(std::size_t k, const cella& c) {
    return "cella " + std::to_string(k) + " (metri " + std::to_string(metri_cella(k)) +
           "): dato0 " + std::to_string(c.dato0) + ", dato1 " + std::to_string(c.dato1) +
           ", dato2 " + std::to_string(c.dato2) + ", dato3 " + std::to_string(c.dato3);
}

}  // namespace brunavia::strumento::disegno
