// The language server's time from a change of a description to its diagnostics, for the
// shipped pair and for a generated pair of 1000 km, both descriptions open. A session that
// opens the pair and makes ten changes is timed against the same session without the changes;
// the difference per change is the time to check the pair again and publish both files'
// diagnostics (goals: 30 ms for the shipped pair, 300 ms for 1000 km).
#include <benchmark/benchmark.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "bench/descrizioni_generate.h"
#include "io/cp1252.h"
#include "tool/lsp/server.h"
#include "writers/scrittori.h"

namespace brunavia::banco {
namespace {

using Json = nlohmann::json;

constexpr int kModifiche = 10;

std::string incornicia(const Json& j) {
    const std::string corpo = j.dump();
    return "Content-Length: " + std::to_string(corpo.size()) + "\r\n\r\n" + corpo;
}

std::string unite(const std::vector<std::string>& righe) {
    std::string t;
    for (std::size_t i = 0; i + 1 < righe.size(); ++i) t += righe[i] + "\r\n";
    return t;
}

// The line (from 0) of the first speed row, where the changes are made.
int riga_velocita(const std::string& treno) {
    int r = 0;
    for (std::size_t i = 0; i < treno.size(); ++i) {
        if (treno.compare(i, 9, "velocita,") == 0 && (i == 0 || treno[i - 1] == '\n')) return r;
        if (treno[i] == '\n') ++r;
    }
    return 0;
}

Json notifica(const std::string& metodo, Json parametri) {
    return {{"jsonrpc", "2.0"}, {"method", metodo}, {"params", std::move(parametri)}};
}

Json apri(const std::string& uri, const std::string& testo) {
    Json doc = {{"uri", uri}, {"languageId", "text"}, {"version", 1}, {"text", testo}};
    return notifica("textDocument/didOpen", {{"textDocument", std::move(doc)}});
}

// A blank inserted at the start of line r, or taken away again.
Json modifica(const std::string& uri, int versione, int r, bool inserisce) {
    const Json inizio = {{"line", r}, {"character", 0}};
    const Json fine = {{"line", r}, {"character", inserisce ? 0 : 1}};
    Json cambio = {{"range", {{"start", inizio}, {"end", fine}}}, {"text", inserisce ? " " : ""}};
    return notifica("textDocument/didChange",
                    {{"textDocument", {{"uri", uri}, {"version", versione}}},
                     {"contentChanges", Json::array({std::move(cambio)})}});
}

std::string sessione(const std::string& linea, const std::string& treno, int modifiche) {
    const std::string ul = "file:///banco/Banco_linea.txt";
    const std::string ut = "file:///banco/Banco_706-.txt";
    std::string s = incornicia({{"jsonrpc", "2.0"},
                                {"id", 1},
                                {"method", "initialize"},
                                {"params", {{"capabilities", Json::object()}}}});
    s += incornicia(apri(ul, linea)) + incornicia(apri(ut, treno));
    const int r = riga_velocita(treno);
    for (int i = 0; i < modifiche; ++i) s += incornicia(modifica(ut, 2 + i, r, i % 2 == 0));
    return s + incornicia({{"jsonrpc", "2.0"}, {"method", "exit"}});
}

// The time of a whole session, and how many diagnostics it published.
double secondi_di(const std::string& ingresso, std::size_t& pubblicazioni) {
    std::istringstream in(ingresso);
    std::ostringstream out;
    const auto t0 = std::chrono::steady_clock::now();
    strumento::lsp::esegui_server(in, out, false);
    const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const std::string uscita = out.str();
    pubblicazioni = 0;
    for (auto i = uscita.find("publishDiagnostics"); i != std::string::npos;
         i = uscita.find("publishDiagnostics", i + 1))
        ++pubblicazioni;
    return t;
}

void diagnosi_dopo_una_modifica(benchmark::State& stato, const std::string& linea,
                                const std::string& treno) {
    const std::string con = sessione(linea, treno, kModifiche);
    const std::string senza = sessione(linea, treno, 0);
    for (auto _ : stato) {
        std::size_t con_n = 0, senza_n = 0;
        const double t = (secondi_di(con, con_n) - secondi_di(senza, senza_n)) / kModifiche;
        stato.SetIterationTime(t > 0 ? t : 0);
        // Each change publishes the diagnostics of both files.
        stato.counters["pubblicazioni_per_modifica"] =
            static_cast<double>(con_n - senza_n) / kModifiche;
    }
}

void BM_LspSpedito(benchmark::State& stato) {
    diagnosi_dopo_una_modifica(stato, unite(righe_linea()), unite(righe_treno()));
}
void BM_Lsp1000km(benchmark::State& stato) {
    diagnosi_dopo_una_modifica(stato, da_cp1252(linea_generata(1'000'000)),
                               da_cp1252(treno_generato(1'000'000)));
}
BENCHMARK(BM_LspSpedito)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Lsp1000km)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace brunavia::banco
