#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "compiler/modello.h"
#include "tests/aiuti.h"
#include "io/cp1252.h"
#include "writers/scheda_colonne.h"
#include "writers/scheda_orario.h"
#include "writers/scheda_treno.h"
#include "writers/scrittori.h"

namespace brunavia {
namespace {

// ---------------------------------------------------------------------------------------
// The column builder.

TEST(RigaAColonne, ContaLeColonneInCaratteriNonInByteUtf8) {
    RigaAColonne r(10);
    r.barre({0, 9}).a_destra(5, "9.48½").a_sinistra(6, "°X");
    EXPECT_EQ(r.testo(), "|9.48½°X |");
    EXPECT_EQ(in_cp1252(r.testo()).size(), 10u);
    EXPECT_EQ(colonne_di("Validità"), 8u);
}

TEST(RigaAColonne, RiempieSoloLeColonneLibere) {
    RigaAColonne r(8);
    r.barre({7}).a_sinistra(1, "AB").riempi(1, 7, '.');
    EXPECT_EQ(r.testo(), " AB....|");
}

TEST(RigaAColonne, UnCampoTroppoLungoNonScavalcaUnaBarraNeIlBordo) {
    const auto sopra_barra = [] { RigaAColonne(6).barre({5}).a_sinistra(1, "ABCDE"); };
    const auto oltre_bordo = [] { RigaAColonne(4).a_sinistra(2, "ABC"); };
    const auto prima_di_zero = [] { RigaAColonne(4).a_destra(1, "ABC"); };
    EXPECT_THROW(sopra_barra(), std::logic_error);
    EXPECT_THROW(oltre_bordo(), std::logic_error);
    EXPECT_THROW(prima_di_zero(), std::logic_error);
}

TEST(RigaAColonne, RifiutaICaratteriCheIDocumentiNonPossonoScrivere) {
    EXPECT_THROW(RigaAColonne(4).a_sinistra(0, "✓"), std::invalid_argument);
    RigaAColonne euro(4);
    euro.a_sinistra(0, "€");  // has a Windows-1252 byte, but outside the Latin-1 range
    EXPECT_THROW((void)euro.testo(), std::logic_error);
}

// ---------------------------------------------------------------------------------------
// The row formatter on small fixtures: faults in the row data are refused, not written.

using scheda::Genere;
using scheda::Ora;
using scheda::Protetta;
using scheda::RigaOrario;

RigaOrario stazione(Genere g, std::string_view nome) {
    return {g, 0, 0, 100000, "   ", false, nome, Protetta::nessuna, {}, Ora{9, 0, false},
            0, 0, 0, false};
}
RigaOrario segnale(Protetta p) {
    return {Genere::segnale, 90, 90, 0, "   ", false, "Seg.Prot.", p, {}, {}, 0, 0, 0, false};
}

TEST(ComponiRiga, IlSegnaleDiProtezioneNominaLaStazioneIndicata) {
    std::vector<RigaOrario> righe = {
        stazione(Genere::transito, "PRIMA"),   segnale(Protetta::precedente),
        stazione(Genere::transito, "SECONDA"), segnale(Protetta::successiva),
        stazione(Genere::transito, "TERZA"),   segnale(Protetta::origine)};
    EXPECT_EQ(scheda::componi_riga(righe, 1).substr(28, 20), "Seg.Prot. PRIMA     ");
    EXPECT_EQ(scheda::componi_riga(righe, 3).substr(28, 20), "Seg.Prot. TERZA     ");
    EXPECT_EQ(scheda::componi_riga(righe, 5).substr(28, 20), "Seg.Prot. PRIMA     ");
}

TEST(ComponiRiga, RifiutaLeRigheCheNonStannoNelleLoroCelle) {
    auto senza_arrivo = stazione(Genere::fermata, "FERMATA");
    auto simbolo_doppio = stazione(Genere::transito, "X");
    simbolo_doppio.simbolo = 12;
    auto segni_corti = stazione(Genere::transito, "X");
    segni_corti.segni = "/";
    auto grado_su_etichetta = stazione(Genere::punto, "Km.1,000");
    grado_su_etichetta.partenza.reset();
    grado_su_etichetta.grado = true;
    struct Caso {
        const char* guasto;
        std::vector<RigaOrario> righe;
        std::size_t i;
    };
    const std::vector<Caso> casi = {
        {"fermata senza arrivo", {senza_arrivo}, 0},
        {"nome di 20 caratteri", {stazione(Genere::transito, "NOME DI VENTI LETTER")}, 0},
        {"simbolo di due cifre", {simbolo_doppio}, 0},
        {"punto di linea con orario", {stazione(Genere::punto, "Cippo Km.1,000")}, 0},
        {"segni di linea incompleti", {segni_corti}, 0},
        {"\"°\" sopra un'etichetta", {grado_su_etichetta}, 0},
        {"nessuna stazione prima",
         {segnale(Protetta::precedente), stazione(Genere::transito, "DOPO")},
         0},
        {"nessuna stazione dopo",
         {stazione(Genere::transito, "PRIMA"), segnale(Protetta::successiva)},
         1},
        {"etichetta di 22 caratteri",
         {stazione(Genere::transito, "BORGO ALTINO"), segnale(Protetta::precedente)},
         1},
    };
    for (const auto& c : casi) {
        EXPECT_THROW((void)scheda::componi_riga(c.righe, c.i), std::logic_error) << c.guasto;
    }
}

// ---------------------------------------------------------------------------------------
// The written card.

class SchedaTreno : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scritto_ = prova::scrivi_e_rileggi(dati_scheda, "Brunavia_706_scheda_treno.txt");
    }
    // Line `n` of the file, counted from 1, in Windows-1252.
    static const std::string& riga(int n) {
        return scritto_.righe.at(static_cast<std::size_t>(n - 1));
    }
    static std::set<std::size_t> barre(const std::string& r) {
        std::set<std::size_t> colonne;
        for (std::size_t c = 0; c < r.size(); ++c) {
            if (r[c] == '|') colonne.insert(c);
        }
        return colonne;
    }

