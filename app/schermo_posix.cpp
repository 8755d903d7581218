#include <iostream>

#include "app/schermo.h"

namespace brunavia {

std::unique_ptr<Schermo> schermo_di_sistema() {
    return std::make_unique<SchermoConsole>(std::cout, std::cerr);
}

}  // namespace brunavia
