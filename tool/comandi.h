#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace brunavia::strumento {

// Exit status of a command line the tool cannot take (unknown command or option, missing
// argument); the commands themselves end with 0, 1 or 2.
inline constexpr int kUscitaUso = 64;

// Runs `brunavia-tool` with its arguments (without the program name): compile, dump, plot or
// help. Returns the exit status.
int esegui_strumento(const std::vector<std::string>& argomenti, std::ostream& uscita,
                     std::ostream& errori);

}  // namespace brunavia::strumento
