#include "tool/decompile/decompila_treno.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <set>

#include "compiler/numeri.h"
#include "compiler/posa_treno.h"
#include "tool/scenario.h"
#include "writers/formato_campi.h"
#include "writers/formato_treno.h"

namespace brunavia::strumento {
namespace {

constexpr std::int32_t kMetriCella = 50;
// Station codes from kPrimoCodiceSenzaSegni on mark no cell; 5 to 8 compute their zone from
// the full length.
constexpr std::int32_t kSogliaTempo = 100;  // 1 ... 100 are stored as 101

std::int32_t metri(std::size_t k) {
    return static_cast<std::int32_t>(k) * kMetriCella;
}

// ---- fills ----

template <typename Membro>
std::vector<std::int32_t> serie(const std::vector<cella>& celle, Membro membro) {
    std::vector<std::int32_t> v;
    v.reserve(celle.size());
    for (const cella& c : celle) v.push_back(c.*membro);
    return v;
}

void ricostruisci_riempimenti(const std::vector<cella>& celle, TrenoRicostruito& t) {
    const std::size_t fine = celle.size() >= 3 ? celle.size() - 3 : 0;  // cell N - 2
    for (const RigaSerie& r : righe_da_serie(serie(celle, &cella::attributo6), fine)) {
        t.aderenze.push_back({r.posizione, r.valore});
    }
    for (const RigaSerie& r : righe_da_serie(serie(celle, &cella::attributo4), fine)) {
        t.velocita.push_back({r.posizione, r.valore * 5});
    }
}

// ---- stations ----

bool zona_intera(std::uint8_t codice) {
    return codice >= 5 && codice <= 8;
}

StazioneRicostruita stazione_di(const voce& v, std::size_t riga, Motivi& motivi) {
    StazioneRicostruita s;
    treno::Stazione& c = s.campi;
    c.posizione = v.valore3;
    c.tipo = v.segno;
    const std::int64_t dal_centro = std::int64_t{v.valore3} - v.valore1;
    const std::int64_t lunghezza = zona_intera(v.segno) ? dal_centro : 2 * dal_centro;
    c.lunghezza = static_cast<int>(lunghezza);
    if (lunghezza % 100 != 0 || lunghezza > INT32_MAX || lunghezza < INT32_MIN) {
        motivi.push_back("riga " + std::to_string(riga) + ": la zona da " +
                         std::to_string(v.valore1) +
                         " m non viene da una lunghezza multipla "
                         "di 100 m");
    }
    c.flag1 = v.segno2;
    c.flag2 = v.opzione4;
    // The first station keeps its 50 m extension but stores its flag as 0.
    const bool estesa =
        !zona_intera(v.segno) && std::int64_t{v.valore2} - v.valore3 == lunghezza / 2 + kMetriCella;
    c.estensione = riga == 1 ? (estesa ? 1 : 0) : v.opzione3;
    c.numero1 = v.numero1;
    c.numero2 = v.numero2;
    c.flag3 = v.opzione1;
    c.numero3 = v.numero3;
    c.numero4 = v.numero4;
    c.numero5 = v.numero5;
    c.sosta = v.opzione2;
    c.ore = v.codice / 3600;
    c.minuti = v.codice % 3600 / 60;
    c.secondi = v.codice % 60;
    s.nome = v.testo;
    if (!testo_rileggibile(v.testo)) {
        motivi.push_back("riga " + std::to_string(riga) +
                         ": il nome della stazione ha una virgola, un a capo o uno spazio "
                         "iniziale, che la lettura non restituisce");
    }
    return s;
}

void ricostruisci_stazioni(const Tabella& tabella, TrenoRicostruito& t, Motivi& motivi) {
    for (std::size_t r = 1; r <= riga_tabella::prima_indicazione; ++r) {
        if (ruolo_riga(tabella, r) != Ruolo::stazione) break;
        t.stazioni.push_back(stazione_di(tabella[r], r, motivi));
    }
}

// ---- signals ----

std::uint8_t codice_avvicinamento(std::int32_t base, std::size_t k) {
    return static_cast<std::uint8_t>(
        (static_cast<std::uint32_t>(base) * 10u + static_cast<std::uint32_t>(k)) & 0xFFu);
}

// sx × 3 + dx, the base of the approach codes (base × 10 + k, k = 1 ... 4, 2k cells before the
// signal). A later signal a few cells on, or a station written after the signals, may have
// overwritten some of the four codes: the base is the reading of `dato3` (ratio × 10 + base)
// that explains the code 8 cells before the signal (which no later signal writes, unless a
// station marks it), then most of the nearer ones, ratio 0 first among equals.
std::int32_t base_avvicinamento(const std::vector<cella>& celle, std::size_t i,
                                const std::set<std::size_t>& segni_stazioni) {
    const std::int32_t dato3 = celle[i].dato3;
    const int peso_lontano = segni_stazioni.count(i - 8) != 0 ? 1 : 10;
    const auto punteggio = [&](std::int32_t base) {
        int n = 0;
        for (std::size_t k = 1; k <= 4 && 2 * k <= i; ++k) {
            if (celle[i - 2 * k].attributo2 != codice_avvicinamento(base, k)) continue;
            n += k == 4 ? peso_lontano : 1;
        }
        return n;
    };
    std::int32_t migliore = dato3;
    int punteggio_migliore = punteggio(dato3);
    for (std::int32_t rapp = 1; rapp <= 128; ++rapp) {
        for (const std::int32_t r : {rapp, -rapp}) {
            const int n = punteggio(dato3 - 10 * r);
            if (n > punteggio_migliore) {
                migliore = dato3 - 10 * r;
                punteggio_migliore = n;
            }
        }
    }
    return migliore;
}

// The cells where the stations write their marks 81 ... 84 (codes below 25, except 5 and 6).
std::set<std::size_t> celle_segnate_dalle_stazioni(const Tabella& tabella, std::size_t celle) {
    std::set<std::size_t> segnate;
    for (const Stazione& s : stazioni(tabella)) {
        if (s.tipo >= kPrimoCodiceSenzaSegni || s.tipo == 5 || s.tipo == 6) continue;
        const double fine = s.fine / 50.0;
        for (int n = 1; n <= 4; ++n) {
            if (fine - n - 1.0 <= 1.0) continue;
            const auto k = static_cast<std::int64_t>(std::nearbyint(fine - n - 1.0));
            if (k >= 0 && static_cast<std::size_t>(k) < celle) {
                segnate.insert(static_cast<std::size_t>(k));
            }
        }
    }
    return segnate;
}

treno::Segnale segnale_di(const std::vector<cella>& celle, std::size_t i,
                          const std::set<std::size_t>& segni_stazioni) {
    const cella& c = celle[i];
    treno::Segnale s{};
    s.posizione = metri(i) - kMetriCella;
    const std::int32_t base = base_avvicinamento(celle, i, segni_stazioni);
    s.rapp = (c.dato3 - base) / 10;
    if (c.attributo1 != 0) {
        s.sx = 2;  // only a signal with sx = 2 stores its time
        const std::int32_t a = c.attributo1;
        s.tempo = a > kSogliaTempo ? a : a + 256;
    } else {
        s.sx = base / 3;
    }
    s.dx = base - 3 * s.sx;
    s.s1 = c.dato0 / 10;
    s.d1 = c.dato0 % 10;
    s.s2 = c.dato1 / 10;
    s.d2 = c.dato1 % 10;
    s.s3 = c.dato2 / 10;
    s.d3 = c.dato2 % 10;
    return s;
}

// ---- slowdowns and "abbattimento" rows ----

// The end that goes with the start at s: an unused end with the same values, after the start
// when there is one (slowdowns may nest).
std::size_t fine_per(const std::vector<cella>& celle, std::size_t s,
                     const std::vector<std::size_t>& fini, std::vector<bool>& usata) {
    const auto stessi_valori = [&](std::size_t e) {
        return celle[e].dato0 == celle[s].dato0 && celle[e].dato1 == celle[s].dato1 &&
               celle[e].dato2 == celle[s].dato2;
    };
    std::optional<std::size_t> scelta;
    for (std::size_t n = 0; n < fini.size(); ++n) {
        if (usata[n] || !stessi_valori(fini[n])) continue;
        if (!scelta) scelta = n;
        if (fini[n] >= s) {
            scelta = n;
            break;
        }
    }
    if (!scelta) {
        for (std::size_t n = 0; n < fini.size() && !scelta; ++n) {
            if (!usata[n]) scelta = n;
        }
    }
    usata[*scelta] = true;
    return *scelta;
}

// The cells a slowdown starting at x marks before its start: the warning board and the
// first of the four cells before it (halves round to even, so the two may lie one cell apart).
struct AvvisoPrevisto {
    bool con_avviso = false;
    std::int64_t avviso = 0;
    std::int64_t prima = 0;
};

AvvisoPrevisto avviso_per(std::int32_t x) {
    const double da = x - 1200.0;
    return {x > kInizioConAvviso, cella_dopo(da), cella_di(da)};
}

bool di_tipo(const std::vector<cella>& celle, std::int64_t k, std::uint8_t tipo_cella) {
    return k >= 0 && static_cast<std::size_t>(k) < celle.size() &&
           celle[static_cast<std::size_t>(k)].tipo_cella == tipo_cella;
}

// The four cells before a warning board from cell j down, as a slowdown of speed change d_v
// marks them (dato1 only when d_v is not 0), and not yet claimed by another slowdown.
bool prima_dell_avviso_a(const std::vector<cella>& celle, std::int64_t j, std::int16_t d_v,
                         const std::set<std::int64_t>& rivendicate) {
    if (rivendicate.contains(j)) return false;
    for (std::int64_t n = 0; n < 4; ++n) {
        if (!di_tipo(celle, j - n, tipo::prima_dell_avviso)) return false;
        const cella& c = celle[static_cast<std::size_t>(j - n)];
        if (c.dato0 != n + 1 || c.dato1 != (d_v != 0 ? n + 1 : 0)) return false;
    }
    return true;
}

// The start within cell s's 50 m whose warning layout is the one the cells show, searched
// metre by metre outwards from the grid: the start, the board and the four cells before it
// round apart (halves to even), and the 1500 m limit of the board falls inside cell 31.
// Four such cells go with one slowdown only: the first in cell order whose speed change fits
// takes them (a second with its own would have failed to compile).
std::pair<std::int32_t, bool> inizio_rallentamento(const std::vector<cella>& celle, std::size_t s,
                                                   std::set<std::int64_t>& rivendicate) {
    const std::int16_t d_v = celle[s].dato1;
    const std::int32_t griglia = metri(s) - kMetriCella;
    std::optional<std::pair<std::int32_t, bool>> senza_prima;
    for (std::int32_t passo = 0; passo <= kMetriCella; ++passo) {
        const std::int32_t x = griglia + (passo % 2 == 0 ? passo / 2 : -(passo + 1) / 2);
        if (cella_dopo(x) != static_cast<std::int64_t>(s)) continue;
        const AvvisoPrevisto a = avviso_per(x);
        if (a.con_avviso != di_tipo(celle, a.avviso, tipo::avviso_rallentamento)) continue;
        if (a.con_avviso && prima_dell_avviso_a(celle, a.prima, d_v, rivendicate)) {
            rivendicate.insert(a.prima);
            return {x, true};
        }
        if (!senza_prima) senza_prima = std::pair{x, false};
    }
    return senza_prima.value_or(std::pair{griglia, false});
}

void ricostruisci_rallentamenti(const std::vector<cella>& celle, TrenoRicostruito& t,
                                Motivi& motivi) {
    std::vector<std::size_t> inizi, fini;
    for (std::size_t k = 0; k < celle.size(); ++k) {
        if (celle[k].tipo_cella == tipo::inizio_rallentamento) inizi.push_back(k);
        if (celle[k].tipo_cella == tipo::fine_rallentamento) fini.push_back(k);
    }
    if (inizi.size() != fini.size()) {
        motivi.push_back(std::to_string(inizi.size()) + " inizi e " + std::to_string(fini.size()) +
                         " fini di rallentamento nelle celle: non si accoppiano");
        return;
    }
    std::vector<bool> usata(fini.size(), false);
    std::set<std::int64_t> rivendicate;
    for (const std::size_t s : inizi) {
        const std::size_t e = fini[fine_per(celle, s, fini, usata)];
        const cella& c = celle[s];
        RallentamentoRicostruito r;
        const auto [x, con_prima] = inizio_rallentamento(celle, s, rivendicate);
        r.x = x;
        // The end cell is e whatever the start: x + l on the grid of cell e.
        r.campi.l = metri(e) - kMetriCella - r.x;
        r.campi.v = c.dato0;
        r.campi.f_tt = c.dato2;
        r.campi.d_v = c.dato1;
        r.campi.f_ta = con_prima ? 1 : 0;
        t.rallentamenti.push_back(r);
    }
}

void ricostruisci_abbattimenti(const std::vector<cella>& celle, TrenoRicostruito& t) {
    for (std::size_t k = 0; k < celle.size(); ++k) {
        const cella& c = celle[k];
        if (c.tipo_cella == tipo::abbattimento_nullo) {
            t.abbattimenti.push_back(abbattimento_per(k, 0, true));
        } else if (c.tipo_cella == tipo::marcatore && c.dato0 != kValoreMarcatoreRegole) {
            t.abbattimenti.push_back(abbattimento_per(k, c.dato0, false));
        }
    }
}

// ---- text ----

void aggiungi(std::string& testo, const std::string& riga) {
    testo += riga;
    testo += "\r\n";
}

void aggiungi_stazioni(std::string& r, const TrenoRicostruito& t) {
    aggiungi(r, "[stazioni]");
    for (const auto& s : t.stazioni) {
        treno::Stazione campi = s.campi;
        campi.nome = s.nome;
        aggiungi(r, treno::riga_stazione(campi));
    }
}

std::string riga_rallentamento(const RallentamentoRicostruito& r) {
    return "rallentamento," + a_destra(r.x, 8) + "," + a_destra(r.campi.v, 5) + "," +
           a_destra(r.campi.l, 6) + "," + a_destra(r.campi.f_tt, 3) + "," +
           a_destra(r.campi.f_ta, 2) + "," + a_destra(r.campi.d_v, 2);
}

std::string riga_abbattimento(const AbbattimentoRicostruito& a) {
    return "abbattimento," + a_destra(a.posizione, 8) + "," + a_destra(a.valore, 6);
}

}  // namespace

AbbattimentoRicostruito abbattimento_per(std::size_t k, std::int16_t valore, bool nullo) {
    // A positive value keeps its low 16 bits; a marker value of 0 or below comes from the
    // positive value with the same low bits.
    const std::int32_t v = nullo ? 0 : (valore > 0 ? valore : valore + 65536);
    return {metri(k), v};
}

TrenoRicostruito ricostruisci_treno(const std::vector<cella>& celle, const Tabella& tabella,
                                    Motivi& motivi) {
    TrenoRicostruito t;
    t.massa_frenata = tabella[riga_tabella::percorso].valore1;
    t.vetture = tabella[riga_tabella::percorso].valore3;
    const voce& treno = tabella[riga_tabella::treno];
    t.sabbia = treno.numero1;
    t.ore = treno.numero3;
    t.minuti = treno.numero4;
    t.secondi = treno.numero5;
    ricostruisci_riempimenti(celle, t);
    ricostruisci_stazioni(tabella, t, motivi);
    ricostruisci_rallentamenti(celle, t, motivi);
    ricostruisci_abbattimenti(celle, t);
    const auto segni_stazioni = celle_segnate_dalle_stazioni(tabella, celle.size());
    for (std::size_t k = 0; k < celle.size(); ++k) {
        if (celle[k].tipo_cella == tipo::segnale) {
            t.segnali.push_back(segnale_di(celle, k, segni_stazioni));
        }
    }
    return t;
}

std::string testo_treno(const TrenoRicostruito& t) {
    std::string r;
    aggiungi(r, "[generale]");
    aggiungi(r, "numero vetture,    " + std::to_string(t.vetture));
    aggiungi(r, "percentuale massa frenata,    " + std::to_string(t.massa_frenata));
    aggiungi(r, "sabbia,    " + std::to_string(t.sabbia));
    aggiungi(r, "orologio,    " + std::to_string(t.ore) + std::string(15, ' ') +
                    std::to_string(t.minuti) + std::string(12, ' ') + std::to_string(t.secondi) +
                    " ");
    aggiungi(r, "[aderenze]");
    for (std::size_t i = 0; i < t.aderenze.size(); ++i) {
        aggiungi(r, treno::riga_aderenza(t.aderenze[i], i == 0));
    }
    aggiungi(r, "[vel_limite]");
    for (const auto& v : t.velocita) aggiungi(r, treno::riga_velocita(v));
    if (!t.stazioni_dopo_segnali) aggiungi_stazioni(r, t);
    aggiungi(r, "[rallentamenti]");
    for (const auto& x : t.rallentamenti) aggiungi(r, riga_rallentamento(x));
    for (const auto& a : t.abbattimenti) aggiungi(r, riga_abbattimento(a));
    aggiungi(r, "[segnali]");
    for (const auto& s : t.segnali) aggiungi(r, treno::riga_segnale(s));
    if (t.stazioni_dopo_segnali) aggiungi_stazioni(r, t);
    aggiungi(r, "[codici]");
    aggiungi(r, "[fine]");
    return r;
}

}  // namespace brunavia::strumento
