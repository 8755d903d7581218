#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace brunavia {

// Exit status of a command line the program does not take.
inline constexpr int kUscitaUso = 64;

// The program takes no arguments: without any it runs (nothing is returned). "-h"/"--help"
// and "--version" print the usage or the version on `uscita` and end with 0; anything else
// prints the usage on `errori` and ends with 64. Either way no file is written.
std::optional<int> rispondi_agli_argomenti(const std::vector<std::string>& argomenti,
                                           std::ostream& uscita, std::ostream& errori);

}  // namespace brunavia
