#pragma once

#include <string>
#include <string_view>

namespace brunavia {

// Converts UTF-8 text to Windows-1252, one byte per character. A character that has no
// Windows-1252 byte, or malformed UTF-8, is a programming error: std::invalid_argument.
std::string in_cp1252(std::string_view utf8);
// True when every character of `utf8` has a Windows-1252 byte.
bool convertibile_in_cp1252(std::string_view utf8);

// Windows-1252 bytes (the texts of the descriptions and of the compiled table) as UTF-8, for
// the terminal, JSON and SVG. The five bytes the code page leaves unused keep their own code
// point.
std::string da_cp1252(std::string_view byte);

}  // namespace brunavia
