#pragma once

#include <string_view>

namespace brunavia {

// The version of the program and of the authors' tool, kept in this one place.
inline constexpr std::string_view kNumeroVersione = "1.0";

}  // namespace brunavia
