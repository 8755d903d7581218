#pragma once

#include <cstddef>
#include <string>

namespace brunavia {

// A number right-aligned in a field of `larghezza` characters; a wider number is written whole.
inline std::string a_destra(long valore, std::size_t larghezza) {
    std::string testo = std::to_string(valore);
    if (testo.size() < larghezza) testo.insert(0, larghezza - testo.size(), ' ');
    return testo;
}

}  // namespace brunavia
