#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace brunavia {

// The text that ends every line list; it is never written to a file.
inline constexpr std::string_view kMarcatoreFine = "riferimento fine del file";
// A line list has 1001 slots: at most 1000 lines and the end marker.
inline constexpr std::size_t kSlotLista = 1001;

// Encodes the lines before the first slot that equals the end marker (exact, case-sensitive,
// whole text): each line in Windows-1252 followed by CR LF. A list without a marker in its
// 1001 slots, or a character without a Windows-1252 byte, is a programming error
// (std::logic_error / std::invalid_argument).
std::string codifica_righe(const std::vector<std::string>& lista, std::size_t& righe_scritte);

// Replaces the file at `percorso` with the encoded lines and returns how many were written.
// Throws ErroreFile when a file operation fails; the old file then stays as it was.
std::size_t scrivi_righe(const std::filesystem::path& percorso,
                         const std::vector<std::string>& lista);

}  // namespace brunavia
