#include "tool/plot/planimetria.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tool/plot/pannelli.h"

namespace brunavia::strumento::disegno {
namespace {

constexpr double kAriaNomi = 2;        // kept free around a station's name on the plan
constexpr double kRaggioStazione = 5;  // a station's point, kept free of names

struct Riquadro {
    double x_min = INFINITY, x_max = -INFINITY, y_min = INFINITY, y_max = -INFINITY;
};

bool punto_valido(const Tracciato& t, std::size_t i) {
    return i < t.tipo.size() && t.tipo[i] != Tracciato::non_impostato && std::isfinite(t.x[i]) &&
           std::isfinite(t.y[i]);
}

// The plan turned so that the chord from the first point drawn to the last runs left to
// right: the plan reads in the same direction as the metre axis below it.
struct PianoGirato {
    const Tracciato& t;
    double coseno = 1;
    double seno = 0;

    std::pair<double, double> punto(std::size_t i) const {
        return {t.x[i] * coseno + t.y[i] * seno, t.y[i] * coseno - t.x[i] * seno};
    }
};

PianoGirato gira_piano(const Tracciato& t, std::size_t inizio, std::size_t fine) {
    while (fine > inizio && !punto_valido(t, fine)) --fine;
    const double dx = t.x[fine] - t.x[inizio], dy = t.y[fine] - t.y[inizio];
    const double corda = std::hypot(dx, dy);
    if (!punto_valido(t, inizio) || !(corda > 0)) return {t};
    return {t, dx / corda, dy / corda};
}

// A box on the page: left, top, right, bottom.
struct Scatola {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Scatola allargata(double d) const { return {x1 - d, y1 - d, x2 + d, y2 + d}; }
    bool incontra(const Scatola& b) const {
        return x1 < b.x2 && b.x1 < x2 && y1 < b.y2 && b.y1 < y2;
    }
};

// Whether the segment from a to b passes through the box (clipped against its four sides).
bool segmento_in_scatola(std::pair<double, double> a, std::pair<double, double> b,
                         const Scatola& s) {
    double t0 = 0, t1 = 1;
    const double dx = b.first - a.first, dy = b.second - a.second;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.first - s.x1, s.x2 - a.first, a.second - s.y1, s.y2 - a.second};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) return false;
    }
    return true;
}

// A station's name placed on the plan, the box it takes and whether a leader joins it to its
// point.
struct NomePiano {
    Scatola scatola;
    bool guida = false;
};

// The point of the box nearest to (x, y), where a leader from there ends.
std::pair<double, double> punto_piu_vicino(const Scatola& s, double x, double y) {
    return {std::clamp(x, s.x1, s.x2), std::clamp(y, s.y1, s.y2)};
}

using Segmento = std::pair<std::pair<double, double>, std::pair<double, double>>;

// What a name on the plan must keep clear of: the drawn line (and its margin), the station
// points, the names placed before it and their leaders. Its own leader keeps clear of those
// names too, unless the name lies beyond everything drawn so far (there a name is always
// placed, so that every name finds a spot).
struct Ostacoli {
    std::vector<Segmento> segmenti;
    std::vector<Scatola> punti;
    std::vector<Scatola> nomi;
    std::vector<Segmento> guide;
    double y_min = INFINITY, y_max = -INFINITY;  // of all the above

    static bool tocca(const std::vector<Segmento>& v, const Scatola& s) {
        return std::any_of(v.begin(), v.end(), [&](const Segmento& g) {
            return segmento_in_scatola(g.first, g.second, s);
        });
    }
    static bool tocca(const std::vector<Scatola>& v, const Scatola& s) {
        return std::any_of(v.begin(), v.end(), [&](const Scatola& b) { return s.incontra(b); });
    }

    void estendi(double y1, double y2) {
        y_min = std::min({y_min, y1, y2});
        y_max = std::max({y_max, y1, y2});
    }
    void aggiungi(const Segmento& g, std::vector<Segmento>& dove) {
        dove.push_back(g);
        estendi(g.first.second, g.second.second);
    }
    void aggiungi(const Scatola& b, std::vector<Scatola>& dove) {
        dove.push_back(b);
        estendi(b.y1, b.y2);
    }

    bool libero(const NomePiano& n, std::pair<double, double> punto) const {
        const Scatola larga = n.scatola.allargata(kAriaNomi);
        if (larga.y2 < y_min || larga.y1 > y_max) return true;
        if (tocca(punti, larga) || tocca(nomi, larga) || tocca(guide, larga) ||
            tocca(segmenti, larga))
            return false;
        if (!n.guida) return true;
        const auto fine = punto_piu_vicino(n.scatola, punto.first, punto.second);
        return std::none_of(nomi.begin(), nomi.end(), [&](const Scatola& b) {
            return segmento_in_scatola(punto, fine, b.allargata(kAriaNomi));
        });
    }

