#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "io/cp1252.h"
#include "tests/aiuti.h"
#include "tool/campi.h"
#include "tool/lsp/server.h"
#include "tool/lsp/trasporto.h"
#include "writers/scrittori.h"

namespace brunavia {
namespace {

using Json = nlohmann::json;
using strumento::lsp::esegui_server;

std::string incornicia(const Json& j) {
    const std::string corpo = j.dump();
    return "Content-Length: " + std::to_string(corpo.size()) + "\r\n\r\n" + corpo;
}

Json richiesta(int id, const std::string& metodo, Json parametri = Json::object()) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"method", metodo}, {"params", std::move(parametri)}};
}
Json notifica(const std::string& metodo, Json parametri = Json::object()) {
    return {{"jsonrpc", "2.0"}, {"method", metodo}, {"params", std::move(parametri)}};
}
Json inizializza(int id = 1, bool utf8 = false) {
    Json cap = Json::object();
    if (utf8) cap["general"]["positionEncodings"] = Json::array({"utf-8", "utf-16"});
    return richiesta(id, "initialize", {{"capabilities", cap}});
}
Json apri(const std::string& uri, const std::string& testo, int versione = 1) {
    return notifica(
        "textDocument/didOpen",
        {{"textDocument",
          {{"uri", uri}, {"languageId", "text"}, {"version", versione}, {"text", testo}}}});
}
Json in_punto(int id, const std::string& metodo, const std::string& uri, int riga, int col) {
    return richiesta(
        id, metodo,
        {{"textDocument", {{"uri", uri}}}, {"position", {{"line", riga}, {"character", col}}}});
}

// The shipped descriptions as an editor holds them (UTF-8, CR LF).
std::string testo_di(const std::vector<std::string>& righe) {
    std::string t;
    for (std::size_t i = 0; i + 1 < righe.size(); ++i) t += righe[i] + "\r\n";
    return t;
}

// A whole session in the server's own process: the messages in, every message out.
struct Esito {
    int stato = -1;
    std::vector<Json> messaggi;
    const Json* risposta(int id) const {
        for (const Json& m : messaggi)
            if (m.contains("id") && m["id"] == id) return &m;
        return nullptr;
    }
    std::vector<Json> diagnostiche(const std::string& uri) const {
        std::vector<Json> r;
        for (const Json& m : messaggi)
            if (m.value("method", "") == "textDocument/publishDiagnostics" &&
                m["params"]["uri"] == uri)
                r.push_back(m["params"]["diagnostics"]);
        return r;
    }
};

Esito sessione(const std::string& ingresso) {
    std::istringstream in(ingresso);
    std::ostringstream out;
    Esito e;
    e.stato = esegui_server(in, out, false);
    std::istringstream letti(out.str());
    std::string corpo;
    while (strumento::lsp::leggi_messaggio(letti, corpo) == strumento::lsp::Lettura::messaggio)
        e.messaggi.push_back(Json::parse(corpo));
    return e;
}
Esito sessione(const std::vector<Json>& messaggi, std::string coda = {}) {
    std::string in;
    for (const Json& m : messaggi) in += incornicia(m);
    return sessione(in + coda);
}

const Json* con_codice(const Json& diagnostiche, const Json& codice) {
    for (const Json& d : diagnostiche)
        if (d.contains("code") && d["code"] == codice) return &d;
    return nullptr;
}

// ---- lifecycle and robustness ----

TEST(StrumentoLsp, CicloDiVitaEErroriDelProtocollo) {
    const Esito e =
        sessione({richiesta(1, "textDocument/hover"), inizializza(2), notifica("initialized"),
                  richiesta(3, "workspace/nonEsiste"), notifica("$/nonEsiste"),
                  richiesta(4, "shutdown"), richiesta(5, "textDocument/hover"), notifica("exit")},
                 "");
    EXPECT_EQ(e.stato, 0);
    ASSERT_NE(e.risposta(1), nullptr);
    EXPECT_EQ((*e.risposta(1))["error"]["code"], -32002);
    EXPECT_EQ((*e.risposta(2))["result"]["capabilities"]["positionEncoding"], "utf-16");
    EXPECT_EQ((*e.risposta(3))["error"]["code"], -32601);
    EXPECT_TRUE((*e.risposta(4))["result"].is_null());
    EXPECT_EQ((*e.risposta(5))["error"]["code"], -32600);
    EXPECT_EQ(e.messaggi.size(), 5u);  // the notifications get no answer
}

