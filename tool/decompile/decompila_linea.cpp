#include "tool/decompile/decompila_linea.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <map>

#include "compiler/lettore_linea.h"
#include "tool/scenario.h"
#include "writers/formato_linea.h"

namespace brunavia::strumento {
namespace {

constexpr std::int32_t kMetriCella = 50;
constexpr std::int32_t kMargineMetri = 7000;
constexpr std::int32_t kGradoLivello = 100;
// Curvature per metre of the curve classes 1 to 6, as the compile applies them.
constexpr std::array<double, 6> kCurvature = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
// Climbing stretches: kinds above this turn on the type-11 markers; a stretch starting this
// close after the previous one's end gets kind 3.
constexpr std::int32_t kMarcaturaMontagna = 10;
constexpr std::int32_t kDistanzaMontagneUnite = 150;
constexpr std::uint8_t kTipoMontagneUnite = 3;
constexpr std::size_t kPassoMarcatori = 4;

std::int32_t metri(std::size_t k) {
    return static_cast<std::int32_t>(k) * kMetriCella;
}
// A board stands on the cell after its position: the position of the board on cell k.
std::int32_t posizione_sulla_cella(std::size_t k) {
    return (static_cast<std::int32_t>(k) - 1) * kMetriCella;
}

bool stessi_bit(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// ---- general section ----

bool vuota(const ProgressivaLetta& p) {
    return p.posizione == 0 && p.chilometrica == 0 && p.verso == 0;
}
// How well an assignment reads: the points written first ("uno", then "due") are not empty.
int pieni_davanti(const std::array<ProgressivaLetta, 3>& lette) {
    return (vuota(lette[2]) ? 0 : 2) + (vuota(lette[1]) ? 0 : 1);
}

// The three reference points as read, in "tre", "due", "uno" order, that the ordering turns
// into rows 81 ... 83; found by trying every assignment of the stored rows, an empty point
// written last where several assignments do.
std::optional<std::array<ProgressivaLetta, 3>> progressive_lette(const Tabella& t) {
    std::array<ProgressivaLetta, 3> salvate;
    for (std::size_t i = 0; i < 3; ++i) {
        const voce& v = t[riga_tabella::progressiva_1 + i];
        salvate[i] = {v.valore1, v.valore2, v.valore3};
        if (v.valore3 == 1) {
            if (v.valore2 < INT32_MIN + 100) return std::nullopt;
            salvate[i].chilometrica -= 100;  // the ordering adds 100 where the chainage falls
        }
    }
    std::optional<std::array<ProgressivaLetta, 3>> scelte;
    std::array<std::size_t, 3> ordine = {0, 1, 2};
    do {
        Form1 prova;
        for (std::size_t i = 0; i < 3; ++i) {
            voce& v = prova.tabella[riga_tabella::progressiva_1 + i];
            const ProgressivaLetta& p = salvate[ordine[i]];
            v.valore1 = p.posizione;
            v.valore2 = p.chilometrica;
            v.valore3 = p.verso;
        }
        try {
            progressive_ordina(prova);
        } catch (const std::exception&) {
            continue;
        }
        bool uguale = true;
        for (std::size_t i = 0; i < 3; ++i) {
            const voce& a = prova.tabella[riga_tabella::progressiva_1 + i];
            const voce& b = t[riga_tabella::progressiva_1 + i];
            uguale = uguale && a.valore1 == b.valore1 && a.valore2 == b.valore2 &&
                     a.valore3 == b.valore3;
        }
        const std::array<ProgressivaLetta, 3> lette = {salvate[ordine[0]], salvate[ordine[1]],
                                                       salvate[ordine[2]]};
        if (uguale && (!scelte || pieni_davanti(lette) > pieni_davanti(*scelte))) scelte = lette;
    } while (std::next_permutation(ordine.begin(), ordine.end()));
    return scelte;
}

void ricostruisci_generale(const std::vector<cella>& celle, const Tabella& t, LineaRicostruita& l,
                           Motivi& motivi) {
    l.lunghezza = t[riga_tabella::percorso].valore2;
    const double ultima = std::nearbyint((static_cast<double>(l.lunghezza) + kMargineMetri) / 50.0);
    if (l.lunghezza < 0 || static_cast<double>(celle.size()) != ultima + 1) {
        motivi.push_back("riga 84: la lunghezza di " + std::to_string(l.lunghezza) +
                         " m non da' le " + std::to_string(celle.size()) + " celle del file");
    }
    if (const auto lette = progressive_lette(t)) {
        // Read as "tre", "due", "uno"; written as "uno", "due", "tre".
        l.progressive = {(*lette)[2], (*lette)[1], (*lette)[0]};
    } else {
        motivi.push_back("righe 81-83: nessun ordine di tre punti chilometrici le riproduce");
    }
    const voce& scenario = t[riga_tabella::scenario];
    l.sfondi = {scenario.valore1, scenario.valore3, scenario.valore2};
    const voce& treno = t[riga_tabella::treno];
    l.ripetizione_prima = treno.valore1;
    l.ripetizione_seconda = treno.valore2;
    l.codici_ripetizione = treno.valore3 == 9 ? 9 : 4;
    const bool coerente = (treno.valore2 == 0 && treno.valore3 == 0) ||
                          (treno.valore2 != 0 && (treno.valore3 == 4 || treno.valore3 == 9));
    if (!coerente || treno.valore1 % 50 != 0 || treno.valore2 % 50 != 0) {
        motivi.push_back("riga 86: ripetizione segnali " + std::to_string(treno.valore1) + ", " +
                         std::to_string(treno.valore2) + " con codice " +
                         std::to_string(treno.valore3) + " non e' scrivibile");
    }
}

// ---- gradients ----

void ricostruisci_pendenze(const std::vector<cella>& celle, LineaRicostruita& l) {
    std::vector<std::int32_t> valori;
    valori.reserve(celle.size());
    for (const cella& c : celle) valori.push_back(c.attributo5);
    const std::size_t fine = celle.size() >= 3 ? celle.size() - 3 : 0;  // cell P - 2
    for (const RigaSerie& r : righe_da_serie(valori, fine)) {
        l.pendenze.push_back({r.posizione, r.valore - kGradoLivello});
    }
}

// ---- curves ----

// The curvature applied at point g: 0 on a straight step, else the signed class curvature
// whose step gives the stored point bit for bit.
std::optional<double> curvatura_al_punto(const Tracciato& t, std::size_t g, double ultima) {
    const double dx = t.x[g - 1] - t.x[g - 2];
    const double dy = t.y[g - 1] - t.y[g - 2];
    if (stessi_bit(t.x[g], t.x[g - 1] + dx) && stessi_bit(t.y[g], t.y[g - 1] + dy)) return 0.0;
    const auto prova = [&](double k) {
        return stessi_bit(t.x[g], (t.x[g - 1] + dy * k) + dx) &&
               stessi_bit(t.y[g], (t.y[g - 1] + dy) - dx * k);
    };
    if (ultima != 0.0 && prova(ultima)) return ultima;
    for (const double k : kCurvature) {
        if (prova(k)) return k;
        if (prova(-k)) return -k;
    }
    return std::nullopt;
}

linea::Curva curva_di(double k, std::size_t primo, std::size_t ultimo) {
    const auto classe = static_cast<int>(
        std::find(kCurvature.begin(), kCurvature.end(), std::fabs(k)) - kCurvature.begin() + 1);
    // A run from point 2 reads best as a curve from the line's start.
    const int inizio = primo == 2 ? 0 : static_cast<int>(primo) - 1;
    return {k < 0 ? 's' : 'd', classe, inizio, static_cast<int>(ultimo) - inizio};
}

void ricostruisci_curve(const Tracciato& t, LineaRicostruita& l, Motivi& motivi) {
    const std::size_t ultimo = t.ultimo();
    if (ultimo != static_cast<std::size_t>(l.lunghezza) + kMargineMetri) {
        motivi.push_back("piano: " + std::to_string(ultimo + 1) + " punti, la lunghezza di " +
                         std::to_string(l.lunghezza) + " m ne vuole " +
                         std::to_string(l.lunghezza + kMargineMetri + 1));
        return;
    }
    if (t.tipo[0] != Tracciato::intero16 || t.tipo[1] != Tracciato::intero16 || t.x[0] != 0 ||
        t.y[0] != 0 || t.x[1] != 0 || t.y[1] != 1) {
        motivi.push_back("piano: i punti 0 e 1 non sono (0, 0) e (0, 1) a 16 bit");
        return;
    }
    std::size_t impostati = 2;
    while (impostati <= ultimo && t.tipo[impostati] == Tracciato::reale64) ++impostati;
    for (std::size_t g = impostati; g <= ultimo; ++g) {
        if (t.tipo[g] != Tracciato::non_impostato || impostati + 1 < ultimo) {
            motivi.push_back("piano: i punti da " + std::to_string(impostati) +
                             " non seguono il calcolo (calcolati fino a L - 2, poi non impostati)");
            return;
        }
    }
    double corrente = 0.0;
    std::size_t inizio_corrente = 0;
    for (std::size_t g = 2; g <= impostati; ++g) {
        std::optional<double> k = 0.0;
        if (g < impostati) {
            k = curvatura_al_punto(t, g, corrente);
            if (!k) {
                motivi.push_back("piano: il punto " + std::to_string(g) +
                                 " non segue da una curva di classe 1-6 ne' da un rettilineo");
                return;
            }
        }
        if (*k == corrente) continue;
        if (corrente != 0.0) l.curve.push_back(curva_di(corrente, inizio_corrente, g - 1));
        corrente = *k;
        inizio_corrente = g;
    }
}

// ---- climbing stretches ----

struct Tratto {
    std::size_t primo;
    std::size_t ultimo;
    std::uint8_t tipo;
    bool marcatori;
    bool conta_il_tipo = true;  // false: a later stretch writes these cells' kind again
};

// Runs of equal non-zero climbing kind.
std::vector<Tratto> corse_di_montagna(const std::vector<cella>& celle) {
    std::vector<Tratto> corse;
    for (std::size_t k = 0; k < celle.size(); ++k) {
        const std::uint8_t a = celle[k].attributo3;
        if (a == 0) continue;
        if (!corse.empty() && corse.back().ultimo + 1 == k && corse.back().tipo == a) {
            corse.back().ultimo = k;
        } else {
            corse.push_back({k, k, a, false});
        }
    }
    return corse;
}

bool di_montagna(const std::vector<cella>& celle, std::size_t k) {
    return celle[k].tipo_cella == tipo::libera_montagna;
}

// A stretch with markers from `primo`: it runs while every fourth cell is marked or taken by a
// later object (a free one would have been marked) and no other cell is marked.
std::size_t fine_con_marcatori(const std::vector<cella>& celle, std::size_t primo,
                               std::size_t ultimo) {
    for (std::size_t k = primo; k <= ultimo; ++k) {
        const bool quarta = (k - primo + 1) % kPassoMarcatori == 0;
        if (quarta && celle[k].tipo_cella == tipo::libera) return k - 1;
        if (!quarta && di_montagna(celle, k)) return k - 1;
    }
    return ultimo;
}

// The stretches of one run: without markers up to three cells before a marked cell, with
// markers from there (a stretch may start inside the previous one: its first cells are
// rewritten with the same kind).
void tratti_della_corsa(const std::vector<cella>& celle, const Tratto& corsa,
                        std::vector<Tratto>& tratti, Motivi& motivi) {
    const bool solo_marcatori = corsa.tipo > kMarcaturaMontagna;
    std::size_t p = corsa.primo;
    while (p <= corsa.ultimo) {
        std::size_t m = p;
        while (m <= corsa.ultimo && !di_montagna(celle, m)) ++m;
        if (m > corsa.ultimo) {
            tratti.push_back({p, corsa.ultimo, corsa.tipo, solo_marcatori});
            return;
        }
        if (m < corsa.primo + 3) {
            motivi.push_back("cella " + std::to_string(m) +
                             ": marcatore di montagna a meno di 4 celle dall'inizio del tratto");
            return;
        }
        // Back by whole steps of four while the cell marked there is taken by a later object.
        std::size_t inizio = m - 3;
        while (inizio >= p + kPassoMarcatori && celle[inizio - 1].tipo_cella != tipo::libera) {
            inizio -= kPassoMarcatori;
        }
        if (inizio > p) {
            if (solo_marcatori) {
                motivi.push_back("celle " + std::to_string(p) + "-" + std::to_string(inizio - 1) +
                                 ": tipo di montagna oltre 10 senza marcatori");
            }
            tratti.push_back({p, inizio - 1, corsa.tipo, false});
        }
        const std::size_t fine = fine_con_marcatori(celle, inizio, corsa.ultimo);
        if (fine < m) {
            motivi.push_back("cella " + std::to_string(m) +
                             ": marcatore di montagna che nessun tratto spiega");
            return;
        }
        tratti.push_back({inizio, fine, corsa.tipo, true});
        p = fine + 1;
    }
}

std::vector<Tratto> tratti_di_montagna(const std::vector<cella>& celle, Motivi& motivi) {
    std::vector<Tratto> tratti;
    for (const Tratto& corsa : corse_di_montagna(celle)) {
        tratti_della_corsa(celle, corsa, tratti, motivi);
    }
    return tratti;
}

// Cell by cell, for what no sequence of whole stretches explains (overlapping stretches,
// stretches of kind 0): first a stretch of four cells with markers for every type-11 cell,
// then every run of one kind written again without markers.
std::vector<Tratto> tratti_per_celle(const std::vector<cella>& celle, Motivi& motivi) {
    std::vector<Tratto> tratti;
    std::vector<bool> toccata(celle.size(), false);
    for (std::size_t k = 0; k < celle.size(); ++k) {
        if (!di_montagna(celle, k)) continue;
        if (k < kPassoMarcatori - 1) {
            motivi.push_back("cella " + std::to_string(k) +
                             ": marcatore di montagna prima della cella 3");
            continue;
        }
        tratti.push_back({k - 3, k, 1, true, false});
        for (std::size_t i = k - 3; i <= k; ++i) toccata[i] = true;
    }
    for (std::size_t k = 0; k < celle.size();) {
        std::size_t fine = k;
        bool da_scrivere = false;
        while (fine < celle.size() && celle[fine].attributo3 == celle[k].attributo3) {
            da_scrivere = da_scrivere || toccata[fine] || celle[fine].attributo3 != 0;
            ++fine;
        }
        if (da_scrivere && celle[k].attributo3 > kMarcaturaMontagna) {
            motivi.push_back("celle " + std::to_string(k) + "-" + std::to_string(fine - 1) +
                             ": tipo di montagna oltre 10 senza marcatori");
        }
        if (da_scrivere) tratti.push_back({k, fine - 1, celle[k].attributo3, false, true});
        k = fine;
    }
    return tratti;
}

void ricostruisci_montagne(const std::vector<Tratto>& tratti, LineaRicostruita& l) {
    std::optional<std::int32_t> fine_precedente;
    for (const Tratto& t : tratti) {
        std::int32_t inizio = metri(t.primo);
        std::int32_t fine = metri(t.ultimo + 1);
        const int tipo_scritto = t.tipo + (t.marcatori ? kMarcaturaMontagna : 0);
        if (fine_precedente && t.conta_il_tipo && t.tipo != kTipoMontagneUnite &&
            inizio - *fine_precedente <= kDistanzaMontagneUnite) {
            // Pull the previous end and this start towards the inside of their cells; when
            // that is not enough, a stretch of no cells ending far before puts distance between.
            const std::int32_t fine_stretta = *fine_precedente - 24;
            if (inizio + 24 - fine_stretta > kDistanzaMontagneUnite) {
                l.montagne.back().fine = fine_stretta;
                inizio += 24;
            } else {
                l.montagne.push_back({0, -1000, 1});
            }
        }
        l.montagne.push_back({inizio, fine, tipo_scritto});
        fine_precedente = fine;
    }
}

// ---- boards ----

IndicatoreRicostruito indicatore_di(const cella& c, std::size_t k) {
    IndicatoreRicostruito i;
    i.posizione = posizione_sulla_cella(k);
    const std::int16_t codici[3] = {c.dato0, c.dato1, c.dato2};
    for (std::size_t n = 0; n < 3; ++n) {
        i.sinistra[n] = codici[n] / 20;
        i.destra[n] = codici[n] % 20 * 5;
    }
    i.strisce_sinistra = c.dato3 / 10;
    i.strisce_destra = c.dato3 % 10;
    return i;
}

// A station's last cell keeps dato1 ... dato3 of a board that stood there before the train
// was read: a speed board when they are not all 0, else possibly an indication board.
bool sotto_una_stazione(const cella& c) {
    return c.tipo_cella == tipo::fine_stazione;
}
bool valori_di_indicatore(const cella& c) {
    return c.dato1 != 0 || c.dato2 != 0 || c.dato3 != 0;
}

// The lowest table row that holds a board text (81 when none does).
std::int32_t ultima_riga_di_cartello(const Tabella& t, std::int32_t piu_bassa_in_cella) {
    std::int32_t r = static_cast<std::int32_t>(riga_tabella::prima_indicazione) + 1;
    for (std::size_t i = riga_tabella::prima_indicazione; i >= 1; --i) {
        if (ruolo_riga(t, i) == Ruolo::cartello_indicatore) r = static_cast<std::int32_t>(i);
    }
    return std::min(r, piu_bassa_in_cella);
}

void ricostruisci_cartelli(const std::vector<cella>& celle, const Tabella& t, LineaRicostruita& l,
                           Motivi& motivi) {
    std::map<std::int32_t, std::size_t, std::greater<>> per_slot;  // slot -> cell
    std::vector<std::size_t> sotto_stazioni;  // station cells that may hide a text board
    std::int32_t piu_bassa = static_cast<std::int32_t>(riga_tabella::prima_indicazione) + 1;
    for (std::size_t k = 0; k < celle.size(); ++k) {
        const cella& c = celle[k];
        if (c.tipo_cella == tipo::indicatore_v_max) {
            l.indicatori.push_back(indicatore_di(c, k));
        } else if (sotto_una_stazione(c) && valori_di_indicatore(c)) {
            cella senza_stazione = c;
            senza_stazione.dato0 = 0;  // the station's number took the first speed code
            l.indicatori.push_back(indicatore_di(senza_stazione, k));
        } else if (sotto_una_stazione(c)) {
            sotto_stazioni.push_back(k);
        } else if (c.tipo_cella == tipo::cartello_indicatore) {
            if (!per_slot.emplace(c.dato0, k).second) {
                motivi.push_back("cella " + std::to_string(k) + ": cartello sulla riga " +
                                 std::to_string(c.dato0) + " gia' usata da un altro cartello");
            }
            piu_bassa = std::min<std::int32_t>(piu_bassa, c.dato0);
        }
    }
    // Boards take rows 80, 79, ... in file order; a row whose board no cell shows stood where a
    // station later marked its cell.
    std::size_t nascosti = 0;
    // Row 0 is never a board's: a cell that names it is left to the proof to report.
    const std::int32_t ultima = std::max(ultima_riga_di_cartello(t, piu_bassa), 1);
    for (std::int32_t slot = static_cast<std::int32_t>(riga_tabella::prima_indicazione);
         slot >= ultima; --slot) {
        std::size_t k = 0;
        if (const auto i = per_slot.find(slot); i != per_slot.end()) {
            k = i->second;
        } else if (nascosti < sotto_stazioni.size()) {
            k = sotto_stazioni[nascosti++];
        } else {
            motivi.push_back("riga " + std::to_string(slot) +
                             ": testo di un cartello che nessuna cella mostra");
            return;
        }
        const std::string& testo = t[static_cast<std::size_t>(slot)].testo;
        if (!testo_rileggibile(testo)) {
            motivi.push_back("riga " + std::to_string(slot) +
                             ": il testo del cartello ha una virgola, un a capo o uno spazio "
                             "iniziale, che la lettura non restituisce");
        }
        l.cartelli.push_back({posizione_sulla_cella(k), testo});
    }
    std::sort(l.indicatori.begin(), l.indicatori.end(),
              [](const auto& a, const auto& b) { return a.posizione < b.posizione; });
}

// ---- text ----

std::string a_quattro(std::int32_t v) {
    return ",    " + std::to_string(v);
}

std::string riga_indicatore(const IndicatoreRicostruito& i) {
    const bool destro = i.destra != std::array<std::int32_t, 3>{} || i.strisce_destra != 0;
    if (!destro) {
        return linea::riga_indicatore_vmax(
            {i.posizione, i.sinistra[0], i.sinistra[1], i.sinistra[2], i.strisce_sinistra});
    }
    std::string r = "indicatori_vmax,  " + std::to_string(i.posizione);
    for (const std::int32_t v : i.sinistra) r += ",  " + std::to_string(v);
    r += ",  " + std::to_string(i.strisce_sinistra);
    for (const std::int32_t v : i.destra) r += ",  " + std::to_string(v);
    return r + ",  " + std::to_string(i.strisce_destra);
}

void aggiungi(std::string& testo, const std::string& riga) {
    testo += riga;
    testo += "\r\n";
}

}  // namespace

std::vector<RigaSerie> righe_da_serie(const std::vector<std::int32_t>& valori,
                                      std::size_t fine_riempimento) {
    std::vector<RigaSerie> righe;
    if (valori.empty()) return righe;
    righe.push_back({0, valori[0]});
    const std::size_t fine = std::min(fine_riempimento, valori.size());
    for (std::size_t k = 1; k < fine; ++k) {
        if (valori[k] != valori[k - 1]) righe.push_back({metri(k), valori[k]});
    }
    std::size_t ultimo_oltre = fine;  // one past the last non-zero cell from `fine` on
    for (std::size_t k = fine; k < valori.size(); ++k) {
        if (valori[k] != 0) ultimo_oltre = k + 1;
    }
    if (ultimo_oltre == fine || fine == 0) return righe;
    // A row at cell `fine` sets the value of that cell; each further row there writes the
    // cell at the cursor and sets the value of the next one.
    righe.push_back({metri(fine), valori[fine]});
    for (std::size_t k = fine; k < ultimo_oltre; ++k) {
        righe.push_back({metri(fine), k + 1 < valori.size() ? valori[k + 1] : 0});
    }
    return righe;
}

bool testo_rileggibile(const std::string& testo) {
    return testo.find_first_of(",\r\n") == std::string::npos &&
           (testo.empty() || (testo[0] != ' ' && testo[0] != '\t'));
}

LineaRicostruita ricostruisci_linea(const std::vector<cella>& celle, const Tabella& tabella,
                                    const std::optional<Tracciato>& tracciato, ModoMontagne modo,
                                    Motivi& motivi) {
    LineaRicostruita l;
    ricostruisci_generale(celle, tabella, l, motivi);
    if (tracciato) ricostruisci_curve(*tracciato, l, motivi);
    ricostruisci_pendenze(celle, l);
    ricostruisci_montagne(modo == ModoMontagne::per_tratti ? tratti_di_montagna(celle, motivi)
                                                           : tratti_per_celle(celle, motivi),
                          l);
    ricostruisci_cartelli(celle, tabella, l, motivi);
    return l;
}

std::string testo_linea(const LineaRicostruita& l) {
    static constexpr const char* kNomiPunti[3] = {"uno", "due", "tre"};
    std::string t;
    aggiungi(t, "[generale]");
    aggiungi(t, "lunghezza percorso" + a_quattro(l.lunghezza));
    for (std::size_t i = 0; i < 3; ++i) {
        const ProgressivaLetta& p = l.progressive[i];
        aggiungi(t, std::string("progressiva chilometrica ") + kNomiPunti[i] +
                        a_quattro(p.posizione) + a_quattro(p.chilometrica) + a_quattro(p.verso));
    }
    for (std::size_t i = 0; i < 3; ++i) {
        aggiungi(t, std::string("sfondo ") + kNomiPunti[i] + a_quattro(l.sfondi[i]));
    }
    aggiungi(t, "ripetizione segnali " + std::to_string(l.codici_ripetizione) + " codici" +
                    a_quattro(l.ripetizione_prima) + "    ," +
                    std::to_string(l.ripetizione_seconda));
    aggiungi(t, "[curve]");
    for (const auto& c : l.curve) aggiungi(t, linea::riga_curva(c));
    aggiungi(t, "[pendenze]");
    for (std::size_t i = 0; i < l.pendenze.size(); ++i) {
        aggiungi(t, linea::riga_pendenza(l.pendenze[i], i == 0));
    }
    aggiungi(t, "[montagne]");
    for (const auto& m : l.montagne) aggiungi(t, linea::riga_montagna(m));
    aggiungi(t, "[cartelli]");
    for (const auto& i : l.indicatori) aggiungi(t, riga_indicatore(i));
    aggiungi(t, "[indicazioni]");
    for (const auto& c : l.cartelli) {
        aggiungi(t, "cartello_indicatore,  " + std::to_string(c.posizione) + ",   " + c.testo);
    }
    aggiungi(t, "[fine]");
    return t;
}

}  // namespace brunavia::strumento
