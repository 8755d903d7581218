#include "io/file_atomico.h"

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

std::string motivo_di_sistema(int codice) {
    return std::strerror(codice);
}

// Writes all bytes to a new file; returns 0 or the errno of the first failure.
int scrivi_tutto(const std::filesystem::path& percorso, std::string_view contenuto) {
    std::FILE* f = std::fopen(percorso.c_str(), "wb");
    if (f == nullptr) return errno;
    int codice = 0;
    if (!contenuto.empty() &&
        std::fwrite(contenuto.data(), 1, contenuto.size(), f) != contenuto.size()) {
        codice = errno != 0 ? errno : EIO;
    }
    if (std::fflush(f) != 0 && codice == 0) codice = errno != 0 ? errno : EIO;
    if (std::fclose(f) != 0 && codice == 0) codice = errno != 0 ? errno : EIO;
    return codice;
}

// Removes temporary files left by a failed replacement.
void rimuovi(const std::vector<std::filesystem::path>& temporanei) {
    for (const auto& t : temporanei) {
        std::error_code ignora;
        std::filesystem::remove(t, ignora);
    }
}

}  // namespace

ErroreFile::ErroreFile(const std::filesystem::path& file, const std::string& motivo)
    : std::runtime_error(file.filename().string() + ": " + motivo), file_(file) {}

void sostituisci_file(const std::filesystem::path& percorso, std::string_view contenuto) {
    sostituisci_file_insieme({{percorso, std::string(contenuto)}});
}

void sostituisci_file_insieme(const std::vector<FileNuovo>& gruppo) {
    for (const auto& [percorso, contenuto] : gruppo) {
        std::error_code ignora;
        if (std::filesystem::is_directory(percorso, ignora)) {
            throw ErroreFile(percorso, motivo_di_sistema(EISDIR));
        }
    }
    std::vector<std::filesystem::path> temporanei;
    for (const auto& [percorso, contenuto] : gruppo) {
        temporanei.push_back(percorso_temporaneo(percorso));
        errno = 0;
        if (const int codice = scrivi_tutto(temporanei.back(), contenuto); codice != 0) {
            rimuovi(temporanei);
            throw ErroreFile(percorso, motivo_di_sistema(codice));
        }
    }
    for (std::size_t i = 0; i < gruppo.size(); ++i) {
        if (std::rename(temporanei[i].c_str(), gruppo[i].first.c_str()) != 0) {
            const int codice = errno;
            rimuovi({temporanei.begin() + static_cast<std::ptrdiff_t>(i), temporanei.end()});
            throw ErroreFile(gruppo[i].first, motivo_di_sistema(codice));
        }
    }
}

}  // namespace brunavia