TEST(StrumentoLsp, MessaggiMalformatiNonFermanoIlServer) {
    const std::string rotto = "{\"jsonrpc\": \"2.0\", \"id\": ";
    const std::string ingresso =
        "Content-Length: " + std::to_string(rotto.size()) + "\r\n\r\n" + rotto +
        "Content-Type: x\r\n\r\n"        // no length: skipped
        "Content-Length: 2\r\n\r\n[]" +  // not an object
        "Content-Length: abc\r\n\r\n" +  // a bad length: skipped
        incornicia(richiesta(7, "initialize", {{"capabilities", "nessuna"}})) +
        incornicia(inizializza(8)) + incornicia(richiesta(9, "textDocument/hover", {{"x", 1}})) +
        "Content-Length: 100\r\n\r\n{\"troncato\"";  // the client vanishes mid-message
    const Esito e = sessione(ingresso);
    EXPECT_EQ(e.stato, 1);  // no shutdown before the end of input
    ASSERT_GE(e.messaggi.size(), 4u);
    EXPECT_EQ(e.messaggi[0]["error"]["code"], -32700);
    EXPECT_TRUE(e.messaggi[0]["id"].is_null());
    EXPECT_EQ(e.messaggi[1]["error"]["code"], -32600);
    EXPECT_TRUE(e.risposta(7)->contains("result"));        // a wrong capability is not fatal
    EXPECT_EQ((*e.risposta(8))["error"]["code"], -32600);  // initialize twice
    EXPECT_EQ((*e.risposta(9))["error"]["code"], -32602);
}

// ---- diagnostics and pairing ----

class LspConCartella : public ::testing::Test {
protected:
    prova::CartellaTemporanea cartella;
    std::string uri(const std::string& nome) { return "file://" + (cartella / nome).string(); }
    void su_disco(const std::string& nome, const std::string& utf8) {
        prova::scrivi_byte(cartella / nome, in_cp1252(utf8));
    }
};

TEST_F(LspConCartella, IlPartnerSulDiscoEQuelloApertoEIlFileDaSolo) {
    su_disco("Prova_linea.txt", testo_di(righe_linea()));
    std::string treno = testo_di(righe_treno());
    treno.replace(treno.find("stazione,    1500"), 17, "stazione,    1525");  // error 8
    const std::string ut = uri("Prova_706-.txt");
    const std::string ul = uri("Prova_linea.txt");
    const std::string lone = uri("Sola_linea.txt");
    const Esito e = sessione({inizializza(), apri(ut, treno), apri(lone, testo_di(righe_linea())),
                              richiesta(2, "shutdown"), notifica("exit")});
    const auto dt = e.diagnostiche(ut);
    ASSERT_FALSE(dt.empty());
    const Json* otto = con_codice(dt.back(), 8);
    ASSERT_NE(otto, nullptr) << dt.back().dump(1);
    EXPECT_EQ((*otto)["severity"], 1);
    EXPECT_EQ((*otto)["range"]["start"]["line"], 70);
    EXPECT_EQ((*otto)["range"]["start"]["character"], 13);
    EXPECT_EQ((*otto)["range"]["end"]["character"], 17);
    // The partner came from disk: no "alone" note; the lone line gets one, and no errors.
    for (const Json& d : dt.back())
        if (!d.contains("tags")) {
            EXPECT_NE(d["severity"], 3);
        }
    const auto ds = e.diagnostiche(lone);
    ASSERT_FALSE(ds.empty());
    ASSERT_EQ(ds.back().size(), 1u) << ds.back().dump(1);
    EXPECT_EQ(ds.back()[0]["severity"], 3);
    EXPECT_NE(ds.back()[0]["message"].get<std::string>().find("Sola_N-.txt"), std::string::npos);
    EXPECT_TRUE(e.diagnostiche(ul).empty());  // not open: nothing published for it
}

