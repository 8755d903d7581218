// Writes the seed corpus of the fuzz targets: the shipped descriptions, alone and joined, and
// the compiled files they make, with the plan and without.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#include "bench/descrizioni_generate.h"
#include "compiler/descrizioni_in_memoria.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza.h"
#include "fuzz/compilati.h"
#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"

namespace {
void scrivi(const std::filesystem::path& file, const std::string& contenuto) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << contenuto;
}

constexpr int kMetriCorti = 3000;

// The compiled files of the two descriptions, named as decompile's fuzz target names them.
brunavia::fuzz::FileCompilati compilati(const std::string& linea, const std::string& treno) {
    brunavia::Form1 f;
    f.nome_scenario = "Brunavia";
    f.numero_treno = "706";
    brunavia::DescrizioniInMemoria descrizioni(linea, treno);
    if (!brunavia::compila(f, 1, descrizioni)) throw std::runtime_error("compile fallita");
    return {brunavia::serializza_celle(f), brunavia::serializza_tabella(f),
            brunavia::serializza_tracciato(f.tracciato)};
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "uso: fuzz_semi CARTELLA\n";
        return 2;
    }
    const std::filesystem::path cartella = argv[1];
    std::size_t righe = 0;
    const auto linea = brunavia::codifica_righe(brunavia::righe_linea(), righe);
    const auto treno = brunavia::codifica_righe(brunavia::righe_treno(), righe);
    scrivi(cartella / "fuzz_linea" / "linea_spedita", linea);
    scrivi(cartella / "fuzz_treno" / "treno_spedito", treno);
    scrivi(cartella / "fuzz_compila" / "scenario_spedito", linea + '\0' + treno);
    auto file = compilati(linea, treno);
    const auto con_piano = brunavia::fuzz::unisci_compilati(file);
    file.tracciato.reset();
    const auto senza_piano = brunavia::fuzz::unisci_compilati(file);
    // A short line of every row kind as well: the shipped files are too long for the fuzzer's
    // input size, and a short seed keeps its rate up.
    auto corti = compilati(brunavia::banco::linea_generata(kMetriCorti),
                           brunavia::banco::treno_generato(kMetriCorti));
    corti.tracciato.reset();
    const auto corti_senza_piano = brunavia::fuzz::unisci_compilati(corti);
    for (const char* bersaglio : {"fuzz_compilati", "fuzz_decompila"}) {
        scrivi(cartella / bersaglio / "compilati_spediti", con_piano);
        scrivi(cartella / bersaglio / "compilati_spediti_senza_piano", senza_piano);
        scrivi(cartella / bersaglio / "compilati_corti", corti_senza_piano);
    }
    return 0;
}
