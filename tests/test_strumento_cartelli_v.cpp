// Speed boards read back by the tool: each code round(right / 5 + left × 20) gives the speeds
// when it has one reading and says "ambiguo" with the raw number when it has several.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "tests/aiuti_strumento.h"
#include "tool/scenario.h"

namespace brunavia::strumento {
namespace {

using prova::codice_compilato;

TEST(StrumentoCartelliV, CodiciLettiUnaVoltaOAmbigui) {
    struct Caso {
        std::int32_t sinistra, destra;
        const char* letto;
    };
    const Caso casi[] = {
        {85, 0, "85|0"},  // the shipped boards: no right speed
        {80, 60, "80|60"},
        {80, 12, "80|10"},  // the right speed is kept in fifths, rounded
        {0, 95, "0|95"},
        {100, 100, "ambiguo, grezzo 2020: 101|0 o 100|100"},  // was drawn as 101
        {0, 100, "ambiguo, grezzo 20: 1|0 o 0|100"},
        {120, 150, "ambiguo, grezzo 2430: 121|50 o 120|150"},
        {120, 495, "ambiguo, grezzo 2499: 124|95 o 120|495"},
        {86, 0, "ambiguo, grezzo 1720: 86|0 o 85|100"},  // a left speed off the steps of 5
        {1638, 35, "ambiguo, grezzo 32767: 1638|35 o 1635|335"},
        {-5, 0, "illeggibile, grezzo -100"},
    };
    for (const Caso& c : casi) {
        const std::int16_t codice = codice_compilato(c.sinistra, c.destra);
        EXPECT_EQ(testo_codice_velocita(leggi_codice_velocita(codice)), c.letto)
            << c.sinistra << "|" << c.destra;
    }
}

TEST(StrumentoCartelliV, UnCartelloSiLeggeConLeSueTreCategorieEStrisce) {
    cella c;
    c.tipo_cella = tipo::indicatore_v_max;
    c.dato0 = 1700;
    c.dato1 = 2020;
    c.dato2 = 1612;
    c.dato3 = 21;
    const IndicatoreVMax i = indicatore_v_max(c);
    EXPECT_EQ(testo_indicatore_v_max(i),
              "a 85|0, b ambiguo, grezzo 2020: 101|0 o 100|100, c 80|60");
    EXPECT_EQ(i.strisce_sinistra, 2);
    EXPECT_EQ(i.strisce_destra, 1);
}

}  // namespace
}  // namespace brunavia::strumento
