#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "compiler/modello.h"
#include "tests/aiuti.h"
#include "writers/scrittori.h"

namespace brunavia {
namespace {

class Note : public ::testing::Test {
protected:
    void SetUp() override {
        auto scritto = prova::scrivi_e_rileggi(dati_note, "Brunavia_706_note.txt");
        indice_ = scritto.indice;
        righe_ = std::move(scritto.righe);
    }
    // Line `n` of the file, counted from 1, in Windows-1252.
    const std::string& riga(int n) const { return righe_.at(static_cast<std::size_t>(n - 1)); }
    static std::size_t spazi_iniziali(const std::string& r) {
        return std::min(r.find_first_not_of(' '), r.size());
    }
    static std::size_t spazi_finali(const std::string& r) {
        const auto ultimo = r.find_last_not_of(' ');
        return ultimo == std::string::npos ? r.size() : r.size() - ultimo - 1;
    }

    std::int32_t indice_ = 0;
    std::vector<std::string> righe_;
};

TEST_F(Note, CinqueBlocchiInVentisetteRighe) {
    EXPECT_EQ(indice_, 27);
    ASSERT_EQ(righe_.size(), 27u);
    const std::set<int> vuote = {3, 13, 21, 24};
    for (int n = 1; n <= 27; ++n) {
        EXPECT_EQ(riga(n).empty(), vuote.count(n) > 0) << "riga " << n;
    }
    EXPECT_EQ(riga(1), "        Regione Marenza");
    EXPECT_EQ(riga(2), "Linea Orvada C.le-Tessalo C.le");
    EXPECT_EQ(riga(14), "Treno Simulato:");
    EXPECT_EQ(riga(22).rfind("N.B. ", 0), 0u);
}

TEST_F(Note, SpaziInizialiEFinaliDelleRighe) {
    struct Spazi {
        int n;
        std::size_t iniziali, finali;
    };
    std::vector<Spazi> attesi = {{1, 8, 0}, {20, 0, 2}, {25, 0, 1}, {26, 1, 0}, {27, 2, 5}};
    for (const int n : {2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 17, 18, 19, 22, 23}) {
        attesi.push_back({n, 0, 0});
    }
    for (const auto& a : attesi) {
        EXPECT_EQ(spazi_iniziali(riga(a.n)), a.iniziali) << "riga " << a.n;
        EXPECT_EQ(spazi_finali(riga(a.n)), a.finali) << "riga " << a.n;
    }
    for (const int n : {25, 26, 27}) EXPECT_GT(riga(n).size(), 3u) << "riga " << n;
    EXPECT_NE(riga(27).find('@'), std::string::npos);
}

TEST_F(Note, LeLettereAccentateSonoSoloNelleRigheCheLeHannoInWindows1252) {
    const std::set<int> accentate = {4, 5, 6, 7, 12, 18, 20, 22};
    const std::string accenti = "\xE0\xE8\xEC\xF2\xF9";  // à è ì ò ù
    for (int n = 1; n <= 27; ++n) {
        const std::string& r = riga(n);
        EXPECT_EQ(r.find_first_of(accenti) != std::string::npos, accentate.count(n) > 0)
            << "riga " << n;
        for (const char b : r) {
            const auto u = static_cast<unsigned char>(b);
            EXPECT_TRUE(u < 0x80 || accenti.find(b) != std::string::npos)
                << "riga " << n << ": byte " << int{u};
        }
    }
}

TEST_F(Note, IParagrafiSonoRigheIntereLaPiuLungaDescriveIlPercorso) {
    const auto piu_lunga =
        std::max_element(righe_.begin(), righe_.end(),
                         [](const auto& a, const auto& b) { return a.size() < b.size(); });
    const auto n = piu_lunga - righe_.begin() + 1;
    EXPECT_GE(n, 4);
    EXPECT_LE(n, 7);
    EXPECT_EQ(piu_lunga->size(), 549u);
    for (int k = 4; k <= 7; ++k) EXPECT_GT(riga(k).size(), 400u) << "riga " << k;
    // A paragraph is one sentence block that ends with its full stop, not cut mid-way.
    for (const int k : {4, 5, 6, 7, 12, 17, 18, 22}) {
        EXPECT_EQ(riga(k).back(), '.') << "riga " << k;
    }
}

// The prose names the facts of this line and train: where the text drifts from the scenario
// (another line, another locomotive, another climb), a check here fails.
TEST_F(Note, IlTestoParlaDiQuestaLineaEDiQuestoTreno) {
    struct Fatti {
        int da, a;
        std::vector<std::string> parole;
    };
    const std::vector<Fatti> fatti = {
        {4,
         7,
         {"120 km", "doppio binario", "binario semplice", "Rostena", "120 km/h", "31 per mille",
          "Monte Sella", "176+335", "151+230", "28 per mille", "Miresca", "Roccaforte"}},
        {8, 8, {"Orvada C.le", "Rostena", "Blocco"}},
        {11, 11, {"Tessalo C.le", "Blocco"}},
        {15, 15, {"E 706 '", "Orvada C.le", "Calvina Centrale"}},
        {16, 19, {"E 636", "cambio di locomotiva", "8 vetture", "105 %", "360 t"}},
        {20, 20, {"Tessalo C.le", "Calvina Centrale"}},
        {22, 22, {"Roccaforte", "Miresca", "31 per mille", "Monte Sella", "sabbi", "trazione"}},
    };
    for (const auto& f : fatti) {
        std::string testo;
        for (int n = f.da; n <= f.a; ++n) testo += riga(n) + "\n";
        for (const auto& p : f.parole) {
            EXPECT_NE(testo.find(p), std::string::npos)
                << "righe " << f.da << "-" << f.a << ": " << p;
        }
    }
    // Each of lines 8 to 11 names one section, "A - B: ...", from the origin onwards.
    for (int n = 8; n <= 11; ++n) {
        EXPECT_NE(riga(n).find(" - "), std::string::npos) << "riga " << n;
        EXPECT_LT(riga(n).find(" - "), riga(n).find(": ")) << "riga " << n;
    }
    const auto apice = riga(15).find('\'');
    EXPECT_NE(riga(15).find('\'', apice + 2), std::string::npos);
}

}  // namespace
}  // namespace brunavia