    static inline prova::FileScritto scritto_;
};

const std::set<std::size_t> kBarreRiga = {2, 8, 14, 24, 48, 64, 68, 75, 95};
const std::set<int> kConSpazioFinale = {39, 43, 46, 47, 52, 53};

TEST_F(SchedaTreno, HaCinquantaseiRigheInWindows1252) {
    EXPECT_EQ(scritto_.indice, 56);
    ASSERT_EQ(scritto_.righe.size(), 56u);
    for (const int n : {1, 2, 56}) EXPECT_EQ(riga(n), "") << "riga " << n;
    EXPECT_EQ(scritto_.byte.find("riferimento fine del file"), std::string::npos);
    EXPECT_NE(riga(5).find("Scheda n\xB0 1/3"), std::string::npos);
    EXPECT_EQ(riga(7).substr(2, 9), " Validit\xE0");
    EXPECT_EQ(riga(45).substr(49, 15), " 9.48\xBD    9.50\xBD");
    // "°", "½" and "à" are the card's only bytes outside ASCII.
    for (const char b : scritto_.byte) {
        const auto u = static_cast<unsigned char>(b);
        EXPECT_TRUE(u < 0x80 || u == 0xB0 || u == 0xBD || u == 0xE0) << "byte " << int{u};
    }
}

TEST_F(SchedaTreno, LeCaselleDellIntestazioneHannoLeBarreAlloroPosto) {
    const std::set<std::size_t> alte = {1, 21, 26, 46, 72, 96};
    const std::set<std::size_t> basse = {1, 24, 46, 72, 90, 96};
    const std::vector<std::pair<int, std::set<std::size_t>>> attese = {{3, {}},
                                                                       {4, alte},
                                                                       {5, alte},
                                                                       {6, alte},
                                                                       {7, alte},
                                                                       {8, {1, 21, 26, 46}},
                                                                       {9, {1, 21, 26, 46}},
                                                                       {10, {72, 90, 96}},
                                                                       {11, basse},
                                                                       {12, basse},
                                                                       {13, basse}};
    for (const auto& [n, colonne] : attese) EXPECT_EQ(barre(riga(n)), colonne) << "riga " << n;
}

