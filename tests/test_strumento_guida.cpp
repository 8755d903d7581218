#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "compiler/errori.h"
#include "tests/aiuti.h"

namespace brunavia {
namespace {

// The author's guide explains every error number of the explanations table, and no other.
TEST(StrumentoGuida, LaTabellaDegliErroriDelLeggimiEQuellaDelCompilatore) {
    const std::string leggimi = prova::leggi_byte(BRUNAVIA_README);
    const auto inizio = leggimi.find("### Error numbers");
    ASSERT_NE(inizio, std::string::npos);
    std::set<std::int32_t> nella_guida;
    std::istringstream righe(leggimi.substr(inizio));
    for (std::string riga; std::getline(righe, riga);) {
        if (riga.size() < 3 || riga[0] != '|' || riga[2] < '0' || riga[2] > '9') continue;
        nella_guida.insert(std::stoi(riga.substr(2)));
    }
    std::set<std::int32_t> nella_tabella;
    for (const auto& voce : tabella_errori()) nella_tabella.insert(voce.codice);
    EXPECT_EQ(nella_guida, nella_tabella);
}

}  // namespace
}  // namespace brunavia