TEST_F(LspConCartella, UnaModificaDelPartnerRiverificaIlFile) {
    const std::string ut = uri("Prova_706-.txt");
    const std::string ul = uri("Prova_linea.txt");
    std::string linea = testo_di(righe_linea());
    // A board on the signal's cell of 1400 m (cell 29): the signal row now finds it taken.
    const std::string cartello = "cartello_indicatore,  1400,   (X)\r\n";
    const Json cambio =
        notifica("textDocument/didChange",
                 {{"textDocument", {{"uri", ul}, {"version", 2}}},
                  {"contentChanges", Json::array({{{"range",
                                                    {{"start", {{"line", 363}, {"character", 0}}},
                                                     {"end", {{"line", 363}, {"character", 0}}}}},
                                                   {"text", cartello}}})}});
    const Esito e = sessione({inizializza(), apri(ul, linea), apri(ut, testo_di(righe_treno())),
                              cambio, richiesta(2, "shutdown"), notifica("exit")});
    const auto dt = e.diagnostiche(ut);
    ASSERT_GE(dt.size(), 2u);
    EXPECT_EQ(con_codice(dt.front(), 16), nullptr);
    const Json* sedici = con_codice(dt.back(), 16);
    ASSERT_NE(sedici, nullptr) << dt.back().dump(1);
    EXPECT_EQ((*sedici)["range"]["start"]["line"], 94);
    // The related information points at the board that holds the cell.
    ASSERT_TRUE(sedici->contains("relatedInformation")) << sedici->dump(1);
    ASSERT_EQ((*sedici)["relatedInformation"].size(), 1u);
    const Json& dove = (*sedici)["relatedInformation"][0]["location"];
    EXPECT_EQ(dove["uri"], ul);
    EXPECT_EQ(dove["range"]["start"]["line"], 363);
    EXPECT_EQ(dove["range"]["end"]["character"], 19);
    // The board's table row leaves a station without one (error 10), which stops the train's
    // reader: the lines after it are marked as not read.
    const Json* non_lette = nullptr;
    for (const Json& d : dt.back())
        if (d["message"].get<std::string>().find("non lette") != std::string::npos) non_lette = &d;
    ASSERT_NE(non_lette, nullptr) << dt.back().dump(1);
    EXPECT_EQ((*non_lette)["severity"], 3);
    EXPECT_EQ((*non_lette)["tags"], Json::array({1}));
    EXPECT_EQ((*non_lette)["range"]["start"]["line"], 92);
    EXPECT_NE(con_codice(dt.back(), 10), nullptr);
    EXPECT_EQ((*non_lette)["range"]["start"]["character"], 0);
    EXPECT_NE((*non_lette)["message"].get<std::string>().find("righe 93-140 "), std::string::npos);
    EXPECT_NE((*non_lette)["message"].get<std::string>().find(
                  "all'errore n. 10 (riga 92 di Prova_706-.txt)"),
              std::string::npos)
        << non_lette->dump(1);
    const auto dl = e.diagnostiche(ul);
    ASSERT_FALSE(dl.empty());
    for (const Json& d : dl.back())
        EXPECT_EQ(d["message"].get<std::string>().find("non lett"), std::string::npos);
}