TEST_F(SchedaTreno, LeRigheSetteEOttoSonoCostruiteColonnaPerColonna) {
    const std::string& sette = riga(7);
    ASSERT_EQ(sette.size(), 97u);
    EXPECT_EQ(sette.substr(2, 19), " Validit\xE0          ");
    EXPECT_EQ(sette.substr(27, 19), " Termine Scheda    ");
    EXPECT_EQ(sette.substr(47, 25), "    Da: ORVADA C.        ");
    EXPECT_EQ(sette.substr(73, 23), std::string(23, '_'));
    const std::string& otto = riga(8);
    EXPECT_EQ(otto.substr(2, 19), " Dal: 30.09.2001   ");
    EXPECT_EQ(otto.substr(27, 19), "CALVINA CENTRALE   ");
    EXPECT_EQ(otto.substr(46), "|     A: TESSALO      ");
}

TEST_F(SchedaTreno, TitoliERegoleDellOrario) {
    EXPECT_EQ(riga(14), "   " + std::string(92, '_'));
    EXPECT_EQ(riga(15).size(), 97u);
    EXPECT_EQ(riga(15).back(), ' ');
    for (const int n : {16, 17, 55}) EXPECT_EQ(riga(n).size(), 96u) << "riga " << n;
    // The bottom rule closes the merged last cell: no bars at 79 and 91.
    std::set<std::size_t> chiusura = barre(riga(17));
    chiusura.erase(79);
    chiusura.erase(91);
    EXPECT_EQ(barre(riga(55)), chiusura);
}

TEST_F(SchedaTreno, OgniRigaDellOrarioHaLaLarghezzaELeBarreDellaScheda) {
    // The cell borders line up under the headings' bars (Prog and Localita' share a heading).
    const std::set<std::size_t> titoli = barre(riga(17));
    for (const auto c : kBarreRiga) {
        EXPECT_TRUE(c == 24 || titoli.count(c) > 0) << "barra " << c << " senza titolo";
    }
    for (int n = 18; n <= 54; ++n) {
        const std::string& r = riga(n);
        const bool spazio = kConSpazioFinale.count(n) > 0;
        EXPECT_EQ(r.size(), spazio ? 97u : 96u) << "riga " << n;
        if (spazio) {
            EXPECT_EQ(r.back(), ' ') << "riga " << n;
        }
        std::set<std::size_t> colonne = barre(r);
        colonne.erase(26);  // a line-diagram mark, not a cell border
        EXPECT_EQ(colonne, kBarreRiga) << "riga " << n;
    }
}

// One timetable row as the card's table gives it: kind (F stop, T pass, P point, S signal),
// speeds (0: blank), progressive, marks of columns 23/25/26, the text from column 28, the
// times, Rec, right-track speed (0: "/") and symbol (0: blank).
struct RigaAttesa {
    int n;
    char genere;
    int vmax;
    int vmarc;
    const char* prog;
    const char* segni;
    const char* localita;
    const char* arrivo;
    const char* orario;
    const char* rec;
    int bin_dx;
    int simbolo;
};

