#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "writers/scheda_treno.h"
#include "writers/tabelle_treno.h"

namespace brunavia {
namespace {

// The train card names the train's own stations, in route order. The origin is shortened on
// the card ("ORVADA C.") and junctions (type 25 and above) do not appear on it.
TEST(CoerenzaDocumenti, LaSchedaNominaLeStazioniDelTrenoInOrdine) {
    std::vector<std::string> attese;
    for (const auto& s : treno::stazioni()) {
        if (s.tipo >= 25) continue;
        attese.emplace_back(s.nome);
    }
    ASSERT_FALSE(attese.empty());
    EXPECT_EQ(attese.front(), "ORVADA CENTRALE");
    attese.front() = "ORVADA C.";
    EXPECT_EQ(stazioni_scheda(), attese);
}

}  // namespace
}  // namespace brunavia
