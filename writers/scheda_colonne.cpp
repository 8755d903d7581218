#include "writers/scheda_colonne.h"

#include <stdexcept>

#include "io/cp1252.h"

namespace brunavia {
namespace {

// Windows-1252 bytes of the Latin-1 range map to the code point of the same value; the
// documents use no character of the 0x80-0x9F block.
void aggiungi_utf8(std::string& out, char byte) {
    const auto b = static_cast<unsigned char>(byte);
    if (b < 0x80) {
        out.push_back(byte);
    } else if (b >= 0xA0) {
        out.push_back(static_cast<char>(0xC0 | (b >> 6)));
        out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    } else {
        throw std::logic_error("carattere fuori dall'intervallo Latin-1 in una riga a colonne");
    }
}

}  // namespace

RigaAColonne::RigaAColonne(std::size_t larghezza)
    : byte_(larghezza, ' '), occupata_(larghezza, false) {}

void RigaAColonne::metti(std::size_t colonna, char byte) {
    if (colonna >= byte_.size()) {
        throw std::logic_error("colonna " + std::to_string(colonna) + " oltre la larghezza " +
                               std::to_string(byte_.size()));
    }
    if (occupata_[colonna]) {
        throw std::logic_error("colonna " + std::to_string(colonna) + " gia' occupata");
    }
    byte_[colonna] = byte;
    occupata_[colonna] = true;
}

RigaAColonne& RigaAColonne::barre(std::initializer_list<std::size_t> colonne) {
    for (const auto c : colonne) metti(c, '|');
    return *this;
}

RigaAColonne& RigaAColonne::a_sinistra(std::size_t prima, std::string_view testo) {
    const std::string byte = in_cp1252(testo);
    for (std::size_t i = 0; i < byte.size(); ++i) metti(prima + i, byte[i]);
    return *this;
}

RigaAColonne& RigaAColonne::a_destra(std::size_t ultima, std::string_view testo) {
    const std::size_t larghezza = colonne_di(testo);
    if (larghezza > ultima + 1) {
        throw std::logic_error("testo di " + std::to_string(larghezza) +
                               " caratteri prima della colonna 0");
    }
    return a_sinistra(ultima + 1 - larghezza, testo);
}

RigaAColonne& RigaAColonne::riempi(std::size_t prima, std::size_t ultima, char carattere) {
    for (std::size_t c = prima; c <= ultima; ++c) {
        if (c >= byte_.size() || !occupata_[c]) metti(c, carattere);
    }
    return *this;
}

std::string RigaAColonne::testo() const {
    std::string out;
    out.reserve(byte_.size() + 4);
    for (const char b : byte_) aggiungi_utf8(out, b);
    return out;
}

std::size_t colonne_di(std::string_view testo) {
    return in_cp1252(testo).size();
}

}  // namespace brunavia