// clang-format off
const RigaAttesa kOrarioAtteso[] = {
    {18, 'F',  60,  60, "240.714", "  |", " ORVADA C.",           "7.58",  "8.25",  "1.0",   0, 0},
    {19, 'S',  90,  90, "",        "  |", "S.Prot. ORVADA C.",    "",      "",      "",      0, 0},
    {20, 'T',   0,   0, "239.232", " / ", " VALDORNO",            "",      "8.27",  "1.0",   0, 0},
    {21, 'T',   0,   0, "237.832", " \\ "," CORTESELLA",          "",      "8.30",  "0.5",   0, 0},
    {22, 'P', 110,  95, "",        " /|", "Km.236,800",           "",      "",      "",    110, 0},
    {23, 'T',  80,  80, "233.407", " / ", " ROSTENA",             "",      "8.33",  "",     80, 2},
    {24, 'S',  90,  90, "",        " \\ ","Seg.Prot. ROSTENA",    "",      "",      "",      0, 0},
    {25, 'T',   0,   0, "228.825", "   ", " BASSANELLO",          "",      "8.37",  "",      0, 0},
    {26, 'T',   0,   0, "223.039", "/  ", " FONTEVIVA",           "",      "8.41",  "",      0, 1},
    {27, 'P', 120,  95, "",        "   ", "Cippo Km.220,000",     "",      "",      "",      0, 0},
    {28, 'T',   0,   0, "218.316", "   ", " SAN GERVASO",         "",      "8.44",  "",      0, 0},
    {29, 'T',   0,   0, "213.602", "   ", " MONTEROSSO",          "",      "8.47",  "",      0, 0},
    {30, 'P', 110,   0, "",        "   ", "Cippo Km.212,000",     "",      "",      "",      0, 0},
    {31, 'P', 120,   0, "",        "   ", "Cippo Km.210,000",     "",      "",      "",      0, 0},
    {32, 'T',  90,  90, "207.751", "   ", " CASTELLARO",          "",      "8.51",  "1.0",   0, 0},
    {33, 'P', 120,  95, "",        "   ", "Cippo Km.205,000",     "",      "",      "",      0, 0},
    {34, 'P',  80,  80, "",        "   ", "Cippo Km.202,000",     "",      "",      "",      0, 0},
    {35, 'T',   0,   0, "200.606", "   ", " PIANA DEI GELSI",     "",      "8.56",  "1.0",   0, 0},
    {36, 'P', 120,   0, "",        "   ", "Cippo Km.200,000",     "",      "",      "",      0, 0},
    {37, 'P',  80,   0, "",        "   ", "Cippo Km.198,000",     "",      "",      "",      0, 0},
    {38, 'F',   0,   0, "196.044", "   ", " LOVERETO",            "9.00",  "9.02",  "",      0, 0},
    {39, 'T',   0,   0, "190.586", "   ", "°PELVANO",             "",      "9.07",  "",      0, 0},
    {40, 'T',   0,   0, "185.494", "   ", " SERRAVOLTA",          "",      "9.11",  "",      0, 0},
    {41, 'T',   0,   0, "178.289", "   ", "°RIVASCURA",           "",      "9.16",  "",      0, 0},
    {42, 'F',  75,  75, "172.534", "   ", " BORGO ALTINO",        "9.21",  "9.23",  "",      0, 0},
    {43, 'S',  50,  50, "",        "   ", "S.Prot. ROCCAFORTE",   "",      "",      "",      0, 0},
    {44, 'F',  75,  60, "163.063", "   ", " ROCCAFORTE",          "9.32",  "9.34",  "",      0, 0},
    {45, 'F',  65,  65, "151.953", "   ", " MIRESCA",             "9.48½", "9.50½", "",      0, 0},
    {46, 'P',  80,  80, "",        "   ", "Culm.km.151,230",      "",      "",      "",      0, 0},
    {47, 'P',  75,  75, "",        "   ", "Cippo Km.149,000",     "",      "",      "",      0, 0},
    {48, 'T',   0,   0, "145.894", "   ", " COLLEVERDE",          "",      "9.57",  "",      0, 0},
    {49, 'F',  70,  70, "141.060", "   ", " SAN MAURO",           "10.03", "10.05", "",      0, 0},
    {50, 'S',  90,  80, "",        "   ", "Seg.Prot. SAN MAURO",  "",      "",      "",      0, 0},
    {51, 'T',  95,   0, "132.458", "   ", " PRATOLUNGO",          "",      "10.12", "",      0, 0},
    {52, 'P',  85,   0, "",        "   ", "C.C.Km.126,550",       "",      "",      "",      0, 0},
    {53, 'F',  60,  60, "125.773", "/  ", " VILLANOVA",           "10.20", "10.22", "1.0",   0, 1},
    {54, 'F',   0,   0, "132.107", "   ", " TESSALO C.",          "10.30", "10.32", "",      0, 0},
};
// clang-format on

