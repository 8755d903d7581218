#include "app/form_load.h"

#include <exception>
#include <ostream>

#include "compiler/errori.h"
#include "compiler/memorizza.h"
#include "io/file_atomico.h"
#include "writers/scrittori.h"

namespace brunavia {
namespace {

// The waiting window of this platform: one console line, shown before any file is written.
void mostra_attesa(std::ostream& uscita) {
    uscita << "Attendere" << std::endl;
}

int esegui(Form1& f, std::ostream& uscita, std::ostream& errori) {
    f.nome_scenario = "Brunavia";
    f.numero_treno = "706";
    mostra_attesa(uscita);
    f.indice = dati_linea(f);
    f.indice = dati_treno(f);
    f.indice = dati_note(f);
    f.indice = dati_rallentamenti(f);
    f.indice = dati_scheda(f);
    std::int32_t j = 1;
    memorizza_percorso(f, j);
    if (f.codice_errore != 0) {
        errori << riga_errore_registrato(f) << std::endl;
        return kUscitaErroreRegistrato;
    }
    return kUscitaRegolare;
}

}  // namespace

int Form_Load(Form1& f, std::ostream& uscita, std::ostream& errori) {
    try {
        return esegui(f, uscita, errori);
    } catch (const Terminazione& t) {
        errori << t.what() << std::endl;
    } catch (const ErroreFile& e) {
        errori << e.riga() << std::endl;
    } catch (const std::exception& e) {
        errori << "Errore interno: " << e.what() << std::endl;
    }
    return kUscitaFermata;
}

}  // namespace brunavia
