#include "app/form_load.h"

#include <exception>
#include <ostream>
#include <sstream>

#include "app/argomenti.h"
#include "compiler/errori.h"
#include "compiler/memorizza.h"
#include "io/file_atomico.h"
#include "io/sistema.h"
#include "writers/scrittori.h"

namespace brunavia {
namespace {

int esegui(Form1& f, Schermo& schermo) {
    f.nome_scenario = "Brunavia";
    f.numero_treno = "706";
    schermo.mostra_attesa();
    f.indice = dati_linea(f);
    f.indice = dati_treno(f);
    f.indice = dati_note(f);
    f.indice = dati_rallentamenti(f);
    f.indice = dati_scheda(f);
    std::int32_t j = 1;
    memorizza_percorso(f, j);
    schermo.chiudi_attesa();
    if (f.codice_errore != 0) {
        schermo.mostra_testo(riga_errore_registrato(f) + "\n", true);
        return kUscitaErroreRegistrato;
    }
    return kUscitaRegolare;
}

}  // namespace

int con_rapporto_errori(Schermo& schermo, const std::function<int()>& lavoro) {
    try {
        return lavoro();
    } catch (const Terminazione& t) {
        schermo.mostra_errore(t.what());
    } catch (const ErroreFile& e) {
        schermo.mostra_errore_file(e);
    } catch (const std::exception& e) {
        schermo.mostra_errore(std::string("Errore interno: ") + e.what());
    }
    schermo.chiudi_attesa();
    return kUscitaFermata;
}

int Form_Load(Form1& f, Schermo& schermo) {
    return con_rapporto_errori(schermo, [&] { return esegui(f, schermo); });
}

int Form_Load(Form1& f, std::ostream& uscita, std::ostream& errori) {
    SchermoConsole console(uscita, errori);
    return Form_Load(f, console);
}

int programma(const std::vector<std::string>& argomenti, Schermo& schermo) {
    std::ostringstream uscita;
    std::ostringstream errori;
    if (const auto stato = rispondi_agli_argomenti(argomenti, uscita, errori)) {
        if (!uscita.str().empty()) schermo.mostra_testo(uscita.str(), false);
        if (!errori.str().empty()) schermo.mostra_testo(errori.str(), true);
        return *stato;
    }
    return con_rapporto_errori(schermo, [&] {
        Form1 f;
        f.cartella = cartella_programma();
        return Form_Load(f, schermo);
    });
}

}  // namespace brunavia
