#include <gtest/gtest.h>

#include "tests/aiuti.h"

namespace brunavia {
namespace {

TEST(Avvio, MostraAttendereEScriveLeDescrizioniAccantoAlProgramma) {
    prova::CartellaTemporanea cartella;
    prova::CartellaTemporanea altrove;
    const auto programma = prova::copia_programma(cartella.percorso());
    const auto esito = prova::esegui(programma, {}, altrove.percorso());
    EXPECT_EQ(esito.uscita.rfind("Attendere\n", 0), 0u) << esito.uscita;
    EXPECT_TRUE(std::filesystem::is_empty(altrove.percorso()));
}

}  // namespace
}  // namespace brunavia
