// The blank slowdown order form (Modulo M. 3) that goes with the train.
#include <string>

#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"

namespace brunavia {
namespace {

// The form's table has this many empty rows for slowdowns entered by hand.
constexpr int kRigheVuote = 26;

}  // namespace

std::vector<std::string> righe_rallentamenti() {
    std::vector<std::string> righe = {
        "",
        "                               Modulo M. 3",
        "                           ORDINE DI RALLENTAMENTO",
        " " + std::string(80, '_'),
        "  Linea  ORVADA C.LE - TESSALO C.LE",
        "",
        "  Si ordina al macchinista del treno 706 di effettuare i seguenti rallentamenti",
        "  " + std::string(79, '_'),
        " |   |                            |Inizio dopo |          |         |            |",
        " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
        " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
        " |___|____________________________|____________|__________|_________|____________|",
    };
    for (int i = 0; i < kRigheVuote; ++i) {
        righe.emplace_back(
            " |   |                            |            |          |         |            |");
    }
    const std::vector<std::string> coda = {
        " |___|____________________________|____________|__________|_________|____________|",
        "",
        "              Prescrizioni specifiche",
        " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
        " B - Interessa anche la stazione di.......",
        // D comes before C, and "Rallentamneto" is spelt so: the form is printed this way.
        " D - Rallentamneto N. ... e N. ...  sono contigui",
        " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
        "     i giorni esclusi i seguenti:.........",
        std::string(kMarcatoreFine),
    };
    righe.insert(righe.end(), coda.begin(), coda.end());
    return righe;
}

}  // namespace brunavia