    void prendi(const NomePiano& n, std::pair<double, double> punto) {
        aggiungi(n.scatola, nomi);
        if (n.guida)
            aggiungi({punto, punto_piu_vicino(n.scatola, punto.first, punto.second)}, guide);
    }
};

// The spots tried for a name of width `w` at (x, y) on one line of distance from its point
// (0: just above or below it; further lines are joined by a leader): above, then below, each
// centred on the point or reaching right or left of it; all within the page's width.
std::vector<NomePiano> posti_per_nome(double x, double y, double w, int livello) {
    const double h = altezza_testo(kCorpoTraccia);
    const double sinistre[3] = {x - w / 2, x - 6, x - w + 6};
    const double distacco = 6 + livello * (h + 3);
    std::vector<NomePiano> posti;
    for (const double alto : {y - distacco - h, y + distacco}) {
        for (const double sinistra : sinistre) {
            const double x1 = std::clamp(sinistra, kMargineSinistro + 2, kDestraArea - 2 - w);
            posti.push_back({{x1, alto, x1 + w, alto + h}, livello > 0});
        }
    }
    return posti;
}

// Places each name in the first spot, nearest its point first, that keeps clear of the line,
// the station points, the names placed before it and their leaders, trying one line further
// out each time; past everything drawn so far a spot is always taken, so every name has one.
std::vector<NomePiano> disponi_nomi(const Punti& punti, const std::vector<double>& larghezze,
                                    Ostacoli ostacoli) {
    for (const auto& [x, y] : punti) {
        ostacoli.aggiungi(
            {x - kRaggioStazione, y - kRaggioStazione, x + kRaggioStazione, y + kRaggioStazione},
            ostacoli.punti);
    }
    std::vector<NomePiano> nomi;
    for (std::size_t i = 0; i < punti.size(); ++i) {
        std::optional<NomePiano> scelto;
        for (int livello = 0; !scelto; ++livello) {
            for (const NomePiano& n :
                 posti_per_nome(punti[i].first, punti[i].second, larghezze[i], livello)) {
                if (ostacoli.libero(n, punti[i])) {
                    scelto = n;
                    break;
                }
            }
        }
        ostacoli.prendi(*scelto, punti[i]);
        nomi.push_back(*scelto);
    }
    return nomi;
}

void barra_di_scala(Pagina& p, double y_titolo, double scala) {
    const double km = tondo_sotto(150 / scala / 1000);
    const double lunga = km * 1000 * scala;
    char t_km[32];
    std::snprintf(t_km, sizeof t_km, "%g km", km);
    const double bx = kDestraArea - larghezza_testo(t_km, kCorpoAsse) - 6 - lunga;
    const double by = y_titolo + 12;
    p.linea(bx, by, bx + lunga, by, tratto(colore::asse, 2));
    p.linea(bx, by - 4, bx, by, tratto(colore::asse, 1));
    p.linea(bx + lunga, by - 4, bx + lunga, by, tratto(colore::asse, 1));
    p.testo(bx + lunga + 6, by + 3.5, t_km, kCorpoAsse);
}

}  // namespace

