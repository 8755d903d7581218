#pragma once

// The platform under the rest of the code: the program's folder, paths from UTF-8 text, the
// system's reasons in Italian, and the file primitives that replacing a file needs. One
// implementation per system (sistema_posix.cpp, sistema_win32.cpp); nothing above this layer
// knows which one it runs on.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace brunavia {

// The folder that holds the running program, found from the process itself (not from the
// current folder).
std::filesystem::path cartella_programma();

// A path from UTF-8 text, and a path's UTF-8 text (on Windows a path is UTF-16 inside).
std::filesystem::path percorso_utf8(std::string_view testo);
std::string utf8_di(const std::filesystem::path& percorso);

// What both programs do first: a file-size limit fails the write (and is reported) instead of
// killing the process; the console shows UTF-8 text.
void prepara_processo();

// The system's reason for a failed file operation, in Italian ("permesso negato").
std::string motivo_italiano(const std::error_code& codice);

namespace sistema {

// A file just created, open for writing only. Creation is exclusive: a name already taken, by
// a file, a folder or a link (whether or not it leads anywhere), is never opened or followed.
class FileNuovo {
public:
    FileNuovo() = default;
    // Creates `percorso`; when it cannot, the object stays closed and `errore` says why.
    FileNuovo(const std::filesystem::path& percorso, std::error_code& errore);
    FileNuovo(FileNuovo&& altro) noexcept;
    FileNuovo& operator=(FileNuovo&& altro) noexcept;
    FileNuovo(const FileNuovo&) = delete;
    FileNuovo& operator=(const FileNuovo&) = delete;
    ~FileNuovo();

    bool aperto() const;
    // Writes all of `dati`; false with `errore` set when the system refuses.
    bool scrivi(const char* dati, std::size_t quanti, std::error_code& errore);
    // Closes the file; false with `errore` set when the last bytes could not be stored.
    bool chiudi(std::error_code& errore);

private:
    std::intptr_t maniglia_ = -1;
};

// True when creating a file failed only because its name is taken.
bool nome_occupato(const std::error_code& codice);

// Puts the file `nuovo` in place of `destinazione`, replacing the file there. A target that
// another program holds open is retried for a short while before the failure is returned.
bool metti_al_posto(const std::filesystem::path& nuovo, const std::filesystem::path& destinazione,
                    std::error_code& errore);

// Waits, as metti_al_posto does, until no other program holds `destinazione` open in a way that
// stops its replacement; false with `errore` set when it stays held (POSIX: always true). A
// group of files checks every target first, so that a held one stops it before any is replaced.
bool attendi_libero(const std::filesystem::path& destinazione, std::error_code& errore);

// The Italian text of a reason that maps to a portable condition, the system's own text
// otherwise; shared by the implementations of motivo_italiano.
std::string motivo_generico(const std::error_code& codice);

}  // namespace sistema
}  // namespace brunavia
