#include "tool/lsp/diagnostica.h"

#include "compiler/descrizioni_in_memoria.h"
#include "compiler/errori.h"
#include "compiler/memorizza.h"
#include "tool/diagnosi.h"
#include "tool/registro_righe.h"
#include "tool/righe_non_lette.h"
#include "tool/verifica_descrizioni.h"

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

// An error of a taken cell and the row that holds the cell.
struct CellaPresa {
    std::int32_t numero = 0;
    LuogoErrore luogo;
    bool treno = false;  // the holding row's file
    PosizioneCampo dove;
};

// The compile, reading on past the errors that stop it as check does, told to report what
// holds each taken cell.
std::vector<CellaPresa> celle_prese(const std::string& linea, const std::string& treno) {
    Form1 f;
    RegistroRighe registro(f, true);
    f.osservatore = &registro;
    DescrizioniInMemoria d(linea, treno);
    try {
        compila(f, 1, d);
    } catch (const Terminazione&) {
    }
    std::vector<CellaPresa> r;
    for (std::size_t i = 0; i < f.errori_registrati.size(); ++i) {
        const CellaRifiutata* rifiuto = registro.rifiuto_di(i);
        if (rifiuto == nullptr || !rifiuto->parola_occupante) continue;
        const ParolaLetta& p = registro.parole()[*rifiuto->parola_occupante];
        r.push_back({f.errori_registrati[i].codice, f.errori_registrati[i].luogo, p.treno, p.dove});
    }
    return r;
}

bool stesso_luogo(const LuogoErrore& a, const LuogoErrore& b) {
    return a.file == b.file && a.campo.riga == b.campo.riga && a.campo.colonna == b.campo.colonna;
}

// The location of a row of one of the pair: its keyword, in the open document, else the
// column as read (a Windows-1252 character is one UTF-16 unit).
Json luogo_riga(const Descrizione& desc, PosizioneCampo dove, Codifica c) {
    const auto r = static_cast<std::size_t>(std::max(dove.riga - 1, 0));
    const auto col = static_cast<std::size_t>(std::max(dove.colonna - 1, 0));
    if (desc.documento != nullptr && r < desc.analisi->righe.size())
        return {
            {"uri", desc.uri},
            {"range", intervallo(*desc.documento, r, col, desc.analisi->righe[r].parola.fine, c)}};
    const Json punto = {{"line", r}, {"character", col}};
    return {{"uri", desc.uri}, {"range", {{"start", punto}, {"end", punto}}}};
}

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

// The lines of `desc` that the compile never read because the error `d` stopped it: one
// diagnostic over all of them, shown faded as unused text is.
Json righe_non_lette(const RigheNonLette& n, const Diagnosi& d, const Descrizione& desc,
                     std::string_view nome_file_errore) {
    std::string messaggio = testo_righe_non_lette(n, desc.nome) +
                            ": la compilazione si ferma prima, all'errore n. " +
                            std::to_string(d.numero.value_or(0));
    if (d.luogo.campo.riga > 0)
        messaggio += " (riga " + std::to_string(d.luogo.campo.riga) + " di " +
                     std::string(nome_file_errore) + ")";
    const Json inizio = {{"line", n.prima - 1}, {"character", 0}};
    const Json fine = {{"line", n.ultima}, {"character", 0}};
    return {{"range", {{"start", inizio}, {"end", fine}}},
            {"severity", kInformazione},
            {"source", "brunavia"},
            {"tags", Json::array({kNonNecessario})},
            {"message", messaggio}};
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
    const std::vector<CellaPresa> prese = celle_prese(testo_linea, testo_treno);
    const auto collegate = [&](const Diagnosi& d) {
        Json r = Json::array();
        for (const CellaPresa& p : prese) {
            const std::optional<Descrizione>& dove = p.treno ? treno : linea;
            if (!d.numero || *d.numero != p.numero || !stesso_luogo(d.luogo, p.luogo) || !dove)
                continue;
            r.push_back({{"location", luogo_riga(*dove, p.dove, c)},
                         {"message", "la cella e' presa da questa riga"}});
        }
        return r;
    };

    const auto nome_di = [&](const Diagnosi& d) {
        const auto& desc = d.luogo.file == FileDescrizione::treno ? treno : linea;
        return desc ? desc->nome : std::string();
    };
    std::vector<Pubblicazione> r;
    const auto pubblica = [&](const Descrizione& desc, FileDescrizione f, bool orfane,
                              std::string_view da_sola) {
        if (desc.documento == nullptr) return;
        Pubblicazione p{desc.documento->uri(), desc.documento->versione(), Json::array()};
        if (!da_sola.empty())
            p.diagnostiche.push_back(
                informazione(desc, std::string(da_sola) + " (" + nome_partner_mancante + ")", c));
        for (const Diagnosi& d : tutte)
            if (del_file(d, f, orfane)) {
                Json j = diagnostica_lsp(d, desc, c);
                if (Json rel = collegate(d); !rel.empty()) j["relatedInformation"] = std::move(rel);
                p.diagnostiche.push_back(std::move(j));
            }
        for (const Diagnosi& d : tutte)
            for (const RigheNonLette& n : d.non_lette)
                if (n.file == f) p.diagnostiche.push_back(righe_non_lette(n, d, desc, nome_di(d)));
        r.push_back(std::move(p));
    };
    // Errors of no row go to the line description, or to the train's when it is alone.
    if (linea) pubblica(*linea, FileDescrizione::linea, true, treno ? "" : kSoloLinea);
    if (treno) pubblica(*treno, FileDescrizione::treno, !linea, linea ? "" : kSoloTreno);
    return r;
}

}  // namespace brunavia::strumento::lsp
