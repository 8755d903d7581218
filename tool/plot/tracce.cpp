#include "tool/plot/tracce.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

#include "tool/plot/pannelli.h"
#include "tool/testo.h"

namespace brunavia::strumento {
namespace disegno {
namespace {

struct Etichetta {
    double x = 0;  // the object's x
    std::string testo;
    std::string attributi;  // extra SVG attributes of the text, if any
};

// Labels under a track's symbol row, centred on their object where the page allows, in as
// many lanes as needed for none to overlap; a thin leader joins each to its object. On a whole
// page the lanes stop at kCorsieMassime: the labels beyond are left out, and a last lane says
// how many and how to see them (a stretch labels every object).
double etichette_in_corsie(Pagina& p, const Dati& d, const std::vector<Etichetta>& etichette,
                           double y_simboli) {
    std::vector<Intervallo> intervalli;
    for (const Etichetta& e : etichette) {
        const double w = larghezza_testo(e.testo, kCorpoEtichetta);
        const double sinistra = std::clamp(e.x - w / 2, kMargineSinistro, kDestraArea - w);
        intervalli.push_back({sinistra, sinistra + w});
    }
    const auto corsie = disponi_in_corsie(intervalli, kDistaccoEtichette);
    const std::size_t limite =
        d.ogni_etichetta ? std::numeric_limits<std::size_t>::max() : kCorsieMassime;
    const auto base = [&](std::size_t corsia) {
        return y_simboli + kRigaSimboli + (static_cast<double>(corsia) + 1) * kCorsia - 3;
    };
    std::size_t numero_corsie = 0;
    std::size_t omesse = 0;
    for (std::size_t i = 0; i < etichette.size(); ++i) {
        if (corsie[i] >= limite) {
            ++omesse;
            continue;
        }
        if (corsie[i] > 0) {
            p.linea(etichette[i].x, y_simboli + kRigaSimboli - 2, etichette[i].x,
                    base(corsie[i]) - kCorpoEtichetta, tratto(colore::guida, 0.5));
        }
        p.testo(intervalli[i].inizio, base(corsie[i]), etichette[i].testo, kCorpoEtichetta, "start",
                etichette[i].attributi);
        numero_corsie = std::max(numero_corsie, corsie[i] + 1);
    }
    if (omesse > 0) {
        p.testo(kMargineSinistro, base(numero_corsie),
                "... altre " + std::to_string(omesse) +
                    " etichette non entrano nella pagina: disegnare un tratto con --from KM "
                    "--to KM",
                kCorpoEtichetta, "start", "font-style=\"italic\"");
        ++numero_corsie;
    }
    return static_cast<double>(numero_corsie) * kCorsia;
}

// A track's name in the left margin, and a faint line along its symbol row.
void nome_traccia(Pagina& p, double y, std::string_view nome) {
    p.testo(kMargineSinistro - 10, y + 12, nome, kCorpoTraccia, "end");
    p.linea(kMargineSinistro, y + kRigaSimboli / 2, kDestraArea, y + kRigaSimboli / 2,
            tratto(colore::griglia, 0.8));
}

// A speed code as a label: the left speed, with "|right" when there is a right one; "?" and
// the raw number when the code has no single reading.
std::string etichetta_codice(const CodiceVelocita& c) {
    if (!c.unica()) return "?" + std::to_string(c.grezzo);
    const VelocitaCartello& v = c.letture.front();
    return std::to_string(v.sinistra) + (v.destra != 0 ? "|" + std::to_string(v.destra) : "");
}

// A board's label: categories a/b/c, or one value when the three read the same.
std::string etichetta_indicatore_v(const IndicatoreVMax& i) {
    const std::string a = etichetta_codice(i.categorie[0]);
    const std::string b = etichetta_codice(i.categorie[1]);
    const std::string c = etichetta_codice(i.categorie[2]);
    return a == b && b == c ? a : a + "/" + b + "/" + c;
}

bool ambiguo(const IndicatoreVMax& i) {
    return std::any_of(std::begin(i.categorie), std::end(i.categorie),
                       [](const CodiceVelocita& c) { return !c.unica(); });
}

std::string stile_ambiguo() {
    return riempi(colore::ambiguo) + " font-style=\"italic\"";
}

}  // namespace

double traccia_stazioni(Pagina& p, const Dati& d, double y) {
    nome_traccia(p, y, "Stazioni");
    std::vector<Etichetta> nomi;
    for (const Stazione& s : d.stazioni) {
        if (!d.nel_tratto(s.posizione)) continue;
        // A zone reaching before the origin (or the stretch) is drawn from there: left of the
        // axis stand the track names. The tooltip keeps the whole zone.
        const double x1 = d.asse.x(std::max(static_cast<double>(s.inizio), d.asse.inizio));
        const double x2 = d.asse.x(std::min(static_cast<double>(s.fine), d.asse.fine()));
        const double x = d.asse.x(s.posizione);
        if (x2 > x1) {
            p.rettangolo(x1, y + 4, x2 - x1, 8, riempi(colore::zona),
                         s.nome + ": zona " + std::to_string(s.inizio) + " ... " +
                             std::to_string(s.fine) + " m, orario " + s.orario);
        }
        p.linea(x, y + 1, x, y + 15, tratto(colore::stazione, 1.5));
        nomi.push_back({x, s.nome, ""});
    }
    return y + kRigaSimboli + etichette_in_corsie(p, d, nomi, y) + 6;
}

double traccia_segnali(Pagina& p, const Dati& d, double y) {
    nome_traccia(p, y, "Segnali");
    std::vector<Etichetta> metri;
    const auto& celle = d.s.celle;
    for (std::size_t k = d.prima_cella; k < d.dopo_cella; ++k) {
        if (celle[k].tipo_cella != tipo::segnale) continue;
        p.percorso(triangolo(x_cella(d, k), y + 13, y + 3, 4), riempi(colore::segnale),
                   "segnale, " + descrivi_cella(k, celle[k]));
        // The position of the signal's row (which puts it in cell position / 50 + 1).
        if (d.ogni_etichetta && k > 0)
            metri.push_back({x_cella(d, k), std::to_string(metri_cella(k - 1)), ""});
    }
    return y + kRigaSimboli + etichette_in_corsie(p, d, metri, y) + 6;
}

double traccia_indicatori_v(Pagina& p, const Dati& d, double y) {
    nome_traccia(p, y, "Cartelli V max");
    std::vector<Etichetta> velocita;
    std::string etichetta_precedente;
    std::int64_t metri_ultima_etichetta = 0;
    const auto& celle = d.s.celle;
    for (std::size_t k = d.prima_cella; k < d.dopo_cella; ++k) {
        if (celle[k].tipo_cella != tipo::indicatore_v_max) continue;
        const IndicatoreVMax i = indicatore_v_max(celle[k]);
        const double x = x_cella(d, k);
        p.rettangolo(x - 3.5, y + 4.5, 7, 7, riempi(colore::indicatore_v),
                     "cartello V max, " + descrivi_cella(k, celle[k]) + "; km/h sinistra|destra " +
                         testo_indicatore_v_max(i) + "; strisce " +
                         std::to_string(i.strisce_sinistra) + "|" +
                         std::to_string(i.strisce_destra));
        // Boards come in runs of three with equal speeds (and 2, 1, 0 stripes): the run is
        // labelled once. Any board whose speeds differ from the one before gets its own label;
        // in a stretch, every board.
        const std::string testo = etichetta_indicatore_v(i);
        const bool nuova = d.ogni_etichetta || testo != etichetta_precedente ||
                           metri_cella(k) - metri_ultima_etichetta > kRipetiEtichettaMetri;
        if (nuova) {
            velocita.push_back({x, testo, ambiguo(i) ? stile_ambiguo() : std::string()});
            metri_ultima_etichetta = metri_cella(k);
        }
        etichetta_precedente = testo;
    }
    return y + kRigaSimboli + etichette_in_corsie(p, d, velocita, y) + 6;
}

double traccia_cartelli(Pagina& p, const Dati& d, double y) {
    nome_traccia(p, y, "Indicatori");
    std::vector<Etichetta> testi;
    const auto& celle = d.s.celle;
    for (std::size_t k = d.prima_cella; k < d.dopo_cella; ++k) {
        if (celle[k].tipo_cella != tipo::cartello_indicatore) continue;
        const auto riga = static_cast<std::size_t>(celle[k].dato0);
        const std::string testo =
            riga < d.s.tabella.size() ? da_cp1252(d.s.tabella[riga].testo) : std::string("?");
        p.percorso(rombo(x_cella(d, k), y + 8, 4.5), riempi(colore::cartello),
                   "cartello indicatore, cella " + std::to_string(k) + " (metri " +
                       std::to_string(metri_cella(k)) + "), riga " + std::to_string(riga) + ": " +
                       testo);
        if (d.ogni_etichetta) testi.push_back({x_cella(d, k), testo, ""});
    }
    return y + kRigaSimboli + etichette_in_corsie(p, d, testi, y) + 6;
}

double traccia_rallentamenti(Pagina& p, const Dati& d, double y) {
    nome_traccia(p, y, "Rallentamenti");
    std::vector<Etichetta> velocita;
    const auto& celle = d.s.celle;
    for (std::size_t k = d.prima_cella; k < d.dopo_cella; ++k) {
        const cella& c = celle[k];
        const double x = x_cella(d, k);
        if (c.tipo_cella == tipo::inizio_rallentamento) {
            std::size_t e = k;
            while (e < d.dopo_cella && celle[e].tipo_cella != tipo::fine_rallentamento) ++e;
            const double x2 = x_cella(d, std::min(e, d.dopo_cella - 1));
            p.rettangolo(x, y + 5, x2 - x, 6, riempi(colore::rallentamento),
                         "rallentamento a " + std::to_string(c.dato0) + " km/h, celle " +
                             std::to_string(k) + " ... " + std::to_string(e));
            velocita.push_back({x, std::to_string(c.dato0) + " km/h", ""});
        } else if (c.tipo_cella == tipo::avviso_rallentamento) {
            p.percorso(triangolo(x, y + 14, y + 2, 5),
                       tratto(colore::rallentamento, 1.5) + " fill=\"#ffffff\"",
                       "avviso di rallentamento, " + descrivi_cella(k, c));
        } else if (c.tipo_cella == tipo::prima_dell_avviso) {
            p.rettangolo(x - 2, y + 6, 4, 4, riempi(colore::rallentamento),
                         "cella prima dell'avviso, " + descrivi_cella(k, c));
        }
    }
    return y + kRigaSimboli + etichette_in_corsie(p, d, velocita, y) + 6;
}

double traccia_marcatori(Pagina& p, const Dati& d, double y) {
    nome_traccia(p, y, "Marcatori");
    const auto& celle = d.s.celle;
    for (std::size_t k = d.prima_cella; k < d.dopo_cella; ++k) {
        const cella& c = celle[k];
        if (c.tipo_cella == tipo::marcatore) {
            p.cerchio(x_cella(d, k), y + 8, 3.5, riempi(colore::marcatore),
                      "marcatore, " + descrivi_cella(k, c));
        } else if (c.tipo_cella == tipo::abbattimento_nullo) {
            p.cerchio(x_cella(d, k), y + 8, 3.5, contorno(colore::marcatore, 1.5),
                      "abbattimento nullo, " + descrivi_cella(k, c));
        }
    }
    return y + kRigaSimboli + 6;
}

// The kilometre axis under the tracks, with the grid through them.
double asse_km(Pagina& p, const Dati& d, double alto, double y) {
    griglia_km(p, d.asse, alto, y - alto);
    fine_linea(p, d, alto, y - alto);
    p.linea(kMargineSinistro, y, kDestraArea, y, tratto(colore::asse));
    const double passo = d.asse.passo_km();
    for (double km = d.asse.primo_km(); km * 1000 <= d.asse.fine(); km += passo) {
        const double x = d.asse.x(km * 1000);
        p.linea(x, y, x, y + 5, tratto(colore::asse));
        char t[32];
        std::snprintf(t, sizeof t, "%g", km);
        p.testo(x, y + 17, t, kCorpoAsse, "middle");
    }
    // Clear of the first kilometre's number, which a stretch may start with (1000.5).
    p.testo(kMargineSinistro - 30, y + 17, "km", kCorpoTraccia, "end");
    return y + 30;
}

}  // namespace disegno

std::vector<std::size_t> disponi_in_corsie(const std::vector<Intervallo>& intervalli,
                                           double distacco) {
    std::vector<std::size_t> ordine(intervalli.size());
    std::iota(ordine.begin(), ordine.end(), std::size_t{0});
    std::stable_sort(ordine.begin(), ordine.end(), [&](std::size_t a, std::size_t b) {
        return intervalli[a].inizio < intervalli[b].inizio;
    });
    std::vector<double> fine_corsia;
    std::vector<std::size_t> corsia(intervalli.size(), 0);
    for (const std::size_t i : ordine) {
        std::size_t c = 0;
        while (c < fine_corsia.size() && fine_corsia[c] + distacco > intervalli[i].inizio) ++c;
        if (c == fine_corsia.size()) fine_corsia.push_back(0);
        fine_corsia[c] = intervalli[i].fine;
        corsia[i] = c;
    }
    return corsia;
}

}  // namespace brunavia::strumento
