// The reference of the process benchmarks: a program that copies files into a folder, each
// read whole (read(2) into a buffer of its size) and written with plain buffered writes (one
// std::ofstream per file, no temporary file). Usage: brunavia_copia FOLDER FILE...
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

namespace {

// Reads the whole file into `byte`; false on any failure.
bool leggi_intero(const std::filesystem::path& file, char* byte, std::size_t dimensione) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::size_t letti = 0;
    while (letti < dimensione) {
        const ssize_t n = ::read(fd, byte + letti, dimensione - letti);
        if (n <= 0) break;
        letti += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return letti == dimensione;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "uso: brunavia_copia CARTELLA FILE...\n";
        return 2;
    }
    const std::filesystem::path cartella = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path file = argv[i];
        const auto dimensione = std::filesystem::file_size(file);
        const auto byte = std::make_unique_for_overwrite<char[]>(dimensione);
        const bool letto = leggi_intero(file, byte.get(), dimensione);
        std::ofstream out(cartella / file.filename(), std::ios::binary | std::ios::trunc);
        out.write(byte.get(), static_cast<std::streamsize>(dimensione));
        if (!letto || !out) {
            std::cerr << "copia fallita: " << file << '\n';
            return 1;
        }
    }
    return 0;
}