// An accented keyword before a field moves nothing: columns count UTF-16 units, or bytes of
// UTF-8 when the client offers it.
TEST_F(LspConCartella, UnAccentoNonSpostaDiagnosiHoverESuggerimenti) {
    std::string treno = testo_di(righe_treno());
    const std::string vecchia = "velocita,       0,    60";
    treno.replace(treno.find(vecchia), vecchia.size(), "velocità,  0,  83");
    for (const bool utf8 : {false, true}) {
        const std::string ut = uri("Prova_706-.txt");
        const int col = utf8 ? 16 : 15;  // "velocità,  0,  " is 15 characters, 16 bytes
        const Esito e = sessione({inizializza(1, utf8), apri(ut, treno),
                                  in_punto(2, "textDocument/hover", ut, 44, col),
                                  richiesta(3, "shutdown"), notifica("exit")});
        const std::vector<Json> pubblicate = e.diagnostiche(ut);
        ASSERT_FALSE(pubblicate.empty());
        const Json* avviso = con_codice(pubblicate.back(), "velocita-non-multipla-di-5");
        ASSERT_NE(avviso, nullptr) << pubblicate.back().dump(1);
        EXPECT_EQ((*avviso)["range"]["start"]["character"], col) << utf8;
        EXPECT_EQ((*avviso)["range"]["end"]["character"], col + 2) << utf8;
        const Json& h = (*e.risposta(2))["result"];
        ASSERT_TRUE(h.is_object()) << utf8;
        EXPECT_NE(h["contents"]["value"].get<std::string>().find("kept as 85 km/h"),
                  std::string::npos);
        EXPECT_EQ(h["range"]["start"]["character"], col);
    }
}

// ---- hover, hints, completion, symbols, actions ----

TEST_F(LspConCartella, HoverSpiegaIlCampoEIlValoreMemorizzato) {
    const std::string ul = uri("Prova_linea.txt");
    const std::string ut = uri("Prova_706-.txt");
    std::string linea = testo_di(righe_linea());
    linea += "pendenza,  130000,   -120\r\n";
    const int ultima = 419;
    struct Caso {
        std::string uri;
        int riga, col;
        std::string atteso;
    };
    const std::vector<Caso> casi = {
        {ul, ultima, 22, "read back as 136 ‰"},  // -120 wraps in its byte
        {ul, ultima, 12, "cell 2600 (metres 130000 … 130049)"},
        {ul, 331, 24, "`dato0` = 1700: reads 85 km/h on the left board, 0 km/h on the right"},
        {ul, 331, 18, "placed on cell 16 (metres 800 … 849)"},
        {ut, 94, 23, "`dato0` = 20"},     // s1 of the signal at 1400
        {ut, 69, 2, "17. `nome`: name"},  // the keyword: the whole field list
        {ut, 69, 63, "`codice` = 30300 (08:25:00)"},
        {ut, 69, 24, "zone -400 … 450 m"},  // the first station's end extension counts
        {ul, 5, 15, "The simulator's meaning is not known from the compile"},  // sfondo
    };
    std::vector<Json> m = {inizializza(), apri(ul, linea), apri(ut, testo_di(righe_treno()))};
    for (std::size_t i = 0; i < casi.size(); ++i)
        m.push_back(in_punto(10 + static_cast<int>(i), "textDocument/hover", casi[i].uri,
                             casi[i].riga, casi[i].col));
    m.push_back(notifica("exit"));
    const Esito e = sessione(m);
    for (std::size_t i = 0; i < casi.size(); ++i) {
        const Json* r = e.risposta(10 + static_cast<int>(i));
        ASSERT_NE(r, nullptr);
        ASSERT_TRUE((*r)["result"].is_object()) << casi[i].atteso;
        EXPECT_NE((*r)["result"]["contents"]["value"].get<std::string>().find(casi[i].atteso),
                  std::string::npos)
            << (*r)["result"]["contents"]["value"].get<std::string>();
    }
}

