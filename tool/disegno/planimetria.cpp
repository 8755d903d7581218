#include "tool/disegno/planimetria.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "tool/disegno/pannelli.h"

namespace brunavia::strumento::disegno {
namespace {

struct Riquadro {
    double x_min = INFINITY, x_max = -INFINITY, y_min = INFINITY, y_max = -INFINITY;
};

bool punto_valido(const Tracciato& t, std::size_t i) {
    return i < t.tipo.size() && t.tipo[i] != Tracciato::non_impostato && std::isfinite(t.x[i]) &&
           std::isfinite(t.y[i]);
}

// The plan turned about its origin so that the chord from there to the line's end runs
// left to right: the plan reads in the same direction as the metre axis below it.
struct PianoGirato {
    const Tracciato& t;
    double coseno = 1;
    double seno = 0;

    std::pair<double, double> punto(std::size_t i) const {
        return {t.x[i] * coseno + t.y[i] * seno, t.y[i] * coseno - t.x[i] * seno};
    }
};

PianoGirato gira_piano(const Tracciato& t, std::size_t fine_linea) {
    std::size_t fine = std::min(fine_linea, t.tipo.size() - 1);
    while (fine > 0 && !punto_valido(t, fine)) --fine;
    const double dx = t.x[fine] - t.x[0], dy = t.y[fine] - t.y[0];
    const double corda = std::hypot(dx, dy);
    if (!punto_valido(t, 0) || !(corda > 0)) return {t};
    return {t, dx / corda, dy / corda};
}

}  // namespace

double pannello_tracciato(Pagina& p, const Dati& d, double y) {
    y = titolo_pannello(p, y, "Planimetria (dall'origine, a sinistra, alla fine della linea)");
    const auto& t = d.s.tracciato;
    const auto fine_linea_i = static_cast<std::size_t>(std::max(d.lunghezza, 0.0));
    Riquadro r;
    std::optional<PianoGirato> piano;
    if (t && !t->tipo.empty()) {
        piano.emplace(gira_piano(*t, fine_linea_i));
        for (std::size_t i = 0; i < t->tipo.size(); ++i) {
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
    const double altezza = std::max(dy * scala + 2 * bordo, kAltezzaPianoMinima);
    p.rettangolo(kMargineSinistro, y, kLarghezzaArea, altezza, contorno(colore::griglia));
    const double ox = kMargineSinistro + (kLarghezzaArea - dx * scala) / 2;
    const double oy = y + (altezza + dy * scala) / 2;
    const auto px = [&](std::size_t i) {
        const auto [x, y_piano] = piano->punto(i);
        return std::pair{ox + (x - r.x_min) * scala, oy - (y_piano - r.y_min) * scala};
    };
    // The line itself, then the margin beyond its end, dashed.
    Punti linea, oltre;
    const auto passo = static_cast<std::size_t>(kPassoPianoMetri);
    for (std::size_t i = 0; i < t->tipo.size(); i += passo) {
        if (!punto_valido(*t, i)) continue;
        (i <= fine_linea_i ? linea : oltre).push_back(px(i));
        if (i <= fine_linea_i && i + passo > fine_linea_i && punto_valido(*t, fine_linea_i)) {
            linea.push_back(px(fine_linea_i));
            oltre.push_back(px(fine_linea_i));
        }
    }
    p.polilinea(oltre, tratto(colore::margine, 1.5) + " stroke-dasharray=\"6,4\"");
    p.polilinea(linea, tratto(colore::linea, 2));
    const auto punto_di = [&](const Stazione& s) -> std::optional<std::pair<double, double>> {
        if (s.posizione < 0 || !punto_valido(*t, static_cast<std::size_t>(s.posizione))) {
            return std::nullopt;
        }
        return px(static_cast<std::size_t>(s.posizione));
    };
    for (const Stazione& s : d.stazioni) {
        if (const auto q = punto_di(s)) {
            p.cerchio(q->first, q->second, 3.5,
                      riempi("#ffffff") + " " + tratto(colore::stazione, 1.2),
                      s.nome + " (" + std::to_string(s.posizione) + " m)");
        }
    }
    // Origin and destination named above their points, towards the inside of the page.
    if (!d.stazioni.empty()) {
        if (const auto q = punto_di(d.stazioni.front())) {
            p.testo(q->first - 4, q->second - 9, d.stazioni.front().nome, kCorpoTraccia, "start",
                    "font-weight=\"bold\"");
        }
        if (const auto q = punto_di(d.stazioni.back()); q && d.stazioni.size() > 1) {
            p.testo(q->first + 4, q->second - 9, d.stazioni.back().nome, kCorpoTraccia, "end",
                    "font-weight=\"bold\"");
        }
    }
    // Scale bar, bottom left.
    const double km = tondo_sotto(150 / scala / 1000);
    const double lunga = km * 1000 * scala;
    const double bx = kMargineSinistro + 12, by = y + altezza - 10;
    p.linea(bx, by, bx + lunga, by, tratto(colore::asse, 2));
    p.linea(bx, by - 4, bx, by, tratto(colore::asse, 1));
    p.linea(bx + lunga, by - 4, bx + lunga, by, tratto(colore::asse, 1));
    char t_km[32];
    std::snprintf(t_km, sizeof t_km, "%g km", km);
    p.testo(bx + lunga + 6, by + 3.5, t_km, kCorpoAsse);
    return y + altezza + kSpazioPannelli;
}

}  // namespace brunavia::strumento::disegno
