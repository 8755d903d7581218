#include "app/cartella.h"

namespace brunavia {

std::filesystem::path cartella_programma() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

}  // namespace brunavia
