#include "tool/plot/comando.h"

#include <cstdio>
#include <ostream>

#include "io/file_atomico.h"
#include "tool/decodifica.h"
#include "tool/messaggi_file.h"
#include "tool/plot/disegno.h"
#include "tool/scenario.h"
#include "tool/uscite.h"

namespace brunavia::strumento {
namespace {

// The stretch of --from and --to: from before to is refused.
void controlla_ordine(double da, double a) {
    if (da < a) return;
    char t[160];
    std::snprintf(t, sizeof t,
                  "--from %g non viene prima di --to %g: il tratto va dal km minore al maggiore",
                  da / 1000, a / 1000);
    throw ErroreUso{t};
}

// The stretch of --from and --to, in metres (a missing end is the line's), or none; refused
// when it is empty or reaches beyond the line of `lunghezza` metres.
std::optional<Tratto> tratto_da_disegnare(const OpzioniPlot& o, double lunghezza) {
    if (!o.da_km && !o.a_km) return std::nullopt;
    const double da = o.da_km.value_or(0) * 1000, a = o.a_km ? *o.a_km * 1000 : lunghezza;
    if (const bool da_oltre = da > lunghezza; da_oltre || a > lunghezza) {
        char t[160];
        std::snprintf(t, sizeof t, "--%s %g va oltre la fine della linea, al km %g (riga 84)",
                      da_oltre ? "from" : "to", (da_oltre ? da : a) / 1000, lunghezza / 1000);
        throw ErroreUso{t};
    }
    controlla_ordine(da, a);
    return Tratto{da, a};
}

}  // namespace

int comando_plot(const OpzioniPlot& o, std::ostream& uscita, std::ostream& errori) {
    if (o.destinazione.empty()) throw ErroreUso{"manca -o FILE.svg"};
    if (o.da_km && o.a_km) controlla_ordine(*o.da_km * 1000, *o.a_km * 1000);
    richiedi_scelta(o.cartella, o.nomi);
    NomiScenario nomi;
    try {
        controlla_cartella(o.cartella);
        nomi = nomi_da_usare(nomi_dalla_cartella(o.cartella), o.nomi.scenario, o.nomi.treno);
        const ScenarioCompilato s = leggi_scenario(o.cartella, nomi.scenario, nomi.treno);
        const auto motivi =
            file_discordanti(s.tabella, s.celle.size(), s.tracciato ? &*s.tracciato : nullptr,
                             nomi.scenario, nomi.treno);
        if (!motivi.empty()) {
            errori << "plot: i file compilati di " << o.cartella.string()
                   << " non vengono da una stessa compilazione; nulla e' stato disegnato.\n";
            for (const auto& m : motivi) errori << "  " << m << "\n";
            return kUscitaFallita;
        }
        const auto tratto = tratto_da_disegnare(o, s.tabella[riga_tabella::percorso].valore2);
        const Disegno d = disegna_scenario(s, nomi.scenario + ", treno " + nomi.treno, tratto);
        // The page's folder is created when missing, as compile does for its files.
        crea_cartella(std::filesystem::path(o.destinazione).parent_path());
        sostituisci_file(o.destinazione, d.svg);
        uscita << o.destinazione << "\n";
        return kUscitaRegolare;
    } catch (const ErroreDecodifica& e) {
        errori << e.what() << "\n";  // names the file by its whole path, as dump does
    } catch (const ErroreFile& e) {
        errori << riga_errore_file(e) << "\n";
        if (const auto scelta = scenari_da_scegliere(o.cartella, nomi); !scelta.empty())
            errori << scelta << "\n";
    }
    return kUscitaFallita;
}

}  // namespace brunavia::strumento
