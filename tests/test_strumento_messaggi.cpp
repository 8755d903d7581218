#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "compiler/descrizioni_in_memoria.h"
#include "compiler/errori.h"
#include "compiler/memorizza.h"
#include "tests/aiuti.h"
#include "tool/compile/compilazione.h"
#include "writers/scrittori.h"

namespace brunavia::strumento {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLinea = "Brunavia_linea.txt";
constexpr const char* kTreno = "Brunavia_706-.txt";

// The first line that `compile` prints for one changed row, "%F" standing for the path of the
// file changed.
struct CasoMessaggio {
    const char* nome;
    const char* file;
    std::string vecchio;
    std::string nuovo;
    std::string prima_riga;
};

void PrintTo(const CasoMessaggio& c, std::ostream* os) {
    *os << c.nome;
}

const std::string kRallentamento = "[rallentamenti]\r\nrallentamento, 30000, 60, 1000, 0, 0, 0\r\n";
std::string segnale(int posizione) {
    return "segnale, " + std::to_string(posizione) + ", 1, 2, 3, 0, 0, 0, 0, 0, 0, 0\r\n";
}

const CasoMessaggio kCasi[] = {
    // A read failure says what was wrong at that field.
    {"token", kLinea, "lunghezza percorso,    120000", "lunghezza percorso,    12O000",
     "%F:2:24: Errore n. 25: \"12O000\" non e' un numero intero"},
    {"intervallo", kTreno, "sabbia,    300", "sabbia,    70000",
     "%F:4:12: Errore n. 25: il valore 70000 esce dall'intervallo -32768 ... 32767 del suo campo"},
    {"velocita", kTreno, "velocita,  115450,    60", "velocita,  115450,  1300",
     "%F:68:21: Errore n. 25: velocita' 1300 km/h fuori dall'intervallo 0 ... 1275"},
    {"fine_del_file", kTreno, "[codici]\r\n[fine]\r\n", "segnale, 1400\r\n",
     "%F:139:1: Errore n. 25: il file finisce dentro questa riga"},
    {"senza_lunghezza", kLinea, "lunghezza percorso,    120000\r\n", "",
     "%F:1:1: Errore n. 25: manca la riga \"lunghezza percorso\" nella sezione [generale]"},
    // Errors of the finishing rules point at the row of their signal or slowdown, keeping the
    // position the compile records.
    {"segnale_davanti_all_avviso", kTreno, "[rallentamenti]\r\n",
     kRallentamento + segnale(27900) + segnale(27950) + segnale(28000),
     "%F:97:1: Errore n. 11, posizione 28050: nessuna cella libera per il marcatore davanti a un "
     "segnale vicino a un avviso (il segnale della riga 97 e' a 28000 m, cella 561)"},
    {"avvicinamento", kTreno, "[rallentamenti]\r\n",
     kRallentamento + segnale(29650) + segnale(29700) + segnale(29750),
     "%F:94:1: Errore n. 12, posizione 30050: nessuna cella libera per un marcatore di "
     "avvicinamento a un rallentamento (il rallentamento della riga 94 e' a 30000 m, cella 601)"},
    {"interno", kTreno, "[rallentamenti]\r\n",
     kRallentamento + segnale(30350) + segnale(30400) + segnale(30450),
     "%F:94:1: Errore n. 13, posizione 30450: nessuna cella libera per un marcatore interno o di "
     "uscita di un rallentamento (il rallentamento della riga 94 e' a 30000 m, cella 609)"},
    // Positions before the line, curves past the plan.
    {"prima_della_linea", kTreno, "segnale,    1400,", "segnale,   -1000,",
     "%F:95:12: Errore n. 15, posizione -1000: posizione prima dell'inizio della linea"},
    {"curva_oltre_il_tracciato", kLinea, "curvad4,  121000,  800", "curvad4,  121000,  8000",
     "%F:205:20: Errore n. 15, posizione 121000: la curva finisce oltre l'ultimo punto del "
     "tracciato"},
    {"montagna_oltre_le_celle", kLinea, "montagna,   1650,  2300,  12",
     "montagna,   1650,  130000,  12",
     "%F:311:20: Errore n. 15, posizione 1650: il tratto di montagna finisce oltre le celle"},
    // A taken cell says what holds it and its row.
    {"segnale_occupato", kTreno, "segnale,    2200,", "segnale,    1410,",
     "%F:96:13: Errore n. 16, posizione 1410: segnale su una cella occupata: cella 29 occupata "
     "dal segnale della riga 95"},
    {"indicatore_occupato", kLinea, "indicatori_vmax,  6000,  80", "indicatori_vmax,  5510,  80",
     "%F:334:19: Errore n. 21, posizione 5510: indicatore di velocita' massima su una cella "
     "occupata: cella 111 occupata dall'indicatore di velocita' massima della riga 333"},
    {"abbattimento_su_un_segnale", kTreno, "[codici]", "abbattimento, 1450, 5\r\n[codici]",
     "%F:139:15: Errore n. 7, posizione 1450: abbattimento su una cella occupata: cella 29 "
     "occupata dal segnale della riga 95"},
    // A station behind the one before it is out of order; one too close says how close.
    {"stazioni_fuori_ordine", kTreno, "stazione,   11900,", "stazione,    1000,",
     "%F:74:14: Errore n. 22, posizione 1000: stazioni fuori ordine: la zona di questa stazione "
     "inizia a 750 m, prima dell'inizio della zona della stazione precedente, alla riga 73 (da "
     "7050 a 7650 m); scrivere le stazioni in ordine di posizione"},
    {"stazione_vicina", kTreno, "stazione,   11900,", "stazione,    7700,",
     "%F:74:14: Errore n. 22, posizione 7700: stazione a meno di 350 m dalla fine della "
     "precedente: la zona di questa stazione inizia a 7450 m, la zona della stazione precedente, "
     "alla riga 73, finisce a 7650 m"},
    // An error of a whole file names the file alone.
    {"senza_generale", kLinea, "[generale]\r\n", "",
     "%F: Errore n. 102: manca la sezione [generale] nel file della linea"},
};

class Messaggi : public testing::TestWithParam<CasoMessaggio> {};

TEST_P(Messaggi, LaPrimaRigaDiCompile) {
    const CasoMessaggio& c = GetParam();
    prova::CartellaTemporanea descrizioni, uscita;
    Form1 f;
    f.cartella = descrizioni.percorso();
    dati_linea(f);
    dati_treno(f);
    const fs::path file = descrizioni / c.file;
    std::string testo = prova::leggi_byte(file);
    const auto i = testo.find(c.vecchio);
    ASSERT_NE(i, std::string::npos) << c.vecchio;
    prova::scrivi_byte(file, testo.replace(i, c.vecchio.size(), c.nuovo));

    OpzioniCompila o;
    o.linea = descrizioni / kLinea;
    o.treno = descrizioni / kTreno;
    o.cartella = uscita.percorso();
    std::ostringstream out, err;
    EXPECT_EQ(compila_descrizioni(o, out, err), 2);
    std::string atteso = c.prima_riga;
    atteso.replace(0, 2, file.string());
    EXPECT_EQ(err.str().rfind(atteso, 0), 0u) << "atteso " << atteso << "\nottenuto " << err.str();
}

INSTANTIATE_TEST_SUITE_P(Errori, Messaggi, testing::ValuesIn(kCasi),
                         [](const testing::TestParamInfo<CasoMessaggio>& i) {
                             return std::string(i.param.nome);
                         });

// The program's own report keeps the fixed text of the table, whatever the tool says.
TEST(Messaggi, IlProgrammaTieneIlTestoFisso) {
    Form1 f;
    DescrizioniInMemoria d("[generale]\r\nsfondo uno, 1\r\n[fine]\r\n", std::nullopt);
    compila(f, 1, d);
    ASSERT_EQ(f.codice_errore, 25);
    EXPECT_FALSE(f.errori_registrati.back().motivo.empty());
    EXPECT_EQ(riga_errore_registrato(f),
              "Errore n. 25, posizione 0 - " + std::string(spiegazione_errore(25)));
}

}  // namespace
}  // namespace brunavia::strumento
