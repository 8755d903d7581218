#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace brunavia {

// A fixed-width line of a document, built column by column. Columns count characters from 0
// (one Windows-1252 byte each, so "°" and "½" take one column). Every column that nothing
// is placed in stays a space. Placing a character where one has already been placed, or past
// the width, is a layout fault and throws std::logic_error: a field that outgrows its cell
// cannot silently overwrite a bar or its neighbour.
class RigaAColonne {
public:
    explicit RigaAColonne(std::size_t larghezza);

    // A "|" at each column.
    RigaAColonne& barre(std::initializer_list<std::size_t> colonne);
    // `testo` (UTF-8) starting at column `prima`.
    RigaAColonne& a_sinistra(std::size_t prima, std::string_view testo);
    // `testo` (UTF-8) ending at column `ultima`.
    RigaAColonne& a_destra(std::size_t ultima, std::string_view testo);
    // `carattere` in every column from `prima` to `ultima` (both included) still empty.
    RigaAColonne& riempi(std::size_t prima, std::size_t ultima, char carattere);

    // The line as UTF-8, the form every line list holds.
    std::string testo() const;

private:
    void metti(std::size_t colonna, char byte);

    std::string byte_;            // Windows-1252, one byte per column
    std::vector<bool> occupata_;  // columns already placed
};

// Number of columns (characters) of a UTF-8 text once written in Windows-1252.
std::size_t colonne_di(std::string_view testo);

}  // namespace brunavia
