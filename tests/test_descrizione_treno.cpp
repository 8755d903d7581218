// The train description's list: layout and field widths, telling rows, the route's stations,
// value rules, and the facts that keep signals, stations and the line's boards from colliding
// in the track cells. Values are re-read from the formatted text of both descriptions.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/lettore_campi.h"
#include "compiler/modello.h"
#include "compiler/numeri.h"
#include "tests/aiuti.h"
#include "tests/campi_riga.h"
#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"

namespace brunavia {
namespace {

using prova::Campi;
using prova::campi;
using prova::grezzi;
using prova::numero;
using prova::senza_spazi;

std::vector<std::string> senza_marcatore(std::vector<std::string> lista) {
    lista.pop_back();
    return lista;
}

// The rows of a section, as fields, from its header up to the next header.
std::vector<Campi> sezione(const std::vector<std::string>& righe, std::string_view intestazione) {
    auto it = std::find(righe.begin(), righe.end(), intestazione);
    std::vector<Campi> out;
    if (it == righe.end()) {
        ADD_FAILURE() << "manca " << intestazione;
        return out;
    }
    for (++it; it != righe.end() && !it->starts_with("["); ++it) out.push_back(campi(*it));
    return out;
}

std::vector<Campi> del_treno(std::string_view intestazione) {
    return sezione(senza_marcatore(righe_treno()), intestazione);
}

// Field indices of the station rows.
enum CampoStazione : std::size_t {
    kPosizione = 1,
    kTipo = 2,
    kLunghezza = 3,
    kEstensione = 6,
    kSosta = 13,
    kOre = 14,
    kNome = 17,
};

// The zone of a station as the train reader computes it.
struct Zona {
    std::int64_t inizio;
    std::int64_t fine;
};
Zona zona(const Campi& r) {
    const std::int64_t posizione = numero(r[kPosizione]);
    const std::int64_t tipo = numero(r[kTipo]);
    const std::int64_t lunghezza = numero(r[kLunghezza]);
    if (tipo == 5 || tipo == 6) return {posizione - lunghezza, posizione + 150};
    if (tipo == 7 || tipo == 8) return {posizione - lunghezza, posizione + lunghezza};
    const double meta = static_cast<double>(lunghezza) / 2.0;
    const std::int64_t estensione = numero(r[kEstensione]) != 0 ? 50 : 0;
    return {arrotonda_pari(static_cast<double>(posizione) - meta),
            arrotonda_pari(static_cast<double>(posizione) + meta) + estensione};
}

// Codes 25 and above are junctions: the compiler marks no cell for them.
bool segna_le_celle(const Campi& r) {
    return numero(r[kTipo]) < 25;
}

// The last cell before a station's zone end, which becomes the station's mark.
std::int64_t cella_fine_stazione(const Campi& r) {
    return arrotonda_pari(static_cast<double>(zona(r).fine) / 50.0 - 1.0);
}

std::int64_t cella_segnale(const Campi& r) {
    return cella_dopo(static_cast<double>(numero(r[1])));
}

// The cells of the line's maximum-speed and indication boards.
std::map<std::int64_t, std::string> celle_dei_cartelli() {
    const auto linea = senza_marcatore(righe_linea());
    std::map<std::int64_t, std::string> out;
    for (const std::string intestazione : {"[cartelli]", "[indicazioni]"}) {
        for (const auto& r : sezione(linea, intestazione)) {
            out[cella_dopo(static_cast<double>(numero(r[1])))] = r[0] + " " + r[1];
        }
    }
    return out;
}

std::int64_t ultima_cella() {
    const auto lunghezza = numero(campi(righe_linea()[1])[1]);
    return cella_di(static_cast<double>(lunghezza + 7000));
}

TEST(DescrizioneTreno, ListaDi140RigheConIlMarcatoreSoloInFondo) {
    const auto lista = righe_treno();
    ASSERT_EQ(lista.size(), 141u);
    EXPECT_EQ(lista.back(), kMarcatoreFine);
    EXPECT_EQ(std::count(lista.begin(), lista.end(), kMarcatoreFine), 1);
    const std::vector<std::string> generali = {
        "[generale]",
        "numero vetture,    8",
        "percentuale massa frenata,    105",
        "sabbia,    300",
        "orologio,    8" + std::string(15, ' ') + "24" + std::string(12, ' ') + "35 ",
    };
    EXPECT_EQ(std::vector<std::string>(lista.begin(), lista.begin() + 5), generali);
}

// Every section: its header's line index, its row count, and each field right-aligned in its
// width after the comma (0: a text or a value after exactly one space).
TEST(DescrizioneTreno, SezioniAlLoroPostoConConteggiELarghezzeDeiCampi) {
    struct Caso {
        std::string intestazione;
        std::size_t indice;
        std::size_t righe;
        std::string chiave;
        std::vector<std::size_t> larghezze;
        bool prima_a_parte;  // the first row has its own spacing, checked verbatim elsewhere
    };
    const std::vector<Caso> casi = {
        {"[aderenze]", 5, 37, "aderenza", {8, 6}, true},
        {"[vel_limite]", 43, 24, "velocita", {8, 6}, false},
        {"[stazioni]",
         68,
         23,
         "stazione",
         {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2, 0},
         false},
        {"[rallentamenti]", 92, 0, "", {}, false},
        {"[segnali]", 93, 44, "segnale", {8, 4, 2, 2, 3, 2, 5, 3, 1, 1, 0}, false},
        {"[codici]", 138, 0, "", {}, false},
        {"[fine]", 139, 0, "", {}, false},
    };
    const std::regex numero_allineato(R"( *-?\d+)");
    const std::regex dopo_uno_spazio(R"( [^ ].*)");
    const auto righe = senza_marcatore(righe_treno());
    ASSERT_EQ(righe.size(), 140u);
    for (const auto& c : casi) {
        SCOPED_TRACE(c.intestazione);
        ASSERT_EQ(righe[c.indice], c.intestazione);
        std::size_t n = 0;
        for (auto i = c.indice + 1; i < righe.size() && !righe[i].starts_with("["); ++i, ++n) {
            const auto f = grezzi(righe[i]);
            ASSERT_EQ(f.size(), c.larghezze.size() + 1) << righe[i];
            EXPECT_EQ(f[0], c.chiave);
            if (n == 0 && c.prima_a_parte) continue;
            for (std::size_t k = 0; k < c.larghezze.size(); ++k) {
                const auto& campo = f[k + 1];
                if (c.larghezze[k] == 0) {
                    EXPECT_TRUE(std::regex_match(campo, dopo_uno_spazio)) << righe[i];
                } else {
                    EXPECT_EQ(campo.size(), c.larghezze[k])
                        << "campo " << k + 1 << ": " << righe[i];
                    EXPECT_TRUE(std::regex_match(campo, numero_allineato)) << righe[i];
                }
            }
        }
        EXPECT_EQ(n, c.righe);
    }
}

TEST(DescrizioneTreno, RigheTestimoniAlLoroPostoParolaPerParola) {
    struct Caso {
        std::string riga;
        int indice;  // -1: anywhere in its section
    };
    const std::vector<Caso> casi = {
        {"aderenza,   0,    100", 6},
        {"aderenza,   78150,    90", -1},
        {"aderenza,   78500,    72", -1},
        {"aderenza,  115650,    65", -1},
        {"aderenza,  120800,   100", 42},
        {"velocita,       0,    60", 44},
        {"velocita,     750,    90", 45},
        {"velocita,    1400,    30", 46},
        {"velocita,   20650,   120", -1},
        {"velocita,  115450,    60", 67},
        {"stazione,       0, 11,  800,  0, 1, 1,  1,1,0,  3,1,1,    1,   8,25, 0, ORVADA CENTRALE",
         69},
        {"stazione,    7350, 11,  600,  1, 0, 0,  4,1,0,  2,1,1,    0,   0, 0, 0, ROSTENA", 72},
        {"stazione,   88800, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,   60,   9,50,30, MIRESCA", 85},
        {"stazione,  121400, 12,  600,  0, 0, 0,  1,1,0,  2,1,1,    0,  10,30, 0, TESSALO C.", 91},
        {"segnale,    1400,   1, 2, 3,  1, 0,    0,  0,0,0, 0", 94},
        {"segnale,    5600,   1, 5, 6,  0, 0,    1,  3,1,0, 0", -1},
        {"segnale,    6600,   2, 2, 4,  0, 0,    2,  2,1,0, 0", -1},
        {"segnale,   87900,   2, 3, 1,  0, 0,    0,  0,0,0, 255", -1},
    };
    const auto righe = senza_marcatore(righe_treno());
    for (const auto& c : casi) {
        const auto it = std::find(righe.begin(), righe.end(), c.riga);
        ASSERT_NE(it, righe.end()) << c.riga;
        EXPECT_EQ(std::count(righe.begin(), righe.end(), c.riga), 1) << c.riga;
        if (c.indice >= 0) {
            EXPECT_EQ(it - righe.begin(), c.indice) << c.riga;
        }
    }
}

// Adhesion, speed-limit and signal rows: positions strictly rising, multiples of 50, from the
// first to the last position named; the first value (percent, km/h, left indication) in range.
TEST(DescrizioneTreno, PosizioniCrescentiEValoriNeiLimiti) {
    struct Caso {
        std::string intestazione;
        std::int64_t prima;
        std::int64_t ultima;
        std::int64_t minimo;
        std::int64_t massimo;
        std::int64_t multiplo;
    };
    const std::vector<Caso> casi = {
        {"[aderenze]", 0, 120800, 65, 100, 1},
        {"[vel_limite]", 0, 115450, 30, 120, 5},
        {"[segnali]", 1400, 120700, 1, 2, 1},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.intestazione);
        const auto righe = del_treno(c.intestazione);
        ASSERT_FALSE(righe.empty());
        EXPECT_EQ(numero(righe.front()[1]), c.prima);
        EXPECT_EQ(numero(righe.back()[1]), c.ultima);
        std::int64_t precedente = -1;
        for (const auto& r : righe) {
            const std::int64_t posizione = numero(r[1]);
            const std::int64_t valore = numero(r[2]);
            EXPECT_GT(posizione, precedente);
            EXPECT_EQ(posizione % 50, 0) << posizione;
            EXPECT_GE(valore, c.minimo) << posizione;
            EXPECT_LE(valore, c.massimo) << posizione;
            EXPECT_EQ(valore % c.multiplo, 0) << posizione;
            precedente = posizione;
        }
    }
}

// The route's stations, in the order of the train card, with their stop values and times:
// departures at the origin and the intermediate stops, arrival at the terminus, 0 elsewhere.
TEST(DescrizioneTreno, StazioniDelPercorsoConSosteEOrari) {
    struct Caso {
        std::string nome;
        std::int64_t posizione;
        std::int64_t sosta;
        std::vector<std::int64_t> orario;
    };
    const std::vector<std::int64_t> passa = {0, 0, 0};
    const std::vector<Caso> casi = {
        {"ORVADA CENTRALE", 0, 1, {8, 25, 0}},   {"VALDORNO", 1500, 0, passa},
        {"CORTESELLA", 2900, 0, passa},          {"ROSTENA", 7350, 0, passa},
        {"BASSANELLO", 11900, 0, passa},         {"FONTEVIVA", 17700, 0, passa},
        {"SAN GERVASO", 22400, 0, passa},        {"MONTEROSSO", 27100, 0, passa},
        {"CASTELLARO", 32950, 0, passa},         {"PIANA DEI GELSI", 40100, 0, passa},
        {"LOVERETO", 44650, 60, {9, 2, 0}},      {"PELVANO", 50150, 0, passa},
        {"SERRAVOLTA", 55200, 0, passa},         {"RIVASCURA", 62400, 0, passa},
        {"BORGO ALTINO", 68200, 60, {9, 23, 0}}, {"ROCCAFORTE", 77650, 60, {9, 34, 0}},
        {"MIRESCA", 88800, 60, {9, 50, 30}},     {"COLLEVERDE", 94800, 0, passa},
        {"SAN MAURO", 99650, 60, {10, 5, 0}},    {"PRATOLUNGO", 108250, 0, passa},
        {"VILLANOVA", 114950, 60, {10, 22, 0}},  {"BIVIO CALVINA", 118200, 0, passa},
        {"TESSALO C.", 121400, 0, {10, 30, 0}},
    };
    const auto righe = del_treno("[stazioni]");
    ASSERT_EQ(righe.size(), casi.size());
    for (std::size_t i = 0; i < casi.size(); ++i) {
        const auto& r = righe[i];
        const auto& c = casi[i];
        EXPECT_EQ(r[kNome], c.nome);
        EXPECT_EQ(numero(r[kPosizione]), c.posizione) << c.nome;
        EXPECT_EQ(numero(r[kSosta]), c.sosta) << c.nome;
        const std::vector<std::int64_t> orario = {numero(r[kOre]), numero(r[kOre + 1]),
                                                  numero(r[kOre + 2])};
        EXPECT_EQ(orario, c.orario) << c.nome;
    }
}

// Each numeric station field within the values the compiler and the simulator know; junctions
// (codes 25 and 28) carry zeros from the fourth field on.
TEST(DescrizioneTreno, StazioniConValoriAmmessi) {
    const std::vector<std::set<std::int64_t>> ammessi = {
        {11, 12, 21, 22, 25, 28},  // type code
        {200, 300, 400, 500, 600, 700, 800},
        {0, 1},
        {0, 1},
        {0, 1},
        {0, 1, 4},
        {0, 1},
        {0},
        {0, 2, 3, 4},
        {0, 1},
        {0, 1},
        {0, 1, 60},
        {0, 8, 9, 10},
    };
    for (const auto& r : del_treno("[stazioni]")) {
        SCOPED_TRACE(r[kNome]);
        for (std::size_t k = 0; k < ammessi.size(); ++k) {
            EXPECT_TRUE(ammessi[k].contains(numero(r[kTipo + k]))) << "campo " << kTipo + k;
        }
        EXPECT_LE(numero(r[kOre + 1]), 59);
        EXPECT_TRUE(numero(r[kOre + 2]) == 0 || numero(r[kOre + 2]) == 30);
        if (!segna_le_celle(r)) {
            for (std::size_t k = 4; k <= 16; ++k) EXPECT_EQ(numero(r[k]), 0) << "campo " << k;
        }
        // The compiler keeps the second flag only for zones of 600 m and more.
        if (numero(r[kLunghezza]) < 600) {
            EXPECT_EQ(numero(r[5]), 0);
        }
    }
}

TEST(DescrizioneTreno, SegnaliConValoriAmmessiEUnSoloTempo255) {
    const std::vector<std::set<std::int64_t>> ammessi = {
        {1, 2}, {2, 3, 4, 5}, {0, 1, 3, 4, 6}, {0, 1}, {0}, {0, 1, 2}, {0, 2, 3}, {0, 1}, {0},
    };
    std::vector<std::int64_t> con_tempo;
    for (const auto& r : del_treno("[segnali]")) {
        SCOPED_TRACE(r[1]);
        for (std::size_t k = 0; k < ammessi.size(); ++k) {
            EXPECT_TRUE(ammessi[k].contains(numero(r[k + 2]))) << "campo " << k + 2;
        }
        const std::int64_t tempo = numero(r[11]);
        EXPECT_TRUE(tempo == 0 || tempo == 255);
        if (tempo != 0) con_tempo.push_back(numero(r[1]));
    }
    EXPECT_EQ(con_tempo, std::vector<std::int64_t>{87900});
}

// Facts that keep the compile clean. A signal needs a free cell: not a board's, not another
// signal's, not the mark at a station's zone end.
TEST(DescrizioneTreno, SegnaliNonSulleCelleDeiCartelli) {
    const auto cartelli = celle_dei_cartelli();
    for (const auto& r : del_treno("[segnali]")) {
        const auto it = cartelli.find(cella_segnale(r));
        EXPECT_EQ(it, cartelli.end()) << "segnale " << r[1] << " su " << it->second;
    }
}

TEST(DescrizioneTreno, SegnaliSuCelleDistinte) {
    std::map<std::int64_t, std::string> occupate;
    for (const auto& r : del_treno("[segnali]")) {
        const auto [it, nuova] = occupate.emplace(cella_segnale(r), r[1]);
        EXPECT_TRUE(nuova) << "segnale " << r[1] << " sulla cella del segnale " << it->second;
    }
}

TEST(DescrizioneTreno, SegnaliNonSullaCellaDiFineDiUnaStazione) {
    std::map<std::int64_t, std::string> fini;
    for (const auto& r : del_treno("[stazioni]")) {
        if (segna_le_celle(r)) fini[cella_fine_stazione(r)] = r[kNome];
    }
    for (const auto& r : del_treno("[segnali]")) {
        const auto it = fini.find(cella_segnale(r));
        EXPECT_EQ(it, fini.end()) << "segnale " << r[1] << " sulla fine di " << it->second;
    }
}

// Station marks overwrite whatever the cell holds, so a board there would be lost; a zone end
// at 100 m or less has no cell for its mark.
TEST(DescrizioneTreno, FineDiStazioneNonSuUnCartello) {
    const auto cartelli = celle_dei_cartelli();
    for (const auto& r : del_treno("[stazioni]")) {
        if (!segna_le_celle(r)) continue;
        const std::int64_t cella = cella_fine_stazione(r);
        EXPECT_GT(cella, 1) << r[kNome];
        const auto it = cartelli.find(cella);
        EXPECT_EQ(it, cartelli.end()) << r[kNome] << " finisce su " << it->second;
    }
}

TEST(DescrizioneTreno, StazioniAlmeno350MetriDopoLaFinePrecedente) {
    const auto righe = del_treno("[stazioni]");
    for (std::size_t i = 1; i < righe.size(); ++i) {
        EXPECT_GE(zona(righe[i]).inizio - 350, zona(righe[i - 1]).fine) << righe[i][kNome];
    }
    // The origin's zone as the compiler computes it: 800 m and the 50 m extension.
    ASSERT_FALSE(righe.empty());
    EXPECT_EQ(zona(righe[0]).inizio, -400);
    EXPECT_EQ(zona(righe[0]).fine, 450);
}

// The reader refuses a row whose (position + 100) / 50 passes the last cell; + 800 for
// stations.
TEST(DescrizioneTreno, OgniRigaEntroLeCelleDelPercorso) {
    const double ultima = static_cast<double>(ultima_cella());
    for (const std::string intestazione : {"[aderenze]", "[vel_limite]", "[segnali]"}) {
        for (const auto& r : del_treno(intestazione)) {
            EXPECT_LE((static_cast<double>(numero(r[1])) + 100.0) / 50.0, ultima) << r[1];
        }
    }
    for (const auto& r : del_treno("[stazioni]")) {
        EXPECT_LE((static_cast<double>(numero(r[1])) + 800.0) / 50.0, ultima) << r[kNome];
        EXPECT_LE(cella_fine_stazione(r), ultima_cella()) << r[kNome];
    }
}

// Stations fill the scenario table's rows from 1 upward and the line's board texts from 80
// downward; the reader refuses a station once its next row reaches the first board row.
TEST(DescrizioneTreno, StazioniEntroLeRigheLibereDellaTabella) {
    const auto linea = senza_marcatore(righe_linea());
    const auto cartelli = static_cast<std::int64_t>(sezione(linea, "[indicazioni]").size());
    const std::int64_t limite =
        static_cast<std::int64_t>(riga_tabella::prima_indicazione) - cartelli;
    const auto stazioni = static_cast<std::int64_t>(del_treno("[stazioni]").size());
    EXPECT_LT(stazioni + 1, limite);
    EXPECT_LE(stazioni, 23);
}

// Read back field by field, each row gives its keyword, exactly its numbers (the clock's three
// values are separated by spaces alone) and the station name, and leaves the reader at the
// start of the next line.
TEST(DescrizioneTreno, SiRileggeCampoPerCampoRigaPerRiga) {
    prova::verifica_rilettura(senza_marcatore(righe_treno()),
                              {
                                  {"numero vetture", 1, false},
                                  {"percentuale massa frenata", 1, false},
                                  {"sabbia", 1, false},
                                  {"orologio", 3, false, {8, 24, 35}},
                                  {"aderenza", 2, false},
                                  {"velocita", 2, false},
                                  {"stazione", 16, true},
                                  {"segnale", 11, false},
                                  {"[", 0, false},
                              });
}

TEST(DescrizioneTreno, DatiTrenoSostituisceIlFileCon140Righe) {
    const auto scritto = prova::scrivi_e_rileggi(dati_treno, "Brunavia_706-.txt");
    EXPECT_EQ(scritto.righe, senza_marcatore(righe_treno()));
    EXPECT_EQ(scritto.indice, 140);
}

}  // namespace
}  // namespace brunavia
