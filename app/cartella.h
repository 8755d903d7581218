#pragma once

#include <filesystem>

namespace brunavia {

// The folder that holds the running program, found from the process itself (not from the
// current directory).
std::filesystem::path cartella_programma();

}  // namespace brunavia
