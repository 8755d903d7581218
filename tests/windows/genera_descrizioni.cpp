// Writes the benchmark's generated descriptions of a line of METRI metres into CARTELLA, as
// Generata_linea.txt and Generata_1-.txt, for the comparison of the two systems' compiles.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "bench/descrizioni_generate.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "uso: genera_descrizioni METRI CARTELLA\n";
        return 64;
    }
    const int metri = std::atoi(argv[1]);
    const std::filesystem::path cartella = argv[2];
    std::ofstream(cartella / "Generata_linea.txt", std::ios::binary)
        << brunavia::banco::linea_generata(metri);
    std::ofstream(cartella / "Generata_1-.txt", std::ios::binary)
        << brunavia::banco::treno_generato(metri);
    return 0;
}