TEST_F(LspConCartella, SuggerimentiCompletamentoSimboliEAzioni) {
    const std::string ut = uri("Prova_706-.txt");
    std::string treno = testo_di(righe_treno());
    treno.replace(treno.find("[aderenze]"), 10, "[aderenza]");
    treno += "stazoine\r\n[fine]\r\n";
    const Json suggerimenti = richiesta(2, "textDocument/inlayHint",
                                        {{"textDocument", {{"uri", ut}}},
                                         {"range",
                                          {{"start", {{"line", 69}, {"character", 0}}},
                                           {"end", {{"line", 69}, {"character", 0}}}}}});
    const Esito prima =
        sessione({inizializza(), apri(ut, treno), suggerimenti,
                  in_punto(3, "textDocument/completion", ut, 140, 8),
                  in_punto(4, "textDocument/completion", ut, 69, 4),
                  richiesta(5, "textDocument/documentSymbol", {{"textDocument", {{"uri", ut}}}}),
                  notifica("exit")});
    const Json& h = (*prima.risposta(2))["result"];
    ASSERT_EQ(h.size(), 17u);
    EXPECT_EQ(h[0]["label"], "pos:");
    EXPECT_EQ(h[0]["position"]["character"], 16);
    EXPECT_EQ(h[1]["label"], "tipo:");
    EXPECT_EQ(h[2]["label"], "zona:");
    EXPECT_EQ(h[16]["label"], "nome:");

    const Json& vicina = (*prima.risposta(3))["result"]["items"];
    const auto preselezionata = std::find_if(
        vicina.begin(), vicina.end(), [](const Json& i) { return i.value("preselect", false); });
    ASSERT_NE(preselezionata, vicina.end());
    EXPECT_EQ((*preselezionata)["textEdit"]["newText"].get<std::string>().substr(0, 20),
              "stazione, ${1:pos}, ");
    const Json& nella_sezione = (*prima.risposta(4))["result"]["items"];
    bool stazione_prima = false;
    for (const Json& i : nella_sezione)
        if (i["label"] == "stazione") stazione_prima = i["sortText"] == "1";
    EXPECT_TRUE(stazione_prima);

    const Json& simboli = (*prima.risposta(5))["result"];
    const auto stazioni = std::find_if(simboli.begin(), simboli.end(),
                                       [](const Json& s) { return s["name"] == "[stazioni]"; });
    ASSERT_NE(stazioni, simboli.end());
    ASSERT_EQ((*stazioni)["children"].size(), 23u);
    EXPECT_EQ((*stazioni)["children"][0]["name"], "ORVADA CENTRALE 08:25:00");
    EXPECT_EQ((*stazioni)["children"][1]["name"], "VALDORNO transito");

    // The quick fixes of the warnings the server published.
    const Json diag = prima.diagnostiche(ut).back();
    Json azioni_chieste = Json::array();
    for (const Json& d : diag)
        if (d.contains("code") && d["code"].is_string()) azioni_chieste.push_back(d);
    const Esito dopo = sessione({inizializza(), apri(ut, treno),
                                 richiesta(6, "textDocument/codeAction",
                                           {{"textDocument", {{"uri", ut}}},
                                            {"range",
                                             {{"start", {{"line", 0}, {"character", 0}}},
                                              {"end", {{"line", 0}, {"character", 0}}}}},
                                            {"context", {{"diagnostics", azioni_chieste}}}}),
                                 notifica("exit")});
    std::set<std::string> titoli;
    for (const Json& a : (*dopo.risposta(6))["result"]) titoli.insert(a["title"]);
    EXPECT_TRUE(titoli.contains("Rinomina l'intestazione in [aderenze]")) << diag.dump(1);
    EXPECT_TRUE(titoli.contains("Sostituisci con 'stazione'")) << diag.dump(1);
}

