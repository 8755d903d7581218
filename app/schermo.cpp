#include "app/schermo.h"

#include <ostream>

#include "io/sistema.h"

namespace brunavia {

void SchermoConsole::mostra_attesa() {
    uscita_ << "Attendere" << std::endl;
}

void SchermoConsole::mostra_errore(const std::string& testo) {
    errori_ << testo << std::endl;
}

void SchermoConsole::mostra_errore_file(const ErroreFile& e) {
    errori_ << e.riga() << std::endl;
}

void SchermoConsole::mostra_testo(const std::string& testo, bool errore) {
    (errore ? errori_ : uscita_) << testo;
}

std::string testo_errore_file(const ErroreFile& e) {
    return "Errore sul file " + utf8_di(e.file().filename()) + "\nnella cartella " +
           utf8_di(e.file().parent_path()) + "\n\n" + e.motivo();
}

}  // namespace brunavia
