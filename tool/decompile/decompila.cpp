#include "tool/decompile/decompila.h"

#include <algorithm>
#include <optional>
#include <ostream>
#include <set>
#include <system_error>

#include "io/cp1252.h"
#include "io/file_atomico.h"
#include "io/nomi_file.h"
#include "tool/decompile/decompila_treno.h"
#include "tool/messaggi_file.h"
#include "tool/scenario.h"
#include "tool/uscite.h"

namespace brunavia::strumento {
namespace {

constexpr int kUscitaScritte = 0;
constexpr int kUscitaRifiuto = 1;
// Rounds of telling "abbattimento" rows from the finishing rules' markers.
constexpr int kTentativi = 32;

bool marcatore_delle_regole(const cella& c) {
    return c.tipo_cella == tipo::marcatore && c.dato0 == kValoreMarcatoreRegole;
}

bool marcato(const std::vector<cella>& celle, std::size_t k) {
    return k < celle.size() && celle[k].tipo_cella == tipo::marcatore;
}

std::optional<std::size_t> primo_marcatore_diverso(const std::vector<cella>& attese,
                                                   const std::vector<cella>& ottenute) {
    for (std::size_t k = 0; k < attese.size() && k < ottenute.size(); ++k) {
        if (marcato(attese, k) != marcato(ottenute, k)) return k;
    }
    return std::nullopt;
}

// Markers of the rules' value that the rules did not place in the compile of the candidate come
// from "abbattimento" rows. They are added in walk order, up to the first marker that the
// candidate places and the files do not. A rule whose cell is taken marks the cell before it,
// or, that one taken too, the one after; and that marker may take the cell of another rule,
// which then marks the cell before its own. So when both compiles mark a cell up to two before
// or after the missing marker m, the row may be there and m a rule's own marker. The cells
// after m are tried first, m next and the ones before it last; when the compiles
// then still differ at or before m, or differ later in a way no row explains, the search goes
// back to the latest choice with an alternative left.
class RicercaAbbattimenti {
public:
    // False when there is nothing more to try.
    bool prossimo(const std::vector<cella>& attese, const std::vector<cella>& ottenute,
                  TrenoRicostruito& t) {
        if (attese.size() != ottenute.size()) return false;
        const std::optional<std::size_t> d = primo_marcatore_diverso(attese, ottenute);
        if (!d) return false;
        if (!pila_.empty() && *d <= pila_.back().m) return indietro(attese, t);
        return aggiungi(attese, ottenute, t) || indietro(attese, t);
    }

private:
    struct Scelta {
        std::vector<AbbattimentoRicostruito> prima;  // the rows before the choice
        std::vector<std::size_t> alternative;
        std::size_t m = 0;
    };

    bool aggiungi(const std::vector<cella>& attese, const std::vector<cella>& ottenute,
                  TrenoRicostruito& t) {
        std::set<std::int32_t> presenti;
        for (const auto& a : t.abbattimenti) presenti.insert(a.posizione);
        bool aggiunto = false;
        for (std::size_t m = 0; m < attese.size(); ++m) {
            if (marcato(attese, m) == marcato(ottenute, m)) continue;
            if (!marcatore_delle_regole(attese[m])) break;
            std::vector<std::size_t> scelte;
            for (const std::size_t k : {m + 1, m + 2, m, m - 1, m - 2}) {
                const bool vicino = k != m && k < attese.size() &&
                                    marcatore_delle_regole(attese[k]) && marcato(ottenute, k);
                if ((k == m || vicino) && !presenti.contains(posizione_di(k))) {
                    scelte.push_back(k);
                }
            }
            if (scelte.empty()) break;
            if (scelte.size() > 1) {
                pila_.push_back({t.abbattimenti, {scelte.begin() + 1, scelte.end()}, m});
            }
            metti(attese, t, scelte.front());
            presenti.insert(posizione_di(scelte.front()));
            aggiunto = true;
            if (scelte.size() > 1) break;
        }
        return aggiunto;
    }

    bool indietro(const std::vector<cella>& attese, TrenoRicostruito& t) {
        while (!pila_.empty()) {
            Scelta& s = pila_.back();
            if (s.alternative.empty()) {
                pila_.pop_back();
                continue;
            }
            t.abbattimenti = s.prima;
            metti(attese, t, s.alternative.front());
            s.alternative.erase(s.alternative.begin());
            return true;
        }
        return false;
    }

    static std::int32_t posizione_di(std::size_t k) {
        return abbattimento_per(k, 0, true).posizione;
    }

    static void metti(const std::vector<cella>& attese, TrenoRicostruito& t, std::size_t k) {
        t.abbattimenti.push_back(abbattimento_per(k, attese[k].dato0, false));
    }