TEST_F(LspConCartella, AzioniArrotondanoEAggiungonoGenerale) {
    const std::string ut = uri("Prova_706-.txt");
    const std::string testo = "velocita,  0,  83\r\nstazione, 1425, 11, 450\r\n";
    auto diag = [](int riga, int da, int a, Json codice) {
        return Json{{"range",
                     {{"start", {{"line", riga}, {"character", da}}},
                      {"end", {{"line", riga}, {"character", a}}}}},
                    {"code", codice},
                    {"message", "x"}};
    };
    // Diagnostics a client mangled get no fix and cost the others nothing.
    const Json mangiate =
        Json::array({7, Json{{"code", 8}}, Json{{"range", 5}, {"code", 8}},
                     Json{{"range", {{"start", {{"line", -1}, {"character", 0}}}}}, {"code", 8}},
                     Json{{"range", {{"start", {{"line", 1}, {"character", "x"}}}}}, {"code", 8}},
                     Json{{"range", {{"start", {{"line", 1}}}}}, {"code", 8}}});
    Json diagnostiche =
        Json::array({diag(0, 15, 17, "velocita-non-multipla-di-5"), diag(1, 10, 14, 8),
                     diag(1, 20, 23, 9), diag(0, 0, 1, "senza-generale")});
    diagnostiche.insert(diagnostiche.end(), mangiate.begin(), mangiate.end());
    const Esito e = sessione({inizializza(), apri(ut, testo),
                              richiesta(2, "textDocument/codeAction",
                                        {{"textDocument", {{"uri", ut}}},
                                         {"range",
                                          {{"start", {{"line", 0}, {"character", 0}}},
                                           {"end", {{"line", 0}, {"character", 0}}}}},
                                         {"context", {{"diagnostics", diagnostiche}}}}),
                              notifica("exit")});
    const Json& a = (*e.risposta(2))["result"];
    ASSERT_EQ(a.size(), 4u);
    const std::vector<std::string> testi = {"85", "1400", "400", "[generale]\r\n"};
    for (std::size_t i = 0; i < testi.size(); ++i)
        EXPECT_EQ(a[i]["edit"]["changes"][ut][0]["newText"], testi[i]) << a[i].dump();
}

// A document of 50 MB is taken, checked and answered: one indication board whose text fills
// it, after the shipped rows.
TEST_F(LspConCartella, UnDocumentoDi50MB) {
    const std::string ul = uri("Grande_linea.txt");
    std::string testo = testo_di(righe_linea());
    const std::size_t fine = testo.rfind("[fine]");
    testo.insert(fine, "cartello_indicatore,  120500,   (" +
                           std::string(std::size_t{50} << 20, 'X') + ")\r\n");
    const Esito e =
        sessione({inizializza(), apri(ul, testo), in_punto(2, "textDocument/hover", ul, 418, 40),
                  richiesta(3, "shutdown"), notifica("exit")});
    EXPECT_EQ(e.stato, 0);
    ASSERT_FALSE(e.diagnostiche(ul).empty());
    ASSERT_TRUE((*e.risposta(2))["result"].is_object());
    EXPECT_NE((*e.risposta(2))["result"]["contents"]["value"].get<std::string>().find("`testo`"),
              std::string::npos);
}

// ---- the executable over pipes ----

// The server as a child process, its standard input and output on pipes.
class ServerFiglio {
public:
    ServerFiglio() : figlio_(BRUNAVIA_TOOL_EXE, {"lsp"}) {}
    void invia(const Json& j) { figlio_.scrivi(incornicia(j)); }
    // The next message, or null after ten seconds of silence or at the end of output.
    Json ricevi() {
        for (;;) {
            const auto fine_intestazione = letti_.find("\r\n\r\n");
            if (fine_intestazione != std::string::npos) {
                const std::size_t n = std::stoul(letti_.substr(letti_.find(':') + 1));
                if (letti_.size() >= fine_intestazione + 4 + n) {
                    Json j = Json::parse(letti_.substr(fine_intestazione + 4, n));
                    letti_.erase(0, fine_intestazione + 4 + n);
                    return j;
                }
            }
            const std::string letti = figlio_.leggi(std::chrono::seconds(10));
            if (letti.empty()) return nullptr;
            letti_ += letti;
        }
    }
    // The next message that is an answer to `id` or a notification `metodo`.
    Json attendi_messaggio(const Json& id, const std::string& metodo = "") {
        for (Json j = ricevi(); !j.is_null(); j = ricevi()) {
            if (j.contains("id") && j["id"] == id) return j;
            if (!metodo.empty() && j.value("method", "") == metodo) return j;
        }
        return nullptr;
    }
    void chiudi_ingresso() { figlio_.chiudi_ingresso(); }
    int attendi() { return figlio_.attendi(); }

private:
    prova::ProcessoFiglio figlio_;
    std::string letti_;
};

