#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "tool/comandi.h"

int main(int argc, char** argv) {
    // A file-size limit must fail the write (and be reported), not kill the process.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> argomenti(argv + 1, argv + argc);
    return brunavia::strumento::esegui_strumento(argomenti, std::cout, std::cerr);
}
