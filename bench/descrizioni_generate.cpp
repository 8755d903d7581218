#include "bench/descrizioni_generate.h"

#include <algorithm>
#include <initializer_list>
#include <set>

namespace brunavia::banco {
namespace {

constexpr int kMetriRiferimento = 120000;
constexpr int kCartelli = 55;
constexpr int kStazioni = 23;

int con_densita(int per_120_km, int metri) {
    return static_cast<int>(static_cast<long long>(per_120_km) * metri / kMetriRiferimento);
}

// Spacing, in whole hundreds of metres, of `quante` rows over the line.
int passo(int metri, int quante) {
    return std::max(100, metri / std::max(1, quante) / 100 * 100);
}

std::string riga(const std::string& chiave, std::initializer_list<int> numeri) {
    std::string r = chiave;
    for (const int n : numeri) r += ",  " + std::to_string(n);
    return r + "\r\n";
}

// Cells already given to a feature, so that generated rows never meet: a position is moved on
// by 100 m until its cell (position / 50 + 1) and the cells it needs around it are free.
class Occupate {
public:
    int libera_da(int posizione, std::initializer_list<int> scarti = {0}) {
        for (;; posizione += 100) {
            const int cella = posizione / 50 + 1;
            if (std::none_of(scarti.begin(), scarti.end(),
                             [&](int s) { return prese_.count(cella + s) != 0; })) {
                for (const int s : scarti) prese_.insert(cella + s);
                return posizione;
            }
        }
    }

private:
    std::set<int> prese_;
};

// Board cells of the generated line: speed boards on odd cells, indication boards on even ones.
int posizione_indicatore(int i, int s) {
    return 1000 + i * s;
}
int posizione_cartello(int i, int s) {
    return 1050 + i * s;
}

}  // namespace

std::string linea_generata(int metri) {
    std::string t = "[generale]\r\n" + riga("lunghezza percorso", {metri}) +
                    "progressiva chilometrica uno,    0,    240700,    1\r\n"
                    "progressiva chilometrica due,    115050,    10700,    0\r\n"
                    "progressiva chilometrica tre,    0,    0,    0\r\n"
                    "sfondo uno,    1\r\nsfondo due,    119250\r\nsfondo tre,    54650\r\n"
                    "ripetizione segnali 4 codici,    0    ,0\r\n[curve]\r\n";
    const int curve = con_densita(195, metri);
    for (int i = 0, s = passo(metri, curve); i < curve; ++i) {
        const std::string chiave =
            std::string("curva") + (i % 2 ? "s" : "d") + std::to_string(3 + i % 4);
        t += riga(chiave, {i * s, std::min(1000, s / 2)});
    }
    t += "[pendenze]\r\n";
    const int pendenze = con_densita(103, metri);
    for (int i = 0, s = passo(metri, pendenze); i < pendenze; ++i) {
        t += riga("pendenza", {i * s, (i * 17) % 60 - 28});
    }
    t += "[montagne]\r\n";
    const int montagne = con_densita(20, metri);
    for (int i = 0, s = passo(metri, montagne); i < montagne; ++i) {
        t += riga("montagna", {i * s + 100, i * s + 700, i % 3 ? 11 : 12});
    }
    t += "[cartelli]\r\n";
    const int indicatori = con_densita(31, metri);
    for (int i = 0, s = passo(metri, indicatori); i < indicatori; ++i) {
        t += "indicatori_vmax,  " + std::to_string(posizione_indicatore(i, s)) +
             ",  80,  90,  90,  2,  ,  ,  ,  0\r\n";
    }
    t += "[indicazioni]\r\n";
    for (int i = 0, s = passo(metri, kCartelli); i < kCartelli; ++i) {
        t += "cartello_indicatore,  " + std::to_string(posizione_cartello(i, s)) +
             ",   (Ponte   )(in Ferro)\r\n";
    }
    return t + "[fine]\r\n";
}

std::string treno_generato(int metri) {
    Occupate occupate;
    // The line's boards hold their cells.
    const int indicatori = con_densita(31, metri);
    for (int i = 0, s = passo(metri, indicatori); i < indicatori; ++i) {
        occupate.libera_da(posizione_indicatore(i, s));
    }
    for (int i = 0, s = passo(metri, kCartelli); i < kCartelli; ++i) {
        occupate.libera_da(posizione_cartello(i, s));
    }

    std::string t =
        "[generale]\r\nnumero vetture,    8\r\npercentuale massa frenata,    105\r\n"
        "sabbia,    300\r\norologio,    8               24            35 \r\n[aderenze]\r\n";
    const int aderenze = con_densita(37, metri);
    for (int i = 0, s = passo(metri, aderenze); i < aderenze; ++i) {
        t += riga("aderenza", {i * s, i % 2 ? 100 : 85 + i % 10});
    }
    t += "[vel_limite]\r\n";
    const int velocita = con_densita(24, metri);
    for (int i = 0, s = passo(metri, velocita); i < velocita; ++i) {
        t += riga("velocita", {i * s, 60 + 10 * (i % 7)});
    }
    // Stations far apart; their end cell and the four before it are kept clear.
    t += "[stazioni]\r\n";
    for (int i = 0, s = passo(metri - 2000, kStazioni); i < kStazioni; ++i) {
        const int posizione = 2000 + i * s;
        occupate.libera_da(posizione + 200, {-4, -3, -2, -1, 0});
        t += "stazione, " + std::to_string(posizione) +
             ", 12,  400,  0, 0, 0,  1,1,0,  2,1,1,    0,   0, 0, 0, STAZIONE " +
             std::to_string(i + 1) + "\r\n";
    }
    // Slowdowns: warning board 1200 m before the start, then start and end; the cells in
    // front of each keep room for the markers of the finishing rules.
    t += "[rallentamenti]\r\n";
    const int rallentamenti = con_densita(4, metri);
    for (int i = 0, s = passo(metri - 4000, rallentamenti); i < rallentamenti; ++i) {
        int x = 3000 + i * s + 1150;
        for (;; x += 100) {
            Occupate prova = occupate;
            if (prova.libera_da(x - 1200, {-20, -19, -18, -13, -12, -11, -7, -6, -5, 0}) ==
                    x - 1200 &&
                prova.libera_da(x, {-20, -19, -18, -13, -12, -11, -7, -6, -5, 0}) == x &&
                prova.libera_da(x + 800, {-1, 0, 1}) == x + 800) {
                occupate = prova;
                break;
            }
        }
        t += riga("rallentamento", {x, i % 2 ? 60 : 120, 800, 1, 0, 0});
    }
    t += "[segnali]\r\n";
    const int segnali = con_densita(44, metri);
    for (int i = 0, s = passo(metri - 1000, segnali); i < segnali; ++i) {
        const int posizione = occupate.libera_da(1400 + i * s, {-2, -1, 0});
        t += riga("segnale", {posizione, 1 + i % 2, 2, 3, 1, 0, 0, 0, 0, 0, 0});
    }
    return t + "[codici]\r\n[fine]\r\n";
}

}  // namespace brunavia::banco
