#pragma once

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "io/flusso_byte.h"
#include "io/sistema.h"

namespace brunavia {

// A file operation that failed: names the file and carries the reason, in Italian. what() is
// "NAME: reason".
class ErroreFile : public std::runtime_error {
public:
    ErroreFile(const std::filesystem::path& file, const std::string& motivo);
    ErroreFile(const std::filesystem::path& file, const std::error_code& codice);
    const std::filesystem::path& file() const { return file_; }
    const std::string& motivo() const { return motivo_; }
    // The line that reports it to the user, with the whole path: "Errore sul file PATH: reason".
    std::string riga() const;

private:
    std::filesystem::path file_;
    std::string motivo_;
};

// A temporary file just created and open for writing.
struct FileTemporaneo {
    sistema::FileNuovo file;
    std::filesystem::path percorso;
};

// Ten random letters and digits, a new draw on every call.
std::string suffisso_casuale();

// Creates the temporary file of `destinazione` beside it, ".NAME.SUFFIX.tmp" with SUFFIX from
// `suffisso`. The file is created exclusively: a name already taken, by a file or a symbolic
// link (whether or not it leads anywhere), is never opened, followed or changed, and the next
// suffix is tried. The file gets the permissions of any new file (on POSIX 0666 less the
// umask).
// Throws ErroreFile naming `destinazione`.
FileTemporaneo crea_temporaneo(const std::filesystem::path& destinazione,
                               const std::function<std::string()>& suffisso = suffisso_casuale);

// Replaces the file with exactly `contenuto`. The bytes go to a temporary file in the same
// folder first, which is then put in place of the old one (retried for a while when another
// program holds the old one open): a failure half-way leaves the old file as it was and no
// partial file behind. Throws ErroreFile on any failure.
void sostituisci_file(const std::filesystem::path& percorso, std::string_view contenuto);

// One file of a group and the function that writes its new content into a stream, which hands
// it to the file a buffer at a time (no whole-file copy in memory).
struct FileDaScrivere {
    std::filesystem::path percorso;
    std::function<void(FlussoByte&)> scrivi;
};

// Replaces the files of a group together, so that a failure does not leave new and old files
// mixed: every content goes to its temporary file first and the old files are renamed over
// only when all of them are written; a name held by a folder fails the group before anything
// is written. A failed write (disk full, size limit, no permission) or an exception out of a
// content function leaves every old file untouched and no temporary file. Throws ErroreFile
// naming the file that failed, or the content function's exception.
void sostituisci_file_insieme(const std::vector<FileDaScrivere>& gruppo);

// One file of a group and its new content, whole.
using FileNuovo = std::pair<std::filesystem::path, std::string>;
void sostituisci_file_insieme(const std::vector<FileNuovo>& gruppo);

}  // namespace brunavia
