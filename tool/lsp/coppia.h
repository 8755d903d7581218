#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace brunavia::strumento::lsp {

// A description recognised by its name: "NAME_linea.txt" or "NAME_N-.txt".
struct NomeDescrizione {
    bool treno = false;
    std::string scenario;
    std::string numero;  // the train number; empty for a line description
};
std::optional<NomeDescrizione> riconosci(const std::filesystem::path& file);

// The partner's name in the same folder: NAME_linea.txt for a train description; for a line
// description the first NAME_N-.txt of the folder (by name), if there is one, else nothing.
std::optional<std::filesystem::path> nome_partner(const std::filesystem::path& file,
                                                  const NomeDescrizione& n);

// "file://" URIs and paths, with percent-encoding ("file:///C:/x" is the path "C:/x").
std::filesystem::path percorso_da_uri(std::string_view uri);
std::string uri_da_percorso(const std::filesystem::path& p);

}  // namespace brunavia::strumento::lsp
