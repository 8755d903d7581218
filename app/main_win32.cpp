#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/form_load.h"
#include "io/sistema.h"

// A windowed program: started from Explorer, it opens no console.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    brunavia::prepara_processo();
    // The run-time has split the UTF-16 command line already.
    std::vector<std::string> argomenti;
    for (int i = 1; i < __argc; ++i) argomenti.push_back(brunavia::utf8_di(__wargv[i]));
    return brunavia::programma(argomenti, *brunavia::schermo_di_sistema());
}
