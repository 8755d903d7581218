#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "compiler/lettore_campi.h"

namespace brunavia {

// Rounds a binary64 value to the nearest integer, halves to even.
inline std::int64_t arrotonda_pari(double valore) {
    return static_cast<std::int64_t>(std::nearbyint(valore));
}

// The cell of a position in metres: round(p / 50), halves to even.
inline std::int64_t cella_di(double metri) {
    return arrotonda_pari(metri / 50.0);
}
// The cell one past it, round(p / 50 + 1), where signals, boards and slowdowns are placed.
inline std::int64_t cella_dopo(double metri) {
    return arrotonda_pari(metri / 50.0 + 1.0);
}

// A value stored into a member that must hold it whole: outside the member's range the store
// is a run-time failure of the reading (error 25).
template <typename T>
T memorizza_in(std::int64_t valore) {
    if (valore < std::numeric_limits<T>::min() || valore > std::numeric_limits<T>::max()) {
        throw ErroreLettura(fuori_intervallo(std::to_string(valore), std::numeric_limits<T>::min(),
                                             std::numeric_limits<T>::max()),
                            {});
    }
    return static_cast<T>(valore);
}

// The low bits of a value, for members that keep only them.
template <typename T>
T bit_bassi(std::int64_t valore) {
    return static_cast<T>(static_cast<std::make_unsigned_t<T>>(static_cast<std::uint64_t>(valore)));
}

}  // namespace brunavia