TEST_F(LspConCartella, SessioneConLEseguibileSuPipe) {
    const std::string ut = uri("Prova_706-.txt");
    su_disco("Prova_linea.txt", testo_di(righe_linea()));
    ServerFiglio s;
    s.invia(inizializza());
    ASSERT_TRUE(s.attendi_messaggio(1).contains("result"));
    s.invia(notifica("initialized"));
    std::string treno = testo_di(righe_treno());
    s.invia(apri(ut, treno));
    const Json pulite = s.attendi_messaggio(nullptr, "textDocument/publishDiagnostics");
    ASSERT_TRUE(pulite.is_object());
    EXPECT_EQ(pulite["params"]["diagnostics"].size(), 0u) << pulite.dump(1);
    // A change for the worse, then the hover on it.
    s.invia(
        notifica("textDocument/didChange",
                 {{"textDocument", {{"uri", ut}, {"version", 2}}},
                  {"contentChanges", Json::array({{{"range",
                                                    {{"start", {{"line", 44}, {"character", 22}}},
                                                     {"end", {{"line", 44}, {"character", 24}}}}},
                                                   {"text", "83"}}})}}));
    const Json dopo = s.attendi_messaggio(nullptr, "textDocument/publishDiagnostics");
    ASSERT_TRUE(dopo.is_object());
    EXPECT_EQ(dopo["params"]["version"], 2);
    ASSERT_NE(con_codice(dopo["params"]["diagnostics"], "velocita-non-multipla-di-5"), nullptr)
        << dopo.dump(1);
    s.invia(in_punto(2, "textDocument/hover", ut, 44, 22));
    const Json h = s.attendi_messaggio(2);
    EXPECT_NE(h["result"]["contents"]["value"].get<std::string>().find("kept as 85"),
              std::string::npos);
    // Changes in a burst: the diagnostics published never go back to an older text, and the
    // last ones are those of the last change.
    for (int v = 3; v <= 22; ++v) {
        const Json da = {{"line", 44}, {"character", 22}};
        const Json a = {{"line", 44}, {"character", 24}};
        s.invia(
            notifica("textDocument/didChange",
                     {{"textDocument", {{"uri", ut}, {"version", v}}},
                      {"contentChanges", Json::array({{{"range", {{"start", da}, {"end", a}}},
                                                       {"text", v % 2 == 0 ? "85" : "83"}}})}}));
    }
    int ultima = 0;
    while (ultima < 22) {
        const Json p = s.attendi_messaggio(nullptr, "textDocument/publishDiagnostics");
        ASSERT_TRUE(p.is_object()) << "after version " << ultima;
        const int v = p["params"]["version"].get<int>();
        EXPECT_GE(v, ultima);
        ultima = v;
        if (v == 22) {
            EXPECT_TRUE(p["params"]["diagnostics"].empty()) << p.dump(1);
        }
    }
    s.invia(richiesta(3, "shutdown"));
    EXPECT_TRUE(s.attendi_messaggio(3)["result"].is_null());
    s.invia(notifica("exit"));
    EXPECT_EQ(s.attendi(), 0);
}

TEST(StrumentoLsp, UnClienteCheSparisceChiudeIlServer) {
    ServerFiglio s;
    s.invia(inizializza());
    ASSERT_TRUE(s.attendi_messaggio(1).contains("result"));
    s.chiudi_ingresso();
    EXPECT_EQ(s.attendi(), 1);
}

// ---- a real client ----

std::optional<std::filesystem::path> nel_path(const std::string& programma) {
    const char* path = std::getenv("PATH");
    std::istringstream cartelle(path != nullptr ? path : "");
    for (std::string c; std::getline(cartelle, c, ':');)
        if (std::filesystem::exists(std::filesystem::path(c) / programma))
            return std::filesystem::path(c) / programma;
    return std::nullopt;
}

