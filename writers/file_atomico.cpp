#include "writers/file_atomico.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace brunavia {
namespace {

std::filesystem::path percorso_temporaneo(const std::filesystem::path& percorso) {
    std::string nome(".");
    nome.append(percorso.filename().string());
    nome.append(".").append(std::to_string(::getpid())).append(".tmp");
    return percorso.parent_path() / nome;
}

std::string motivo_di_sistema(int codice) { return std::strerror(codice); }

// Writes all bytes to a new file; returns 0 or the errno of the first failure.
int scrivi_tutto(const std::filesystem::path& percorso, std::string_view contenuto) {
    std::FILE* f = std::fopen(percorso.c_str(), "wb");
    if (f == nullptr) return errno;
    int codice = 0;
    if (!contenuto.empty() && std::fwrite(contenuto.data(), 1, contenuto.size(), f) != contenuto.size()) {
        codice = errno != 0 ? errno : EIO;
    }
    if (std::fflush(f) != 0 && codice == 0) codice = errno != 0 ? errno : EIO;
    if (std::fclose(f) != 0 && codice == 0) codice = errno != 0 ? errno : EIO;
    return codice;
}

}  // namespace

ErroreFile::ErroreFile(const std::filesystem::path& file, const std::string& motivo)
    : std::runtime_error(file.filename().string() + ": " + motivo), file_(file) {}

void sostituisci_file(const std::filesystem::path& percorso, std::string_view contenuto) {
    const auto temporaneo = percorso_temporaneo(percorso);
    errno = 0;
    if (const int codice = scrivi_tutto(temporaneo, contenuto); codice != 0) {
        std::error_code ignora;
        std::filesystem::remove(temporaneo, ignora);
        throw ErroreFile(percorso, motivo_di_sistema(codice));
    }
    if (std::rename(temporaneo.c_str(), percorso.c_str()) != 0) {
        const int codice = errno;
        std::error_code ignora;
        std::filesystem::remove(temporaneo, ignora);
        throw ErroreFile(percorso, motivo_di_sistema(codice));
    }
}

}  // namespace brunavia
