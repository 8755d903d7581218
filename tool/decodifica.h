#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/modello.h"

namespace brunavia::strumento {

// A compiled file that does not follow its layout: truncated, too long or with a value that
// the layout does not allow. The message says where, in Italian.
class ErroreDecodifica : public std::runtime_error {
public:
    explicit ErroreDecodifica(const std::string& motivo) : std::runtime_error(motivo) {}
};

using Tabella = std::array<voce, kRigheTabella>;

// The three compiled files, each decoded by its layout alone. Every read is checked against
// the bytes that remain: a short or damaged file throws ErroreDecodifica, never reads past
// the end.
std::vector<cella> decodifica_celle(std::string_view byte);  // <scenario>_<train>.dat
Tabella decodifica_tabella(std::string_view byte);           // <scenario>_<train>.sim
Tracciato decodifica_tracciato(std::string_view byte);       // <scenario>_linea.dat

// Which compiled file a file is.
enum class TipoCompilato { celle, tabella, tracciato };

// The kind told by a compiled file's name: ".sim" the table, "_linea.dat" the plan, any other
// ".dat" the cells; nothing for any other name.
std::optional<TipoCompilato> tipo_dal_nome(const std::filesystem::path& file);

// The whole content of a file; throws ErroreFile when it is missing or cannot be read.
std::string leggi_tutto(const std::filesystem::path& file);

}  // namespace brunavia::strumento
