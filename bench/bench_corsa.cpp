// The whole run of the shipped scenario: the program itself, started in a folder of its own,
// writing its five text files and compiling the three files. Next to it: the time of writing
// the same eight files (the two descriptions included) with plain buffered writes, the ratio,
// and the peak memory of the same run in a fresh process.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/form_load.h"
#include "bench/lavori.h"
#include "bench/misura.h"
#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"

namespace brunavia::banco {
namespace {

// What a run writes: the files it leaves and the two descriptions it deletes once read.
std::vector<FileNuovo> file_della_corsa(const std::filesystem::path& cartella) {
    std::vector<FileNuovo> file;
    for (const auto& voce : std::filesystem::directory_iterator(cartella)) {
        if (voce.path().filename() == "brunavia") continue;
        std::ifstream in(voce.path(), std::ios::binary);
        file.emplace_back(voce.path(), std::string(std::istreambuf_iterator<char>(in), {}));
    }
    std::size_t righe = 0;
    file.emplace_back(cartella / "Brunavia_linea.txt", codifica_righe(righe_linea(), righe));
    file.emplace_back(cartella / "Brunavia_706-.txt", codifica_righe(righe_treno(), righe));
    return file;
}

void BM_CorsaCompleta(benchmark::State& state) {
    CartellaBanco cartella("corsa");
    const auto programma = cartella.percorso() / "brunavia";
    std::filesystem::copy_file(BRUNAVIA_EXE, programma);
    Cronometro cronometro;
    cronometro.parti();
    for (auto _ : state) esegui_e_attendi({programma.string()});
    const double per_iterazione = cronometro.per_iterazione(state);
    CartellaBanco riferimento("corsa-semplice");
    riporta(
        state, per_iterazione,
        secondi_scrittura_semplice(riferimento.percorso(), file_della_corsa(cartella.percorso())),
        picco_mb_del_lavoro("corsa"));
}

BENCHMARK(BM_CorsaCompleta)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

bool esegui_corsa(const std::filesystem::path& cartella) {
    Form1 f;
    f.cartella = cartella;
    std::ostringstream uscita;
    std::ostringstream errori;
    return Form_Load(f, uscita, errori) == kUscitaRegolare;
}

}  // namespace brunavia::banco
