#include <iostream>
#include <string>
#include <vector>

#include "io/sistema.h"
#include "tool/comandi.h"

int main(int argc, char** argv) {
    const std::vector<std::string> argomenti(argv + 1, argv + argc);
    brunavia::prepara_processo();
    return brunavia::strumento::esegui_strumento(argomenti, std::cout, std::cerr);
}
