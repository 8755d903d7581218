#include <gtest/gtest.h>

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
    prova::CartellaTemporanea cartella;
    const auto programma = prova::copia_programma(cartella.percorso());
    const auto esito = prova::esegui(programma, {}, cartella.percorso(), {.senza_privilegi = true});
    EXPECT_EQ(esito.stato, 1);
    EXPECT_EQ(esito.uscita, "Attendere\n");
    EXPECT_EQ(esito.errori, "Errore sul file Brunavia_linea.txt: Permission denied\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cartella.percorso()), {}), 1);
}

}  // namespace
}  // namespace brunavia
