#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <utility>

#include "io/sistema.h"

namespace brunavia {
namespace {

std::error_code ultimo_errore(int codice = errno) {
    return {codice, std::generic_category()};
}

}  // namespace

std::filesystem::path cartella_programma() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

void prepara_processo() {
    std::signal(SIGXFSZ, SIG_IGN);
}

std::string motivo_italiano(const std::error_code& codice) {
    return sistema::motivo_generico(codice);
}

namespace sistema {

FileNuovo::FileNuovo(const std::filesystem::path& percorso, std::error_code& errore) {
    // O_EXCL with O_CREAT fails on any name already there, a symbolic link included, instead
    // of opening what it leads to; the mode is filtered by the umask.
    const int fd =
        ::open(percorso.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        errore = ultimo_errore();
        return;
    }
    maniglia_ = fd;
}

FileNuovo::FileNuovo(FileNuovo&& altro) noexcept : maniglia_(std::exchange(altro.maniglia_, -1)) {}

FileNuovo& FileNuovo::operator=(FileNuovo&& altro) noexcept {
    std::swap(maniglia_, altro.maniglia_);
    return *this;
}

FileNuovo::~FileNuovo() {
    if (aperto()) ::close(static_cast<int>(maniglia_));
}

bool FileNuovo::aperto() const {
    return maniglia_ >= 0;
}

bool FileNuovo::scrivi(const char* dati, std::size_t quanti, std::error_code& errore) {
    const int fd = static_cast<int>(maniglia_);
    while (quanti > 0) {
        const ssize_t n = ::write(fd, dati, quanti);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            errore = ultimo_errore(n < 0 ? errno : EIO);
            return false;
        }
        dati += n;
        quanti -= static_cast<std::size_t>(n);
    }
    return true;
}

bool FileNuovo::chiudi(std::error_code& errore) {
    const int fd = static_cast<int>(std::exchange(maniglia_, -1));
    if (::close(fd) == 0) return true;
    errore = ultimo_errore();
    return false;
}

bool metti_al_posto(const std::filesystem::path& nuovo, const std::filesystem::path& destinazione,
                    std::error_code& errore) {
    if (std::rename(nuovo.c_str(), destinazione.c_str()) == 0) return true;
    errore = ultimo_errore();
    return false;
}

bool attendi_libero(const std::filesystem::path&, std::error_code&) {
    return true;  // a file open elsewhere does not stop a rename
}

}  // namespace sistema
}  // namespace brunavia
