#include "tests/proprieta/descrizioni_casuali.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <random>
#include <set>
#include <vector>

namespace brunavia::prova {
namespace {

// The first cell a train object may take: the finishing rules' markers before it must stay
// clear of cell 1, which holds the stamp.
constexpr int kPrimaCellaOggetti = 30;

class Casuale {
public:
    explicit Casuale(unsigned long long seme) : g_(seme) { ruvida = tra(0, 2) == 0; }
    // Rows the program's writer never makes but the reader takes: repeated positions, rows in
    // the margin beyond the line's end, overlapping climbing stretches, signals a few cells
    // apart, stations after the signals.
    bool ruvida = false;
    int tra(int a, int b) { return std::uniform_int_distribution<int>(a, b)(g_); }
    bool moneta() { return tra(0, 1) == 1; }
    template <typename T>
    T uno_di(std::initializer_list<T> valori) {
        return *(valori.begin() + tra(0, static_cast<int>(valori.size()) - 1));
    }

private:
    std::mt19937_64 g_;
};

// Cells given to objects; stations, boards, signals and slowdowns never share one.
class Celle {
public:
    Celle(int prima, int ultima) : prima_(prima), ultima_(ultima) {}
    bool libere(std::initializer_list<int> celle) const {
        for (const int k : celle) {
            if (k < prima_ || k > ultima_ || prese_.count(k) != 0) return false;
        }
        return true;
    }
    void prendi(std::initializer_list<int> celle) { prese_.insert(celle.begin(), celle.end()); }
    // A free cell, or -1 after a few tries.
    int libera(Casuale& c) {
        for (int i = 0; i < 20; ++i) {
            const int k = c.tra(prima_, ultima_);
            if (libere({k})) {
                prendi({k});
                return k;
            }
        }
        return -1;
    }

private:
    int prima_, ultima_;
    std::set<int> prese_;
};

std::string riga(const std::string& chiave, std::initializer_list<long> numeri) {
    std::string r = chiave;
    for (const long n : numeri) r += ",  " + std::to_string(n);
    return r + "\r\n";
}

long arrotonda(double v) {
    return static_cast<long>(std::nearbyint(v));
}

// A position off the 50 m grid that rounds to the same cell as `metri` (a multiple of 50).
long nella_cella(Casuale& c, long metri) {
    return metri + c.tra(-24, 24);
}

// Rows of a value that holds from each position on, in ascending order; in the rough mode some
// rows repeat a position and the last ones stand in the margin beyond the line's end.
std::string righe_in_serie(Casuale& c, const std::string& chiave, int metri, int passo_minimo,
                           int minimo, int massimo, long unita) {
    std::string t;
    long p = c.moneta() ? 0 : c.tra(1, 3000);
    for (; p < metri; p += c.tra(passo_minimo, 5000)) {
        t += riga(chiave, {p, unita * c.tra(minimo, massimo)});
        if (c.ruvida && c.tra(0, 4) == 0) t += riga(chiave, {p, unita * c.tra(minimo, massimo)});
    }
    if (c.ruvida) {
        // The margin runs to cell N; a row's position must keep (position + 100) / 50 <= N.
        const long ultima = arrotonda((metri + 7000) / 50.0);
        for (long q = metri + c.tra(0, 6000); q <= 50 * ultima - 100; q += c.tra(0, 3) * 50) {
            t += riga(chiave, {q, unita * c.tra(minimo, massimo)});
            if (c.tra(0, 2) == 0) break;
        }
    }
    return t;
}

std::string stazioni(Casuale& c, Celle& celle, int metri) {
    std::string t = "[stazioni]\r\n";
    const std::array<const char*, 5> nomi = {"ORVADA", "SAN GERVASO", "PIAN\xc8", "LA CITT\xc0",
                                             "BIVIO 3"};
    long fine_precedente = -1000;
    const int quante = c.tra(0, 4);
    for (int n = 0; n < quante; ++n) {
        const int codice = c.uno_di({11, 12, 21, 22, 25, 28, 5, 6, 7, 8});
        const int lunghezza = 100 * c.tra(2, 8);
        const long posizione =
            (fine_precedente + 400 + lunghezza) / 50 * 50 + 50 * c.tra(0, 20) + c.tra(-25, 25);
        const int estensione = c.tra(0, 1);
        long inizio, fine;
        if (codice == 5 || codice == 6) {
            inizio = posizione - lunghezza;
            fine = posizione + 150;
        } else if (codice == 7 || codice == 8) {
            inizio = posizione - lunghezza;
            fine = posizione + lunghezza;
        } else {
            inizio = posizione - lunghezza / 2;
            fine = posizione + lunghezza / 2 + (estensione != 0 ? 50 : 0);
        }
        if (posizione > metri || fine <= 200 || inizio - 350 < fine_precedente) break;
        // The zone's last cell and the four cells of its marks, as the compile rounds them.
        const auto segno = [&](int passi) {
            return static_cast<int>(arrotonda(static_cast<double>(fine) / 50.0 - passi - 1.0));
        };
        if (codice < 25) {
            if (!celle.libere({segno(0), segno(1), segno(2), segno(3), segno(4)})) break;
            celle.prendi({segno(0), segno(1), segno(2), segno(3), segno(4)});
        }
        fine_precedente = fine;
        t += "stazione," + std::to_string(posizione) + ", " + std::to_string(codice) + ", " +
             std::to_string(lunghezza);
        for (const int v : {c.tra(0, 1), c.tra(0, 1), estensione, c.tra(0, 4), c.tra(0, 1),
                            c.tra(0, 1), c.tra(0, 4), c.tra(0, 1), c.tra(0, 1),
                            c.uno_di({0, 1, 60}), c.tra(0, 23), c.tra(0, 59), c.uno_di({0, 30})}) {
            t += ", " + std::to_string(v);
        }
        t += ", " + std::string(nomi[static_cast<std::size_t>(c.tra(0, 4))]) + "\r\n";
    }
    return t;
}

std::string linea(Casuale& c, Celle& celle, int metri, bool con_piano) {
    std::string t = "[generale]\r\n" + riga("lunghezza percorso", {metri});
    t += riga("progressiva chilometrica uno", {0, 50L * c.tra(0, 5000), c.tra(0, 1)});
    t += riga("progressiva chilometrica due",
              {50L * c.tra(1, metri / 50), 50L * c.tra(0, 5000), c.tra(0, 1)});
    t += c.moneta() ? riga("progressiva chilometrica tre", {0, 0, 0})
                    : riga("progressiva chilometrica tre",
                           {50L * c.tra(1, metri / 50), 50L * c.tra(0, 5000), c.tra(0, 1)});
    t += riga("sfondo uno", {c.tra(0, 5)}) + riga("sfondo due", {c.tra(-10, 200000)}) +
         riga("sfondo tre", {c.tra(0, 200000)});
    if (c.moneta()) {
        t += "ripetizione segnali 4 codici,    0    ,0\r\n";
    } else {
        t += riga(c.moneta() ? "ripetizione segnali 9 codici" : "ripetizione segnali 4 codici",
                  {50L * c.tra(0, 100), 50L * c.tra(1, 100)});
    }
    t += "[curve]\r\n";
    for (long g = c.moneta() ? 0 : c.tra(0, 400); con_piano;) {
        const long lunghezza = c.tra(1, 500);
        if (g + lunghezza > metri) break;
        t += riga(std::string("curva") + (c.moneta() ? "s" : "d") + std::to_string(c.tra(1, 6)),
                  {g, lunghezza});
        g += lunghezza + c.tra(0, 400);
    }
    t += "[pendenze]\r\n" + riga("pendenza", {0, c.tra(-40, 40)});
    t += righe_in_serie(c, "pendenza", metri, 1, -40, 40, 1);
    t += "[montagne]\r\n";
    for (long p = c.tra(0, 1000);;) {
        long fine = p + c.tra(50, 1500);
        // Half a cell off the grid: the last cell and the next stretch's first may coincide.
        if (c.tra(0, 3) == 0) fine = fine / 50 * 50 + 25;
        if (fine > metri || fine <= p) break;
        t += riga("montagna", {p, fine, c.uno_di({1, 2, 3, 11, 12, 13})});
        p = c.tra(0, 3) == 0 ? fine : fine + c.tra(0, 600);
        if (c.ruvida && c.tra(0, 3) == 0) p -= c.tra(50, 800);  // overlapping the previous
        if (c.ruvida && c.tra(0, 5) == 0) {
            t += riga("montagna", {p, p + c.tra(50, 400), c.uno_di({0, 10})});  // clears kinds
        }
        p = std::max(p, 0L);
    }
    t += "[cartelli]\r\n";
    for (int n = c.tra(0, 6); n > 0; --n) {
        const int k = celle.libera(c);
        if (k < 0) continue;
        const bool destro = c.moneta();
        t +=
            riga("indicatori_vmax", {nella_cella(c, 50L * (k - 1)), 5L * c.tra(6, 30),
                                     5L * c.tra(6, 30), 5L * c.tra(6, 30), c.tra(0, 2),
                                     destro ? 5L * c.tra(0, 19) : 0, destro ? 5L * c.tra(0, 19) : 0,
                                     destro ? 5L * c.tra(0, 19) : 0, destro ? c.tra(0, 1) : 0});
    }
    t += "[indicazioni]\r\n";
    const std::array<const char*, 4> testi = {"(P.L.      )(Km 232+835)", "(F)",
                                              "(Ponte   )(in Ferro)", "(Citt\xe0)(Alta )(Km 3)"};
    for (int n = c.tra(0, 6); n > 0; --n) {
        const int k = celle.libera(c);
        if (k < 0) continue;
        t += "cartello_indicatore,  " + std::to_string(nella_cella(c, 50L * (k - 1))) + ",   " +
             testi[static_cast<std::size_t>(c.tra(0, 3))] + "\r\n";
    }
    return t + "[fine]\r\n";
}

std::string rallentamenti(Casuale& c, Celle& celle, int metri) {
    std::string t = "[rallentamenti]\r\n";
    for (int n = c.tra(0, 2); n > 0; --n) {
        const long x = 50L * c.tra(kPrimaCellaOggetti, metri / 50) + c.tra(-25, 25);
        const long l = c.tra(100, 1500);
        const int f_ta = c.tra(0, 1);
        const auto cella = [](double m) { return static_cast<int>(arrotonda(m)); };
        const int s = cella(static_cast<double>(x) / 50.0 + 1.0);
        const int e = cella(static_cast<double>(x + l) / 50.0 + 1.0);
        const int w = cella(static_cast<double>(x - 1200) / 50.0 + 1.0);
        const int j = cella(static_cast<double>(x - 1200) / 50.0);
        const bool avviso = x > 1500;
        if (!celle.libere({s, e}) || s == e) continue;
        if (avviso && !celle.libere({w})) continue;
        if (avviso && f_ta != 0 && !celle.libere({j, j - 1, j - 2, j - 3})) continue;
        celle.prendi({s, e});
        if (avviso) celle.prendi({w});
        if (avviso && f_ta != 0) celle.prendi({j, j - 1, j - 2, j - 3});
        t += riga("rallentamento", {x, c.uno_di({40, 60, 100, 120}), l, c.tra(0, 3), f_ta,
                                    c.moneta() ? 0 : c.tra(1, 2)});
    }
    for (int n = c.tra(0, 3); n > 0; --n) {
        const int k = celle.libera(c);
        if (k < 0) continue;
        t += riga("abbattimento",
                  {nella_cella(c, 50L * k), c.uno_di({180L, 180L, 50L, 0L, -3L, 250L, 70000L})});
    }
    return t;
}

std::string segnali(Casuale& c, Celle& celle) {
    std::string t = "[segnali]\r\n";
    std::vector<int> posti;
    for (int n = c.tra(0, 8); n > 0; --n) {
        const int k = celle.libera(c);
        if (k < 0) continue;
        posti.push_back(k);
        const int vicina = k + c.tra(2, 6);
        if (c.ruvida && celle.libere({vicina})) {
            celle.prendi({vicina});
            posti.push_back(vicina);
        }
    }
    std::sort(posti.begin(), posti.end());
    for (const int k : posti) {
        t += "segnale," + std::to_string(nella_cella(c, 50L * (k - 1)));
        for (const int v : {c.tra(1, 2), c.tra(2, 5), c.uno_di({0, 1, 3, 4, 6}), c.tra(0, 1),
                            c.uno_di({0, 0, 0, 1, 2}), c.tra(0, 2), c.uno_di({0, 2, 3}),
                            c.tra(0, 1), 0, c.uno_di({0, 0, 40, 101, 255, 300})}) {
            t += ", " + std::to_string(v);
        }
        t += "\r\n";
    }
    return t;
}

std::string treno(Casuale& c, Celle& celle, const std::string& righe_stazioni, int metri) {
    std::string t = "[generale]\r\n" + riga("numero vetture", {c.tra(1, 20)}) +
                    riga("percentuale massa frenata", {c.tra(50, 150)}) +
                    riga("sabbia", {c.tra(0, 500)}) + "orologio,    " +
                    std::to_string(c.tra(0, 23)) + "  " + std::to_string(c.tra(0, 59)) + "  " +
                    std::to_string(c.tra(0, 59)) + " \r\n[aderenze]\r\n";
    t += righe_in_serie(c, "aderenza", metri, 50, 60, 100, 1);
    t += "[vel_limite]\r\n";
    t += righe_in_serie(c, "velocita", metri, 50, 6, 32, 5);
    const std::string altre = rallentamenti(c, celle, metri);
    const std::string di_segnali = segnali(c, celle);
    t += c.ruvida && c.moneta() ? altre + di_segnali + righe_stazioni
                                : righe_stazioni + altre + di_segnali;
    return t + "[codici]\r\n[fine]\r\n";
}

}  // namespace

CoppiaCasuale coppia_da_seme(unsigned long long seme) {
    Casuale c(seme);
    const int metri = 4000 + 50 * c.tra(0, 400) + c.tra(0, 49);
    CoppiaCasuale coppia;
    coppia.con_piano = c.tra(0, 4) != 0;
    Celle celle(kPrimaCellaOggetti, metri / 50);
    // Stations first: their marks overwrite whatever their cells hold.
    const std::string righe_stazioni = stazioni(c, celle, metri);
    coppia.linea = linea(c, celle, metri, coppia.con_piano);
    coppia.treno = treno(c, celle, righe_stazioni, metri);
    return coppia;
}

rc::Gen<CoppiaCasuale> coppia_casuale() {
    return rc::gen::map(rc::gen::arbitrary<unsigned long long>(), coppia_da_seme);
}

}  // namespace brunavia::prova
