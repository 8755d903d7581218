#include "tool/lsp/diagnostica.h"

#include "tool/check/verifica.h"
#include "tool/diagnosi.h"

namespace brunavia::strumento::lsp {
namespace {

// Partners that place nothing: a line as long as the format takes, and a train with no rows.
constexpr std::string_view kLineaVuota = "[generale]\r\nlunghezza percorso, 1000000\r\n[fine]\r\n";
constexpr std::string_view kTrenoVuoto = "[generale]\r\n[fine]\r\n";

constexpr std::string_view kSoloLinea =
    "controllata da sola: manca la descrizione del treno. Con il treno si controllano anche "
    "le celle prese insieme da segnali, rallentamenti e cartelli, le righe della tabella "
    "condivise da stazioni e cartelli (errore 10), i punti chilometrici (errore 2) e le celle "
    "del timbro (errori 1250, 1251)";
constexpr std::string_view kSoloTreno =
    "controllata da sola: manca la descrizione della linea (controllata su una linea di "
    "1000000 m senza oggetti). Con la linea si controllano anche le posizioni oltre la fine "
    "(errore 15), le celle prese dai cartelli della linea, il limite di stazioni (errore 10) e "
    "i punti chilometrici (errore 2)";

Json diagnostica_lsp(const Diagnosi& d, const Descrizione& desc, Codifica c) {
    const Documento& doc = *desc.documento;
    std::size_t r = 0, da = 0, a = 1;
    if (d.luogo.campo.riga > 0) {
        r = static_cast<std::size_t>(d.luogo.campo.riga - 1);
        da = d.luogo.campo.colonna > 0 ? static_cast<std::size_t>(d.luogo.campo.colonna - 1) : 0;
        a = da + 1;
        if (r < desc.analisi->righe.size()) {
            const RigaScritta& riga = desc.analisi->righe[r];
            if (riga.parola.inizio <= da && da < riga.parola.fine) a = riga.parola.fine;
            if (const auto i = campo_a(riga, da)) a = std::max(a, riga.campi[*i].fine);
        }
    }
    Json j = {{"range", intervallo(doc, r, da, a, c)},
              {"severity", d.errore ? kErrore : kAvviso},
              {"source", "brunavia"},
              {"message", d.dopo_ripresa ? d.messaggio + std::string(kDopoRipresa) : d.messaggio}};
    if (!d.codice.empty())
        j["code"] = d.codice;
    else if (d.numero)
        j["code"] = *d.numero;
    return j;
}

Json informazione(const Descrizione& desc, std::string_view testo, Codifica c) {
    return {{"range", intervallo(*desc.documento, 0, 0, 0, c)},
            {"severity", kInformazione},
            {"source", "brunavia"},
            {"message", std::string(testo)}};
}

bool del_file(const Diagnosi& d, FileDescrizione f, bool orfana) {
    return d.luogo.file == f || (orfana && d.luogo.file == FileDescrizione::nessuno);
}

}  // namespace

std::vector<Pubblicazione> diagnostica(const std::optional<Descrizione>& linea,
                                       const std::optional<Descrizione>& treno,
                                       const std::string& nome_partner_mancante, Codifica c) {
    const std::string testo_linea = linea ? linea->testo : std::string(kLineaVuota);
    const std::string testo_treno = treno ? treno->testo : std::string(kTrenoVuoto);
    const std::vector<Diagnosi> tutte = verifica_descrizioni(testo_linea, testo_treno);

    std::vector<Pubblicazione> r;
    const auto pubblica = [&](const Descrizione& desc, FileDescrizione f, bool orfane,
                              std::string_view da_sola) {
        if (desc.documento == nullptr) return;
        Pubblicazione p{desc.documento->uri(), desc.documento->versione(), Json::array()};
        if (!da_sola.empty())
            p.diagnostiche.push_back(
                informazione(desc, std::string(da_sola) + " (" + nome_partner_mancante + ")", c));
        for (const Diagnosi& d : tutte)
            if (del_file(d, f, orfane)) p.diagnostiche.push_back(diagnostica_lsp(d, desc, c));
        r.push_back(std::move(p));
    };
    // Errors of no row go to the line description, or to the train's when it is alone.
    if (linea) pubblica(*linea, FileDescrizione::linea, true, treno ? "" : kSoloLinea);
    if (treno) pubblica(*treno, FileDescrizione::treno, !linea, linea ? "" : kSoloTreno);
    return r;
}

}  // namespace brunavia::strumento::lsp
