#include "tests/golden/generatore.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <limits>
#include <set>
#include <stdexcept>

namespace brunavia::golden {
namespace {

// Seeds of the random pairs: the corpus holds kValide of them, from kPrimoSeme on.
constexpr std::uint64_t kPrimoSeme = 20261210;
constexpr int kValide = 340;

// splitmix64: the same numbers on every platform and standard library, so the corpus does not
// depend on a library's distributions.
class Casuale {
public:
    explicit Casuale(std::uint64_t seme) : s_(seme) {}
    std::uint64_t prossimo() {
        std::uint64_t z = (s_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // From a to b, both included (a when b is below it).
    std::int64_t tra(std::int64_t a, std::int64_t b) {
        if (b <= a) return a;
        return a + static_cast<std::int64_t>(prossimo() % static_cast<std::uint64_t>(b - a + 1));
    }
    bool su(int n) { return tra(0, n - 1) == 0; }  // one time in n
    template <typename T>
    T uno_di(std::initializer_list<T> v) {
        return *(v.begin() + tra(0, static_cast<std::int64_t>(v.size()) - 1));
    }

private:
    std::uint64_t s_;
};

// One line of a description: a header or other lone field (no fields after it), or a row: its
// keyword and fields, separated by commas (or, on the clock line, by blanks).
struct Linea {
    std::string chiave;
    std::vector<std::string> campi = {};
    bool spazi = false;
};
using Testo = std::vector<Linea>;

// A row's text with its first `quanti` fields (kTutti: all of them).
constexpr std::size_t kTutti = std::numeric_limits<std::size_t>::max();

std::string riga_di(const Linea& l, std::size_t quanti) {
    std::string r = l.chiave;
    for (std::size_t k = 0; k < quanti && k < l.campi.size(); ++k) {
        r += (l.spazi ? (k == 0 ? ",    " : "  ") : ",  ") + l.campi[k];
    }
    return r;
}

std::string testo_di(const Testo& t, const std::string& a_capo = "\r\n") {
    std::string r;
    for (const Linea& l : t) r += riga_di(l, l.campi.size()) + a_capo;
    return r;
}

std::vector<std::string> numeri(std::initializer_list<std::int64_t> v) {
    std::vector<std::string> r;
    for (const auto n : v) r.push_back(std::to_string(n));
    return r;
}

Linea riga(const std::string& chiave, std::initializer_list<std::int64_t> v) {
    return {chiave, numeri(v)};
}

// --- the base pair: a 2000 m line and a train with one row of every kind ---

constexpr std::int64_t kLunghezzaBase = 2000;

Linea stazione(std::initializer_list<std::int64_t> v, const std::string& nome) {
    Linea l = riga("stazione", v);
    l.campi.push_back(nome);
    return l;
}

Testo linea_base() {
    return {
        {"[generale]"},
        riga("lunghezza percorso", {kLunghezzaBase}),
        riga("progressiva chilometrica uno", {0, 1000, 0}),
        riga("progressiva chilometrica due", {1000, 2000, 1}),
        riga("progressiva chilometrica tre", {1500, 500, 0}),
        riga("sfondo uno", {3}),
        riga("sfondo due", {120}),
        riga("sfondo tre", {4500}),
        riga("ripetizione segnali 4 codici", {100, 1500}),
        {"[curve]"},
        riga("curvas3", {200, 300}),
        riga("curvad5", {900, 150}),
        {"[pendenze]"},
        riga("pendenza", {0, 5}),
        riga("pendenza", {725, -12}),
        {"[montagne]"},
        riga("montagna", {300, 900, 12}),
        {"[cartelli]"},
        riga("indicatori_vmax", {1025, 80, 90, 100, 2, 60, 70, 73, 1}),
        {"[indicazioni]"},
        {"cartello_indicatore", {"1575", "  (P.L.      )(Km 1+575)"}},
        {"[fine]"},
    };
}

Testo treno_base() {
    return {
        {"[generale]"},
        riga("numero vetture", {8}),
        riga("percentuale massa frenata", {110}),
        riga("sabbia", {300}),
        {"orologio", numeri({8, 15, 30}), true},
        {"[aderenze]"},
        riga("aderenza", {0, 90}),
        riga("aderenza", {1130, 75}),
        {"[vel_limite]"},
        riga("velocita", {0, 100}),
        riga("velocita", {1375, 60}),
        {"[stazioni]"},
        stazione({300, 11, 200, 1, 1, 0, 2, 0, 1, 0, 0, 0, 1, 8, 15, 30}, "ORVADA"),
        stazione({1200, 12, 600, 0, 1, 1, 0, 1, 0, 2, 0, 1, 60, 8, 20, 0}, "SAN GERVASO"),
        {"[rallentamenti]"},
        riga("rallentamento", {1730, 60, 200, 1, 1, 2}),
        riga("abbattimento", {1675, 180}),
        {"[segnali]"},
        riga("segnale", {1020, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0}),
        {"[codici]"},
        {"[fine]"},
    };
}

// --- row kinds, with the edge values of each field ---

// Values at the edges of the ranges the fields are stored in.
const std::vector<std::int64_t> kByte = {-1, 0, 255, 256};
const std::vector<std::int64_t> k16 = {-32769, -32768, 32767, 32768};
const std::vector<std::int64_t> k32 = {-2147483649LL, -2147483648LL, 2147483647LL, 2147483648LL};
// Positions off the 50 m grid (halves to even: 25 and 75 round apart), before the line and at
// the end of the cells (U = 180 for the 2000 m line: (P + 100) / 50 up to 180).
const std::vector<std::int64_t> kPosizione = {-1, 0, 24, 25, 26, 75, 1999, 8900, 8901};
const std::vector<std::int64_t> kMultiplo50 = {-50, 25, 50, 8900};

struct Genere {
    std::string nome;
    bool treno;
    Linea riga;
    std::vector<std::vector<std::int64_t>> bordi;  // per field; text fields have none
};

std::vector<Genere> generi() {
    const auto progressiva = [](const char* n, Linea l) {
        return Genere{n, false, std::move(l), {kMultiplo50, {-50, 25, 2147483600}, {0, 1, 2}}};
    };
    const auto sfondo = [](const char* n, Linea l) {
        return Genere{n, false, std::move(l), {k32}};
    };
    const std::vector<std::int64_t> velocita = {-1, 0, 3, 4, 1275, 1276, 1638, 1639};
    const std::vector<std::int64_t> destra = {-1, 0, 1, 2, 3, 97, 98, 99, 100, 163835};
    const std::vector<std::int64_t> strisce = {-1, 0, 9, 10, 3276};
    return {
        {"lunghezza",
         false,
         riga("lunghezza percorso", {kLunghezzaBase}),
         {{-1, 0, 1, 49, 51, 1000000, 1000001}}},
        progressiva("progressiva uno", riga("progressiva chilometrica uno", {0, 1000, 0})),
        progressiva("progressiva due", riga("progressiva chilometrica due", {1000, 2000, 1})),
        progressiva("progressiva tre", riga("progressiva chilometrica tre", {1500, 500, 0})),
        sfondo("sfondo uno", riga("sfondo uno", {3})),
        sfondo("sfondo due", riga("sfondo due", {120})),
        sfondo("sfondo tre", riga("sfondo tre", {4500})),
        {"ripetizione",
         false,
         riga("ripetizione segnali 4 codici", {100, 1500}),
         {kMultiplo50, {-50, 0, 25, 50}}},
        {"curva",
         false,
         riga("curvas3", {200, 300}),
         {{-1, 0, 1, 1700, 8999, 9000}, {-1, 0, 1, 8800, 8801, 2147483647LL}}},
        {"pendenza",
         false,
         riga("pendenza", {725, -12}),
         {kPosizione, {-2147483649LL, -101, -100, 155, 156, 2147483647LL}}},
        {"montagna",
         false,
         riga("montagna", {300, 900, 12}),
         {kPosizione,
          {-1, 300, 325, 9000, 9001, 9050},
          {-1, 0, 1, 3, 4, 10, 11, 13, 14, 255, 256}}},
        {"indicatori_vmax",
         false,
         riga("indicatori_vmax", {1025, 80, 90, 100, 2, 60, 70, 73, 1}),
         {kPosizione, velocita, velocita, velocita, strisce, destra, destra, destra, strisce}},
        {"cartello_indicatore",
         false,
         {"cartello_indicatore", {"1575", "  (P.L.      )(Km 1+575)"}},
         {kPosizione}},
        {"vetture", true, riga("numero vetture", {8}), {k32}},
        {"massa frenata", true, riga("percentuale massa frenata", {110}), {k32}},
        {"sabbia", true, riga("sabbia", {300}), {k16}},
        {"orologio", true, {"orologio", numeri({8, 15, 30}), true}, {k16, k16, k16}},
        {"aderenza", true, riga("aderenza", {1130, 75}), {kPosizione, {-1, 0, 100, 101, 255, 256}}},
        {"velocita", true, riga("velocita", {1375, 60}), {kPosizione, velocita}},
        {"stazione",
         true,
         stazione({1200, 12, 600, 0, 1, 1, 0, 1, 0, 2, 0, 1, 60, 8, 20, 0}, "SAN GERVASO"),
         {{1175, 1150, 1250, 8100, 8150, -2147483648LL},
          {-1, 0, 4, 5, 6, 7, 8, 9, 24, 25, 255, 256},
          {-100, 0, 100, 500, 550, 700, 2000},
          kByte,
          {-1, 0, 2, 255, 256},
          kByte,
          k16,
          k16,
          kByte,
          k16,
          k16,
          k16,
          kByte,
          {-1, 0, 23, 24, 600000},
          {-1, 0, 59, 60},
          {-1, 0, 59, 60}}},
        {"rallentamento",
         true,
         riga("rallentamento", {1730, 60, 200, 1, 1, 2}),
         {{1499, 1500, 1501, 1725, 1750, 8800, 8801},
          {-32769, 0, 109, 110, 32768},
          {-1, 0, 49, 150, 7000},
          k16,
          {-1, 0, 2},
          k16}},
        {"abbattimento",
         true,
         riga("abbattimento", {1675, 180}),
         {kPosizione, {-32769, -1, 0, 1, 180, 32767, 32768}}},
        {"segnale",
         true,
         riga("segnale", {1020, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0}),
         {kPosizione,
          {0, 1, 2, 3, 715827882},
          kByte,
          kByte,
          kByte,
          {-1, 0, 9, 3276},
          {0, 1, 2, 3, 715827882},
          kByte,
          kByte,
          kByte,
          {-1, 0, 1, 100, 101, 255, 256, 70000}}},
    };
}

const Genere& genere(const std::string& nome) {
    static const std::vector<Genere> tutti = generi();
    for (const Genere& g : tutti) {
        if (g.nome == nome) return g;
    }
    throw std::logic_error("genere di riga sconosciuto: " + nome);
}

// The line of the base description that is the kind's row.
std::size_t indice_di(const Testo& t, const Genere& g) {
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (riga_di(t[i], kTutti) == riga_di(g.riga, kTutti)) return i;
    }
    throw std::logic_error("la riga di " + g.nome + " manca nella coppia di base");
}

Caso caso(std::string famiglia, std::uint64_t seme, std::string descrizione, const Testo& linea,
          const Testo& treno, int flag = 1) {
    return {std::move(famiglia), seme, std::move(descrizione), testo_di(linea),
            testo_di(treno),     flag};
}

// Every numeric field of every kind at each of its edge values, in the base pair.
void casi_bordo(std::vector<Caso>& out) {
    std::uint64_t n = 0;
    for (const Genere& g : generi()) {
        for (std::size_t k = 0; k < g.bordi.size(); ++k) {
            for (const std::int64_t v : g.bordi[k]) {
                Testo linea = linea_base(), treno = treno_base();
                Testo& t = g.treno ? treno : linea;
                t[indice_di(t, g)].campi[k] = std::to_string(v);
                out.push_back(
                    caso("bordo", n++,
                         g.nome + " campo " + std::to_string(k + 1) + " = " + std::to_string(v),
                         linea, treno));
            }
        }
    }
    // Texts at the edge of their 16-bit length: a board's and a station's.
    for (const std::size_t lunghezza : {65535u, 65536u}) {
        for (const bool treno : {false, true}) {
            Testo l = linea_base(), t = treno_base();
            if (treno) {
                t[indice_di(t, genere("stazione"))].campi.back() = std::string(lunghezza, 'N');
            } else {
                l[indice_di(l, genere("cartello_indicatore"))].campi.back() =
                    std::string(lunghezza, 'T');
            }
            out.push_back(
                caso("bordo", n++,
                     std::string(treno ? "stazione, nome" : "cartello_indicatore, testo") + " di " +
                         std::to_string(lunghezza) + " byte",
                     l, t));
        }
    }
}

// Every row kind cut after each of its fields: at the end of the file, and with the rows
// after it following (read out of step).
void casi_tronca(std::vector<Caso>& out) {
    std::uint64_t n = 0;
    for (const Genere& g : generi()) {
        for (std::size_t k = 0; k <= g.riga.campi.size(); ++k) {
            for (const bool fine_file : {true, false}) {
                const Testo base = g.treno ? treno_base() : linea_base();
                const std::size_t i = indice_di(base, g);
                std::string testo;
                for (std::size_t j = 0; j < i; ++j) testo += riga_di(base[j], kTutti) + "\r\n";
                testo += riga_di(base[i], k);
                if (!fine_file) {
                    testo += "\r\n";
                    for (std::size_t j = i + 1; j < base.size(); ++j)
                        testo += riga_di(base[j], kTutti) + "\r\n";
                }
                Caso c{"tronca",
                       n++,
                       g.nome + " dopo il campo " + std::to_string(k) +
                           (fine_file ? ", fine del file" : ", righe seguenti"),
                       testo_di(linea_base()),
                       testo_di(treno_base()),
                       1};
                (g.treno ? c.treno : c.linea) = testo;
                out.push_back(std::move(c));
            }
        }
    }
}

// --- cases made for each error number ---

// Replaces the first line whose keyword starts with `chiave`.
void sostituisci(Testo& t, const std::string& chiave, Linea nuova) {
    for (Linea& l : t) {
        if (l.chiave.rfind(chiave, 0) == 0) {
            l = std::move(nuova);
            return;
        }
    }
}

// Inserts the lines after the header `intestazione`.
void inserisci(Testo& t, const std::string& intestazione, std::initializer_list<Linea> righe) {
    const auto it =
        std::find_if(t.begin(), t.end(), [&](const Linea& l) { return l.chiave == intestazione; });
    t.insert(it + 1, righe.begin(), righe.end());
}

struct Ricetta {
    std::string descrizione;
    std::function<void(Testo& linea, Testo& treno)> cambia;
};

std::vector<Ricetta> ricette_errori() {
    return {
        {"1: lunghezza oltre 1000000",
         [](Testo& l, Testo&) {
             sostituisci(l, "lunghezza", riga("lunghezza percorso", {1000001}));
         }},
        {"1: lunghezza negativa",
         [](Testo& l, Testo&) { sostituisci(l, "lunghezza", riga("lunghezza percorso", {-50})); }},
        {"2: progressiva non multipla di 50",
         [](Testo& l, Testo&) {
             sostituisci(l, "progressiva chilometrica due",
                         riga("progressiva chilometrica due", {1010, 2000, 1}));
         }},
        {"2: progressiva chilometrica non multipla di 50",
         [](Testo& l, Testo&) {
             sostituisci(l, "progressiva chilometrica uno",
                         riga("progressiva chilometrica uno", {0, 1030, 0}));
         }},
        {"3: prima ripetizione non multipla di 50",
         [](Testo& l, Testo&) {
             sostituisci(l, "ripetizione", riga("ripetizione segnali 4 codici", {125, 1500}));
         }},
        {"4: seconda ripetizione non multipla di 50",
         [](Testo& l, Testo&) {
             sostituisci(l, "ripetizione", riga("ripetizione segnali 9 codici", {100, 1520}));
         }},
        {"5: ripetizione senza 4 o 9 codici",
         [](Testo& l, Testo&) {
             sostituisci(l, "ripetizione", riga("ripetizione segnali 5 codici", {100, 1500}));
         }},
        {"6: cartello indicatore sul cartello di velocita'",
         [](Testo& l, Testo&) {
             inserisci(l, "[indicazioni]", {{"cartello_indicatore", {"1025", "  (F)"}}});
         }},
        {"7: abbattimento sul cartello di velocita'",
         [](Testo&, Testo& t) {
             sostituisci(t, "abbattimento", riga("abbattimento", {1100, 180}));
         }},
        {"8: stazione non multipla di 50",
         [](Testo&, Testo& t) {
             sostituisci(t, "stazione",
                         stazione({325, 11, 200, 1, 1, 0, 2, 0, 1, 0, 0, 0, 1, 8, 15, 30}, "A"));
         }},
        {"9: zona non multipla di 100",
         [](Testo&, Testo& t) {
             sostituisci(t, "stazione",
                         stazione({300, 11, 250, 1, 1, 0, 2, 0, 1, 0, 0, 0, 1, 8, 15, 30}, "A"));
         }},
        {"11: segnale prima dell'avviso, le due celle prima del segnale occupate",
         [](Testo&, Testo& t) {
             sostituisci(t, "rallentamento", riga("rallentamento", {1730, 60, 200, 1, 0, 2}));
             inserisci(t, "[segnali]", {riga("segnale", {450, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0})});
             inserisci(t, "[rallentamenti]",
                       {riga("abbattimento", {400, -1}), riga("abbattimento", {450, -1})});
         }},
        {"12: celle d'approccio del rallentamento occupate",
         [](Testo&, Testo& t) {
             inserisci(t, "[rallentamenti]",
                       {riga("abbattimento", {1450, -1}), riga("abbattimento", {1550, -1})});
         }},
        {"13: celle nel rallentamento occupate",
         [](Testo&, Testo& t) {
             sostituisci(t, "rallentamento", riga("rallentamento", {1730, 60, 1000, 1, 1, 2}));
             inserisci(t, "[rallentamenti]",
                       {riga("abbattimento", {2150, -1}), riga("abbattimento", {2200, -1}),
                        riga("abbattimento", {2250, -1}), riga("abbattimento", {2100, -1})});
         }},
        {"15: pendenza oltre le celle",
         [](Testo& l, Testo&) {
             inserisci(l, "[montagne]", {riga("pendenza", {9000, 3})});
         }},
        {"15: montagna oltre le celle",
         [](Testo& l, Testo&) {
             sostituisci(l, "montagna", riga("montagna", {300, 9100, 2}));
         }},
        {"15: curva oltre il piano",
         [](Testo& l, Testo&) {
             sostituisci(l, "curvad5", riga("curvad5", {8900, 200}));
         }},
        {"15: segnale oltre le celle",
         [](Testo&, Testo& t) {
             inserisci(t, "[codici]", {riga("segnale", {9000, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0})});
         }},
        {"15: stazione oltre le celle",
         [](Testo&, Testo& t) {
             inserisci(t, "[rallentamenti]",
                       {stazione({8250, 11, 200, 1, 1, 0, 2, 0, 1, 0, 0, 0, 1, 8, 15, 30}, "Z")});
         }},
        {"16: segnale sul cartello",
         [](Testo&, Testo& t) {
             sostituisci(t, "segnale", riga("segnale", {1050, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0}));
         }},
        {"17: avviso del rallentamento su una cella occupata",
         [](Testo&, Testo& t) {
             sostituisci(t, "rallentamento", riga("rallentamento", {2250, 60, 200, 1, 0, 2}));
         }},
        {"18: inizio del rallentamento occupato",
         [](Testo&, Testo& t) {
             sostituisci(t, "rallentamento", riga("rallentamento", {1050, 60, 200, 1, 0, 2}));
         }},
        {"19: fine del rallentamento occupata",
         [](Testo&, Testo& t) {
             sostituisci(t, "rallentamento", riga("rallentamento", {900, 60, 150, 1, 0, 2}));
         }},
        {"20: celle prima dell'avviso occupate",
         [](Testo&, Testo& t) {
             sostituisci(t, "rallentamento", riga("rallentamento", {1750, 60, 200, 1, 1, 2}));
             inserisci(t, "[rallentamenti]", {riga("abbattimento", {500, -1})});
         }},
        {"21: due cartelli di velocita' sulla stessa cella",
         [](Testo& l, Testo&) {
             inserisci(l, "[cartelli]",
                       {riga("indicatori_vmax", {1025, 60, 60, 60, 0, 0, 0, 0, 0})});
         }},
        {"22: zone di stazione troppo vicine",
         [](Testo&, Testo& t) {
             sostituisci(t, "stazione",
                         stazione({650, 11, 200, 1, 1, 0, 2, 0, 1, 0, 0, 0, 1, 8, 15, 30}, "A"));
         }},
        {"24: zona che finisce entro 100 m",
         [](Testo&, Testo& t) {
             sostituisci(t, "stazione",
                         stazione({0, 11, 200, 1, 1, 0, 2, 0, 1, 0, 0, 0, 1, 8, 15, 30}, "A"));
         }},
        {"25: numero malformato",
         [](Testo&, Testo& t) {
             sostituisci(t, "sabbia", {"sabbia", {"3x0"}});
         }},
        {"25: orologio, minuti oltre 16 bit",
         [](Testo&, Testo& t) {
             sostituisci(t, "orologio", {"orologio", numeri({8, 70000, 0}), true});
         }},
        {"25: linea senza lunghezza",
         [](Testo& l, Testo&) { sostituisci(l, "lunghezza", {"[nota]"}); }},
        {"25: velocita' oltre 1275",
         [](Testo&, Testo& t) {
             sostituisci(t, "velocita", riga("velocita", {0, 1280}));
         }},
        {"103: curva senza classe",
         [](Testo& l, Testo&) {
             sostituisci(l, "curvas3", riga("curvas", {200, 300}));
         }},
        {"1250: abbattimento nella cella 1",
         [](Testo&, Testo& t) {
             sostituisci(t, "abbattimento", riga("abbattimento", {50, 180}));
         }},
        {"1250: segnale nella cella 1",
         [](Testo&, Testo& t) {
             inserisci(t, "[segnali]", {riga("segnale", {0, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0})});
         }},
        {"1251: rallentamento nella cella 1 con il secondo valore",
         [](Testo&, Testo& t) {
             sostituisci(t, "rallentamento", riga("rallentamento", {0, 0, 200, 0, 0, 2}));
         }},
    };
}

// Too many stations: 79 boards leave one table row.
Caso troppe_stazioni(std::uint64_t n) {
    Testo l = linea_base(), t = treno_base();
    sostituisci(l, "lunghezza", riga("lunghezza percorso", {6000}));
    for (int k = 0; k < 78; ++k) {
        inserisci(l, "[indicazioni]",
                  {{"cartello_indicatore", {std::to_string(2000 + 50 * k), "  (X)"}}});
    }
    return caso("errore", n, "10: troppe stazioni (79 cartelli indicatori)", l, t);
}

void casi_errore(std::vector<Caso>& out) {
    std::uint64_t n = 0;
    for (const Ricetta& r : ricette_errori()) {
        Testo l = linea_base(), t = treno_base();
        r.cambia(l, t);
        out.push_back(caso("errore", n++, r.descrizione, l, t));
    }
    out.push_back(troppe_stazioni(n++));
    Caso senza_linea =
        caso("errore", n++, "101: descrizione della linea mancante", {}, treno_base());
    senza_linea.linea.reset();
    out.push_back(senza_linea);
    Testo senza_generale = linea_base();
    senza_generale.erase(senza_generale.begin());
    out.push_back(caso("errore", n++, "102: linea senza [generale]", senza_generale, treno_base()));
    Caso senza_treno = caso("errore", n++, "25: descrizione del treno mancante", linea_base(), {});
    senza_treno.treno.reset();
    out.push_back(senza_treno);
}

// --- layouts of the text: line ends, blanks, separators, sections out of place, no plan ---

void casi_forma(std::vector<Caso>& out) {
    std::uint64_t n = 0;
    const auto aggiungi = [&](const std::string& d, std::string linea, std::string treno,
                              int flag = 1) {
        out.push_back({"forma", n++, d, std::move(linea), std::move(treno), flag});
    };
    aggiungi("coppia di base", testo_di(linea_base()), testo_di(treno_base()));
    aggiungi("senza piano (flag 0)", testo_di(linea_base()), testo_di(treno_base()), 0);
    aggiungi("righe chiuse da LF", testo_di(linea_base(), "\n"), testo_di(treno_base(), "\n"));
    aggiungi("righe chiuse da CR", testo_di(linea_base(), "\r"), testo_di(treno_base(), "\r"));
    aggiungi("senza a capo finale",
             testo_di(linea_base()).substr(0, testo_di(linea_base()).size() - 2),
             testo_di(treno_base()).substr(0, testo_di(treno_base()).size() - 2));
    {
        Testo t = treno_base();
        sostituisci(t, "orologio", riga("orologio", {8, 15, 30}));
        aggiungi("orologio con virgole", testo_di(linea_base()), testo_di(t));
    }
    {
        Testo t = treno_base();
        sostituisci(t, "[generale]", {"[GENERALE]"});
        sostituisci(t, "numero vetture", riga("NUMERO VETTURE", {8}));
        aggiungi("treno in maiuscolo", testo_di(linea_base()), testo_di(t));
    }
    {
        Testo t = treno_base();
        sostituisci(t, "[generale]", {"[generali]"});
        aggiungi("treno senza [generale]", testo_di(linea_base()), testo_di(t));
    }
    {
        Testo l = linea_base();
        inserisci(l, "[generale]", {{"---"}, {"- -"}});
        inserisci(l, "[pendenze]", {{"--"}});
        aggiungi("separatori con trattino", testo_di(l), testo_di(treno_base()));
    }
    {
        std::string l = testo_di(linea_base());
        for (char& c : l) c = c == ' ' ? '\t' : c;
        aggiungi("tabulazioni al posto degli spazi", l, testo_di(treno_base()));
    }
    {
        Testo t = treno_base();
        const auto inizio = std::find_if(t.begin(), t.end(),
                                         [](const Linea& x) { return x.chiave == "[stazioni]"; });
        Testo stazioni(inizio, inizio + 3);
        t.erase(inizio, inizio + 3);
        t.insert(t.end() - 2, stazioni.begin(), stazioni.end());
        aggiungi("stazioni dopo i segnali", testo_di(linea_base()), testo_di(t));
    }
    {
        Testo l = linea_base();
        sostituisci(l, "ripetizione", riga("ripetizione segnali 9 codici", {100, 1500}));
        aggiungi("ripetizione a 9 codici", testo_di(l), testo_di(treno_base()));
        sostituisci(l, "ripetizione", riga("ripetizione segnali 4 codici", {0, 0}));
        aggiungi("senza ripetizione", testo_di(l), testo_di(treno_base()));
    }
    {
        Testo l = linea_base();
        sostituisci(l, "[montagne]", {"[montagna]"});
        aggiungi("intestazione letta come riga", testo_di(l), testo_di(treno_base()));
    }
    {
        Testo t = treno_base();
        sostituisci(t, "sabbia", riga("sabbia vetture", {12, 300}));
        aggiungi("parole di piu' righe", testo_di(linea_base()), testo_di(t));
    }
    aggiungi("descrizioni vuote", "", "");
}

// --- random pairs: every row kind, positions off the grid, objects on cells of their own ---

class Celle {
public:
    explicit Celle(std::int64_t ultima) : ultima_(ultima) {}
    bool libere(std::initializer_list<std::int64_t> celle) const {
        for (const auto k : celle) {
            if (k < 30 || k > ultima_ || prese_.contains(k)) return false;
        }
        return true;
    }
    bool prendi(std::initializer_list<std::int64_t> celle) {
        if (!libere(celle)) return false;
        prese_.insert(celle.begin(), celle.end());
        return true;
    }

private:
    std::int64_t ultima_;
    std::set<std::int64_t> prese_;
};

// round(m / 50 + d), halves to even, as the placement computes it.
std::int64_t cella(std::int64_t metri, int d) {
    const std::int64_t doppio = 2 * metri + 100 * d;  // 100 × (m / 50 + d)
    std::int64_t q = doppio / 100, r = doppio % 100;
    if (r > 50 || (r == 50 && q % 2 != 0)) ++q;
    return q;
}

void serie(Casuale& c, Testo& t, const char* chiave, std::int64_t metri, std::int64_t minimo,
           std::int64_t massimo, std::int64_t passo) {
    for (std::int64_t p = c.su(2) ? 0 : c.tra(1, 700); p < metri; p += c.tra(passo, 1500)) {
        t.push_back(riga(chiave, {p, c.tra(minimo, massimo)}));
    }
}

Testo linea_casuale(Casuale& c, Celle& celle, std::int64_t metri) {
    Testo t = {{"[generale]"}, riga("lunghezza percorso", {metri})};
    const auto punto = [&] { return 50 * c.tra(0, metri / 50); };
    t.push_back(riga("progressiva chilometrica uno", {punto(), 50 * c.tra(0, 4000), c.tra(0, 1)}));
    t.push_back(riga("progressiva chilometrica due", {punto(), 50 * c.tra(0, 4000), c.tra(0, 1)}));
    t.push_back(riga("progressiva chilometrica tre", {punto(), 50 * c.tra(0, 4000), c.tra(0, 1)}));
    t.push_back(riga("sfondo uno", {c.tra(0, 9)}));
    t.push_back(riga("sfondo due", {c.tra(-2147483648LL, 2147483647LL)}));
    t.push_back(riga("sfondo tre", {c.tra(0, 100000)}));
    t.push_back(riga(c.uno_di({"ripetizione segnali 4 codici", "ripetizione segnali 9 codici"}),
                     {50 * c.tra(0, 40), c.su(4) ? 0 : 50 * c.tra(1, 40)}));
    t.push_back({"[curve]"});
    for (std::int64_t g = c.tra(0, 300);;) {
        const std::int64_t l = c.tra(1, 600);
        if (g + l > metri) break;
        t.push_back(riga(std::string("curva") + (c.su(2) ? "s" : "d") + std::to_string(c.tra(1, 6)),
                         {g, l}));
        g += l + c.tra(0, 500);
    }
    t.push_back({"[pendenze]"});
    serie(c, t, "pendenza", metri, -100, 155, 1);
    t.push_back({"[montagne]"});
    for (std::int64_t p = c.tra(0, 800);;) {
        const std::int64_t fine = p + c.tra(50, 1200);
        if (fine > metri) break;
        t.push_back(riga("montagna", {p, fine, c.uno_di<std::int64_t>({1, 2, 3, 11, 12, 13})}));
        p = fine + c.tra(0, 500);
    }
    t.push_back({"[cartelli]"});
    for (int n = static_cast<int>(c.tra(0, 5)); n > 0; --n) {
        const std::int64_t p = c.tra(1400, metri);
        if (!celle.prendi({cella(p, 1)})) continue;
        const auto v = [&] { return c.su(2) ? 5 * c.tra(4, 32) : c.tra(0, 200); };
        const auto d = [&] { return c.su(2) ? 0 : c.su(2) ? 5 * c.tra(0, 19) : c.tra(0, 120); };
        t.push_back(
            riga("indicatori_vmax", {p, v(), v(), v(), c.tra(0, 9), d(), d(), d(), c.tra(0, 9)}));
    }
    t.push_back({"[indicazioni]"});
    for (int n = static_cast<int>(c.tra(0, 4)); n > 0; --n) {
        const std::int64_t p = c.tra(1400, metri);
        if (!celle.prendi({cella(p, 1)})) continue;
        t.push_back({"cartello_indicatore",
                     {std::to_string(p), c.uno_di<std::string>({" (F)", " (P.L.      )(Km 12+300)",
                                                                " (Citt\xe0)(Alta )"})}});
    }
    t.push_back({"[fine]"});
    return t;
}

void stazioni_casuali(Casuale& c, Celle& celle, Testo& t, std::int64_t metri) {
    std::int64_t fine_precedente = -1000;
    for (int n = static_cast<int>(c.tra(0, 4)); n > 0; --n) {
        const std::int64_t codice = c.uno_di<std::int64_t>({0, 5, 6, 7, 8, 11, 12, 21, 24, 25, 30});
        const std::int64_t lunghezza = 100 * c.tra(1, 10);
        const std::int64_t posizione =
            (fine_precedente + 400 + lunghezza) / 50 * 50 + 50 * c.tra(0, 20);
        const std::int64_t estensione = c.uno_di<std::int64_t>({0, 0, 1, 7});
        std::int64_t inizio = posizione - lunghezza / 2;
        std::int64_t fine = posizione + lunghezza / 2 + (estensione != 0 ? 50 : 0);
        if (codice == 5 || codice == 6) {
            inizio = posizione - lunghezza;
            fine = posizione + 150;
        } else if (codice == 7 || codice == 8) {
            inizio = posizione - lunghezza;
            fine = posizione + lunghezza;
        }
        if (posizione > metri || fine <= 200 || inizio - 350 < fine_precedente) break;
        const std::int64_t u = cella(fine, -1);
        if (codice < 25 && !celle.prendi({u, u - 1, u - 2, u - 3, u - 4})) break;
        fine_precedente = fine;
        const bool fermata = c.su(2);
        t.push_back(stazione(
            {posizione, codice, lunghezza, c.tra(0, 255), c.uno_di<std::int64_t>({0, 1, 2, 255}),
             estensione, c.tra(-32768, 32767), c.tra(0, 9), c.tra(0, 255), c.tra(0, 9), c.tra(0, 9),
             c.tra(0, 9), fermata ? 60 : c.uno_di<std::int64_t>({0, 1}), fermata ? c.tra(0, 23) : 0,
             fermata ? c.tra(0, 59) : 0, fermata ? c.tra(0, 59) : 0},
            c.uno_di<std::string>({"ORVADA", "SAN GERVASO", "PIAN\xc8", "BIVIO 3"})));
    }
}

void rallentamenti_casuali(Casuale& c, Celle& celle, Testo& t, std::int64_t metri) {
    for (int n = static_cast<int>(c.tra(0, 2)); n > 0; --n) {
        const std::int64_t x = c.tra(1600, metri), l = c.tra(60, 1200), ta = c.tra(0, 1);
        const std::int64_t s = cella(x, 1), e = cella(x + l, 1), w = cella(x - 1200, 1),
                           j = cella(x - 1200, 0);
        if (s == e || !celle.libere({s, e, w})) continue;
        if (ta != 0 && !celle.libere({j, j - 1, j - 2, j - 3})) continue;
        celle.prendi({s, e, w});
        if (ta != 0) celle.prendi({j, j - 1, j - 2, j - 3});
        t.push_back(riga("rallentamento", {x, c.uno_di<std::int64_t>({30, 60, 100, 110, 130}), l,
                                           c.tra(0, 3), ta, c.su(2) ? 0 : c.tra(1, 2)}));
    }
    for (int n = static_cast<int>(c.tra(0, 3)); n > 0; --n) {
        const std::int64_t p = c.tra(1500, metri);
        if (!celle.prendi({cella(p, 0)})) continue;
        t.push_back(riga("abbattimento", {p, c.uno_di<std::int64_t>({180, 180, 50, 0, -3, 250})}));
    }
}

void segnali_casuali(Casuale& c, Celle& celle, Testo& t, std::int64_t metri) {
    std::vector<std::int64_t> posti;
    for (int n = static_cast<int>(c.tra(0, 6)); n > 0; --n) {
        const std::int64_t p = c.tra(1500, metri);
        if (celle.prendi({cella(p, 1)})) posti.push_back(p);
    }
    std::sort(posti.begin(), posti.end());
    for (const auto p : posti) {
        t.push_back(
            riga("segnale", {p, c.tra(0, 2), c.tra(0, 9), c.tra(0, 9), c.tra(0, 9), c.tra(0, 9),
                             c.tra(0, 2), c.tra(0, 9), c.tra(0, 9), c.tra(0, 9),
                             c.uno_di<std::int64_t>({0, 0, 1, 40, 100, 101, 255})}));
    }
}

Caso coppia_casuale(std::uint64_t seme) {
    Casuale c(seme);
    const std::int64_t metri = c.tra(1200, 5000);
    Celle celle(cella(metri, 0));
    Testo stazioni = {{"[stazioni]"}};
    stazioni_casuali(c, celle, stazioni, metri);
    Testo linea = linea_casuale(c, celle, metri);
    Testo treno = {{"[generale]"},
                   riga("numero vetture", {c.tra(1, 20)}),
                   riga("percentuale massa frenata", {c.tra(30, 160)}),
                   riga("sabbia", {c.tra(0, 1000)}),
                   {"orologio", numeri({c.tra(0, 23), c.tra(0, 59), c.tra(0, 59)}), true},
                   {"[aderenze]"}};
    serie(c, treno, "aderenza", metri, 0, 100, 50);
    treno.push_back({"[vel_limite]"});
    serie(c, treno, "velocita", metri, 0, 255, 50);
    for (std::size_t i = 0; i < treno.size(); ++i) {
        if (treno[i].chiave == "velocita" && c.su(2)) {
            treno[i].campi[1] = std::to_string(5 * (std::stoll(treno[i].campi[1]) / 5));
        }
    }
    Testo altre = {{"[rallentamenti]"}};
    rallentamenti_casuali(c, celle, altre, metri);
    altre.push_back({"[segnali]"});
    segnali_casuali(c, celle, altre, metri);
    const bool stazioni_dopo = c.su(4);
    for (const Testo* parte :
         stazioni_dopo ? std::array{&altre, &stazioni} : std::array{&stazioni, &altre})
        treno.insert(treno.end(), parte->begin(), parte->end());
    treno.push_back({"[fine]"});
    const int flag = c.su(5) ? 0 : 1;
    return caso(
        "valida", seme,
        "coppia casuale di " + std::to_string(metri) + " m" + (flag == 0 ? ", senza piano" : ""),
        linea, treno, flag);
}

}  // namespace

std::vector<Caso> corpus() {
    std::vector<Caso> out;
    casi_forma(out);
    casi_errore(out);
    casi_tronca(out);
    casi_bordo(out);
    for (int i = 0; i < kValide; ++i)
        out.push_back(coppia_casuale(kPrimoSeme + static_cast<std::uint64_t>(i)));
    return out;
}

}  // namespace brunavia::golden
