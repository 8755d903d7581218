#pragma once

#include <cstddef>
#include <optional>
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

// One character of a UTF-8 text at byte i: its code point and length in bytes; a malformed
// byte is one character of its own, not valid, whose code is the byte.
struct Carattere {
    char32_t codice = 0;
    std::size_t lunghezza = 1;
    bool valido = true;
};
Carattere carattere_utf8(std::string_view utf8, std::size_t i);

// The Windows-1252 byte of a code point, if it has one.
std::optional<char> byte_cp1252(char32_t cp);

// Converts UTF-8 text to Windows-1252, one byte per character, with `sostituto` for each
// character that has no byte and each malformed byte: for text an editor holds.
std::string in_cp1252_o_sostituto(std::string_view utf8, char sostituto = '?');

}  // namespace brunavia
