#include "tool/plot/pannelli.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace brunavia::strumento::disegno {
namespace {

void guide_stazioni(Pagina& p, const Dati& d, double alto, double altezza) {
    for (const Stazione& s : d.stazioni) {
        if (!d.nel_tratto(s.posizione)) continue;
        const double x = d.asse.x(s.posizione);
        p.linea(x, alto, x, alto + altezza,
                tratto(colore::guida, 0.6) + " stroke-dasharray=\"2,3\"");
    }
}

void asse_y(Pagina& p, const ScalaY& s) {
    for (const double v : tacche(s)) {
        const double y = s.y(v);
        p.linea(kMargineSinistro - 4, y, kMargineSinistro, y, tratto(colore::asse));
        p.linea(kMargineSinistro, y, kDestraArea, y, tratto(colore::griglia, 0.5));
        char t[32];
        std::snprintf(t, sizeof t, "%g", v);
        p.testo(kMargineSinistro - 7, y + 3.5, t, kCorpoAsse, "end");
    }
    p.rettangolo(kMargineSinistro, s.alto, kLarghezzaArea, s.altezza, contorno(colore::asse, 0.8));
}

// A panel of values along the line.
ScalaY pannello(Pagina& p, const Dati& d, double& y, std::string_view titolo, double altezza,
                double minimo, double massimo) {
    y = titolo_pannello(p, y, titolo);
    const ScalaY s = scala_per(minimo, massimo, y, altezza);
    griglia_km(p, d.asse, y, altezza);
    asse_y(p, s);
    guide_stazioni(p, d, y, altezza);
    y += altezza + kSpazioPannelli;
    return s;
}

}  // namespace

double titolo_pannello(Pagina& p, double y, std::string_view titolo) {
    p.testo(kMargineSinistro, y + 14, titolo, kCorpoPannello, "start", "font-weight=\"bold\"");
    return y + kSpazioTitolo;
}

void griglia_km(Pagina& p, const AsseMetri& a, double alto, double altezza) {
    const double passo = a.passo_km() * 1000;
    for (double m = a.primo_km() * 1000; m <= a.fine(); m += passo) {
        p.linea_verticale_libera(a.x(m), alto, alto + altezza, tratto(colore::griglia));
    }
}

// The line's end, where the 7000 m margin of the cells begins.
void fine_linea(Pagina& p, const Dati& d, double alto, double altezza) {
    if (!d.nel_tratto(d.lunghezza)) return;
    const double x = d.asse.x(d.lunghezza);
    p.linea_verticale_libera(x, alto, alto + altezza,
                             tratto(colore::linea, 1) + " stroke-dasharray=\"6,3\"");
}

double pannello_profilo(Pagina& p, const Dati& d, double y) {
    const Punti altezze = ritaglia(profilo(d.s.celle), d.asse);
    // The whole line's heights are shown from 0, the origin's; a stretch's fill its panel.
    auto [lo, hi] = estremi(altezze);
    if (d.ogni_etichetta && !altezze.empty()) {
        const auto [min, max] =
            std::minmax_element(altezze.begin(), altezze.end(),
                                [](const auto& a, const auto& b) { return a.second < b.second; });
        lo = min->second;
        hi = max->second;
    }
    const double alto = y + kSpazioTitolo;
    const ScalaY s =
        pannello(p, d, y, "Profilo altimetrico (m, rispetto all'origine) e tratti di montagna",
                 kAltezzaProfilo, lo, hi);
    // Climbing stretches: one band per run of cells with the same kind.
    const auto& celle = d.s.celle;
    for (std::size_t k = d.prima_cella; k < d.dopo_cella;) {
        std::size_t e = k;
        while (e < d.dopo_cella && celle[e].attributo3 == celle[k].attributo3) ++e;
        const std::uint8_t tipo_montagna = celle[k].attributo3;
        if (tipo_montagna != 0) {
            const char* c = colore::montagna[std::min<std::size_t>(tipo_montagna, 3) - 1];
            const double x1 =
                d.asse.x(std::max(static_cast<double>(metri_cella(k)), d.asse.inizio));
            const double x2 =
                d.asse.x(std::min(static_cast<double>(metri_cella(e)), d.asse.fine()));
            p.rettangolo(x1, alto, x2 - x1, kAltezzaProfilo, riempi(c),
                         "montagna tipo " + std::to_string(tipo_montagna) + ", metri " +
                             std::to_string(metri_cella(k)) + " ... " +
                             std::to_string(metri_cella(e)));
        }
        k = e;
    }
    Punti area = in_pixel(d, s, altezze);
    if (!area.empty()) {
        area.emplace_back(area.back().first, s.alto + s.altezza);
        area.emplace_back(area.front().first, s.alto + s.altezza);
        p.poligono(area, riempi(colore::profilo) + " fill-opacity=\"0.85\"");
        area.resize(area.size() - 2);
        p.polilinea(area, tratto(colore::profilo_bordo, 1.2));
    }
    fine_linea(p, d, alto, kAltezzaProfilo);
    return y;
}

double pannello_gradini(Pagina& p, const Dati& d, double y, std::string_view titolo, double altezza,
                        const Punti& tutti, double minimo, double massimo, const char* c) {
    const double alto = y + kSpazioTitolo;
    const Punti valori = ritaglia(tutti, d.asse);
    const auto [lo, hi] = estremi(valori);
    const ScalaY s =
        pannello(p, d, y, titolo, altezza, std::min(lo, minimo), std::max(hi, massimo));
    if (s.minimo < 0 && s.massimo > 0) {
        p.linea(kMargineSinistro, s.y(0), kDestraArea, s.y(0), tratto(colore::asse, 0.8));
    }
    p.polilinea(in_pixel(d, s, valori), tratto(c, 1.6));
    fine_linea(p, d, alto, altezza);
    return y;
}

}  // namespace brunavia::strumento::disegno
