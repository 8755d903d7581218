#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/argomenti.h"
#include "tests/aiuti.h"

namespace brunavia {
namespace {

TEST(Avvio, ScriveAccantoAlProgrammaQualunqueSiaLaCartellaCorrente) {
    prova::CartellaTemporanea cartella;
    prova::CartellaTemporanea altrove;
    const auto programma = prova::copia_programma(cartella.percorso());
    const auto esito = prova::esegui(programma, {}, altrove.percorso());
    EXPECT_EQ(esito.uscita, "Attendere\n");
    EXPECT_TRUE(std::filesystem::is_empty(altrove.percorso()));
    EXPECT_TRUE(std::filesystem::exists(cartella / "Brunavia_706_scheda_treno.txt"));
}

TEST(Avvio, CartellaNonScrivibileFermaLaCorsaConUnaRigaCheNominaIlFile) {
    if (!prova::limiti_disponibili()) GTEST_SKIP() << prova::kSenzaLimiti;
    prova::CartellaTemporanea cartella;
    const auto programma = prova::copia_programma(cartella.percorso());
    const auto esito = prova::esegui(programma, {}, cartella.percorso(), {.senza_privilegi = true});
    EXPECT_EQ(esito.stato, 1);
    EXPECT_EQ(esito.uscita, "Attendere\n");
    // In Italian, with the whole path.
    EXPECT_EQ(esito.errori, "Errore sul file " + (cartella / "Brunavia_linea.txt").string() +
                                ": permesso negato\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cartella.percorso()), {}), 1);
}

// Asking for help or the version prints it and writes nothing; any other argument is refused
// with the usage on the error stream, and nothing is written either.
TEST(Avvio, AiutoVersioneEArgomentiErratiNonScrivonoNulla) {
    struct Caso {
        std::vector<std::string> argomenti;
        int stato;
        std::string inizio_uscita;
        std::string inizio_errori;
    };
    const Caso casi[] = {
        {{"--help"}, 0, "uso: brunavia [--help | --version]", ""},
        {{"-h"}, 0, "uso: brunavia [--help | --version]", ""},
        {{"--version"}, 0, "brunavia ", ""},
        {{"--aiuto"}, 64, "", "brunavia: argomento non previsto \"--aiuto\"\n\nuso: brunavia"},
        {{"--help", "x"}, 64, "", "brunavia: argomento non previsto \"--help\""},
        {{"Brunavia"}, 64, "", "brunavia: argomento non previsto \"Brunavia\""},
    };
    for (const auto& c : casi) {
        prova::CartellaTemporanea cartella;
        const auto programma = prova::copia_programma(cartella.percorso());
        const auto esito = prova::esegui(programma, c.argomenti, cartella.percorso());
        const std::string riga = c.argomenti[0];
        EXPECT_EQ(esito.stato, c.stato) << riga;
        EXPECT_EQ(esito.uscita.rfind(c.inizio_uscita, 0), 0u) << riga << ": " << esito.uscita;
        EXPECT_EQ(esito.errori.rfind(c.inizio_errori, 0), 0u) << riga << ": " << esito.errori;
        if (c.inizio_uscita.empty()) {
            EXPECT_EQ(esito.uscita, "") << riga;
        }
        // Only the program's copy is in its folder.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cartella.percorso()), {}), 1)
            << riga;
    }
    // The usage says where the files land.
    std::ostringstream uscita, errori;
    ASSERT_EQ(rispondi_agli_argomenti({"--help"}, uscita, errori), 0);
    EXPECT_NE(uscita.str().find("cartella\nche contiene il programma"), std::string::npos);
    EXPECT_FALSE(rispondi_agli_argomenti({}, uscita, errori).has_value());
}

}  // namespace
}  // namespace brunavia
