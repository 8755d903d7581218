#include "compiler/memorizza.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "compiler/file_compilati.h"
#include "compiler/finitura.h"
#include "compiler/lettore_campi.h"
#include "compiler/lettore_linea.h"
#include "compiler/lettore_treno.h"
#include "io/cp1252.h"
#include "io/file_atomico.h"
#include "io/nomi_file.h"

namespace brunavia {
namespace {

constexpr std::int32_t kErroreFileMancante = 101;
constexpr std::int32_t kErroreLettura = 25;

std::optional<std::string> leggi_file(const std::filesystem::path& percorso) {
    std::error_code ec;
    if (!std::filesystem::exists(percorso, ec)) return std::nullopt;
    std::ifstream in(percorso, std::ios::binary);
    if (!in) throw ErroreFile(percorso, "impossibile aprire il file in lettura");
    std::string testo((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw ErroreFile(percorso, "errore di lettura");
    return testo;
}

void elimina_file(const std::filesystem::path& percorso) {
    std::error_code ec;
    std::filesystem::remove(percorso, ec);
    if (ec) throw ErroreFile(percorso, ec.message());
}

// A read failure: neither description file survives, and error 25 is recorded with what was
// wrong.
void fallimento_di_lettura(Form1& f, Descrizioni& d, const ErroreLettura& e) {
    d.elimina_linea();
    d.elimina_treno();
    f.registra_errore(kErroreLettura);
    f.errori_registrati.back().motivo = e.what();
}

void pulisci_tabella(Form1& f) {
    for (auto& v : f.tabella) v = voce{};
}

}  // namespace

void memorizza_treno(Form1& f, Descrizioni& d, std::int32_t limite_cartelli) {
    try {
        f.segna_luogo(FileDescrizione::treno, {});
        const auto& treno = d.treno();
        if (!treno) throw ErroreLettura("manca il file di descrizione del treno", {});
        leggi_descrizione_treno(f, *treno, limite_cartelli);
        d.elimina_treno();
    } catch (const ErroreLettura& e) {
        fallimento_di_lettura(f, d, e);
    }
}

const std::optional<std::string>& DescrizioniNellaCartella::linea() {
    testo_linea_ = leggi_file(linea_);
    return testo_linea_;
}
const std::optional<std::string>& DescrizioniNellaCartella::treno() {
    testo_treno_ = leggi_file(treno_);
    return testo_treno_;
}
void DescrizioniNellaCartella::elimina_linea() {
    elimina_file(linea_);
}
void DescrizioniNellaCartella::elimina_treno() {
    elimina_file(treno_);
}

void memorizza_dati(Form1& f, Descrizioni& d) {
    // The names are UTF-8 (they name files too); the table holds Windows-1252 bytes.
    f.tabella[riga_tabella::scenario].testo = in_cp1252(f.nome_scenario);
    f.tabella[riga_tabella::treno].testo = in_cp1252(f.numero_treno);
    f.segna_luogo(FileDescrizione::linea, {});
    const auto& linea = d.linea();
    if (!linea) {
        f.registra_errore(kErroreFileMancante);
        return;
    }
    StatoLinea stato;
    try {
        const EsitoLinea esito = leggi_descrizione_linea(f, *linea, stato);
        d.elimina_linea();
        if (esito == EsitoLinea::prosegui) memorizza_treno(f, d, stato.slot_cartello);
    } catch (const ErroreLettura& e) {
        fallimento_di_lettura(f, d, e);
    }
}

bool compila(Form1& f, std::int32_t flag, Descrizioni& d) {
    f.flag_linea = flag;
    f.codice_errore = 0;
    f.posizione_errore = 0;
    f.errori_registrati.clear();
    f.campi_progressive = {};
    pulisci_tabella(f);
    f.celle.clear();
    // Emptied, not freed: a model compiled again keeps the room of its plan.
    f.tracciato.x.clear();
    f.tracciato.y.clear();
    f.tracciato.tipo.clear();
    f.inizio_montagne.clear();
    f.fine_montagne.clear();
    memorizza_dati(f, d);
    f.luogo = {};  // the finishing rules' errors belong to no row
    if (!f.celle_dimensionate()) return false;
    applica_finitura(f);
    timbra_modello(f);
    return true;
}

void memorizza_percorso(Form1& f, std::int32_t& j) {
    DescrizioniNellaCartella d(percorso_di(f, nomi_file::descrizione_linea(f)),
                               percorso_di(f, nomi_file::descrizione_treno(f)));
    if (compila(f, j, d)) scrivi_file_compilati(f, f.cartella);
}

}  // namespace brunavia
