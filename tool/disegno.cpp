#include "tool/disegno.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <utility>

#include "compiler/nomi_file.h"
#include "tool/scenario.h"
#include "tool/testo.h"

namespace brunavia::strumento {
namespace {

// ---- page geometry, fonts and colours: one place ----

constexpr double kLarghezzaPagina = 1600;
constexpr double kMargineSinistro = 130;  // track names and y-axis values
constexpr double kMargineDestro = 30;
constexpr double kLarghezzaArea = kLarghezzaPagina - kMargineSinistro - kMargineDestro;
constexpr double kDestraArea = kMargineSinistro + kLarghezzaArea;

constexpr double kAltezzaPiano = 380;  // at most; a plan that fills the width may take less
constexpr double kAltezzaPianoMinima = 150;
constexpr double kAltezzaProfilo = 150;
constexpr double kAltezzaPendenza = 90;
constexpr double kAltezzaVelocita = 110;
constexpr double kAltezzaAderenza = 80;
constexpr double kSpazioTitolo = 22;    // panel title above its area
constexpr double kSpazioPannelli = 18;  // between two panels
constexpr double kRigaSimboli = 16;     // a track's symbol row
constexpr double kCorsia = 14;          // one lane of labels
constexpr double kDistaccoEtichette = 6;
constexpr double kPassoPianoMetri = 50;               // the plan is drawn from one point every 50 m
constexpr double kPixelTraTacche = 70;                // at least this far between two km ticks
constexpr std::int64_t kRipetiEtichettaMetri = 3000;  // a board speed is named again after this

constexpr double kCorpoTitolo = 18;
constexpr double kCorpoSottotitolo = 12;
constexpr double kCorpoPannello = 13;
constexpr double kCorpoAsse = 10;
constexpr double kCorpoTraccia = 11;
constexpr double kCorpoEtichetta = 10;

constexpr const char* kCarattere = "DejaVu Sans, Arial, Helvetica, sans-serif";

namespace colore {
constexpr const char* profilo = "#dcc29b";
constexpr const char* profilo_bordo = "#8a6a43";
constexpr const char* montagna[3] = {"#efe3f7", "#dcc6ee", "#c4a3e3"};  // kinds 1, 2, 3
constexpr const char* pendenza = "#6b4f2c";
constexpr const char* velocita = "#1f5fbf";
constexpr const char* aderenza = "#2a9d4b";
constexpr const char* stazione = "#222222";
constexpr const char* zona = "#cfcfcf";
constexpr const char* segnale = "#d62728";
constexpr const char* indicatore_v = "#1f77b4";
constexpr const char* cartello = "#7f7f7f";
constexpr const char* rallentamento = "#ff7f0e";
constexpr const char* marcatore = "#9467bd";
constexpr const char* griglia = "#e4e4e4";
constexpr const char* guida = "#b0b0b0";
constexpr const char* asse = "#555555";
constexpr const char* linea = "#303030";
constexpr const char* margine = "#9a9a9a";
}  // namespace colore

std::string n(double v) {
    char t[32];
    std::snprintf(t, sizeof t, "%.1f", v);
    return t;
}

// ---- the page ----

class Pagina {
public:
    // A text with its baseline at `y`; `ancora` is "start", "middle" or "end".
    void testo(double x, double y, std::string_view t, double corpo,
               std::string_view ancora = "start", std::string_view attributi = "") {
        const double w = larghezza_testo(t, corpo);
        const double sinistra = ancora == "middle" ? x - w / 2 : ancora == "end" ? x - w : x;
        scritte_.push_back({sinistra, y - corpo * 0.95, w, corpo * 1.25, std::string(t)});
        svg_ += "<text x=\"" + n(x) + "\" y=\"" + n(y) + "\" font-size=\"" + n(corpo) +
                "\" text-anchor=\"" + std::string(ancora) + "\"";
        if (!attributi.empty()) svg_ += " " + std::string(attributi);
        svg_ += ">" + testo_xml(t) + "</text>\n";
    }
    void linea(double x1, double y1, double x2, double y2, std::string_view tratto) {
        svg_ += "<line x1=\"" + n(x1) + "\" y1=\"" + n(y1) + "\" x2=\"" + n(x2) + "\" y2=\"" +
                n(y2) + "\" " + std::string(tratto) + "/>\n";
    }
    void rettangolo(double x, double y, double w, double h, std::string_view stile,
                    std::string_view titolo = "") {
        forma("rect x=\"" + n(x) + "\" y=\"" + n(y) + "\" width=\"" + n(std::max(w, 0.5)) +
                  "\" height=\"" + n(h) + "\" " + std::string(stile),
              "rect", titolo);
    }
    void percorso(const std::string& d, std::string_view stile, std::string_view titolo = "") {
        forma("path d=\"" + d + "\" " + std::string(stile), "path", titolo);
    }
    void cerchio(double x, double y, double r, std::string_view stile,
                 std::string_view titolo = "") {
        forma("circle cx=\"" + n(x) + "\" cy=\"" + n(y) + "\" r=\"" + n(r) + "\" " +
                  std::string(stile),
              "circle", titolo);
    }
    void polilinea(const std::vector<std::pair<double, double>>& punti, std::string_view stile) {
        if (punti.size() < 2) return;
        std::string p;
        for (const auto& [x, y] : punti) p += n(x) + "," + n(y) + " ";
        svg_ += "<polyline fill=\"none\" points=\"" + p + "\" " + std::string(stile) + "/>\n";
    }
    void poligono(const std::vector<std::pair<double, double>>& punti, std::string_view stile) {
        if (punti.size() < 3) return;
        std::string p;
        for (const auto& [x, y] : punti) p += n(x) + "," + n(y) + " ";
        svg_ += "<polygon points=\"" + p + "\" " + std::string(stile) + "/>\n";
    }

