#pragma once

#include <cstdint>
#include <string_view>

#include "compiler/modello.h"

namespace brunavia {

// The fixed filler that pads short inputs of the competition codes.
inline constexpr std::string_view kRiempitivoCodice = "kkllmmnnppqqrrssttuuvvwwzz";

// Plain sum of the first 25 character codes of lower-case(train & scenario) & filler, from the
// texts of table rows 86 (train number) and 85 (scenario name).
std::int16_t codice_gara_og(const Form1& f);
// The same characters, each code weighted by its position 1 .. 25.
std::int32_t codice_gara_st(const Form1& f);

}  // namespace brunavia