double pannello_tracciato(Pagina& p, const Dati& d, double y) {
    const double y_titolo = y;
    y = titolo_pannello(p, y,
                        d.ogni_etichetta
                            ? "Planimetria del tratto (dal suo inizio, a sinistra, alla sua fine)"
                            : "Planimetria (dall'origine, a sinistra, alla fine della linea)");
    const auto& t = d.s.tracciato;
    const auto fine_linea_i = static_cast<std::size_t>(std::max(d.lunghezza, 0.0));
    Riquadro r;
    std::optional<PianoGirato> piano;
    // The plan has a point per metre: those of the axis are drawn, the stretch's or the line's
    // (turned on the chord of the line itself, without the margin beyond its end).
    std::size_t i0 = 0, i1 = 0;
    if (t && !t->tipo.empty()) {
        i0 = static_cast<std::size_t>(std::max(d.asse.inizio, 0.0));
        i1 = std::min(static_cast<std::size_t>(std::max(d.asse.fine(), 0.0)), t->tipo.size() - 1);
        piano.emplace(
            gira_piano(*t, std::min(i0, i1), d.ogni_etichetta ? i1 : std::min(fine_linea_i, i1)));
        for (std::size_t i = i0; i <= i1; ++i) {
            if (!punto_valido(*t, i)) continue;
            const auto [x, y_piano] = piano->punto(i);
            r.x_min = std::min(r.x_min, x);
            r.x_max = std::max(r.x_max, x);
            r.y_min = std::min(r.y_min, y_piano);
            r.y_max = std::max(r.y_max, y_piano);
        }
    }
    if (!(r.x_min <= r.x_max)) {
        p.rettangolo(kMargineSinistro, y, kLarghezzaArea, kAltezzaPianoMinima,
                     contorno(colore::griglia));
        p.testo(kMargineSinistro + kLarghezzaArea / 2, y + kAltezzaPianoMinima / 2,
                "tracciato assente: il file del piano non c'e' o non ha punti", kCorpoPannello,
                "middle");
        return y + kAltezzaPianoMinima + kSpazioPannelli;
    }
    // Fill the width, unless the plan would grow taller than its panel may.
    const double bordo = 28;
    const double dx = std::max(r.x_max - r.x_min, 1.0), dy = std::max(r.y_max - r.y_min, 1.0);
    double scala = (kLarghezzaArea - 2 * bordo) / dx;
    if (dy * scala + 2 * bordo > kAltezzaPiano) scala = (kAltezzaPiano - 2 * bordo) / dy;
    // The plan is laid out with its highest point at 0, then moved down into the panel once
    // the names have found their places above and below it.
    const double ox = kMargineSinistro + (kLarghezzaArea - dx * scala) / 2;
    const auto px = [&](std::size_t i) {
        const auto [x, y_piano] = piano->punto(i);
        return std::pair{ox + (x - r.x_min) * scala, (r.y_max - y_piano) * scala};
    };
    // The line itself, then the margin beyond its end.
    Punti linea, oltre;
    const auto passo = static_cast<std::size_t>(kPassoPianoMetri);
    std::vector<std::size_t> indici;
    for (std::size_t i = i0; i <= i1; i += passo) indici.push_back(i);
    indici.push_back(i1);
    if (fine_linea_i > i0 && fine_linea_i < i1) indici.push_back(fine_linea_i);
    std::sort(indici.begin(), indici.end());
    indici.erase(std::unique(indici.begin(), indici.end()), indici.end());
    for (const std::size_t i : indici) {
        if (!punto_valido(*t, i)) continue;
        if (i <= fine_linea_i) linea.push_back(px(i));
        if (i >= fine_linea_i) oltre.push_back(px(i));
    }
    std::vector<const Stazione*> sul_piano;
    Punti punti;
    std::vector<double> larghezze;
    for (const Stazione& s : d.stazioni) {
        if (s.posizione < 0 || !d.nel_tratto(s.posizione) ||
            !punto_valido(*t, static_cast<std::size_t>(s.posizione)))
            continue;
        sul_piano.push_back(&s);
        punti.push_back(px(static_cast<std::size_t>(s.posizione)));
        larghezze.push_back(larghezza_testo(s.nome, kCorpoTraccia));
    }
    Ostacoli ostacoli;
    for (const Punti* tratto_piano : {&linea, &oltre}) {
        for (std::size_t i = 1; i < tratto_piano->size(); ++i)
            ostacoli.aggiungi({(*tratto_piano)[i - 1], (*tratto_piano)[i]}, ostacoli.segmenti);
    }
    std::vector<NomePiano> nomi = disponi_nomi(punti, larghezze, std::move(ostacoli));

    // The panel's height: the plan and its names, with a border, at least the minimum.
    double sopra = 0, sotto = dy * scala;
    for (const NomePiano& n : nomi) {
        sopra = std::min(sopra, n.scatola.y1);
        sotto = std::max(sotto, n.scatola.y2);
    }
    const double altezza = std::max(sotto - sopra + 2 * bordo, kAltezzaPianoMinima);
    const double giu = y + (altezza - (sotto - sopra)) / 2 - sopra;
    const auto sposta = [giu](Punti& v) {
        for (auto& q : v) q.second += giu;
    };
    sposta(linea);
    sposta(oltre);
    sposta(punti);

    p.rettangolo(kMargineSinistro, y, kLarghezzaArea, altezza, contorno(colore::griglia));
    p.polilinea(oltre, tratto(colore::margine, 1.5) + " stroke-dasharray=\"6,4\"");
    p.polilinea(linea, tratto(colore::linea, 2));
    for (std::size_t i = 0; i < sul_piano.size(); ++i) {
        const Stazione& s = *sul_piano[i];
        const auto [x, y_punto] = punti[i];
        const Scatola b = nomi[i].scatola;
        const Scatola n{b.x1, b.y1 + giu, b.x2, b.y2 + giu};
        if (nomi[i].guida) {
            const auto [gx, gy] = punto_piu_vicino(n, x, y_punto);
            p.linea(x, y_punto, gx, gy, tratto(colore::guida, 0.6));
        }
        p.cerchio(x, y_punto, 3.5, riempi("#ffffff") + " " + tratto(colore::stazione, 1.2),
                  s.nome + " (" + std::to_string(s.posizione) + " m)");
        // The origin and the last station in bold.
        const bool estremo = &s == &d.stazioni.front() || &s == &d.stazioni.back();
        p.testo(n.x1, n.y1 + ascesa_testo(kCorpoTraccia), s.nome, kCorpoTraccia, "start",
                estremo ? "font-weight=\"bold\"" : "");
    }
    barra_di_scala(p, y_titolo, scala);
    return y + altezza + kSpazioPannelli;
}

}  // namespace brunavia::strumento::disegno
