#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "io/cp1252.h"

namespace brunavia::strumento {

// A UTF-8 text escaped for XML character data and attribute values.
std::string testo_xml(std::string_view utf8);

// Seconds of the day as hh:mm:ss (hours may pass 23; a negative value is shown as a number).
std::string orario(std::int32_t secondi);

}  // namespace brunavia::strumento
