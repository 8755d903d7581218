#pragma once

#include <string>
#include <string_view>

namespace brunavia {

// Converts UTF-8 text to Windows-1252, one byte per character. A character that has no
// Windows-1252 byte, or malformed UTF-8, is a programming error: std::invalid_argument.
std::string in_cp1252(std::string_view utf8);

}  // namespace brunavia
