// The whole run of the shipped scenario: the program itself, started in a folder of its own,
// writing its five text files and compiling the three files. Its reference is a program that
// copies the same eight files (the two descriptions included), each read whole and written
// with plain buffered writes; the two run in turn. Reported: the median of each, the ratio
// and the program's peak memory.
#include <benchmark/benchmark.h>

#include <filesystem>
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

// What a run writes, copied into `copie`: the files it leaves and the two descriptions it
// deletes once read. Returns their paths there.
std::vector<std::string> file_della_corsa(const std::filesystem::path& cartella,
                                          const std::filesystem::path& copie) {
    std::vector<std::string> file;
    for (const auto& voce : std::filesystem::directory_iterator(cartella)) {
        if (voce.path().filename() == "brunavia") continue;
        std::filesystem::copy_file(voce.path(), copie / voce.path().filename());
    }
    std::size_t righe = 0;
    sostituisci_file(copie / "Brunavia_linea.txt", codifica_righe(righe_linea(), righe));
    sostituisci_file(copie / "Brunavia_706-.txt", codifica_righe(righe_treno(), righe));
    for (const auto& voce : std::filesystem::directory_iterator(copie)) {
        file.push_back(voce.path().string());
    }
    return file;
}

void BM_CorsaCompleta(benchmark::State& state) {
    CartellaBanco cartella("corsa");
    const auto programma = cartella.percorso() / "brunavia";
    std::filesystem::copy_file(BRUNAVIA_EXE, programma);
    esegui_e_attendi({programma.string()});
    CartellaBanco originali("corsa-file");
    CartellaBanco copie("corsa-copie");
    std::vector<std::string> copia = {BRUNAVIA_COPIA_EXE, copie.percorso().string()};
    for (auto& f : file_della_corsa(cartella.percorso(), originali.percorso())) {
        copia.push_back(std::move(f));
    }
    ConfrontoProcessi confronto({programma.string()}, copia);
    for (auto _ : state) confronto.giro(state);
    confronto.riporta(state);
}

BENCHMARK(BM_CorsaCompleta)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

bool esegui_corsa(const std::filesystem::path& cartella) {
    Form1 f;
    f.cartella = cartella;
    std::ostringstream uscita;
    std::ostringstream errori;
    return Form_Load(f, uscita, errori) == kUscitaRegolare;
}

}  // namespace brunavia::banco
