#include "io/sistema.h"

#include <cerrno>
#include <string_view>
#include <utility>

namespace brunavia {
namespace {

// The reasons a file operation meets, in Italian, by the portable condition they map to.
constexpr std::pair<std::errc, std::string_view> kMotivi[] = {
    {std::errc::no_such_file_or_directory, "file o cartella inesistente"},
    {std::errc::permission_denied, "permesso negato"},
    {std::errc::operation_not_permitted, "operazione non permessa"},
    {std::errc::is_a_directory, "al suo posto c'e' una cartella"},
    {std::errc::not_a_directory, "una parte del percorso non e' una cartella"},
    {std::errc::file_exists, "esiste gia'"},
    {std::errc::no_space_on_device, "spazio esaurito sul disco"},
    {std::errc::file_too_large, "file troppo grande"},
    {std::errc::read_only_file_system, "file system in sola lettura"},
    {std::errc::filename_too_long, "nome troppo lungo"},
    {std::errc::io_error, "errore di ingresso/uscita"},
    {std::errc::device_or_resource_busy, "il file e' in uso da un altro programma"},
    {std::errc::too_many_symbolic_link_levels, "il percorso passa per un collegamento"},
};

}  // namespace

std::filesystem::path percorso_utf8(std::string_view testo) {
    return std::filesystem::path(std::u8string(testo.begin(), testo.end()));
}

std::string utf8_di(const std::filesystem::path& percorso) {
    const std::u8string testo = percorso.u8string();
    return std::string(testo.begin(), testo.end());
}

// Both systems report a taken name as the portable "file exists" condition.
bool sistema::nome_occupato(const std::error_code& codice) {
    return codice == std::errc::file_exists;
}

std::string sistema::motivo_generico(const std::error_code& codice) {
    for (const auto& [condizione, italiano] : kMotivi) {
        if (codice == condizione) return std::string(italiano);
    }
    return codice.message();
}

}  // namespace brunavia
