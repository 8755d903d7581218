// Runs under file faults: a folder that cannot be written, a file that cannot be written (a
// size limit, a folder in its place) and a description file gone between writing and reading.
// Each stops with one line naming the file, leaves no partial or temporary file and keeps the
// old compiled files byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "compiler/errori.h"
#include "compiler/memorizza.h"
#include "tests/aiuti.h"
#include "writers/scrittori.h"

namespace brunavia {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kCompilati = {"Brunavia_linea.dat", "Brunavia_706.sim",
                                             "Brunavia_706.dat"};
const std::vector<std::string> kDocumenti = {
    "Brunavia_706_note.txt", "Brunavia_706_rallentamenti.txt", "Brunavia_706_scheda_treno.txt"};
const std::vector<std::string> kDescrizioni = {"Brunavia_linea.txt", "Brunavia_706-.txt"};

std::set<std::string> nomi_in(const fs::path& cartella) {
    std::set<std::string> nomi;
    for (const auto& voce : fs::directory_iterator(cartella)) {
        nomi.insert(voce.path().filename().string());
    }
    return nomi;
}

std::set<std::string> unione(std::initializer_list<std::vector<std::string>> gruppi) {
    std::set<std::string> nomi;
    for (const auto& g : gruppi) nomi.insert(g.begin(), g.end());
    return nomi;
}

// An old copy of each compiled file, each with its own content, as a previous run left them.
std::map<std::string, std::string> scrivi_vecchi_compilati(const fs::path& cartella) {
    std::map<std::string, std::string> vecchi;
    for (const auto& nome : kCompilati) {
        vecchi[nome] = "vecchio " + nome + std::string(3000, '\x7f');
        prova::scrivi_byte(cartella / nome, vecchi[nome]);
    }
    return vecchi;
}

struct Guasto {
    const char* nome;
    std::function<void(const fs::path&)> prepara;  // runs on the folder before the run
    prova::Limiti limiti;
    const char* file;               // the file the one line on the error stream names
    const char* motivo;             // and its reason, in Italian
    std::set<std::string> restano;  // what the folder holds afterwards
};

// How a fault shows in the test list and in failures: its name.
void PrintTo(const Guasto& g, std::ostream* out) {
    *out << g.nome;
}

class CorsaConGuasto : public testing::TestWithParam<Guasto> {};

TEST_P(CorsaConGuasto, UnaRigaCheNominaIlFileENessunFileParziale) {
    const Guasto& g = GetParam();
    if (!g.limiti.nessuno() && !prova::limiti_disponibili()) GTEST_SKIP() << prova::kSenzaLimiti;
    prova::CartellaTemporanea cartella;
    const auto programma = prova::copia_programma(cartella.percorso());
    const auto vecchi = scrivi_vecchi_compilati(cartella.percorso());
    if (g.prepara) g.prepara(cartella.percorso());

    const auto esito = prova::esegui(programma, {}, cartella.percorso(), g.limiti);

    EXPECT_EQ(esito.stato, 1);
    EXPECT_EQ(esito.uscita, "Attendere\n");
    EXPECT_EQ(esito.errori,
              "Errore sul file " + (cartella / g.file).string() + ": " + g.motivo + "\n");
    // No temporary file, nothing but the complete files of the steps that ran.
    EXPECT_EQ(nomi_in(cartella.percorso()), g.restano);
    for (const auto& [nome, contenuto] : vecchi) {
        if (fs::is_regular_file(cartella / nome)) {
            EXPECT_TRUE(prova::leggi_byte(cartella / nome) == contenuto) << nome << " sostituito";
        }
    }
}

void cartella_al_posto_di(const fs::path& cartella, const std::string& nome) {
    fs::remove(cartella / nome);
    fs::create_directory(cartella / nome);
    prova::scrivi_byte(cartella / nome / "dentro", "resta");
}

INSTANTIATE_TEST_SUITE_P(
    Guasti, CorsaConGuasto,
    testing::Values(
        // Run as an unprivileged user in a folder it may not write: the first writer stops.
        Guasto{"CartellaNonScrivibile",
               {},
               {.senza_privilegi = true},
               "Brunavia_linea.txt",
               "permesso negato",
               unione({{"brunavia"}, kCompilati})},
        // The text files pass a 100 kB limit, the 2.5 MB plan does not: none of the three
        // compiled files is replaced, so the old set stays whole.
        Guasto{"LimiteDiDimensione",
               {},
               {.dimensione_massima_file = 100'000},
               "Brunavia_linea.dat",
               "file troppo grande",
               unione({{"brunavia"}, kDocumenti, kCompilati})},
        // A folder holds the table's name: the plan written before it is not replaced either.
        Guasto{"TabellaSostituitaDaUnaCartella",
               [](const fs::path& c) { cartella_al_posto_di(c, "Brunavia_706.sim"); },
               {},
               "Brunavia_706.sim",
               "al suo posto c'e' una cartella",
               unione({{"brunavia"}, kDocumenti, kCompilati})},
        // A folder holds a document's name: the writers stop there; the two descriptions
        // already written are complete.
        Guasto{"DocumentoSostituitoDaUnaCartella",
               [](const fs::path& c) { cartella_al_posto_di(c, "Brunavia_706_note.txt"); },
               {},
               "Brunavia_706_note.txt",
               "al suo posto c'e' una cartella",
               unione({{"brunavia", "Brunavia_706_note.txt"}, kDescrizioni, kCompilati})}),
    [](const testing::TestParamInfo<Guasto>& p) { return std::string(p.param.nome); });

// The descriptions are written, then one is removed before the compile reads it: the error is
// recorded (101 for the line, 25 for the train) and the line that reports it names the file.
TEST(DescrizioneRimossaPrimaDellaLettura, ErroreRegistratoENessunFileParziale) {
    struct Caso {
        const char* rimossa;
        std::int32_t errore;
        const char* nella_riga;
        std::set<std::string> restano;  // besides the old compiled files
        bool compilati_nuovi;
    };
    const Caso casi[] = {
        // Nothing can be compiled without the line: the train file is left alone.
        {"Brunavia_linea.txt",
         101,
         "file di descrizione della linea",
         {"Brunavia_706-.txt"},
         false},
        // The line is compiled and its file deleted; the files are written from the line alone.
        {"Brunavia_706-.txt", 25, "file del treno mancante", {}, true},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.rimossa);
        prova::CartellaTemporanea cartella;
        Form1 f;
        f.cartella = cartella.percorso();
        dati_linea(f);
        dati_treno(f);
        const auto vecchi = scrivi_vecchi_compilati(cartella.percorso());
        fs::remove(cartella / c.rimossa);

        std::int32_t j = 1;
        memorizza_percorso(f, j);

        EXPECT_EQ(f.codice_errore, c.errore);
        EXPECT_NE(riga_errore_registrato(f).find(c.nella_riga), std::string::npos)
            << riga_errore_registrato(f);
        std::set<std::string> attesi = c.restano;
        attesi.insert(kCompilati.begin(), kCompilati.end());
        EXPECT_EQ(nomi_in(cartella.percorso()), attesi);
        for (const auto& [nome, contenuto] : vecchi) {
            EXPECT_EQ(prova::leggi_byte(cartella / nome) == contenuto, !c.compilati_nuovi) << nome;
        }
    }
}

}  // namespace
}  // namespace brunavia
