#include <string>
#include <vector>

#include "app/form_load.h"
#include "io/sistema.h"

int main(int argc, char** argv) {
    brunavia::prepara_processo();
    const std::vector<std::string> argomenti(argv + 1, argv + argc);
    return brunavia::programma(argomenti, *brunavia::schermo_di_sistema());
}
