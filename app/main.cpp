#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "app/argomenti.h"
#include "app/cartella.h"
#include "app/form_load.h"

int main(int argc, char** argv) {
    const std::vector<std::string> argomenti(argv + 1, argv + argc);
    if (const auto stato = brunavia::rispondi_agli_argomenti(argomenti, std::cout, std::cerr)) {
        return *stato;
    }
    // A file-size limit must fail the write (and be reported), not kill the process.
    std::signal(SIGXFSZ, SIG_IGN);
    brunavia::Form1 f;
    f.cartella = brunavia::cartella_programma();
    return brunavia::Form_Load(f, std::cout, std::cerr);
}
