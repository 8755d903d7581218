#include "tool/lsp/server.h"

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <istream>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>
#include <set>
#include <sstream>
#include <thread>

#include "tool/lsp/analisi.h"
#include "tool/lsp/azioni.h"
#include "tool/lsp/completamento.h"
#include "tool/lsp/coppia.h"
#include "tool/lsp/diagnostica.h"
#include "tool/lsp/hover.h"
#include "tool/lsp/simboli.h"
#include "tool/lsp/suggerimenti.h"
#include "tool/lsp/trasporto.h"

namespace brunavia::strumento::lsp {
namespace {

// JSON-RPC and LSP error codes.
constexpr int kErroreSintassi = -32700;
constexpr int kRichiestaNonValida = -32600;
constexpr int kMetodoSconosciuto = -32601;
constexpr int kParametriNonValidi = -32602;
constexpr int kNonInizializzato = -32002;

// A message as read, handed from the reading thread to the server.
struct Ricevuto {
    Lettura esito;
    std::string corpo;
};

// The messages read ahead of the server. The reading thread owns a share of it, so it
// outlives the server when the thread is still blocked on its input.
class Coda {
public:
    void metti(Ricevuto r) {
        {
            std::lock_guard l(m_);
            coda_.push_back(std::move(r));
        }
        cv_.notify_one();
    }
    Ricevuto prendi() {
        std::unique_lock l(m_);
        cv_.wait(l, [&] { return !coda_.empty(); });
        Ricevuto r = std::move(coda_.front());
        coda_.pop_front();
        return r;
    }
    bool vuota() {
        std::lock_guard l(m_);
        return coda_.empty();
    }
    // Whether a change of a document waits to be handled: it makes a check of an older text
    // stale.
    bool modifica_in_attesa() {
        std::lock_guard l(m_);
        for (const Ricevuto& r : coda_)
            if (r.corpo.find("textDocument/did") != std::string::npos) return true;
        return false;
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    std::deque<Ricevuto> coda_;
};

std::optional<std::string> leggi_file(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    if (!f) return std::nullopt;
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

class Server {
public:
    Server(std::ostream& uscita, Coda* coda) : out_(uscita), coda_(coda) {}

    // Handles one message; an exit status when the client sent `exit`.
    std::optional<int> gestisci(const std::string& corpo);
    // Checks and publishes every document whose pair changed, unless a newer change waits.
    void verifica_in_sospeso();
    int uscita_finale() const { return chiuso_ ? 0 : 1; }

private:
    void invia(const Json& j) {
        scrivi_messaggio(out_, j.dump(-1, ' ', false, Json::error_handler_t::replace));
    }
    void rispondi(const Json& id, Json risultato) {
        invia({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(risultato)}});
    }
    void errore(const Json& id, int codice, std::string messaggio) {
        invia({{"jsonrpc", "2.0"},
               {"id", id},
               {"error", {{"code", codice}, {"message", std::move(messaggio)}}}});
    }
    std::optional<int> metodo(const std::string& nome, const Json& id, bool richiesta,
                              const Json& p);
    Json inizializza(const Json& p);
    void apri(const Json& p);
    void cambia(const Json& p);
    void chiudi(const Json& p);
    void da_verificare(const std::string& uri);

    const Documento* documento(const Json& p) const;
    const Analisi& analisi_di(const Documento& d);
    bool e_treno(const Documento& d) const;
    std::size_t carattere(const Documento& d, const Json& posizione) const;
    std::optional<Descrizione> partner(const Documento& d, bool treno, std::string& nome);
    void verifica(const std::string& uri);

    std::ostream& out_;
    Coda* coda_;
    bool inizializzato_ = false;
    bool chiuso_ = false;
    Codifica cod_ = Codifica::utf16;
    std::map<std::string, Documento> documenti_;
    std::map<std::string, std::pair<int, Analisi>> analisi_;
    std::set<std::string> sospesi_;
};

std::optional<int> Server::gestisci(const std::string& corpo) {
    Json j;
    try {
        j = Json::parse(corpo);
    } catch (const Json::exception&) {
        errore(nullptr, kErroreSintassi, "JSON non valido");
        return std::nullopt;
    }
    if (!j.is_object()) {
        errore(nullptr, kRichiestaNonValida, "il messaggio non e' un oggetto JSON");
        return std::nullopt;
    }
    const bool richiesta = j.contains("id");
    const Json id = richiesta ? j["id"] : Json();
    if (richiesta && !id.is_string() && !id.is_number_integer()) {
        errore(nullptr, kRichiestaNonValida, "id non valido");
        return std::nullopt;
    }
    if (!j.contains("method") || !j["method"].is_string()) {
        // A response to a request of ours (the server sends none) is passed over.
        if (!(richiesta && (j.contains("result") || j.contains("error"))))
            errore(id, kRichiestaNonValida, "manca il metodo");
        return std::nullopt;
    }
    const std::string nome = j["method"].get<std::string>();
    const Json vuoto = Json::object();
    const Json& p = j.contains("params") ? j["params"] : vuoto;
    try {
        return metodo(nome, id, richiesta, p);
    } catch (const Json::exception& e) {
        if (richiesta)
            errore(id, kParametriNonValidi, std::string("parametri non validi: ") + e.what());
    } catch (const std::exception& e) {
        if (richiesta) errore(id, kParametriNonValidi, e.what());
    }
    return std::nullopt;
}

std::optional<int> Server::metodo(const std::string& nome, const Json& id, bool richiesta,
                                  const Json& p) {
    if (nome == "exit") return chiuso_ ? 0 : 1;
    if (!inizializzato_ && nome != "initialize") {
        if (richiesta) errore(id, kNonInizializzato, "server non ancora inizializzato");
        return std::nullopt;
    }
    if (chiuso_) {
        if (richiesta) errore(id, kRichiestaNonValida, "server gia' chiuso (shutdown)");
        return std::nullopt;
    }
    if (nome == "initialize") {
        if (inizializzato_) {
            errore(id, kRichiestaNonValida, "initialize gia' ricevuto");
        } else {
            rispondi(id, inizializza(p));
        }
        return std::nullopt;
    }
    if (nome == "shutdown") {
        chiuso_ = true;
        rispondi(id, nullptr);
        return std::nullopt;
    }
    if (nome == "textDocument/didOpen")
        apri(p);
    else if (nome == "textDocument/didChange")
        cambia(p);
    else if (nome == "textDocument/didSave")
        da_verificare(p.at("textDocument").at("uri").get<std::string>());
    else if (nome == "textDocument/didClose")
        chiudi(p);
    else if (!richiesta)
        return std::nullopt;  // other notifications are passed over
    else if (nome == "textDocument/hover" || nome == "textDocument/completion") {
        const Documento* d = documento(p);
        if (d == nullptr) return rispondi(id, nullptr), std::nullopt;
        const Analisi& a = analisi_di(*d);
        const std::size_t r = p.at("position").at("line").get<std::size_t>();
        const std::size_t c = carattere(*d, p.at("position"));
        if (nome == "textDocument/hover") {
            const std::optional<Json> h = hover(*d, a, r, c, cod_);
            rispondi(id, h ? *h : Json());
        } else {
            rispondi(id, completamento(*d, a, r, c, cod_));
        }
    } else if (nome == "textDocument/inlayHint") {
        const Documento* d = documento(p);
        if (d == nullptr) return rispondi(id, Json::array()), std::nullopt;
        const std::size_t da = p.at("range").at("start").at("line").get<std::size_t>();
        const std::size_t a = p.at("range").at("end").at("line").get<std::size_t>();
        rispondi(id, suggerimenti(*d, analisi_di(*d), da, a + 1, cod_));
    } else if (nome == "textDocument/documentSymbol") {
        const Documento* d = documento(p);
        rispondi(id, d == nullptr ? Json::array() : simboli(*d, analisi_di(*d), cod_));
    } else if (nome == "textDocument/codeAction") {
        const Documento* d = documento(p);
        const Json& diag = p.at("context").at("diagnostics");
        rispondi(id, d == nullptr ? Json::array() : azioni(*d, analisi_di(*d), diag, cod_));
    } else {
        errore(id, kMetodoSconosciuto, "metodo sconosciuto: " + nome);
    }
    return std::nullopt;
}

Json Server::inizializza(const Json& p) {
    inizializzato_ = true;
    const Json* codifiche = nullptr;
    if (p.contains("capabilities") && p["capabilities"].contains("general") &&
        p["capabilities"]["general"].contains("positionEncodings"))
        codifiche = &p["capabilities"]["general"]["positionEncodings"];
    if (codifiche != nullptr && codifiche->is_array())
        for (const Json& c : *codifiche)
            if (c == "utf-8") cod_ = Codifica::utf8;
    return {{"capabilities",
             {{"positionEncoding", cod_ == Codifica::utf8 ? "utf-8" : "utf-16"},
              {"textDocumentSync", {{"openClose", true}, {"change", 2}, {"save", true}}},
              {"hoverProvider", true},
              {"inlayHintProvider", true},
              {"completionProvider", {{"triggerCharacters", Json::array({"["})}}},
              {"documentSymbolProvider", true},
              {"codeActionProvider", {{"codeActionKinds", Json::array({"quickfix"})}}}}},
            {"serverInfo", {{"name", "brunavia-tool lsp"}}}};
}

void Server::apri(const Json& p) {
    const Json& td = p.at("textDocument");
    const std::string uri = td.at("uri").get<std::string>();
    documenti_.insert_or_assign(
        uri, Documento(uri, td.value("version", 0), td.at("text").get<std::string>()));
    da_verificare(uri);
}

void Server::cambia(const Json& p) {
    const std::string uri = p.at("textDocument").at("uri").get<std::string>();
    const auto it = documenti_.find(uri);
    if (it == documenti_.end()) return;
    Documento& d = it->second;
    const int versione = p.at("textDocument").value("version", d.versione());
    for (const Json& c : p.at("contentChanges")) {
        const std::string testo = c.at("text").get<std::string>();
        if (!c.contains("range")) {
            d.sostituisci(versione, testo);
            continue;
        }
        const Json& r = c["range"];
        const Punto da{r.at("start").at("line").get<int>(),
                       r.at("start").at("character").get<int>()};
        const Punto a{r.at("end").at("line").get<int>(), r.at("end").at("character").get<int>()};
        d.modifica(da, a, testo, cod_);
    }
    d.imposta_versione(versione);
    da_verificare(uri);
}

void Server::chiudi(const Json& p) {
    const std::string uri = p.at("textDocument").at("uri").get<std::string>();
    if (documenti_.erase(uri) == 0) return;
    analisi_.erase(uri);
    sospesi_.erase(uri);
    invia({{"jsonrpc", "2.0"},
           {"method", "textDocument/publishDiagnostics"},
           {"params", {{"uri", uri}, {"diagnostics", Json::array()}}}});
    // Its partner is checked again, against the file on disk or alone.
    for (const auto& [altro, d] : documenti_) da_verificare(altro);
}

// A change to one description reaches every open description of its folder: its partner
// among them.
void Server::da_verificare(const std::string& uri) {
    const std::filesystem::path cartella = percorso_da_uri(uri).parent_path();
    for (const auto& [altro, d] : documenti_)
        if (percorso_da_uri(altro).parent_path() == cartella) sospesi_.insert(altro);
}

const Documento* Server::documento(const Json& p) const {
    const auto it = documenti_.find(p.at("textDocument").at("uri").get<std::string>());
    return it == documenti_.end() ? nullptr : &it->second;
}

bool Server::e_treno(const Documento& d) const {
    if (const auto n = riconosci(percorso_da_uri(d.uri()))) return n->treno;
    // A name of neither pattern: a train description when it holds a station or a signal.
    for (std::size_t r = 0; r < d.righe(); ++r) {
        const auto t = tipo_della_parola(dividi_riga(d.riga_cp1252(r), true).parola.testo, true);
        if (t == TipoRiga::stazione || t == TipoRiga::segnale || t == TipoRiga::velocita)
            return true;
    }
    return false;
}

const Analisi& Server::analisi_di(const Documento& d) {
    auto it = analisi_.find(d.uri());
    if (it == analisi_.end() || it->second.first != d.versione() ||
        it->second.second.righe.size() != d.righe()) {
        it = analisi_.insert_or_assign(d.uri(), std::pair(d.versione(), analizza(d, e_treno(d))))
                 .first;
    }
    return it->second.second;
}

std::size_t Server::carattere(const Documento& d, const Json& posizione) const {
    return d.da_colonna_lsp(posizione.at("line").get<std::size_t>(),
                            posizione.at("character").get<int>(), cod_);
}

// The partner of an open description: open in the editor first, else on disk.
std::optional<Descrizione> Server::partner(const Documento& d, bool treno, std::string& nome) {
    const std::filesystem::path percorso = percorso_da_uri(d.uri());
    const std::optional<NomeDescrizione> n = riconosci(percorso);
    if (!n) return std::nullopt;  // only descriptions named as such are checked
    for (auto& [uri, altro] : documenti_) {
        const std::filesystem::path p = percorso_da_uri(uri);
        const std::optional<NomeDescrizione> m = riconosci(p);
        if (m && m->treno != treno && m->scenario == n->scenario &&
            p.parent_path() == percorso.parent_path())
            return Descrizione{altro.cp1252(), p.filename().string(), uri, &altro,
                               &analisi_di(altro)};
    }
    const std::optional<std::filesystem::path> sul_disco = nome_partner(percorso, *n);
    nome = sul_disco ? sul_disco->filename().string()
           : treno   ? n->scenario + "_linea.txt"
                     : n->scenario + "_N-.txt";
    if (!sul_disco) return std::nullopt;
    const std::optional<std::string> testo = leggi_file(*sul_disco);
    if (!testo) return std::nullopt;
    return Descrizione{*testo, nome, uri_da_percorso(*sul_disco), nullptr, nullptr};
}

void Server::verifica(const std::string& uri) {
    const auto it = documenti_.find(uri);
    if (it == documenti_.end()) return;
    // An editor may start the server for every text file: only descriptions are checked.
    if (!riconosci(percorso_da_uri(uri))) {
        sospesi_.erase(uri);
        return;
    }
    const Documento& d = it->second;
    const bool treno = e_treno(d);
    const Descrizione questa{d.cp1252(), percorso_da_uri(uri).filename().string(), uri, &d,
                             &analisi_di(d)};
    std::string nome;
    const std::optional<Descrizione> altra = partner(d, treno, nome);
    const std::vector<Pubblicazione> p =
        treno ? diagnostica(altra, questa, nome, cod_) : diagnostica(questa, altra, nome, cod_);
    if (coda_ != nullptr && coda_->modifica_in_attesa()) return;  // stale: a newer text waits
    for (const Pubblicazione& x : p) {
        sospesi_.erase(x.uri);
        invia({{"jsonrpc", "2.0"},
               {"method", "textDocument/publishDiagnostics"},
               {"params",
                {{"uri", x.uri}, {"version", x.versione}, {"diagnostics", x.diagnostiche}}}});
    }
    sospesi_.erase(uri);
}

void Server::verifica_in_sospeso() {
    while (!sospesi_.empty()) {
        if (coda_ != nullptr && !coda_->vuota()) return;  // messages first: they may be newer
        const std::string uri = *sospesi_.begin();        // a copy: the check erases it
        verifica(uri);
    }
}

}  // namespace

int esegui_server(std::istream& in, std::ostream& out, bool lettore_separato) {
    if (!lettore_separato) {
        Server s(out, nullptr);
        std::string corpo;
        for (;;) {
            const Lettura l = leggi_messaggio(in, corpo);
            if (l == Lettura::fine) return s.uscita_finale();
            if (l != Lettura::messaggio) continue;
            if (const auto fine = s.gestisci(corpo)) return *fine;
            s.verifica_in_sospeso();
        }
    }
    auto coda = std::make_shared<Coda>();
    std::thread([coda, &in] {
        for (;;) {
            Ricevuto r{Lettura::fine, {}};
            r.esito = leggi_messaggio(in, r.corpo);
            const bool fine = r.esito == Lettura::fine;
            coda->metti(std::move(r));
            if (fine) return;
        }
    }).detach();
    Server s(out, coda.get());
    for (;;) {
        Ricevuto r = coda->prendi();
        if (r.esito == Lettura::fine) return s.uscita_finale();
        if (r.esito == Lettura::messaggio)
            if (const auto fine = s.gestisci(r.corpo)) return *fine;
        s.verifica_in_sospeso();
    }
}

}  // namespace brunavia::strumento::lsp
