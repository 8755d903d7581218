#include "io/file_atomico.h"

#include <cerrno>
#include <random>
#include <string_view>
#include <system_error>

namespace brunavia {
namespace {

// How many taken names creating a temporary file passes over before it gives up.
constexpr int kTentativiTemporaneo = 100;

// A temporary file open for writing; its bytes go straight to the descriptor, a buffer at a
// time. A failure is reported against the file it stands for.
class Temporaneo : public DestinazioneByte {
public:
    explicit Temporaneo(const std::filesystem::path& destinazione)
        : destinazione_(destinazione), t_(crea_temporaneo(destinazione)) {}

    void ricevi(const char* dati, std::size_t quanti) override {
        std::error_code errore;
        if (!t_.file.scrivi(dati, quanti, errore)) throw ErroreFile(destinazione_, errore);
    }
    void chiudi() {
        std::error_code errore;
        if (!t_.file.chiudi(errore)) throw ErroreFile(destinazione_, errore);
    }
    const std::filesystem::path& percorso() const { return t_.percorso; }

private:
    std::filesystem::path destinazione_;
    FileTemporaneo t_;
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
    const std::string prefisso = "." + utf8_di(destinazione.filename()) + ".";
    std::error_code errore = std::make_error_code(std::errc::file_exists);
    for (int tentativo = 0; tentativo < kTentativiTemporaneo && sistema::nome_occupato(errore);
         ++tentativo) {
        auto percorso = destinazione.parent_path() / percorso_utf8(prefisso + suffisso() + ".tmp");
        errore.clear();
        sistema::FileNuovo file(percorso, errore);
        if (file.aperto()) return {std::move(file), std::move(percorso)};
    }
    throw ErroreFile(destinazione, errore);
}

ErroreFile::ErroreFile(const std::filesystem::path& file, const std::string& motivo)
    : std::runtime_error(utf8_di(file.filename()) + ": " + motivo), file_(file), motivo_(motivo) {}

ErroreFile::ErroreFile(const std::filesystem::path& file, const std::error_code& codice)
    : ErroreFile(file, motivo_italiano(codice)) {}

std::string ErroreFile::riga() const {
    return "Errore sul file " + utf8_di(file_) + ": " + motivo_;
}

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
            throw ErroreFile(file.percorso, std::make_error_code(std::errc::is_a_directory));
        }
    }
    std::vector<std::filesystem::path> temporanei;
    try {
        for (const auto& file : gruppo) scrivi_temporaneo(file, temporanei);
    } catch (...) {
        rimuovi(temporanei);
        throw;
    }
    for (const auto& file : gruppo) {
        std::error_code errore;
        if (!sistema::attendi_libero(file.percorso, errore)) {
            rimuovi(temporanei);
            throw ErroreFile(file.percorso, errore);
        }
    }
    for (std::size_t i = 0; i < gruppo.size(); ++i) {
        std::error_code errore;
        if (!sistema::metti_al_posto(temporanei[i], gruppo[i].percorso, errore)) {
            rimuovi({temporanei.begin() + static_cast<std::ptrdiff_t>(i), temporanei.end()});
            throw ErroreFile(gruppo[i].percorso, errore);
        }
    }
}

}  // namespace brunavia
