#include "io/file_atomico.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string_view>
#include <system_error>

namespace brunavia {
namespace {

std::string motivo_di_sistema(int codice) {
    return std::strerror(codice);
}

// How many taken names creating a temporary file passes over before it gives up.
constexpr int kTentativiTemporaneo = 100;

// A temporary file open for writing; its bytes go straight to the descriptor, a buffer at a
// time. A failure is reported against the file it stands for.
class Temporaneo : public DestinazioneByte {
public:
    explicit Temporaneo(const std::filesystem::path& destinazione) : destinazione_(destinazione) {
        FileTemporaneo t = crea_temporaneo(destinazione);
        fd_ = t.descrittore;
        percorso_ = std::move(t.percorso);
    }
    Temporaneo(const Temporaneo&) = delete;
    Temporaneo& operator=(const Temporaneo&) = delete;
    ~Temporaneo() override {
        if (fd_ >= 0) ::close(fd_);
    }

    void ricevi(const char* dati, std::size_t quanti) override {
        while (quanti > 0) {
            const ssize_t n = ::write(fd_, dati, quanti);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) fallisci(n < 0 ? errno : EIO);
            dati += n;
            quanti -= static_cast<std::size_t>(n);
        }
    }
    void chiudi() {
        const int fd = std::exchange(fd_, -1);
        if (::close(fd) != 0) fallisci(errno);
    }
    const std::filesystem::path& percorso() const { return percorso_; }

private:
    [[noreturn]] void fallisci(int codice) {
        throw ErroreFile(destinazione_, motivo_di_sistema(codice));
    }

    std::filesystem::path destinazione_;
    std::filesystem::path percorso_;
    int fd_ = -1;
};

// Removes temporary files left by a failed replacement.
void rimuovi(const std::vector<std::filesystem::path>& temporanei) {
    for (const auto& t : temporanei) {
        std::error_code ignora;
        std::filesystem::remove(t, ignora);
    }
}

// Writes one content into a new temporary file, complete and closed; returns its path.
void scrivi_temporaneo(const FileDaScrivere& file, std::vector<std::filesystem::path>& scritti) {
    Temporaneo t(file.percorso);
    scritti.push_back(t.percorso());
    FlussoByte flusso(t);
    file.scrivi(flusso);
    flusso.svuota();
    t.chiudi();
}

}  // namespace

std::string suffisso_casuale() {
    static constexpr std::string_view kCaratteri =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device casuale;
    std::uniform_int_distribution<std::size_t> scelta(0, kCaratteri.size() - 1);
    std::string suffisso(10, ' ');
    for (char& c : suffisso) c = kCaratteri[scelta(casuale)];
    return suffisso;
}

FileTemporaneo crea_temporaneo(const std::filesystem::path& destinazione,
                               const std::function<std::string()>& suffisso) {
    const std::string prefisso = "." + destinazione.filename().string() + ".";
    int codice = EEXIST;
    for (int tentativo = 0; tentativo < kTentativiTemporaneo && codice == EEXIST; ++tentativo) {
        auto percorso = destinazione.parent_path() / (prefisso + suffisso() + ".tmp");
        // O_EXCL with O_CREAT fails on any name already there, a symbolic link included,
        // instead of opening what it leads to; the mode is filtered by the umask.
        const int fd =
            ::open(percorso.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) return {fd, std::move(percorso)};
        codice = errno;
    }
    throw ErroreFile(destinazione, motivo_di_sistema(codice));
}

ErroreFile::ErroreFile(const std::filesystem::path& file, const std::string& motivo)
    : std::runtime_error(file.filename().string() + ": " + motivo), file_(file) {}

void sostituisci_file(const std::filesystem::path& percorso, std::string_view contenuto) {
    sostituisci_file_insieme(
        {FileDaScrivere{percorso, [contenuto](FlussoByte& s) { s.byte(contenuto); }}});
}

void sostituisci_file_insieme(const std::vector<FileNuovo>& gruppo) {
    std::vector<FileDaScrivere> file;
    for (const auto& [percorso, contenuto] : gruppo) {
        file.push_back({percorso, [&c = contenuto](FlussoByte& s) { s.byte(c); }});
    }
    sostituisci_file_insieme(file);
}

void sostituisci_file_insieme(const std::vector<FileDaScrivere>& gruppo) {
    for (const auto& file : gruppo) {
        std::error_code ignora;
        if (std::filesystem::is_directory(file.percorso, ignora)) {
            throw ErroreFile(file.percorso, motivo_di_sistema(EISDIR));
        }
    }
    std::vector<std::filesystem::path> temporanei;
    try {
        for (const auto& file : gruppo) scrivi_temporaneo(file, temporanei);
    } catch (...) {
        rimuovi(temporanei);
        throw;
    }
    for (std::size_t i = 0; i < gruppo.size(); ++i) {
        if (std::rename(temporanei[i].c_str(), gruppo[i].percorso.c_str()) != 0) {
            const int codice = errno;
            rimuovi({temporanei.begin() + static_cast<std::ptrdiff_t>(i), temporanei.end()});
            throw ErroreFile(gruppo[i].percorso, motivo_di_sistema(codice));
        }
    }
}

}  // namespace brunavia
