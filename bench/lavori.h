#pragma once

#include <filesystem>
#include <string>

namespace brunavia::banco {

// Runs the work named `nome` once, writing its files into `cartella`: "corsa" (the whole run
// of the shipped scenario), "linea:KM" or "scenario:KM" (a compile of generated descriptions).
// False when the name is unknown or the work records an error.
bool esegui_lavoro(const std::string& nome, const std::filesystem::path& cartella);

// The whole run of the program, with its folder set to `cartella`; false on any error.
bool esegui_corsa(const std::filesystem::path& cartella);

}  // namespace brunavia::banco
