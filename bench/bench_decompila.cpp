// Decompiles generated scenarios from their compiled bytes in memory: recovery of both
// descriptions and the proof (one compile of them and the byte comparison). Next to its time
// it reports the time of compiling the same descriptions in memory (`compila_ms`, the median
// of a few compiles that also serialise the three files) and the ratio of the two.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "bench/descrizioni_generate.h"
#include "compiler/descrizioni_in_memoria.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza.h"
#include "tool/decompile/decompila.h"

namespace brunavia::banco {
namespace {

const strumento::NomiScenario kNomi{"Brunavia", "706"};

strumento::Compilati compila_in_memoria(const std::string& linea, const std::string& treno) {
    Form1 f;
    DescrizioniInMemoria d(linea, treno);
    compila(f, 1, d);
    return {
        serializza_celle(f), serializza_tabella(f), serializza_tracciato(f.tracciato), {}, {}, {}};
}

double secondi_compila(const std::string& linea, const std::string& treno) {
    std::vector<double> tempi;
    for (int i = 0; i < 5; ++i) {
        const auto inizio = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(compila_in_memoria(linea, treno));
        tempi.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count());
    }
    std::sort(tempi.begin(), tempi.end());
    return tempi[tempi.size() / 2];
}

void BM_Decompila(benchmark::State& state, int km) {
    const std::string linea = linea_generata(km * 1000);
    const std::string treno = treno_generato(km * 1000);
    const strumento::Compilati grezzi = compila_in_memoria(linea, treno);
    const strumento::Compilati c =
        strumento::compilati_da_byte(grezzi.byte_celle, grezzi.byte_tabella, grezzi.byte_tracciato);
    const auto inizio = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const strumento::EsitoDecompila esito = strumento::decompila(c, kNomi);
        if (!esito.descrizioni) {
            state.SkipWithError("lo scenario generato non si decompila");
            return;
        }
        benchmark::DoNotOptimize(esito);
    }
    const double per_iterazione =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count() /
        static_cast<double>(state.iterations());
    const double compila_s = secondi_compila(linea, treno);
    state.counters["compila_ms"] = compila_s * 1000.0;
    state.counters["rapporto"] = per_iterazione / compila_s;
}

BENCHMARK_CAPTURE(BM_Decompila, scenario_120_km, 120)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Decompila, scenario_900_km, 900)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace brunavia::banco
