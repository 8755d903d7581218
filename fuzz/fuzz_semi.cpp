// Writes the seed corpus of the fuzz targets: the shipped descriptions, alone and joined.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"

namespace {
void scrivi(const std::filesystem::path& file, const std::string& contenuto) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << contenuto;
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
    return 0;
}