    std::vector<Scelta> pila_;
};

void in_ordine(TrenoRicostruito& t) {
    std::sort(t.abbattimenti.begin(), t.abbattimenti.end(),
              [](const auto& x, const auto& y) { return x.posizione < y.posizione; });
}

NomiScenario nomi_scelti(const OpzioniDecompila& o) {
    return nomi_da_usare(nomi_dalla_cartella(o.cartella), o.scenario, o.treno);
}

// A compiled file that does not follow its layout, reported as `dump` reports it.
class ErroreFileCompilato : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

template <typename Decodifica>
auto decodifica_file(const std::filesystem::path& file, const std::string& byte, Decodifica d) {
    try {
        return d(byte);
    } catch (const ErroreDecodifica& e) {
        throw ErroreFileCompilato(file.string() + ": " + e.what());
    }
}

Compilati leggi_compilati(const std::filesystem::path& cartella, const NomiScenario& nomi) {
    Form1 f;
    f.nome_scenario = nomi.scenario;
    f.numero_treno = nomi.treno;
    const auto file_celle = cartella / nomi_file::celle_treno(f);
    const auto file_tabella = cartella / nomi_file::tabella_scenario(f);
    const auto file_piano = cartella / nomi_file::piano_linea(f);
    Compilati c;
    c.byte_celle = leggi_tutto(file_celle);
    c.byte_tabella = leggi_tutto(file_tabella);
    std::error_code ec;
    if (std::filesystem::exists(file_piano, ec)) c.byte_tracciato = leggi_tutto(file_piano);
    c.celle = decodifica_file(file_celle, c.byte_celle, decodifica_celle);
    c.tabella = decodifica_file(file_tabella, c.byte_tabella, decodifica_tabella);
    if (c.byte_tracciato) {
        c.tracciato = decodifica_file(file_piano, *c.byte_tracciato, decodifica_tracciato);
    }
    return c;
}

}  // namespace

EsitoDecompila decompila(const Compilati& c, const NomiScenario& nomi) {
    EsitoDecompila esito;
    esito.motivi =
        file_discordanti(c.tabella, c.celle.size(), c.tracciato ? &*c.tracciato : nullptr,
                         nomi.scenario, nomi.treno);
    if (!esito.motivi.empty()) return esito;
    // The readable recovery first; then the stations after the signals, and the climbing
    // stretches cell by cell, only when the ones before fail.
    struct Variante {
        ModoMontagne montagne;
        bool stazioni_dopo_segnali;
    };
    constexpr Variante kVarianti[] = {{ModoMontagne::per_tratti, false},
                                      {ModoMontagne::per_tratti, true},
                                      {ModoMontagne::per_celle, false},
                                      {ModoMontagne::per_celle, true}};
    for (const Variante& v : kVarianti) {
        Motivi motivi;
        const LineaRicostruita linea =
            ricostruisci_linea(c.celle, c.tabella, c.tracciato, v.montagne, motivi);
        TrenoRicostruito treno = ricostruisci_treno(c.celle, c.tabella, motivi);
        treno.stazioni_dopo_segnali = v.stazioni_dopo_segnali;
        const std::string testo_l = testo_linea(linea);
        EsitoProva prova;
        RicercaAbbattimenti ricerca;
        for (int tentativo = 0; tentativo < kTentativi; ++tentativo) {
            in_ordine(treno);
            const std::string testo_t = testo_treno(treno);
            prova = prova_descrizioni(testo_l, testo_t, nomi, c);
            if (prova.riprodotto) {
                esito.descrizioni = DescrizioniProvate{testo_l, testo_t};
                esito.motivi.clear();
                return esito;
            }
            if (!ricerca.prossimo(c.celle, prova.celle, treno)) break;
        }
        // What the first, readable recovery could not explain is what the author is told.
        if (esito.motivi.empty()) {
            esito.motivi = std::move(motivi);
            esito.motivi.insert(esito.motivi.end(), prova.differenze.begin(),
                                prova.differenze.end());
        }
    }
    if (esito.motivi.empty()) esito.motivi.push_back("la ricompilazione da' byte diversi");
    return esito;
}

int comando_decompile(const OpzioniDecompila& o, std::ostream& uscita, std::ostream& errori) {
    const NomiScenario nomi = nomi_scelti(o);
    if (!nome_scenario_valido(nomi.scenario) || !numero_treno_valido(nomi.treno)) {
        errori << "brunavia-tool decompile: nome di scenario \"" << nomi.scenario
               << "\" o numero di treno \"" << nomi.treno << "\" non valido\n";
        return kUscitaUso;
    }
    const auto linea = o.uscita / (nomi.scenario + "_linea.txt");
    const auto treno = o.uscita / (nomi.scenario + "_" + nomi.treno + "-.txt");
    if (!o.sostituisci) {
        // Descriptions an author may have edited by hand are never replaced unasked.
        for (const auto& file : {linea, treno}) {
            std::error_code ec;
            if (!std::filesystem::exists(std::filesystem::symlink_status(file, ec))) continue;
            errori << "decompile: " << file.string()
                   << " esiste gia'; nulla e' stato scritto (--force per sostituirlo)\n";
            return kUscitaRifiuto;
        }
    }
    try {
        controlla_cartella(o.cartella);
        const Compilati c = leggi_compilati(o.cartella, nomi);
        const EsitoDecompila esito = decompila(c, nomi);
        if (!esito.descrizioni) {
            errori << "decompile: nessuna coppia di descrizioni riproduce i file compilati di "
                   << o.cartella.string() << "; nulla e' stato scritto.\n";
            for (const auto& m : esito.motivi) errori << "  " << m << "\n";
            return kUscitaRifiuto;
        }
        crea_cartella(o.uscita);
        sostituisci_file_insieme(
            {{linea, esito.descrizioni->linea}, {treno, esito.descrizioni->treno}});
        uscita << linea.string() << "\n" << treno.string() << "\n";
        return kUscitaScritte;
    } catch (const ErroreFileCompilato& e) {
        errori << e.what() << "\n";
    } catch (const ErroreFile& e) {
        errori << riga_errore_file(e) << "\n";  // the whole path, the reason in Italian
        if (const auto scelta = scenari_da_scegliere(o.cartella, nomi); !scelta.empty())
            errori << scelta << "\n";
    }
    return kUscitaRifiuto;
}

}  // namespace brunavia::strumento
