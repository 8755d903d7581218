#pragma once

#include <string_view>

namespace brunavia {

// The version of the program and of the authors' tool: the file VERSION at the top of the
// sources, which the build hands over as BRUNAVIA_VERSIONE (and packaging reads too).
inline constexpr std::string_view kNumeroVersione = BRUNAVIA_VERSIONE;

}  // namespace brunavia
