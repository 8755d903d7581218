#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "compiler/descrizioni_in_memoria.h"
#include "compiler/lettore_campi.h"
#include "compiler/lettore_treno.h"
#include "compiler/memorizza.h"

namespace brunavia {
namespace {

constexpr std::size_t kUltima = 2540;           // a 120 km line: cells 0 ... 2540
constexpr std::int32_t kSenzaPosizione = 4242;  // left in place by errors without a position

Form1 linea_120_km() {
    Form1 f;
    f.celle.assign(kUltima + 1, {});
    return f;
}

// A description: "[generale]", the rows, then "[fine]" (the last line is never examined).
std::string descrizione(const std::vector<std::string>& righe) {
    std::string t = "[generale]\r\n";
    for (const auto& r : righe) t += r + "\r\n";
    return t + "[fine]\r\n";
}

void leggi(Form1& f, const std::vector<std::string>& righe, std::int32_t limite = 25) {
    leggi_descrizione_treno(f, descrizione(righe), limite);
}

std::string stazione(std::int32_t posizione, int codice, int lunghezza, int estensione) {
    return "stazione, " + std::to_string(posizione) + ", " + std::to_string(codice) + ", " +
           std::to_string(lunghezza) + ",  1, 1, " + std::to_string(estensione) +
           ",  4,1,0,  2,1,1,   60,   9,50,30, MIRESCA";
}

const std::string kPrimaStazione =
    "stazione,       0, 11,  800,  0, 1, 1,  1,1,0,  3,1,1,    1,   8,25, 0, ORVADA CENTRALE";
const std::string kSegnale1400 = "segnale,    1400,   1, 2, 3,  1, 0,    0,  0,0,0, 0";

std::string segnale(std::int32_t posizione) {
    return "segnale, " + std::to_string(posizione) + ", 1, 2, 3, 1, 0, 0, 0, 0, 0, 0";
}

// --- general rows and the reading loop ---

TEST(LettoreTreno, RigheGenerali) {
    Form1 f = linea_120_km();
    leggi(f, {"numero vetture,    8", "percentuale massa frenata,    105", "sabbia,    300",
              "orologio,    8               24            35 "});
    EXPECT_EQ(f.tabella[84].valore3, 8);
    EXPECT_EQ(f.tabella[84].valore1, 105);
    EXPECT_EQ(f.tabella[86].numero1, 300);
    EXPECT_EQ(f.tabella[86].numero3, 8);
    EXPECT_EQ(f.tabella[86].numero4, 24);
    EXPECT_EQ(f.tabella[86].numero5, 35);
    EXPECT_EQ(f.codice_errore, 0);
}

// Which fields are taken as keywords: sand and cars show what was read.
TEST(LettoreTreno, ParoleChiaveIntestazioniETrattini) {
    struct Caso {
        const char* testo;
        std::int16_t sabbia;
        std::int32_t vetture;
    };
    const Caso casi[] = {
        {"[generale]\r\nSABBIA, 7\r\n[fine]\r\n", 7, 0},
        {"[generale]\r\nNumero VETTURE, 3\r\n[fine]\r\n", 0, 3},
        // several keywords in one field: each handler runs, in table order (cars first)
        {"[generale]\r\nsabbia vetture, 3, 4\r\n[fine]\r\n", 4, 3},
        // section headers are no rows
        {"[generale]\r\n[aderenze]\r\n[vel_limite]\r\n[stazioni]\r\n[rallentamenti]\r\n"
         "[segnali]\r\nsabbia, 9\r\n[codici]\r\n[fine]\r\n",
         9, 0},
        // a header that contains a keyword is that row, and takes its number from the next line
        {"[generale]\r\n[vetture]\r\n3\r\n[fine]\r\n", 0, 3},
        // rows before the header are not read; the header is found in capitals too
        {"sabbia, 1\r\n[GENERALE]\r\nvetture, 2\r\n[fine]\r\n", 0, 2},
        {"sabbia, 1\r\nvetture, 2\r\n[fine]\r\n", 0, 0},
        // a dash field is replaced by the next field, at most twice in a row
        {"[generale]\r\n----------\r\nsabbia, 5\r\n[fine]\r\n", 5, 0},
        {"[generale]\r\n-, sabbia, 5\r\n[fine]\r\n", 5, 0},
        {"[generale]\r\n-\r\nsabbia-x, 5\r\n[fine]\r\n", 0, 0},
        {"[generale]\r\n-\r\n-\r\n-sabbia, 5\r\n[fine]\r\n", 5, 0},
        // the last field is never examined; a last line with its number is read
        {"[generale]\r\nvetture, 2\r\nsabbia\r\n", 0, 2},
        {"[generale]\r\nsabbia, 5\r\n", 5, 0},
        {"[generale]", 0, 0},
        {"", 0, 0},
    };
    for (const Caso& c : casi) {
        Form1 f = linea_120_km();
        leggi_descrizione_treno(f, c.testo, 25);
        EXPECT_EQ(f.tabella[86].numero1, c.sabbia) << c.testo;
        EXPECT_EQ(f.tabella[84].valore3, c.vetture) << c.testo;
        EXPECT_EQ(f.codice_errore, 0) << c.testo;
    }
}

TEST(LettoreTreno, SenzaGeneraleSoloIlPassoFinale) {
    Form1 f = linea_120_km();
    f.tabella[81].valore1 = 25;
    leggi_descrizione_treno(f, "velocita, 0, 60\r\nsabbia, 1\r\n", 25);
    EXPECT_EQ(f.codice_errore, 2);
    EXPECT_EQ(f.tabella[86].numero1, 0);
    EXPECT_EQ(f.celle[0].attributo4, 0);
}

// --- speed limit and adhesion fills ---

struct Tratto {
    std::size_t da, a;
    std::uint8_t valore;
};

void verifica_tratti(const Form1& f, std::uint8_t cella::*membro, const std::vector<Tratto>& tratti,
                     const std::string& caso) {
    std::vector<std::uint8_t> attese(f.celle.size(), 0);
    for (const Tratto& t : tratti) {
        for (std::size_t k = t.da; k <= t.a; ++k) attese[k] = t.valore;
    }
    for (std::size_t k = 0; k < f.celle.size(); ++k) {
        ASSERT_EQ(f.celle[k].*membro, attese[k]) << caso << ": cella " << k;
    }
}

TEST(LettoreTreno, RiempimentiDiVelocitaEAderenza) {
    struct Caso {
        const char* nome;
        std::vector<std::string> righe;
        std::uint8_t cella::*membro;
        std::vector<Tratto> tratti;
    };
    const std::vector<Caso> casi = {
        {"velocita come nel file fornito",
         {"velocita,       0,    60", "velocita,     750,    90", "velocita,    1400,    30",
          "VELOCITA,    2000,    60"},
         &cella::attributo4,
         {{0, 14, 12}, {15, 27, 18}, {28, 39, 6}, {40, kUltima - 3, 12}}},
        {"prima velocita oltre la cella 0",
         {"velocita, 500, 60"},
         &cella::attributo4,
         {{10, kUltima - 3, 12}}},
        {"la prima scrittura avviene sempre",
         {"velocita, 500, 60", "velocita, 500, 80", "velocita, 1000, 100"},
         &cella::attributo4,
         {{10, 10, 12}, {11, 19, 16}, {20, kUltima - 3, 20}}},
        {"aderenza, byte basso",
         {"aderenza,   0,    100", "Aderenza,     500,    90", "aderenza,    1000,   300"},
         &cella::attributo6,
         {{0, 9, 100}, {10, 19, 90}, {20, kUltima - 3, 44}}},
    };
    for (const Caso& c : casi) {
        Form1 f = linea_120_km();
        leggi(f, c.righe);
        EXPECT_EQ(f.codice_errore, 0) << c.nome;
        verifica_tratti(f, c.membro, c.tratti, c.nome);
    }
}

TEST(LettoreTreno, VelocitaInUnByteArrotondata) {
    struct Caso {
        std::int32_t velocita;
        std::optional<std::uint8_t> valore;  // nothing: the store fails
    };
    const Caso casi[] = {{62, 12},   {63, 13}, {1275, 255}, {1277, 255},
                         {1278, {}}, {-2, 0},  {-3, {}}};
    for (const Caso& c : casi) {
        Form1 f = linea_120_km();
        const auto testo = descrizione({"velocita, 0, " + std::to_string(c.velocita)});
        if (!c.valore) {
            EXPECT_THROW(leggi_descrizione_treno(f, testo, 25), ErroreLettura) << c.velocita;
            continue;
        }
        leggi_descrizione_treno(f, testo, 25);
        EXPECT_EQ(f.celle[0].attributo4, *c.valore) << c.velocita;
        EXPECT_EQ(f.celle[kUltima - 3].attributo4, *c.valore) << c.velocita;
    }
}

TEST(LettoreTreno, VelocitaFuoriByteFallisceAlMomentoDellaScrittura) {
    Form1 f = linea_120_km();
    EXPECT_THROW(leggi(f, {"velocita, 0, 1280", "sabbia, 7", "velocita, 500, 60", "vetture, 3"}),
                 ErroreLettura);
    EXPECT_EQ(f.tabella[86].numero1, 7);
    EXPECT_EQ(f.tabella[84].valore3, 0);
}

// 20 cells (N = 19): rows that do not advance still write one cell each, up to the cell before
// N; the end step's completion then writes cell N once.
TEST(LettoreTreno, RiempimentiNonOltreLUltimaCella) {
    Form1 f;
    f.celle.assign(20, {});
    std::vector<std::string> velocita(25, "velocita, 50, 10");
    leggi(f, velocita);
    EXPECT_EQ(f.codice_errore, 0);
    EXPECT_EQ(f.celle[0].attributo4, 0);
    for (std::size_t k = 1; k <= 18; ++k) EXPECT_EQ(f.celle[k].attributo4, 2) << k;
    EXPECT_EQ(f.celle[19].attributo4, 2) << "the end step writes the cell the rows left it on";

    Form1 g;
    g.celle.assign(20, {});
    std::vector<std::string> aderenza(20, "aderenza, 50, 80");
    leggi(g, aderenza);
    EXPECT_EQ(g.codice_errore, 0);
    EXPECT_EQ(g.celle[19].attributo6, 80);
    aderenza.push_back("aderenza, 50, 80");
    Form1 h;
    h.celle.assign(20, {});
    leggi(h, aderenza);
    EXPECT_EQ(h.codice_errore, 15) << "a fill that would start past cell N";
    EXPECT_EQ(h.posizione_errore, 50);
}

// A 29,825 m line has cells 0 ... 736. Rows at 36,700 m (cell 734) push the speed cursor one
// cell per row until it stands on cell 736, where the rows' fills stop; the end step still
// writes the last speed read into cell 736.
TEST(LettoreTreno, PassoFinaleScriveLaVelocitaNellUltimaCella) {
    Form1 f;
    DescrizioniInMemoria d(
        "[generale]\r\nlunghezza percorso, 29825\r\n[fine]\r\n",
        descrizione({"velocita, 0, 60", "velocita,36700,100", "velocita,36700,110",
                     "velocita,36700,120", "velocita,36700,130", "velocita,36700,140"}));
    ASSERT_TRUE(compila(f, 0, d));
    ASSERT_EQ(f.ultima_cella(), 736);
    EXPECT_EQ(f.codice_errore, 0);
    verifica_tratti(f, &cella::attributo4,
                    {{0, 733, 12}, {734, 734, 20}, {735, 735, 22}, {736, 736, 28}},
                    "cursore spinto fino alla cella N");
}

TEST(LettoreTreno, CelleMaiDimensionate) {
    Form1 f;
    leggi(f, {"aderenza, 0, 90", kPrimaStazione});
    EXPECT_EQ(f.codice_errore, 15);
    EXPECT_EQ(f.posizione_errore, 0);
}

// --- rows beyond the cells (error 15): the end step still runs ---

TEST(LettoreTreno, RigaOltreLeCelleChiudeConIlPassoFinale) {
    const std::pair<std::string, std::int32_t> casi[] = {
        {"velocita, 126901, 60", 126901},    {"aderenza, 126901, 90", 126901},
        {segnale(126901), 126901},           {"rallentamento, 126901, 30, 500, 0, 0, 0", 126901},
        {"abbattimento, 126901, 5", 126901}, {stazione(126250, 25, 400, 0), 126250},
    };
    for (const auto& [riga, posizione] : casi) {
        Form1 f = linea_120_km();
        leggi(f, {"velocita, 0, 60", riga, "sabbia, 7"});
        EXPECT_EQ(f.codice_errore, 15) << riga;
        EXPECT_EQ(f.posizione_errore, posizione) << riga;
        EXPECT_EQ(f.celle[0].attributo4, 12) << riga;
        EXPECT_EQ(f.celle[kUltima - 3].attributo4, 12) << riga;
        EXPECT_EQ(f.celle[kUltima - 2].attributo4, 0) << riga;
        EXPECT_EQ(f.tabella[86].numero1, 0) << riga << ": rows after it are not read";
    }
}

TEST(LettoreTreno, RigheAlLimiteDelleCelleAccettate) {
    Form1 f = linea_120_km();
    leggi(f, {"velocita, 126900, 60", "aderenza, 126900, 90", segnale(126900),
              "rallentamento, 126850, 30, 0, 0, 0, 0", "abbattimento, 126800, 5",
              stazione(126200, 25, 400, 0)});
    EXPECT_EQ(f.codice_errore, 0);
    EXPECT_EQ(f.celle[2539].tipo_cella, tipo::segnale);
    EXPECT_EQ(f.celle[2538].tipo_cella, tipo::inizio_rallentamento);
    EXPECT_EQ(f.celle[2536].tipo_cella, tipo::marcatore);
}

TEST(LettoreTreno, ProgressiveNonMultipleDi50) {
    Form1 f = linea_120_km();
    f.tabella[81].valore1 = 115050;
    f.tabella[82].valore2 = 240800;
    f.tabella[82].valore3 = 1;
    leggi(f, {"velocita, 0, 60"});
    EXPECT_EQ(f.codice_errore, 0);

    for (const auto& [riga, valore1, valore2] :
         {std::tuple{81, 25, 0}, std::tuple{82, 0, 240810}, std::tuple{83, 0, -30}}) {
        Form1 g = linea_120_km();
        g.tabella[static_cast<std::size_t>(riga)].valore1 = valore1;
        g.tabella[static_cast<std::size_t>(riga)].valore2 = valore2;
        leggi(g, {"velocita, 126901, 60"});
        EXPECT_EQ(g.codice_errore, 2) << "row " << riga << ": error 2 replaces 15";
        EXPECT_EQ(g.posizione_errore, 126901) << "error 2 records no position";
    }
}

// --- refusals: the reading stops at once, without the end step ---

TEST(LettoreTreno, RifiutiFermanoLaLettura) {
    struct Caso {
        std::vector<std::string> righe;
        std::int32_t codice;
        std::int32_t posizione;
        std::int32_t limite = 25;
    };
    const std::vector<Caso> casi = {
        {{segnale(950), "abbattimento, 1000, 5"}, 7, 1000},
        {{stazione(125, 11, 400, 0)}, 8, 125},
        {{stazione(5000, 11, 450, 0)}, 9, 5000},
        {{kPrimaStazione, stazione(44700, 11, 400, 0)}, 10, kSenzaPosizione, 3},
        {{kPrimaStazione}, 10, kSenzaPosizione, 0},
        {{segnale(-500)}, 15, -500},
        {{"rallentamento, 120000, 30, 10000, 0, 0, 0"}, 15, 120000},
        {{"abbattimento, -100, 5"}, 15, -100},
        {{stazione(126200, 7, 1000, 0)}, 15, 126200},  // type-10 cell past the last cell
        {{kSegnale1400, segnale(1410)}, 16, 1410},
        {{segnale(1800), "rallentamento, 3000, 50, 1000, 7, 0, 0"}, 17, 3000},
        {{segnale(3000), "rallentamento, 3000, 50, 1000, 7, 0, 0"}, 18, 3000},
        {{segnale(4000), "rallentamento, 3000, 50, 1000, 7, 0, 0"}, 19, 3000},
        {{segnale(1650), "rallentamento, 3000, 50, 1000, 7, 1, 0"}, 20, 3000},
        {{stazione(5000, 11, 400, 0), stazione(5700, 11, 400, 0)}, 22, 5700},
        {{stazione(0, 11, 200, 0)}, 24, kSenzaPosizione},
    };
    for (const Caso& c : casi) {
        Form1 f = linea_120_km();
        f.posizione_errore = kSenzaPosizione;
        std::vector<std::string> righe = {"velocita, 0, 60"};
        righe.insert(righe.end(), c.righe.begin(), c.righe.end());
        righe.push_back("sabbia, 7");
        leggi(f, righe, c.limite);
        const std::string caso = c.righe.back();
        EXPECT_EQ(f.codice_errore, c.codice) << caso;
        EXPECT_EQ(f.posizione_errore, c.posizione) << caso;
        EXPECT_EQ(f.celle[0].attributo4, 0) << caso << ": the end step does not run";
        EXPECT_EQ(f.tabella[86].numero1, 0) << caso << ": rows after it are not read";
    }
}

TEST(LettoreTreno, ErroreRegistratoPrimaNonFermaIlLettore) {
    Form1 f = linea_120_km();
    f.registra_errore(15, 126901);  // left by the line reader
    leggi(f, {kSegnale1400, "sabbia, 7"});
    EXPECT_EQ(f.celle[29].tipo_cella, tipo::segnale);
    EXPECT_EQ(f.tabella[86].numero1, 7);
    EXPECT_EQ(f.codice_errore, 15);
    EXPECT_EQ(f.posizione_errore, 126901);
}

TEST(LettoreTreno, PosaDaiRighe) {
    Form1 f = linea_120_km();
    leggi(f, {kSegnale1400, "rallentamento, 1550, 60, 1000, 7, 1, 0", "abbattimento, 5000, 0"});
    EXPECT_EQ(f.codice_errore, 0);
    EXPECT_EQ(f.celle[29].dato3, 3);
    EXPECT_EQ(f.celle[21].attributo2, 34);
    EXPECT_EQ(f.celle[8].tipo_cella, tipo::avviso_rallentamento);
    EXPECT_EQ(f.celle[32].dato2, 7);
    EXPECT_EQ(f.celle[4].tipo_cella, tipo::prima_dell_avviso);
    EXPECT_EQ(f.celle[100].tipo_cella, tipo::abbattimento_nullo);
}

// --- stations ---

TEST(LettoreTreno, PrimaStazione) {
    Form1 f = linea_120_km();
    leggi(f, {kPrimaStazione});
    ASSERT_EQ(f.codice_errore, 0);
    const voce& v = f.tabella[1];
    EXPECT_EQ(v.valore3, 0);
    EXPECT_EQ(v.segno, 11);
    EXPECT_EQ(v.valore1, -400);
    EXPECT_EQ(v.valore2, 450) << "the first station keeps its 50 m extension";
    EXPECT_EQ(v.segno2, 0);
    EXPECT_EQ(v.opzione4, 0);
    EXPECT_EQ(v.opzione3, 0);
    EXPECT_EQ(v.numero1, 1);
    EXPECT_EQ(v.numero2, 1);
    EXPECT_EQ(v.opzione1, 0);
    EXPECT_EQ(v.numero3, 3);
    EXPECT_EQ(v.numero4, 1);
    EXPECT_EQ(v.numero5, 1);
    EXPECT_EQ(v.opzione2, 1);
    EXPECT_EQ(v.codice, 8 * 3600 + 25 * 60);
    EXPECT_EQ(v.testo, "ORVADA CENTRALE");
    EXPECT_EQ(f.celle[8].tipo_cella, tipo::fine_stazione);
    EXPECT_EQ(f.celle[8].dato0, 1);
    for (std::size_t k = 4; k <= 7; ++k) EXPECT_EQ(f.celle[k].attributo2, 88 - k) << k;
}

TEST(LettoreTreno, ZonaDiStazionePerCodice) {
    struct Caso {
        int codice, lunghezza, estensione;
        std::int32_t inizio, fine;
        std::uint8_t opzione3, opzione4;
        std::int64_t cella10;  // -1: cells untouched
        bool segni;
    };
    const Caso casi[] = {
        {11, 400, 0, 44500, 44900, 0, 0, 897, true}, {11, 400, 1, 44500, 44950, 1, 0, 898, true},
        {12, 600, 0, 44400, 45000, 0, 1, 899, true}, {5, 400, 1, 44300, 44850, 0, 0, 896, false},
        {6, 600, 1, 44100, 44850, 0, 1, 896, false}, {7, 400, 1, 44300, 45100, 0, 0, 901, true},
        {8, 600, 0, 44100, 45300, 0, 1, 905, true},  {25, 400, 0, 44500, 44900, 0, 0, -1, false},
        {28, 800, 1, 44300, 45150, 1, 1, -1, false},
    };
    for (const Caso& c : casi) {
        Form1 f = linea_120_km();
        leggi(f, {kPrimaStazione, stazione(44700, c.codice, c.lunghezza, c.estensione)});
        const std::string caso = "codice " + std::to_string(c.codice);
        ASSERT_EQ(f.codice_errore, 0) << caso;
        const voce& v = f.tabella[2];
        EXPECT_EQ(v.valore3, 44700) << caso;
        EXPECT_EQ(v.valore1, c.inizio) << caso;
        EXPECT_EQ(v.valore2, c.fine) << caso;
        EXPECT_EQ(v.opzione3, c.opzione3) << caso;
        EXPECT_EQ(v.opzione4, c.opzione4) << caso;
        EXPECT_EQ(v.codice, 9 * 3600 + 50 * 60 + 30) << caso;
        EXPECT_EQ(v.opzione2, 60) << caso;
        EXPECT_EQ(v.testo, "MIRESCA") << caso;
        std::size_t tipizzate = 0;
        for (std::size_t k = 9; k < f.celle.size(); ++k) {
            if (f.celle[k].tipo_cella != 0 || f.celle[k].attributo2 != 0) ++tipizzate;
        }
        if (c.cella10 < 0) {
            EXPECT_EQ(tipizzate, 0u) << caso;
            continue;
        }
        const auto k10 = static_cast<std::size_t>(c.cella10);
        EXPECT_EQ(f.celle[k10].tipo_cella, tipo::fine_stazione) << caso;
        EXPECT_EQ(f.celle[k10].dato0, 2) << caso;
        EXPECT_EQ(tipizzate, c.segni ? 5u : 1u) << caso;
        if (c.segni) {
            EXPECT_EQ(f.celle[k10 - 4].attributo2, 84) << caso;
        }
    }
}

TEST(LettoreTreno, DistanzaMinimaELimiteDelleStazioni) {
    Form1 f = linea_120_km();
    leggi(f, {stazione(5000, 11, 400, 0), stazione(5750, 11, 400, 0)});
    EXPECT_EQ(f.codice_errore, 0) << "start - 350 equal to the previous end is accepted";

    std::vector<std::string> righe;
    for (std::int32_t i = 0; i < 23; ++i) righe.push_back(stazione(1000 + 5000 * i, 11, 400, 0));
    Form1 g = linea_120_km();
    leggi(g, righe);
    EXPECT_EQ(g.codice_errore, 0) << "23 stations below board row 25";
    EXPECT_EQ(g.tabella[23].valore3, 111000);

    righe.push_back(stazione(116000, 11, 400, 0));
    Form1 h = linea_120_km();
    h.tabella[26].testo = "(F)";
    leggi(h, righe);
    EXPECT_EQ(h.codice_errore, 10);
    EXPECT_EQ(h.tabella[24].valore3, 116000);
    EXPECT_EQ(h.tabella[26].testo, "(F)");

    Form1 k = linea_120_km();
    k.tabella[1].testo = "(F)";  // a board already in row 1: no row left for a station
    leggi(k, {kPrimaStazione}, 0);
    EXPECT_EQ(k.codice_errore, 10);
    EXPECT_EQ(k.tabella[1].testo, "(F)");
    EXPECT_EQ(k.celle[8].tipo_cella, tipo::libera);
}

// --- the train half of the compile and its clean-up ---

struct DescrizioniInMemoria : Descrizioni {
    std::optional<std::string> testo_linea;
    std::optional<std::string> testo_treno;
    const std::optional<std::string>& linea() override { return testo_linea; }
    const std::optional<std::string>& treno() override { return testo_treno; }
    void elimina_linea() override { testo_linea.reset(); }
    void elimina_treno() override { testo_treno.reset(); }
};

TEST(MemorizzaTreno, IlFileDelTrenoNonSopravvive) {
    const std::pair<std::vector<std::string>, std::int32_t> casi[] = {
        {{kSegnale1400}, 0},
        {{"velocita, 126901, 60"}, 15},
        {{kSegnale1400, kSegnale1400}, 16},
    };
    for (const auto& [righe, codice] : casi) {
        Form1 f = linea_120_km();
        DescrizioniInMemoria d;
        d.testo_treno = descrizione(righe);
        memorizza_treno(f, d, 25);
        EXPECT_EQ(f.codice_errore, codice) << righe.back();
        EXPECT_FALSE(d.testo_treno.has_value()) << righe.back();
    }
}

TEST(MemorizzaTreno, ErroriDiLetturaCancellanoEntrambiIFile) {
    const std::optional<std::string> casi[] = {
        std::nullopt,                                // train file missing
        descrizione({"sabbia, abc"}),                // not a number
        descrizione({"sabbia, 40000"}),              // beyond 16 bits
        "[generale]\r\nsegnale, 1400, 1, 2\r\n",     // reading past the end
        descrizione({stazione(5000, 300, 400, 0)}),  // type code beyond 8 bits
        descrizione({"stazione, 5000, 11, 400, 0,0,0, 0,0,0, 0,0,0, 0, 600000,0,0, X"}),
        descrizione({"stazione, -2147483600, 11, 800, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X"}),
        descrizione({"velocita, 0, 1280"}),  // fails in the end step
        descrizione({"segnale, 1400, 1, 2, 3, 1, 300000000, 0, 0, 0, 0, 0"}),
    };
    for (const auto& testo : casi) {
        Form1 f = linea_120_km();
        f.posizione_errore = kSenzaPosizione;
        DescrizioniInMemoria d;
        d.testo_linea = "ancora qui";
        d.testo_treno = testo;
        memorizza_treno(f, d, 25);
        const std::string caso = testo.value_or("(mancante)");
        EXPECT_EQ(f.codice_errore, 25) << caso;
        EXPECT_EQ(f.posizione_errore, kSenzaPosizione) << caso;
        EXPECT_FALSE(d.testo_linea.has_value()) << caso;
        EXPECT_FALSE(d.testo_treno.has_value()) << caso;
    }
}

}  // namespace
}  // namespace brunavia
