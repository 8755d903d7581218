#include "tool/messaggi_file.h"

#include <cerrno>
#include <string_view>
#include <system_error>
#include <utility>

namespace brunavia::strumento {
namespace {

// The system's reasons a file operation of the tool meets, in Italian.
constexpr std::pair<int, std::string_view> kMotivi[] = {
    {ENOENT, "file o cartella inesistente"},
    {EACCES, "permesso negato"},
    {EPERM, "operazione non permessa"},
    {EISDIR, "al suo posto c'e' una cartella"},
    {ENOTDIR, "una parte del percorso non e' una cartella"},
    {EEXIST, "esiste gia'"},
    {ENOSPC, "spazio esaurito sul disco"},
    {EDQUOT, "quota del disco esaurita"},
    {EFBIG, "file troppo grande"},
    {EROFS, "file system in sola lettura"},
    {ENAMETOOLONG, "nome troppo lungo"},
    {EIO, "errore di ingresso/uscita"},
};

// The reason the bottom layer gave (the system's text), in Italian when it is one of the
// reasons above; any other reason as it came.
std::string motivo_italiano(std::string_view motivo) {
    for (const auto& [codice, italiano] : kMotivi) {
        if (std::generic_category().message(codice) == motivo) return std::string(italiano);
    }
    return std::string(motivo);
}

}  // namespace

std::string riga_errore_file(const ErroreFile& e) {
    // The bottom layer's text is "NAME: reason".
    const std::string testo = e.what();
    const std::string nome = e.file().filename().string() + ": ";
    const std::string_view motivo =
        testo.starts_with(nome) ? std::string_view(testo).substr(nome.size()) : testo;
    return "Errore sul file " + e.file().string() + ": " + motivo_italiano(motivo);
}

void crea_cartella(const std::filesystem::path& cartella) {
    if (cartella.empty()) return;  // the current folder
    std::error_code ec;
    std::filesystem::create_directories(cartella, ec);
    if (ec) throw ErroreFile(cartella, ec.message());
}

void controlla_cartella(const std::filesystem::path& cartella) {
    std::error_code ec;
    if (!std::filesystem::exists(cartella, ec)) throw ErroreFile(cartella, "cartella inesistente");
    if (!std::filesystem::is_directory(cartella, ec)) {
        throw ErroreFile(cartella, "non e' una cartella");
    }
}

}  // namespace brunavia::strumento
