// The scenario's notes for the driver: the route, the simulated train, the hardest climb and
// the author's sign-off. Each paragraph is one line, however long.
#include <string>

#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"

namespace brunavia {

std::vector<std::string> righe_note() {
    return {
        "        Regione Marenza",
        "Linea Orvada C.le-Tessalo C.le",
        "",
        // The route as the driver meets it, from the origin to the destination.
        "La linea Orvada C.le-Tessalo C.le è lunga 120 km ed è la principale della Marenza: "
        "parte dalla pianura di Orvada, attraversa le valli del Monte Sella e scende infine verso "
        "Tessalo. Il primo tratto, da Orvada C.le a Rostena (7,35 km), è a doppio binario; oltre "
        "Rostena la linea è a binario semplice e gli incroci avvengono nelle stazioni. La "
        "partenza da Orvada C.le è lenta: nel piazzale e fino a Valdorno si procede tra 30 e 60 "
        "km/h, poi la velocità sale a 90 e a 110 km/h fino a Rostena, dove si lascia il doppio "
        "binario a 80 km/h.",
        "Dopo Bassanello e Fonteviva la linea entra nella pianura e diventa veloce: dal cippo del "
        "km 220, poco prima di San Gervaso, fino a Piana dei Gelsi il treno può raggiungere i 120 "
        "km/h, la sua velocità massima, con riduzioni a 110 km/h al cippo del km 212 e a 90 km/h "
        "nella stazione di Castellaro; le curve sono ampie e le pendenze lievi. Attenzione ai "
        "passaggi a livello della pianura e ai cambi di velocità ai cippi dei km 202 e 198, dove "
        "si scende a 80 km/h prima della fermata di Lovereto.",
        "Da Lovereto la linea risale la valle passando per Pelvano, Serravolta e Rivascura, che "
        "il treno attraversa senza fermarsi; il tracciato si fa più tortuoso e le pendenze "
        "cominciano a crescere. Tra Rivascura e Borgo Altino si passa sul ponte in ferro del km "
        "176+335, segnalato da un apposito cartello, e si entra a 75 km/h nella stazione di Borgo "
        "Altino, prima fermata della salita. Da Borgo Altino a Roccaforte la linea sale ancora e "
        "al segnale di protezione di Roccaforte la velocità scende a 50 km/h.",
        "Il tratto più duro è la salita da Roccaforte a Miresca: la pendenza cresce fino al 31 "
        "per mille e l'aderenza cala, la linea entra nella lunga galleria del Monte Sella (dal km "
        "157,7 al km 156,5 circa), dove le rotaie sono sempre bagnate, e culmina al km 151+230, "
        "poco dopo la fermata di Miresca. Dal culmine si scende con pendenze fino al 28 per mille "
        "verso Colleverde e San Mauro, poi si corre a 90-95 km/h fino a Pratolungo; tra Villanova "
        "e Tessalo C.le le foglie sulle rotaie riducono l'aderenza e la velocità resta bassa fino "
        "al binario d'arrivo.",
        // The sections of the route and their block signalling.
        "Orvada C.le - Rostena: doppio binario, Blocco Automatico a correnti fisse",
        "Rostena - Borgo Altino: binario semplice, Blocco Conta Assi",
        "Borgo Altino - San Mauro: binario semplice, Blocco Elettrico Manuale",
        "San Mauro - Tessalo C.le: binario semplice, Blocco Conta Assi",
        "Il tracciato planimetrico e altimetrico della linea e la posizione di stazioni, passaggi "
        "a livello, segnali e gallerie seguono quelli della linea reale, riprodotti con la "
        "maggiore fedeltà possibile.",
        "",
        "Treno Simulato:",
        "Espresso E 706 'Freccia della Marenza' da Orvada C.le a Calvina Centrale",
        "Da Orvada C.le a Tessalo C.le il treno viaggia con la locomotiva elettrica E 636; a "
        "Tessalo C.le avviene il cambio di locomotiva e una locomotiva diesel del deposito di "
        "Tessalo porta il treno fino a Calvina Centrale.",
        "Il treno reale ha 9 carrozze: 2 di prima classe, 6 di seconda classe e un bagagliaio in "
        "coda.",
        "Nel treno simulato il bagagliaio non è presente: la composizione è di 8 vetture (2 di "
        "prima e 6 di seconda classe), con massa frenata al 105 % e massa bloccata di 360 t.",
        "Sigla di composizione V140 B, classificazione E, scheda treno n. 1/3.",
        "Oltre Tessalo C.le il treno prosegue per Calvina Centrale: il percorso successivo, "
        "oggetto delle schede treno 2/3 e 3/3, sarà simulato in altri scenari della serie "
        "Brunavia.  ",
        "",
        "N.B. La salita da Roccaforte a Miresca, fino al 31 per mille e con l'aderenza al 72 % "
        "nella galleria bagnata del Monte Sella, è il punto più difficile: lasciare Roccaforte "
        "con la sabbiera pronta, tenere la trazione bassa e costante e, se le ruote slittano, "
        "ridurla subito e sabbiare. Non fermarsi mai in linea sulla salita: la ripartenza "
        "in galleria è quasi impossibile; a Miresca frenare con dolcezza e ripartire con poca "
        "trazione e sabbia.",
        "Consigli e suggerimenti sono sempre graditi.",
        "",
        "Marco Bellandi ",
        " Vallerana",
        "  marco.bellandi@example.org     ",
        std::string(kMarcatoreFine),
    };
}

}  // namespace brunavia
