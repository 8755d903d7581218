#include "app/argomenti.h"

#include <ostream>
#include <string_view>

#include "app/versione.h"

namespace brunavia {
namespace {

constexpr std::string_view kUso =
    "uso: brunavia [--help | --version]\n"
    "\n"
    "Genera e compila lo scenario Brunavia, treno 706. Senza argomenti scrive nella cartella\n"
    "che contiene il programma (qualunque sia la cartella corrente) le descrizioni della linea\n"
    "e del treno, le rilegge e le cancella, poi scrive i tre documenti per il macchinista\n"
    "(Brunavia_706_note.txt, Brunavia_706_rallentamenti.txt, Brunavia_706_scheda_treno.txt) e\n"
    "i tre file compilati per il simulatore (Brunavia_linea.dat, Brunavia_706.sim,\n"
    "Brunavia_706.dat), sostituendo quelli che ci sono.\n"
    "\n"
    "  -h, --help  mostra questo testo e termina senza scrivere nulla\n"
    "  --version   mostra la versione e termina senza scrivere nulla\n"
    "\n"
    "Stato di uscita: 0 tutto scritto; 1 esecuzione fermata (un file non scrivibile o\n"
    "l'errore 1250 / 1251); 2 file scritti con un errore registrato; 64 argomenti errati.\n";

}  // namespace

std::optional<int> rispondi_agli_argomenti(const std::vector<std::string>& argomenti,
                                           std::ostream& uscita, std::ostream& errori) {
    if (argomenti.empty()) return std::nullopt;
    if (argomenti.size() == 1 && (argomenti[0] == "-h" || argomenti[0] == "--help")) {
        uscita << kUso;
        return 0;
    }
    if (argomenti.size() == 1 && argomenti[0] == "--version") {
        uscita << "brunavia " << kNumeroVersione << " (scenario Brunavia, treno 706)\n";
        return 0;
    }
    errori << "brunavia: argomento non previsto \"" << argomenti[0] << "\"\n\n" << kUso;
    return kUscitaUso;
}

}  // namespace brunavia
