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
#include "tool/testo.h"

namespace brunavia::strumento {
namespace {

// The compile of the tool builds the plan, as the program's run does.
constexpr std::int32_t kFlagLinea = 1;

std::optional<std::string> leggi_se_esiste(const std::filesystem::path& percorso) {
    std::error_code ec;
    if (!std::filesystem::exists(percorso, ec)) return std::nullopt;
    return leggi_testo_descrizione(percorso);
}

void riporta_errori(const Form1& f, const RegistroRighe& registro, const Sorgenti& sorgenti,
                    std::optional<std::int32_t> fermata, std::ostream& errori) {
    for (const Diagnosi& d : diagnosi_della_compilazione(f, registro, fermata)) {
        errori << testo_diagnosi(d, sorgenti, false) << "\n";
    }
}

std::vector<std::string> nomi_compilati(const Form1& f) {
    return {nomi_file::piano_linea(f), nomi_file::tabella_scenario(f), nomi_file::celle_treno(f)};
}

}  // namespace

std::optional<std::string> DescrizioniDaFile::linea() {
    linea_ = leggi_se_esiste(percorso_linea_);
    return linea_;
}

std::optional<std::string> DescrizioniDaFile::treno() {
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
    RegistroRighe registro(f, false, false);
    f.osservatore = &registro;
    const Sorgenti sorgenti = sorgenti_di(o, d);
    try {
        const bool celle_pronte = compila(f, kFlagLinea, d);
        riporta_errori(f, registro, sorgenti, std::nullopt, errori);
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
        riporta_errori(f, registro, sorgenti, numero_della_terminazione(t), errori);
    } catch (const ErroreFile& e) {
        errori << riga_errore_file(e) << "\n";
    } catch (const std::exception& e) {
        errori << "Errore interno: " << e.what() << "\n";
    }
    return kUscitaFermata;
}

}  // namespace brunavia::strumento