// Neovim's own client, headless (tests/nvim/sessione.lua), on a train description in
// Windows-1252 whose accented keyword stands before a speed that is no multiple of 5.
TEST_F(LspConCartella, NeovimRiceveDiagnosiHoverECompletamento) {
    const auto nvim = nel_path("nvim");
    if (!nvim) GTEST_SKIP() << "nvim non installato (scripts/deps.sh)";
    su_disco("Prova_linea.txt", testo_di(righe_linea()));
    std::string treno = testo_di(righe_treno());
    const std::string vecchia = "velocita,       0,    60";
    treno.replace(treno.find(vecchia), vecchia.size(), "velocità,       0,    83");
    su_disco("Prova_706-.txt", treno);
    const std::filesystem::path lua =
        std::filesystem::path(BRUNAVIA_README).parent_path() / "tests" / "nvim" / "sessione.lua";
    const std::filesystem::path uscita = cartella / "nvim.json";
    prova::imposta_variabile("BRUNAVIA_TOOL", BRUNAVIA_TOOL_EXE);
    prova::imposta_variabile("BRUNAVIA_NVIM_USCITA", uscita.string());
    prova::imposta_variabile("BRUNAVIA_HOVER", "44,23");
    prova::imposta_variabile("BRUNAVIA_COMPLETAMENTO", "69,3");
    const auto esito = prova::esegui(*nvim, {"--headless", "-u", lua.string(), "Prova_706-.txt"},
                                     cartella.percorso());
    ASSERT_EQ(esito.stato, 0) << esito.errori;
    const Json r = Json::parse(prova::leggi_byte(uscita));
    ASSERT_EQ(r["diagnostiche"].size(), 1u) << r.dump(1);
    EXPECT_EQ(r["diagnostiche"][0]["codice"], "velocita-non-multipla-di-5");
    EXPECT_EQ(r["diagnostiche"][0]["riga"], 44);
    EXPECT_EQ(r["diagnostiche"][0]["colonna"], 23);  // a byte column: "à" is two bytes
    EXPECT_NE(r["hover"].get<std::string>().find("kept as 85 km/h"), std::string::npos);
    const Json& voci = r["completamento"];
    EXPECT_NE(std::find(voci.begin(), voci.end(), "stazione"), voci.end()) << voci.dump();
}

// ---- the field tables ----

// Every row the shipped scenario writes splits into exactly the fields of its table.
TEST(CampiRighe, OgniRigaSpeditaHaICampiDellaSuaTabella) {
    for (const bool treno : {false, true}) {
        int viste = 0;
        for (const std::string& riga : treno ? righe_treno() : righe_linea()) {
            const strumento::RigaScritta r = strumento::dividi_riga(riga, treno);
            if (!r.tipo) continue;
            ++viste;
            EXPECT_EQ(r.campi.size(), strumento::forma_di(*r.tipo).campi.size()) << riga;
        }
        EXPECT_GT(viste, 100);
    }
}

// The README's tables of fields are the ones in code. With BRUNAVIA_AGGIORNA_README=1 the
// test writes them into the README instead.
TEST(CampiRighe, LeTabelleDelLeggimiSonoQuelleDelCodice) {
    const std::string inizio = "<!-- campi: generate da tool/campi.cpp -->\n";
    const std::string fine = "<!-- campi: fine -->\n";
    std::string leggimi = prova::leggi_byte(BRUNAVIA_README);
    const auto a = leggimi.find(inizio);
    const auto b = leggimi.find(fine);
    ASSERT_NE(a, std::string::npos);
    ASSERT_NE(b, std::string::npos);
    const std::string attese = "\n" + strumento::tabelle_campi_markdown();
    const std::string scritte = leggimi.substr(a + inizio.size(), b - a - inizio.size());
    if (scritte != attese && std::getenv("BRUNAVIA_AGGIORNA_README") != nullptr) {
        leggimi.replace(a + inizio.size(), b - a - inizio.size(), attese);
        prova::scrivi_byte(BRUNAVIA_README, leggimi);
        return;
    }
    EXPECT_EQ(scritte, attese) << "rerun with BRUNAVIA_AGGIORNA_README=1 to rewrite them";
}

}  // namespace
}  // namespace brunavia
