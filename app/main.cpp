#include <csignal>
#include <iostream>

#include "app/cartella.h"
#include "app/form_load.h"

int main() {
    // A file-size limit must fail the write (and be reported), not kill the process.
    std::signal(SIGXFSZ, SIG_IGN);
    brunavia::Form1 f;
    f.cartella = brunavia::cartella_programma();
    return brunavia::Form_Load(f, std::cout, std::cerr);
}