    Disegno chiudi(double altezza) && {
        Disegno d;
        d.svg =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
            n(kLarghezzaPagina) + "\" height=\"" + n(altezza) + "\" viewBox=\"0 0 " +
            n(kLarghezzaPagina) + " " + n(altezza) + "\" font-family=\"" + kCarattere +
            "\">\n<rect x=\"0\" y=\"0\" width=\"" + n(kLarghezzaPagina) + "\" height=\"" +
            n(altezza) + "\" fill=\"#ffffff\"/>\n" + svg_ + "</svg>\n";
        d.scritte = std::move(scritte_);
        return d;
    }

private:
    // A shape, with a tooltip when `titolo` is given.
    void forma(const std::string& apertura, std::string_view elemento, std::string_view titolo) {
        if (titolo.empty()) {
            svg_ += "<" + apertura + "/>\n";
        } else {
            svg_ += "<" + apertura + "><title>" + testo_xml(titolo) + "</title></" +
                    std::string(elemento) + ">\n";
        }
    }

    std::string svg_;
    std::vector<Scritta> scritte_;
};

std::string riempi(const char* c) {
    return std::string("fill=\"") + c + "\"";
}
std::string tratto(const char* c, double spessore = 1) {
    return std::string("stroke=\"") + c + "\" stroke-width=\"" + n(spessore) + "\"";
}
// An outline only: a stroke and no fill.
std::string contorno(const char* c, double spessore = 1) {
    return "fill=\"none\" " + tratto(c, spessore);
}

// ---- scales ----

// A round step (1, 2, 2.5 or 5 times a power of ten) of at least `grezzo`.
double passo_tondo(double grezzo) {
    if (!(grezzo > 0)) return 1;
    const double e = std::pow(10.0, std::floor(std::log10(grezzo)));
    for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (m * e >= grezzo * 0.999) return m * e;
    }
    return 10 * e;
}

// The metre axis shared by every panel under the plan.
struct AsseMetri {
    double metri = 1;  // the cells' whole length
    double x(double m) const { return kMargineSinistro + m / metri * kLarghezzaArea; }
    double passo_km() const { return passo_tondo(kPixelTraTacche * metri / 1000 / kLarghezzaArea); }
};

struct ScalaY {
    double minimo = 0;
    double massimo = 1;
    double alto = 0;
    double altezza = 1;
    double y(double v) const { return alto + (massimo - v) / (massimo - minimo) * altezza; }
};

// A y scale over [minimo, massimo] widened to round ticks.
ScalaY scala_per(double minimo, double massimo, double alto, double altezza) {
    if (!(massimo > minimo)) massimo = minimo + 1;
    const double passo = passo_tondo((massimo - minimo) / 4);
    return {std::floor(minimo / passo) * passo, std::ceil(massimo / passo) * passo, alto, altezza};
}

// ---- the data drawn ----

struct Dati {
    const ScenarioCompilato& s;
    AsseMetri asse;
    double lunghezza = 0;  // the line's length, m
    std::vector<Stazione> stazioni;
};

using Punti = std::vector<std::pair<double, double>>;  // metres, value

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

std::pair<double, double> estremi(const Punti& p) {
    double lo = 0, hi = 0;
    for (const auto& [m, v] : p) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    return {lo, hi};
}

// ---- panel frame: title, y ticks, km grid and station guides ----

double titolo_pannello(Pagina& p, double y, std::string_view titolo) {
    p.testo(kMargineSinistro, y + 14, titolo, kCorpoPannello, "start", "font-weight=\"bold\"");
    return y + kSpazioTitolo;
}

void griglia_km(Pagina& p, const AsseMetri& a, double alto, double altezza) {
    const double passo = a.passo_km() * 1000;
    for (double m = 0; m <= a.metri; m += passo) {
        p.linea(a.x(m), alto, a.x(m), alto + altezza, tratto(colore::griglia));
    }
}

void guide_stazioni(Pagina& p, const Dati& d, double alto, double altezza) {
    for (const Stazione& s : d.stazioni) {
        const double x = d.asse.x(s.posizione);
        p.linea(x, alto, x, alto + altezza,
                tratto(colore::guida, 0.6) + " stroke-dasharray=\"2,3\"");
    }
}

void asse_y(Pagina& p, const ScalaY& s) {
    const double passo = passo_tondo((s.massimo - s.minimo) / 4);
    for (double v = s.minimo; v <= s.massimo + passo / 1000; v += passo) {
        const double y = s.y(v);
        p.linea(kMargineSinistro - 4, y, kMargineSinistro, y, tratto(colore::asse));
        p.linea(kMargineSinistro, y, kDestraArea, y, tratto(colore::griglia, 0.5));
        char t[32];
        std::snprintf(t, sizeof t, "%g", std::abs(v) < passo / 1000 ? 0.0 : v);
        p.testo(kMargineSinistro - 7, y + 3.5, t, kCorpoAsse, "end");
    }
    p.rettangolo(kMargineSinistro, s.alto, kLarghezzaArea, s.altezza, contorno(colore::asse, 0.8));
}

// The line's end, where the 7000 m margin of the cells begins.
void fine_linea(Pagina& p, const Dati& d, double alto, double altezza) {
    const double x = d.asse.x(d.lunghezza);
    p.linea(x, alto, x, alto + altezza, tratto(colore::linea, 1) + " stroke-dasharray=\"6,3\"");
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

Punti in_pixel(const Dati& d, const ScalaY& s, const Punti& valori) {
    Punti p;
    p.reserve(valori.size());
    for (const auto& [m, v] : valori) p.emplace_back(d.asse.x(m), s.y(v));
    return p;
}

// ---- the plan ----

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

// The largest round length (1, 2 or 5 times a power of ten) not above `massimo`.
double tondo_sotto(double massimo) {
    const double e = std::pow(10.0, std::floor(std::log10(massimo)));
    for (const double m : {5.0, 2.0, 1.0}) {
        if (m * e <= massimo) return m * e;
    }
    return e;
}

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

// ---- panels along the line ----

double pannello_profilo(Pagina& p, const Dati& d, double y) {
    const Punti altezze = profilo(d.s.celle);
    const auto [lo, hi] = estremi(altezze);
    const double alto = y + kSpazioTitolo;
    const ScalaY s =
        pannello(p, d, y, "Profilo altimetrico (m, rispetto all'origine) e tratti di montagna",
                 kAltezzaProfilo, lo, hi);
    // Climbing stretches: one band per run of cells with the same kind.
    const auto& celle = d.s.celle;
    for (std::size_t k = 0; k < celle.size();) {
        std::size_t e = k;
        while (e < celle.size() && celle[e].attributo3 == celle[k].attributo3) ++e;
        const std::uint8_t tipo_montagna = celle[k].attributo3;
        if (tipo_montagna != 0) {
            const char* c = colore::montagna[std::min<std::size_t>(tipo_montagna, 3) - 1];
            p.rettangolo(d.asse.x(static_cast<double>(metri_cella(k))), alto,
                         d.asse.x(static_cast<double>(metri_cella(e))) -
                             d.asse.x(static_cast<double>(metri_cella(k))),
                         kAltezzaProfilo, riempi(c),
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
                        const Punti& valori, double minimo, double massimo, const char* c) {
    const double alto = y + kSpazioTitolo;
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

// ---- tracks of objects at their cells ----

struct Etichetta {
    double x = 0;  // the object's x
    std::string testo;
};

// Labels under a track's symbol row, centred on their object where the page allows, in as
// many lanes as needed for none to overlap; a thin leader joins each to its object.
double etichette_in_corsie(Pagina& p, const std::vector<Etichetta>& etichette, double y_simboli) {
    std::vector<Intervallo> intervalli;
    for (const Etichetta& e : etichette) {
        const double w = larghezza_testo(e.testo, kCorpoEtichetta);
        const double sinistra = std::clamp(e.x - w / 2, kMargineSinistro, kDestraArea - w);
        intervalli.push_back({sinistra, sinistra + w});
    }
    const auto corsie = disponi_in_corsie(intervalli, kDistaccoEtichette);
    std::size_t numero_corsie = 0;
    for (std::size_t i = 0; i < etichette.size(); ++i) {
        const double base =
            y_simboli + kRigaSimboli + (static_cast<double>(corsie[i]) + 1) * kCorsia - 3;
        if (corsie[i] > 0) {
            p.linea(etichette[i].x, y_simboli + kRigaSimboli - 2, etichette[i].x,
                    base - kCorpoEtichetta, tratto(colore::guida, 0.5));
        }
        p.testo(intervalli[i].inizio, base, etichette[i].testo, kCorpoEtichetta);
        numero_corsie = std::max(numero_corsie, corsie[i] + 1);
    }
    return static_cast<double>(numero_corsie) * kCorsia;
}

double x_cella(const Dati& d, std::size_t k) {
    return d.asse.x(static_cast<double>(metri_cella(k)) + 25);
}

std::string descrivi_cella(std::size_t k, const cella& c) {
    return "cella " + std::to_string(k) + " (metri " + std::to_string(metri_cella(k)) +
           "): dato0 " + std::to_string(c.dato0) + ", dato1 " + std::to_string(c.dato1) +
           ", dato2 " + std::to_string(c.dato2) + ", dato3 " + std::to_string(c.dato3);
}

std::string triangolo(double x, double base, double alto, double mezza) {
    return "M" + n(x - mezza) + "," + n(base) + " L" + n(x + mezza) + "," + n(base) + " L" + n(x) +
           "," + n(alto) + " Z";
}

std::string rombo(double x, double y, double r) {
    return "M" + n(x) + "," + n(y - r) + " L" + n(x + r) + "," + n(y) + " L" + n(x) + "," +
           n(y + r) + " L" + n(x - r) + "," + n(y) + " Z";
}

// A track's name in the left margin, and a faint line along its symbol row.
void nome_traccia(Pagina& p, double y, std::string_view nome) {
    p.testo(kMargineSinistro - 10, y + 12, nome, kCorpoTraccia, "end");
    p.linea(kMargineSinistro, y + kRigaSimboli / 2, kDestraArea, y + kRigaSimboli / 2,
            tratto(colore::griglia, 0.8));
}

double traccia_stazioni(Pagina& p, const Dati& d, double y) {
    nome_traccia(p, y, "Stazioni");
    std::vector<Etichetta> nomi;
    for (const Stazione& s : d.stazioni) {
        const double x1 = d.asse.x(s.inizio), x2 = d.asse.x(s.fine), x = d.asse.x(s.posizione);
        p.rettangolo(x1, y + 4, x2 - x1, 8, riempi(colore::zona),
                     s.nome + ": zona " + std::to_string(s.inizio) + " ... " +
                         std::to_string(s.fine) + " m, orario " + orario(s.orario));
        p.linea(x, y + 1, x, y + 15, tratto(colore::stazione, 1.5));
        nomi.push_back({x, s.nome});
    }
    return y + kRigaSimboli + etichette_in_corsie(p, nomi, y) + 6;
}

double traccia_segnali(Pagina& p, const Dati& d, double y) {
    nome_traccia(p, y, "Segnali");
    const auto& celle = d.s.celle;
    for (std::size_t k = 0; k < celle.size(); ++k) {
        if (celle[k].tipo_cella != tipo::segnale) continue;
        p.percorso(triangolo(x_cella(d, k), y + 13, y + 3, 4), riempi(colore::segnale),
                   "segnale, " + descrivi_cella(k, celle[k]));
    }
    return y + kRigaSimboli + 6;
}

double traccia_indicatori_v(Pagina& p, const Dati& d, double y) {
    nome_traccia(p, y, "Cartelli V max");
    std::vector<Etichetta> velocita;
    std::int32_t velocita_precedente = -1;
    std::int64_t metri_ultima_etichetta = 0;
    const auto& celle = d.s.celle;
    for (std::size_t k = 0; k < celle.size(); ++k) {
        if (celle[k].tipo_cella != tipo::indicatore_v_max) continue;
        const IndicatoreVMax i = indicatore_v_max(celle[k]);
        const double x = x_cella(d, k);
        p.rettangolo(x - 3.5, y + 4.5, 7, 7, riempi(colore::indicatore_v),
                     "cartello V max, " + descrivi_cella(k, celle[k]) + "; sinistra " +
                         std::to_string(i.sinistra[0]) + "/" + std::to_string(i.sinistra[1]) + "/" +
                         std::to_string(i.sinistra[2]) + " km/h, strisce " +
                         std::to_string(i.strisce_sinistra));
        // Boards come in runs of three with equal speeds: the run is labelled once.
        const bool nuova = i.sinistra[0] != velocita_precedente ||
                           metri_cella(k) - metri_ultima_etichetta > kRipetiEtichettaMetri;
        if (nuova) {
            velocita.push_back({x, std::to_string(i.sinistra[0])});
            metri_ultima_etichetta = metri_cella(k);
        }
        velocita_precedente = i.sinistra[0];
    }
    return y + kRigaSimboli + etichette_in_corsie(p, velocita, y) + 6;
}

double traccia_cartelli(Pagina& p, const Dati& d, double y) {
    nome_traccia(p, y, "Indicatori");
    const auto& celle = d.s.celle;
    for (std::size_t k = 0; k < celle.size(); ++k) {
        if (celle[k].tipo_cella != tipo::cartello_indicatore) continue;
        const auto riga = static_cast<std::size_t>(celle[k].dato0);
        const std::string testo =
            riga < d.s.tabella.size() ? da_cp1252(d.s.tabella[riga].testo) : std::string("?");
        p.percorso(rombo(x_cella(d, k), y + 8, 4.5), riempi(colore::cartello),
                   "cartello indicatore, cella " + std::to_string(k) + " (metri " +
                       std::to_string(metri_cella(k)) + "), riga " + std::to_string(riga) + ": " +
                       testo);
    }
    return y + kRigaSimboli + 6;
}

double traccia_rallentamenti(Pagina& p, const Dati& d, double y) {
    nome_traccia(p, y, "Rallentamenti");
    std::vector<Etichetta> velocita;
    const auto& celle = d.s.celle;
    for (std::size_t k = 0; k < celle.size(); ++k) {
        const cella& c = celle[k];
        const double x = x_cella(d, k);
        if (c.tipo_cella == tipo::inizio_rallentamento) {
            std::size_t e = k;
            while (e < celle.size() && celle[e].tipo_cella != tipo::fine_rallentamento) ++e;
            const double x2 = x_cella(d, std::min(e, celle.size() - 1));
            p.rettangolo(x, y + 5, x2 - x, 6, riempi(colore::rallentamento),
                         "rallentamento a " + std::to_string(c.dato0) + " km/h, celle " +
                             std::to_string(k) + " ... " + std::to_string(e));
            velocita.push_back({x, std::to_string(c.dato0) + " km/h"});
        } else if (c.tipo_cella == tipo::avviso_rallentamento) {
            p.percorso(triangolo(x, y + 14, y + 2, 5),
                       tratto(colore::rallentamento, 1.5) + " fill=\"#ffffff\"",
                       "avviso di rallentamento, " + descrivi_cella(k, c));
        } else if (c.tipo_cella == tipo::prima_dell_avviso) {
            p.rettangolo(x - 2, y + 6, 4, 4, riempi(colore::rallentamento),
                         "cella prima dell'avviso, " + descrivi_cella(k, c));
        }
    }
    return y + kRigaSimboli + etichette_in_corsie(p, velocita, y) + 6;
}

double traccia_marcatori(Pagina& p, const Dati& d, double y) {
    nome_traccia(p, y, "Marcatori");
    const auto& celle = d.s.celle;
    for (std::size_t k = 0; k < celle.size(); ++k) {
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
    for (double km = 0; km * 1000 <= d.asse.metri; km += passo) {
        const double x = d.asse.x(km * 1000);
        p.linea(x, y, x, y + 5, tratto(colore::asse));
        char t[32];
        std::snprintf(t, sizeof t, "%g", km);
        p.testo(x, y + 17, t, kCorpoAsse, "middle");
    }
    p.testo(kMargineSinistro - 10, y + 17, "km", kCorpoTraccia, "end");
    return y + 30;
}

// ---- legend ----

enum class Simbolo {
    area,
    linea,
    tratteggio,
    triangolo,
    triangolo_vuoto,
    quadrato,
    rombo,
    cerchio,
    cerchio_vuoto,
    fascia
};

struct VoceLegenda {
    Simbolo simbolo;
    const char* colore;
    const char* testo;
};

const VoceLegenda kLegenda[] = {
    {Simbolo::area, colore::profilo, "profilo altimetrico"},
    {Simbolo::fascia, colore::montagna[0], "montagna tipo 1"},
    {Simbolo::fascia, colore::montagna[1], "montagna tipo 2"},
    {Simbolo::fascia, colore::montagna[2], "montagna tipo 3"},
    {Simbolo::linea, colore::pendenza, "pendenza (per mille)"},
    {Simbolo::linea, colore::velocita, "velocità massima del treno"},
    {Simbolo::linea, colore::aderenza, "aderenza"},
    {Simbolo::tratteggio, colore::linea, "fine della linea"},
    {Simbolo::fascia, colore::zona, "zona di stazione"},
    {Simbolo::triangolo, colore::segnale, "segnale"},
    {Simbolo::quadrato, colore::indicatore_v, "cartello V max (velocità a sinistra)"},
    {Simbolo::rombo, colore::cartello, "cartello indicatore"},
    {Simbolo::quadrato, colore::rallentamento, "rallentamento"},
    {Simbolo::triangolo_vuoto, colore::rallentamento, "avviso di rallentamento"},
    {Simbolo::cerchio, colore::marcatore, "marcatore"},
    {Simbolo::cerchio_vuoto, colore::marcatore, "abbattimento nullo"},
};

void simbolo_legenda(Pagina& p, const VoceLegenda& v, double x, double y) {
    switch (v.simbolo) {
        case Simbolo::area:
        case Simbolo::fascia:
        case Simbolo::quadrato:
            p.rettangolo(x, y - 9, 18, 10, riempi(v.colore));
            break;
        case Simbolo::linea:
            p.linea(x, y - 4, x + 18, y - 4, tratto(v.colore, 2));
            break;
        case Simbolo::tratteggio:
            p.linea(x + 9, y - 11, x + 9, y + 3, tratto(v.colore, 1) + " stroke-dasharray=\"4,2\"");
            break;
        case Simbolo::triangolo:
            p.percorso(triangolo(x + 9, y + 1, y - 10, 5), riempi(v.colore));
            break;
        case Simbolo::triangolo_vuoto:
            p.percorso(triangolo(x + 9, y + 1, y - 10, 5),
                       tratto(v.colore, 1.5) + " fill=\"#ffffff\"");
            break;
        case Simbolo::cerchio_vuoto:
            p.cerchio(x + 9, y - 4, 3.5, contorno(v.colore, 1.5));
            break;
        case Simbolo::rombo:
            p.percorso(rombo(x + 9, y - 4, 5), riempi(v.colore));
            break;
        case Simbolo::cerchio:
            p.cerchio(x + 9, y - 4, 4, riempi(v.colore));
            break;
    }
}

double legenda(Pagina& p, double y) {
    p.testo(kMargineSinistro, y + 14, "Legenda", kCorpoPannello, "start", "font-weight=\"bold\"");
    y += kSpazioTitolo + 12;
    double x = kMargineSinistro;
    for (const VoceLegenda& v : kLegenda) {
        const double w = 24 + larghezza_testo(v.testo, kCorpoTraccia) + 26;
        if (x + w > kDestraArea) {
            x = kMargineSinistro;
            y += 20;
        }
        simbolo_legenda(p, v, x, y);
        p.testo(x + 24, y, v.testo, kCorpoTraccia);
        x += w;
    }
    return y + 20;
}

std::string sottotitolo(const Dati& d) {
    std::size_t segnali = 0, indicatori_v = 0, cartelli = 0;
    for (const cella& c : d.s.celle) {
        segnali += c.tipo_cella == tipo::segnale;
        indicatori_v += c.tipo_cella == tipo::indicatore_v_max;
        cartelli += c.tipo_cella == tipo::cartello_indicatore;
    }
    char t[256];
    std::snprintf(t, sizeof t,
                  "linea di %.0f m (celle 0 ... %zu), %zu stazioni, %zu segnali, %zu cartelli "
                  "V max, %zu cartelli indicatori",
                  d.lunghezza, d.s.celle.size() - 1, d.stazioni.size(), segnali, indicatori_v,
                  cartelli);
    return t;
}

// Decodes one file; a damaged file's error names it.
template <typename Decodifica>
auto decodifica_file(const std::filesystem::path& file, Decodifica decodifica) {
    const std::string byte = leggi_tutto(file);
    try {
        return decodifica(byte);
    } catch (const ErroreDecodifica& e) {
        throw ErroreDecodifica(file.filename().string() + ": " + e.what());
    }
}

}  // namespace

double larghezza_testo(std::string_view utf8, double corpo) {
    double em = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xC0) == 0x80) continue;  // continuation byte of a UTF-8 character
        if (c == 'M' || c == 'W' || c == 'm' || c == 'w') {
            em += 1.0;
        } else if (c >= 'A' && c <= 'Z') {
            em += 0.8;
        } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            em += 0.65;
        } else if (c == ' ' || c == '.' || c == ',' || c == ':' || c == '\'' || c == 'i' ||
                   c == 'l') {
            em += 0.35;
        } else if (c < 0x80) {
            em += 0.6;
        } else {
            em += 0.8;
        }
    }
    return em * corpo;
}

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

Disegno disegna_scenario(const ScenarioCompilato& s, std::string_view titolo) {
    Dati d{s,
           {std::max<double>(static_cast<double>(metri_cella(s.celle.size())), 1)},
           0,
           stazioni(s.tabella)};
    d.lunghezza = s.tabella[riga_tabella::percorso].valore2;
    Pagina p;
    p.testo(20, 30, titolo, kCorpoTitolo, "start", "font-weight=\"bold\"");
    p.testo(20, 50, sottotitolo(d), kCorpoSottotitolo);
    double y = 64;
    y = pannello_tracciato(p, d, y);
    y = pannello_profilo(p, d, y);
    y = pannello_gradini(p, d, y, "Pendenza (per mille)", kAltezzaPendenza,
                         gradini(s.celle, pendenza_di, &cella::attributo5), -5, 5,
                         colore::pendenza);
    y = pannello_gradini(
        p, d, y, "Velocità massima del treno (km/h)", kAltezzaVelocita,
        gradini(
            s.celle, [](const cella& c) { return c.attributo4 * 5.0; }, &cella::attributo4),
        0, 20, colore::velocita);
    y = pannello_gradini(
        p, d, y, "Aderenza (%)", kAltezzaAderenza,
        gradini(
            s.celle, [](const cella& c) { return static_cast<double>(c.attributo6); },
            &cella::attributo6),
        0, 100, colore::aderenza);
    const double alto_tracce = y;
    y = traccia_stazioni(p, d, y);
    y = traccia_segnali(p, d, y);
    y = traccia_indicatori_v(p, d, y);
    y = traccia_cartelli(p, d, y);
    y = traccia_rallentamenti(p, d, y);
    y = traccia_marcatori(p, d, y);
    y = asse_km(p, d, alto_tracce, y);
    y = legenda(p, y + 10);
    return std::move(p).chiudi(y + 10);
}

ScenarioCompilato leggi_scenario(const std::filesystem::path& cartella,
                                 const std::string& nome_scenario,
                                 const std::string& numero_treno) {
    Form1 nomi;
    nomi.nome_scenario = nome_scenario;
    nomi.numero_treno = numero_treno;
    ScenarioCompilato s;
    s.celle = decodifica_file(cartella / nomi_file::celle_treno(nomi), decodifica_celle);
    s.tabella = decodifica_file(cartella / nomi_file::tabella_scenario(nomi), decodifica_tabella);
    const auto piano = cartella / nomi_file::piano_linea(nomi);
    std::error_code ec;
    if (std::filesystem::exists(piano, ec))
        s.tracciato = decodifica_file(piano, decodifica_tracciato);
    return s;
}

}  // namespace brunavia::strumento
