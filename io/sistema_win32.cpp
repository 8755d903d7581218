#include <windows.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "io/sistema.h"

namespace brunavia {
namespace {

// A target held by another program (the simulator loading it, an antivirus, an indexer) is
// retried after these pauses, about two seconds in all, as curl and Git for Windows do.
constexpr DWORD kPauseMs[] = {10, 20, 40, 80, 160, 250, 250, 250, 250, 250, 250, 250};

// The last system error, in the portable condition when it has one.
std::error_code errore_di(DWORD codice) {
    switch (codice) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return std::make_error_code(std::errc::no_such_file_or_directory);
        case ERROR_ACCESS_DENIED:
            return std::make_error_code(std::errc::permission_denied);
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return std::make_error_code(std::errc::file_exists);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return std::make_error_code(std::errc::no_space_on_device);
        case ERROR_FILENAME_EXCED_RANGE:
            return std::make_error_code(std::errc::filename_too_long);
        case ERROR_WRITE_PROTECT:
            return std::make_error_code(std::errc::read_only_file_system);
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return std::make_error_code(std::errc::device_or_resource_busy);
        default:
            return {static_cast<int>(codice), std::system_category()};
    }
}

std::error_code ultimo_errore() {
    return errore_di(::GetLastError());
}

// The path as the wide API takes it: an absolute path of 260 characters or more gets the
// "\\?\" prefix, which lifts the old limit; it needs backslashes and no "." or "..".
std::wstring per_api(const std::filesystem::path& percorso) {
    constexpr std::size_t kLimiteVecchio = MAX_PATH;
    std::wstring testo = percorso.wstring();
    if (testo.size() < kLimiteVecchio || !percorso.is_absolute() || testo.starts_with(L"\\\\")) {
        return testo;
    }
    return L"\\\\?\\" + percorso.lexically_normal().make_preferred().wstring();
}

// Another program holds the file, or it is being deleted: worth another try.
bool transitorio(DWORD codice) {
    return codice == ERROR_SHARING_VIOLATION || codice == ERROR_LOCK_VIOLATION ||
           codice == ERROR_ACCESS_DENIED;
}

HANDLE maniglia_di(std::intptr_t m) {
    return reinterpret_cast<HANDLE>(m);
}

}  // namespace

std::filesystem::path cartella_programma() {
    std::vector<wchar_t> nome(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, nome.data(), static_cast<DWORD>(nome.size()));
        if (n == 0) throw std::filesystem::filesystem_error("GetModuleFileNameW", ultimo_errore());
        if (n < nome.size())
            return std::filesystem::path(std::wstring(nome.data(), n)).parent_path();
        nome.resize(nome.size() * 2);
    }
}

void prepara_processo() {
    ::SetConsoleOutputCP(CP_UTF8);
}

std::string motivo_italiano(const std::error_code& codice) {
    if (codice.category() == std::system_category()) {
        return sistema::motivo_generico(errore_di(static_cast<DWORD>(codice.value())));
    }
    return sistema::motivo_generico(codice);
}

namespace sistema {

FileNuovo::FileNuovo(const std::filesystem::path& percorso, std::error_code& errore) {
    // CREATE_NEW fails on any name already there, a link included; no other program may open
    // the file while it is being written.
    const HANDLE h = ::CreateFileW(per_api(percorso).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        errore = ultimo_errore();
        return;
    }
    maniglia_ = reinterpret_cast<std::intptr_t>(h);
}

FileNuovo::FileNuovo(FileNuovo&& altro) noexcept : maniglia_(std::exchange(altro.maniglia_, -1)) {}

FileNuovo& FileNuovo::operator=(FileNuovo&& altro) noexcept {
    std::swap(maniglia_, altro.maniglia_);
    return *this;
}

FileNuovo::~FileNuovo() {
    if (aperto()) ::CloseHandle(maniglia_di(maniglia_));
}

bool FileNuovo::aperto() const {
    return maniglia_ != -1;
}

bool FileNuovo::scrivi(const char* dati, std::size_t quanti, std::error_code& errore) {
    constexpr std::size_t kBloccoMassimo = 1u << 30;
    while (quanti > 0) {
        const auto blocco = static_cast<DWORD>(quanti < kBloccoMassimo ? quanti : kBloccoMassimo);
        DWORD scritti = 0;
        if (!::WriteFile(maniglia_di(maniglia_), dati, blocco, &scritti, nullptr) || scritti == 0) {
            errore = ultimo_errore();
            if (!errore) errore = std::make_error_code(std::errc::io_error);
            return false;
        }
        dati += scritti;
        quanti -= scritti;
    }
    return true;
}

bool FileNuovo::chiudi(std::error_code& errore) {
    const HANDLE h = maniglia_di(std::exchange(maniglia_, -1));
    if (::CloseHandle(h)) return true;
    errore = ultimo_errore();
    return false;
}

bool metti_al_posto(const std::filesystem::path& nuovo, const std::filesystem::path& destinazione,
                    std::error_code& errore) {
    const std::wstring da = per_api(nuovo);
    const std::wstring a = per_api(destinazione);
    constexpr DWORD kModo = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    for (std::size_t tentativo = 0;; ++tentativo) {
        if (::MoveFileExW(da.c_str(), a.c_str(), kModo)) return true;
        const DWORD codice = ::GetLastError();
        // A read-only target is replaced, as on Linux, where only the folder's rights count.
        const DWORD attributi = ::GetFileAttributesW(a.c_str());
        if (codice == ERROR_ACCESS_DENIED && attributi != INVALID_FILE_ATTRIBUTES &&
            (attributi & FILE_ATTRIBUTE_READONLY) != 0 &&
            (attributi & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            ::SetFileAttributesW(a.c_str(), attributi & ~DWORD{FILE_ATTRIBUTE_READONLY})) {
            continue;
        }
        if (!transitorio(codice) || tentativo == std::size(kPauseMs)) {
            errore = errore_di(codice);
            return false;
        }
        ::Sleep(kPauseMs[tentativo]);
    }
}

bool attendi_libero(const std::filesystem::path& destinazione, std::error_code& errore) {
    const std::wstring a = per_api(destinazione);
    for (std::size_t tentativo = 0;; ++tentativo) {
        // Opening for deletion with full sharing fails only when another program keeps the
        // file without sharing its deletion; a missing file is free.
        const HANDLE h =
            ::CreateFileW(a.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            ::CloseHandle(h);
            return true;
        }
        const DWORD codice = ::GetLastError();
        if (codice != ERROR_SHARING_VIOLATION && codice != ERROR_LOCK_VIOLATION) return true;
        if (tentativo == std::size(kPauseMs)) {
            errore = errore_di(codice);
            return false;
        }
        ::Sleep(kPauseMs[tentativo]);
    }
}

}  // namespace sistema
}  // namespace brunavia
