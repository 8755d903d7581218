#pragma once

#include <filesystem>
#include <string>

#include "io/file_atomico.h"

namespace brunavia::strumento {

// The tool's line for a failed file operation: "Errore sul file PATH: reason", with the path
// as the author gave it (not only the file's name) and the system's reason in Italian.
std::string riga_errore_file(const ErroreFile& e);

// Creates `cartella` and the folders above it when missing (an empty path is the current
// folder); throws ErroreFile naming it.
void crea_cartella(const std::filesystem::path& cartella);

// A folder of compiled files must be there: a missing one is named as a folder, not as a file
// inside it; throws ErroreFile naming it.
void controlla_cartella(const std::filesystem::path& cartella);

}  // namespace brunavia::strumento
