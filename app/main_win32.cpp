#include <windows.h>

#include <string>
#include <vector>

#include "app/form_load.h"
#include "io/sistema.h"

// A windowed program: started from Explorer, it opens no console.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    brunavia::prepara_processo();
    int quanti = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &quanti);
    std::vector<std::string> argomenti;
    for (int i = 1; i < quanti; ++i) argomenti.push_back(brunavia::utf8_di(argv[i]));
    ::LocalFree(argv);
    return brunavia::programma(argomenti, *brunavia::schermo_di_sistema());
}
