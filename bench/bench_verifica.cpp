// `check` against the compile on the same descriptions: the shipped line with one gradient row
// repeated to 1 MB and to 50 MB (each repeat out of order, most of them past the last cell), and
// the shipped train. Each reports the ratio of check's time to the compile's. Check's report is
// made as the command makes it, each diagnostic printed (or folded into its run) as it is
// found.
#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/descrizioni_in_memoria.h"
#include "compiler/memorizza.h"
#include "tool/check/verifica.h"
#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"

namespace brunavia::banco {
namespace {

std::string testo_di(const std::vector<std::string>& lista) {
    std::size_t righe = 0;
    return codifica_righe(lista, righe);
}

// The shipped line with "pendenza,  16000,   0" repeated after its first gradient row until
// the text holds `byte` bytes.
std::string linea_ripetuta(std::size_t byte) {
    std::string linea = testo_di(righe_linea());
    const std::string dopo = "pendenza,  1200,   7\r\n";
    const std::string riga = "pendenza,  16000,   0\r\n";
    std::string righe;
    while (linea.size() + righe.size() < byte) righe += riga;
    return linea.insert(linea.find(dopo) + dopo.size(), righe);
}

double secondi_compilazione(const std::string& linea, const std::string& treno) {
    const auto inizio = std::chrono::steady_clock::now();
    Form1 f;
    DescrizioniInMemoria d(linea, treno);
    try {
        compila(f, 1, d);
    } catch (const std::exception&) {
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count();
}

void BM_Verifica(benchmark::State& state) {
    const std::string linea = linea_ripetuta(static_cast<std::size_t>(state.range(0)) << 20);
    const std::string treno = testo_di(righe_treno());
    const double compilazione = secondi_compilazione(linea, treno);
    std::size_t diagnosi = 0;
    double verifica = 0;
    for (auto _ : state) {
        const auto inizio = std::chrono::steady_clock::now();
        std::ostringstream testo;
        const std::optional<std::string> l = linea, t = treno;
        const strumento::Sorgenti s{"linea.txt", "treno.txt", "", &l, &t, {}, {}};
        strumento::StampaDiagnosi stampa(s, testo, true);
        diagnosi = 0;
        strumento::verifica_descrizioni(linea, treno, [&](strumento::Diagnosi&& d) {
            ++diagnosi;
            stampa.aggiungi(d);
        });
        stampa.chiudi();
        verifica +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count();
    }
    state.counters["diagnosi"] = static_cast<double>(diagnosi);
    state.counters["compilazione_s"] = compilazione;
    state.counters["rapporto"] = verifica / static_cast<double>(state.iterations()) / compilazione;
}

BENCHMARK(BM_Verifica)->Arg(1)->Arg(50)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brunavia::banco
