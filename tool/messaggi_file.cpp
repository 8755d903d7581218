#include "tool/messaggi_file.h"

#include <system_error>

namespace brunavia::strumento {

std::string riga_errore_file(const ErroreFile& e) {
    return e.riga();
}

void crea_cartella(const std::filesystem::path& cartella) {
    if (cartella.empty()) return;  // the current folder
    std::error_code ec;
    std::filesystem::create_directories(cartella, ec);
    if (ec) throw ErroreFile(cartella, ec);
}

void controlla_cartella(const std::filesystem::path& cartella) {
    std::error_code ec;
    if (!std::filesystem::exists(cartella, ec)) throw ErroreFile(cartella, "cartella inesistente");
    if (!std::filesystem::is_directory(cartella, ec)) {
        throw ErroreFile(cartella, "non e' una cartella");
    }
}

}  // namespace brunavia::strumento
