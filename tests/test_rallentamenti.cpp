#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "compiler/modello.h"
#include "tests/aiuti.h"
#include "writers/scrittori.h"

namespace brunavia {
namespace {

// The form as it is printed, line by line.
std::vector<std::string> modulo_atteso() {
    const std::string vuota =
        " |   |                            |            |          |         |            |";
    std::vector<std::string> righe = {
        "",
        "                               Modulo M. 3",
        "                           ORDINE DI RALLENTAMENTO",
        " ________________________________________________________________________________",
        "  Linea  ORVADA C.LE - TESSALO C.LE",
        "",
        "  Si ordina al macchinista del treno 706 di effettuare i seguenti rallentamenti",
        "  _______________________________________________________________________________",
        " |   |                            |Inizio dopo |          |         |            |",
        " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
        " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
        " |___|____________________________|____________|__________|_________|____________|",
    };
    righe.insert(righe.end(), 26, vuota);
    for (const char* r : {
             " |___|____________________________|____________|__________|_________|____________|",
             "",
             "              Prescrizioni specifiche",
             " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
             " B - Interessa anche la stazione di.......",
             " D - Rallentamneto N. ... e N. ...  sono contigui",
             " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
             "     i giorni esclusi i seguenti:.........",
         }) {
        righe.emplace_back(r);
    }
    return righe;
}

class Rallentamenti : public ::testing::Test {
protected:
    void SetUp() override {
        auto scritto =
            prova::scrivi_e_rileggi(dati_rallentamenti, "Brunavia_706_rallentamenti.txt");
        indice_ = scritto.indice;
        byte_ = std::move(scritto.byte);
        righe_ = std::move(scritto.righe);
    }

    std::int32_t indice_ = 0;
    std::string byte_;
    std::vector<std::string> righe_;
};

TEST_F(Rallentamenti, IlModuloEQuelloStampatoRigaPerRiga) {
    EXPECT_EQ(indice_, 46);
    const auto attese = modulo_atteso();
    ASSERT_EQ(righe_.size(), attese.size());
    for (std::size_t i = 0; i < attese.size(); ++i) {
        EXPECT_EQ(righe_[i], attese[i]) << "riga " << i + 1;
    }
    EXPECT_EQ(byte_.substr(byte_.size() - 2), "\r\n");
}

TEST_F(Rallentamenti, LaTabellaHaLeColonneAlloroPostoESoloCaratteriAscii) {
    const std::set<std::size_t> colonne = {1, 5, 34, 47, 58, 68, 81};
    for (std::size_t n = 9; n <= 39; ++n) {
        const std::string& r = righe_.at(n - 1);
        EXPECT_EQ(r.size(), 82u) << "riga " << n;
        std::set<std::size_t> barre;
        for (std::size_t c = 0; c < r.size(); ++c) {
            if (r[c] == '|') barre.insert(c);
        }
        EXPECT_EQ(barre, colonne) << "riga " << n;
    }
    for (const char b : byte_) EXPECT_LT(static_cast<unsigned char>(b), 0x80);
}

}  // namespace
}  // namespace brunavia
