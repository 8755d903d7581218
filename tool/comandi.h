#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "tool/uscite.h"

namespace brunavia::strumento {

// Runs `brunavia-tool` with its arguments (without the program name): compile, dump, plot or
// help. Returns the exit status.
int esegui_strumento(const std::vector<std::string>& argomenti, std::ostream& uscita,
                     std::ostream& errori);

}  // namespace brunavia::strumento