// The row that the card's column rules give for `a`, in Windows-1252.
std::string riga_da_regole(const RigaAttesa& a) {
    std::string r(kConSpazioFinale.count(a.n) > 0 ? 97 : 96, ' ');
    for (const auto c : kBarreRiga) r[c] = '|';
    const auto da = [&r](std::size_t prima, const std::string& t) {
        r.replace(prima, t.size(), t);
    };
    const auto fino_a = [&r](std::size_t ultima, const std::string& t) {
        r.replace(ultima + 1 - t.size(), t.size(), t);
    };
    // A time is right-aligned on its minutes; the half minute takes the column after them.
    const auto ora = [&fino_a](std::size_t minuti, const char* testo) {
        const std::string t = in_cp1252(testo);
        fino_a(t.back() == '\xBD' ? minuti + 1 : minuti, t);
    };
    if (a.vmax != 0) fino_a(6, std::to_string(a.vmax));
    if (a.vmarc != 0) fino_a(12, std::to_string(a.vmarc));
    da(15, a.prog);
    for (const auto& [k, c] : {std::pair{0, 23}, {1, 25}, {2, 26}}) {
        if (a.segni[k] != ' ') r[static_cast<std::size_t>(c)] = a.segni[k];
    }
    const std::string localita = in_cp1252(a.localita);
    da(28, localita);
    if (a.genere == 'F') da(28 + localita.size(), std::string(20 - localita.size(), '.'));
    if (a.genere == 'F') ora(53, a.arrivo);
    if (a.genere == 'F') ora(62, a.orario);
    if (a.genere == 'T') ora(57, a.orario);
    if (*a.rec != '\0') fino_a(67, a.rec);
    if (a.bin_dx == 0) r[72] = '/';
    if (a.bin_dx != 0) fino_a(73, std::to_string(a.bin_dx));
    if (a.simbolo != 0) r[85] = static_cast<char>('0' + a.simbolo);
    return r;
}

TEST_F(SchedaTreno, OgniRigaDellOrarioMetteIValoriAlleLoroColonne) {
    ASSERT_EQ(std::size(kOrarioAtteso), 37u);
    for (const auto& a : kOrarioAtteso) EXPECT_EQ(riga(a.n), riga_da_regole(a)) << "riga " << a.n;
}

TEST_F(SchedaTreno, LeRigheEsemplariSonoQuelleDellaScheda) {
    const std::vector<std::pair<int, const char*>> esemplari = {
        {18,
         "  |  60 |  60 |240.714  | |  ORVADA C...........| 7.58     8.25 |1.0|   /  |             "
         "      |"},
        {45,
         "  |  65 |  65 |151.953  |    MIRESCA............| 9.48½    9.50½|   |   /  |             "
         "      |"},
        {39,
         "  |     |     |190.586  |   °PELVANO            |     9.07      |   |   /  |             "
         "      | "},
        {23,
         "  |  80 |  80 |233.407  |/   ROSTENA            |     8.33      |   |   80 |         2   "
         "      |"},
        {22,
         "  | 110 |  95 |         |/| Km.236,800          |               |   |  110 |             "
         "      |"},
        {27,
         "  | 120 |  95 |         |   Cippo Km.220,000    |               |   |   /  |             "
         "      |"},
        {46,
         "  |  80 |  80 |         |   Culm.km.151,230     |               |   |   /  |             "
         "      | "},
    };
    for (const auto& [n, testo] : esemplari) EXPECT_EQ(riga(n), in_cp1252(testo)) << "riga " << n;
}

TEST(StazioniScheda, SonoLeStazioniDelTrenoInOrdineDiPercorso) {
    const std::vector<std::string> attese = {
        "ORVADA C.",   "VALDORNO",   "CORTESELLA",   "ROSTENA",         "BASSANELLO", "FONTEVIVA",
        "SAN GERVASO", "MONTEROSSO", "CASTELLARO",   "PIANA DEI GELSI", "LOVERETO",   "PELVANO",
        "SERRAVOLTA",  "RIVASCURA",  "BORGO ALTINO", "ROCCAFORTE",      "MIRESCA",    "COLLEVERDE",
        "SAN MAURO",   "PRATOLUNGO", "VILLANOVA",    "TESSALO C."};
    const auto nomi = stazioni_scheda();
    EXPECT_EQ(nomi, attese);
    for (const auto& nome : nomi) EXPECT_LE(colonne_di(nome), 19u) << nome;
}

}  // namespace
}  // namespace brunavia
