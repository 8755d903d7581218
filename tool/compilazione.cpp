#include "tool/compilazione.h"

#include <ostream>
#include <system_error>

#include "app/form_load.h"
#include "compiler/errori.h"
#include "compiler/file_compilati.h"
#include "compiler/nomi_file.h"
#include "tool/decodifica.h"
#include "tool/testo.h"
#include "io/file_atomico.h"

namespace brunavia::strumento {
namespace {

// The compile of the tool builds the plan, as the program's run does.
constexpr std::int32_t kFlagLinea = 1;

std::optional<std::string> leggi_se_esiste(const std::filesystem::path& percorso) {
    std::error_code ec;
    if (!std::filesystem::exists(percorso, ec)) return std::nullopt;
    return leggi_tutto(percorso);
}

// What an error report starts with: the file and the field, the file alone, or the scenario.
std::string luogo_di(const LuogoErrore& luogo, const OpzioniCompila& o) {
    if (luogo.file == FileDescrizione::nessuno) {
        return "scenario " + o.nome_scenario + ", treno " + o.numero_treno;
    }
    std::string testo = (luogo.file == FileDescrizione::linea ? o.linea : o.treno).string();
    if (luogo.campo.riga > 0) {
        testo += ":" + std::to_string(luogo.campo.riga) + ":" + std::to_string(luogo.campo.colonna);
    }
    return testo;
}

// The offending line and a caret under the field's first character. Tabs before the field stay
// tabs, so that the caret lines up however the terminal shows them.
std::string riga_con_segno(const std::string& riga, int colonna) {
    std::string segno;
    for (std::size_t i = 0; i + 1 < static_cast<std::size_t>(colonna); ++i) {
        segno.push_back(i < riga.size() && riga[i] == '\t' ? '\t' : ' ');
    }
    return "    " + da_cp1252(riga) + "\n    " + segno + "^";
}

// The number of the error that ended the compile through the error report.
std::int32_t numero_di(const Terminazione& t) {
    const std::string prompt = t.what();
    const auto inizio = prompt.find_last_of(' ');
    try {
        return std::stoi(prompt.substr(inizio + 1));
    } catch (const std::exception&) {
        return 0;
    }
}

void riporta_errori(const Form1& f, const OpzioniCompila& o, const DescrizioniDaFile& d,
                    std::ostream& errori) {
    const ErroreRegistrato* precedente = nullptr;
    for (const ErroreRegistrato& e : f.errori_registrati) {
        // A rule that records the same error twice in a row is reported once.
        if (precedente && precedente->codice == e.codice && precedente->posizione == e.posizione &&
            precedente->luogo.file == e.luogo.file &&
            precedente->luogo.campo.riga == e.luogo.campo.riga &&
            precedente->luogo.campo.colonna == e.luogo.campo.colonna) {
            continue;
        }
        precedente = &e;
        const auto& testo =
            e.luogo.file == FileDescrizione::linea ? d.testo_linea() : d.testo_treno();
        errori << descrivi_errore(e, o, testo) << "\n";
    }
}

std::vector<std::string> nomi_compilati(const Form1& f) {
    return {nomi_file::piano_linea(f), nomi_file::tabella_scenario(f), nomi_file::celle_treno(f)};
}

void crea_cartella(const std::filesystem::path& cartella) {
    std::error_code ec;
    std::filesystem::create_directories(cartella, ec);
    if (ec) throw ErroreFile(cartella, ec.message());
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

std::optional<std::string> riga_di_testo(std::string_view testo, int riga) {
    std::size_t inizio = 0;
    for (int n = 1; n < riga; ++n) {
        const std::size_t fine = testo.find_first_of("\r\n", inizio);
        if (fine == std::string_view::npos) return std::nullopt;
        inizio = fine + (testo.compare(fine, 2, "\r\n") == 0 ? 2 : 1);
    }
    if (riga < 1 || inizio > testo.size()) return std::nullopt;
    const std::size_t fine = testo.find_first_of("\r\n", inizio);
    return std::string(testo.substr(inizio, fine == std::string_view::npos ? fine : fine - inizio));
}

std::string descrivi_errore(const ErroreRegistrato& e, const OpzioniCompila& o,
                            const std::optional<std::string>& testo) {
    std::string r = luogo_di(e.luogo, o) + ": Errore n. " + std::to_string(e.codice);
    if (e.posizione) r += ", posizione " + std::to_string(*e.posizione);
    r += ": " + std::string(spiegazione_errore(e.codice));
    if (e.luogo.file != FileDescrizione::nessuno && e.luogo.campo.riga > 0 && testo) {
        if (const auto riga = riga_di_testo(*testo, e.luogo.campo.riga)) {
            r += "\n" + riga_con_segno(*riga, e.luogo.campo.colonna);
        }
    }
    return r;
}

int compila_descrizioni(const OpzioniCompila& o, std::ostream& uscita, std::ostream& errori) {
    Form1 f;
    f.nome_scenario = o.nome_scenario;
    f.numero_treno = o.numero_treno;
    f.cartella = o.cartella;
    DescrizioniDaFile d(o.linea, o.treno);
    try {
        const bool celle_pronte = compila(f, kFlagLinea, d);
        riporta_errori(f, o, d, errori);
        if (celle_pronte) {
            crea_cartella(o.cartella);
            scrivi_file_compilati(f, o.cartella);
            for (const auto& nome : nomi_compilati(f))
                uscita << (o.cartella / nome).string() << "\n";
        } else {
            errori << "nessun file compilato scritto: la linea non e' stata letta fino alla "
                      "lunghezza del percorso\n";
        }
        return f.codice_errore != 0 ? kUscitaErroreRegistrato : kUscitaRegolare;
    } catch (const Terminazione& t) {
        riporta_errori(f, o, d, errori);
        errori << descrivi_errore({numero_di(t), std::nullopt, {}, {}}, o, std::nullopt) << "\n";
    } catch (const ErroreFile& e) {
        errori << e.riga() << "\n";
    } catch (const std::exception& e) {
        errori << "Errore interno: " << e.what() << "\n";
    }
    return kUscitaFermata;
}

}  // namespace brunavia::strumento
