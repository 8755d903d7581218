#include "tool/compile/compilazione.h"

#include <ostream>
#include <system_error>

#include "app/form_load.h"
#include "compiler/errori.h"
#include "compiler/file_compilati.h"
#include "io/file_atomico.h"
#include "io/nomi_file.h"
#include "tool/decodifica.h"
#include "tool/diagnosi.h"
#include "tool/messaggi_file.h"
#include "tool/righe_non_lette.h"
#include "tool/testo.h"
#include "tool/verifica_descrizioni.h"

namespace brunavia::strumento {
namespace {

// The compile of the tool builds the plan, as the program's run does.
constexpr std::int32_t kFlagLinea = 1;

std::optional<std::string> leggi_se_esiste(const std::filesystem::path& percorso) {
    std::error_code ec;
    if (!std::filesystem::exists(percorso, ec)) return std::nullopt;
    return leggi_testo_descrizione(percorso);
}

std::optional<std::string_view> vista(const std::optional<std::string>& testo) {
    return testo ? std::optional<std::string_view>(*testo) : std::nullopt;
}

// The train description that the compile never opened (the line's reading stopped), read for
// the note of its unread lines; nothing when it cannot be read.
std::optional<std::string> treno_non_aperto(const OpzioniCompila& o, const DescrizioniDaFile& d) {
    if (d.testo_treno()) return std::nullopt;
    try {
        return leggi_se_esiste(o.treno);
    } catch (const ErroreFile&) {
        return std::nullopt;
    }
}

// The errors in the order recorded, each with the lines its stop left unread; then, unless
// they are not wanted, the warnings about the rows read, in file order and folded as check
// folds them.
void riporta(const OpzioniCompila& o, const DescrizioniDaFile& descrizioni, const Form1& f,
             const RegistroRighe& registro, const Sorgenti& sorgenti,
             std::optional<std::int32_t> fermata, std::ostream& errori) {
    std::vector<Diagnosi> d = diagnosi_della_compilazione(f, registro, fermata);
    if (!d.empty()) {
        const auto treno = treno_non_aperto(o, descrizioni);
        segna_righe_non_lette(d, registro, vista(descrizioni.testo_linea()),
                              treno ? vista(treno) : vista(descrizioni.testo_treno()));
    }
    for (const Diagnosi& x : d) errori << testo_diagnosi(x, sorgenti, false) << "\n";
    if (!o.avvisi) return;
    StampaDiagnosi stampa(sorgenti, errori, true);
    const auto linea = vista(descrizioni.testo_linea());
    const auto treno = vista(descrizioni.testo_treno());
    avvisi_della_lettura(registro, linea.value_or(""), treno.value_or(""),
                         [&](Diagnosi&& x) { stampa.aggiungi(x); });
    stampa.chiudi();
}

// One line when a name is the default because the files are not named alike.
void nota_nomi_predefiniti(const OpzioniCompila& o, std::ostream& errori) {
    if (!o.scenario_predefinito && !o.treno_predefinito) return;
    errori << "nota: i nomi dei file non seguono lo schema NOME_linea.txt e NOME_N-.txt con lo "
              "stesso NOME: ";
    if (o.scenario_predefinito && o.treno_predefinito) {
        errori << "si usano lo scenario " << o.nome_scenario << " e il treno " << o.numero_treno
               << " (sceglierli con --scenario e --train)\n";
    } else if (o.scenario_predefinito) {
        errori << "si usa lo scenario " << o.nome_scenario << " (sceglierlo con --scenario)\n";
    } else {
        errori << "si usa il treno " << o.numero_treno << " (sceglierlo con --train)\n";
    }
}

std::vector<std::string> nomi_compilati(const Form1& f) {
    return {nomi_file::piano_linea(f), nomi_file::tabella_scenario(f), nomi_file::celle_treno(f)};
}

}  // namespace

const std::optional<std::string>& DescrizioniDaFile::linea() {
    linea_ = leggi_se_esiste(percorso_linea_);
    return linea_;
}

const std::optional<std::string>& DescrizioniDaFile::treno() {
    treno_ = leggi_se_esiste(percorso_treno_);
    return treno_;
}

Sorgenti sorgenti_di(const OpzioniCompila& o, const DescrizioniDaFile& d) {
    return {o.linea.string(),
            o.treno.string(),
            "scenario " + o.nome_scenario + ", treno " + o.numero_treno,
            &d.testo_linea(),
            &d.testo_treno(),
            {},
            {}};
}

int compila_descrizioni(const OpzioniCompila& o, std::ostream& uscita, std::ostream& errori) {
    Form1 f;
    f.nome_scenario = o.nome_scenario;
    f.numero_treno = o.numero_treno;
    f.cartella = o.cartella;
    DescrizioniDaFile d(o.linea, o.treno);
    // The register keeps what check's warnings need only when they are printed.
    RegistroRighe registro(f, false, o.avvisi);
    f.osservatore = &registro;
    const Sorgenti sorgenti = sorgenti_di(o, d);
    nota_nomi_predefiniti(o, errori);
    try {
        const bool celle_pronte = compila(f, kFlagLinea, d);
        riporta(o, d, f, registro, sorgenti, std::nullopt, errori);
        if (celle_pronte) {
            crea_cartella(o.cartella);
            scrivi_file_compilati(f, o.cartella);
            for (const auto& nome : nomi_compilati(f))
                uscita << utf8_di(o.cartella / percorso_utf8(nome)) << "\n";
        } else {
            errori << "nessun file compilato scritto: la linea non e' stata letta fino alla "
                      "lunghezza del percorso\n";
        }
        return f.codice_errore != 0 ? kUscitaErroreRegistrato : kUscitaRegolare;
    } catch (const Terminazione& t) {
        riporta(o, d, f, registro, sorgenti, numero_della_terminazione(t), errori);
    } catch (const ErroreFile& e) {
        errori << riga_errore_file(e) << "\n";
    } catch (const std::exception& e) {
        errori << "Errore interno: " << e.what() << "\n";
    }
    return kUscitaFermata;
}

}  // namespace brunavia::strumento
