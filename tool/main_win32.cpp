#include <iostream>
#include <string>
#include <vector>

#include "io/sistema.h"
#include "tool/comandi.h"

// The command line as Windows gives it, UTF-16, turned into UTF-8 for the commands.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> argomenti;
    for (int i = 1; i < argc; ++i) argomenti.push_back(brunavia::utf8_di(argv[i]));
    brunavia::prepara_processo();
    return brunavia::strumento::esegui_strumento(argomenti, std::cout, std::cerr);
}
