// The line description's list: layout, telling rows, value rules and the facts that keep its
// features from colliding in the track cells. Values are re-read from the formatted text, so a
// formatter fault shows up as well as a fault in the tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <map>
#include <regex>
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

// The written lines (the list without its end marker).
std::vector<std::string> righe_scritte() {
    auto righe = righe_linea();
    righe.pop_back();
    return righe;
}

// The rows of the section that starts with `intestazione`, as fields, up to the next header.
std::vector<Campi> sezione(std::string_view intestazione) {
    const auto righe = righe_scritte();
    auto it = std::find(righe.begin(), righe.end(), intestazione);
    std::vector<Campi> out;
    if (it == righe.end()) {
        ADD_FAILURE() << "manca " << intestazione;
        return out;
    }
    for (++it; it != righe.end() && !it->starts_with("["); ++it) out.push_back(campi(*it));
    return out;
}

int lunghezza_percorso() {
    return static_cast<int>(numero(campi(righe_scritte()[1])[1]));
}
std::int64_t ultima_cella() {
    return cella_di(lunghezza_percorso() + 7000);
}

// The board texts' groups: "(P.L.      )(Km 232+835)" gives {"P.L.      ", "Km 232+835"}.
std::vector<std::string> gruppi(const std::string& testo) {
    std::vector<std::string> out;
    static const std::regex gruppo(R"(\(([^()]*)\))");
    for (auto it = std::sregex_iterator(testo.begin(), testo.end(), gruppo);
         it != std::sregex_iterator(); ++it) {
        out.push_back((*it)[1].str());
    }
    return out;
}

TEST(DescrizioneLinea, ListaDi419RigheConIlMarcatoreSoloInFondo) {
    const auto lista = righe_linea();
    ASSERT_EQ(lista.size(), 420u);
    EXPECT_EQ(lista.back(), kMarcatoreFine);
    EXPECT_EQ(std::count(lista.begin(), lista.end(), kMarcatoreFine), 1);
    const std::vector<std::string> generali = {
        "[generale]",
        "lunghezza percorso,    120000",
        "progressiva chilometrica uno,    0,    240700,    1",
        "progressiva chilometrica due,    115050,    10700,    0",
        "progressiva chilometrica tre,    0,    0,    0",
        "sfondo uno,    1",
        "sfondo due,    119250",
        "sfondo tre,    54650",
        "ripetizione segnali 4 codici,    0    ,0",
    };
    EXPECT_EQ(std::vector<std::string>(lista.begin(), lista.begin() + 9), generali);
}

// Every section: its header's line index, its row count and the exact shape of its rows.
TEST(DescrizioneLinea, SezioniAlLoroPostoConConteggiEFormaDelleRighe) {
    struct Caso {
        std::string intestazione;
        std::size_t indice;
        std::size_t righe;
        std::string forma;
    };
    const std::vector<Caso> casi = {
        {"[curve]", 9, 195, R"(curva[ds][1-6],  \d+,  \d+)"},
        {"[pendenze]", 205, 103, R"(pendenza,  \d+,   -?\d+|pendenza,   0,    0)"},
        {"[montagne]", 309, 20, R"(montagna,   \d+,  \d+,  1[12])"},
        {"[cartelli]", 330, 31, R"(indicatori_vmax,  \d+,  \d+,  \d+,  \d+,  [012],  ,  ,  ,  0)"},
        {"[indicazioni]", 362, 55, R"(cartello_indicatore,  \d+,   (\([^(),]+\)){1,3})"},
        {"[fine]", 418, 0, ""},
    };
    const auto righe = righe_scritte();
    ASSERT_EQ(righe.size(), 419u);
    for (const auto& c : casi) {
        SCOPED_TRACE(c.intestazione);
        ASSERT_EQ(righe[c.indice], c.intestazione);
        const std::regex forma(c.forma);
        std::size_t n = 0;
        for (auto i = c.indice + 1; i < righe.size() && !righe[i].starts_with("["); ++i, ++n) {
            EXPECT_TRUE(std::regex_match(righe[i], forma)) << righe[i];
        }
        EXPECT_EQ(n, c.righe);
    }
    EXPECT_EQ(righe.back(), "[fine]");
}

TEST(DescrizioneLinea, RigheTestimoniAlLoroPostoParolaPerParola) {
    struct Caso {
        std::string riga;
        int indice;  // -1: anywhere in its section
    };
    const std::vector<Caso> casi = {
        {"curvad5,  0,  150", 10},
        {"curvas5,  500,  150", 11},
        {"curvad1,  15650,  1000", -1},
        {"curvad2,  106400,  150", -1},
        {"curvad4,  121000,  800", 204},
        {"pendenza,   0,    0", 206},
        {"pendenza,  500,   -5", 207},
        {"pendenza,  80350,   31", -1},
        {"pendenza,  89650,   -28", -1},
        {"pendenza,  121900,   0", 308},
        {"montagna,   1650,  2300,  12", 310},
        {"montagna,   79700,  80150,  11", -1},
        {"montagna,   119250,  121000,  11", 329},
        {"indicatori_vmax,  750,  85,  90,  90,  0,  ,  ,  ,  0", 331},
        {"indicatori_vmax,  5500,  80,  90,  90,  2,  ,  ,  ,  0", 332},
        {"indicatori_vmax,  6000,  80,  90,  90,  1,  ,  ,  ,  0", 333},
        {"indicatori_vmax,  6500,  80,  90,  90,  0,  ,  ,  ,  0", 334},
        {"cartello_indicatore,  7900,   (P.L.      )(Km 232+835)", -1},
        {"cartello_indicatore,  10350,   (F)", -1},
        {"cartello_indicatore,  64400,   (Ponte   )(in Ferro)", -1},
    };
    const auto righe = righe_scritte();
    for (const auto& c : casi) {
        const auto it = std::find(righe.begin(), righe.end(), c.riga);
        ASSERT_NE(it, righe.end()) << c.riga;
        EXPECT_EQ(std::count(righe.begin(), righe.end(), c.riga), 1) << c.riga;
        if (c.indice >= 0) {
            EXPECT_EQ(it - righe.begin(), c.indice) << c.riga;
        }
    }
}

// Positions (curve starts, stretch starts) rise strictly and every position and length is a
// multiple of 50.
TEST(DescrizioneLinea, PosizioniCrescentiEMultipliDi50) {
    for (const std::string intestazione :
         {"[curve]", "[pendenze]", "[montagne]", "[cartelli]", "[indicazioni]"}) {
        SCOPED_TRACE(intestazione);
        std::int64_t precedente = -1;
        for (const auto& r : sezione(intestazione)) {
            const std::int64_t posizione = numero(r[1]);
            EXPECT_GT(posizione, precedente) << r[0] << " " << r[1];
            EXPECT_EQ(posizione % 50, 0) << r[1];
            if (intestazione == "[curve]" || intestazione == "[montagne]") {
                EXPECT_EQ(numero(r[2]) % 50, 0) << r[1];
            }
            precedente = posizione;
        }
    }
}

TEST(DescrizioneLinea, CurveSenzaSovrapposizioniEConClassiDaTreASei) {
    const std::vector<std::string> classi_miti = {"curvad1,15650", "curvad2,106400"};
    const std::int64_t fine_tracciato =
        lunghezza_percorso() + 7000 - 2;  // the last two points stay empty
    std::int64_t fine_precedente = 0;
    int miti = 0;
    for (const auto& r : sezione("[curve]")) {
        const std::int64_t inizio = numero(r[1]);
        const std::int64_t lunghezza = numero(r[2]);
        const int classe = r[0].back() - '0';
        EXPECT_GE(inizio, fine_precedente) << "sovrapposta: " << r[0] << " " << inizio;
        EXPECT_GE(lunghezza, 50) << inizio;
        EXPECT_LE(lunghezza, 1000) << inizio;
        EXPECT_LE(inizio, 121000);
        EXPECT_LE(inizio + lunghezza, fine_tracciato) << inizio;
        const auto chiave = r[0] + "," + r[1];
        if (std::find(classi_miti.begin(), classi_miti.end(), chiave) != classi_miti.end()) {
            ++miti;
        } else {
            EXPECT_GE(classe, 3) << chiave;
            EXPECT_LE(classe, 6) << chiave;
        }
        fine_precedente = inizio + lunghezza;
    }
    EXPECT_EQ(miti, 2);
}

TEST(DescrizioneLinea, PendenzeDaMeno28A31DallInizioA121900) {
    const auto righe = sezione("[pendenze]");
    ASSERT_FALSE(righe.empty());
    std::int64_t minimo = 0;
    std::int64_t massimo = 0;
    for (const auto& r : righe) {
        minimo = std::min(minimo, numero(r[2]));
        massimo = std::max(massimo, numero(r[2]));
    }
    EXPECT_EQ(minimo, -28);
    EXPECT_EQ(massimo, 31);
    EXPECT_EQ(numero(righe.front()[1]), 0);
    EXPECT_EQ(numero(righe.back()[1]), 121900);
}

// Each climbing stretch lies on a rising gradient, and stands more than 150 m after the
// previous one (closer, the compiler would merge it into kind 3).
TEST(DescrizioneLinea, MontagneSulleSaliteEBenDistanziate) {
    std::map<std::int64_t, std::int64_t> profilo;  // position -> gradient in force from there
    for (const auto& r : sezione("[pendenze]")) profilo[numero(r[1])] = numero(r[2]);
    const auto pendenza_a = [&](std::int64_t metro) {
        return std::prev(profilo.upper_bound(metro))->second;
    };
    std::map<std::int64_t, int> per_tipo;
    std::int64_t fine_precedente = -1000;
    for (const auto& r : sezione("[montagne]")) {
        const std::int64_t inizio = numero(r[1]);
        const std::int64_t fine = numero(r[2]);
        ++per_tipo[numero(r[3])];
        EXPECT_LT(inizio, fine);
        EXPECT_GT(inizio - fine_precedente, 150) << inizio;
        for (std::int64_t metro = inizio; metro < fine; metro += 50) {
            EXPECT_GT(pendenza_a(metro), 0) << "tratto " << inizio << " non in salita a " << metro;
        }
        fine_precedente = fine;
    }
    EXPECT_EQ(per_tipo, (std::map<std::int64_t, int>{{11, 14}, {12, 6}}));
}

// After the lone board at 750 every board belongs to a run of three: 2, 1 and 0 stripes,
// 500 m apart, with the same speeds.
TEST(DescrizioneLinea, IndicatoriVmaxInTerneDaDueUnaEZeroStrisce) {
    const auto righe = sezione("[cartelli]");
    ASSERT_EQ(righe.size(), 31u);
    EXPECT_EQ(numero(righe[0][1]), 750);
    EXPECT_EQ(numero(righe[0][5]), 0);
    for (std::size_t i = 1; i + 2 < righe.size(); i += 3) {
        SCOPED_TRACE(righe[i][1]);
        for (std::size_t k = 0; k < 3; ++k) {
            const auto& r = righe[i + k];
            EXPECT_EQ(numero(r[5]), 2 - static_cast<std::int64_t>(k));
            EXPECT_EQ(numero(r[1]), numero(righe[i][1]) + 500 * static_cast<std::int64_t>(k));
            EXPECT_EQ(Campi(r.begin() + 2, r.begin() + 5),
                      Campi(righe[i].begin() + 2, righe[i].begin() + 5));
        }
    }
}

TEST(DescrizioneLinea, CartelliConGruppiDellaStessaLarghezzaEChilometricheGiuste) {
    std::map<std::size_t, int> per_gruppi;
    for (const auto& r : sezione("[indicazioni]")) {
        const auto g = gruppi(r[2]);
        ++per_gruppi[g.size()];
        for (const auto& testo : g) {
            EXPECT_EQ(testo.size(), g.front().size()) << r[2];
            EXPECT_NE(testo.front(), ' ') << r[2];
        }
        // The widest group fills its parentheses: padding is never more than needed.
        EXPECT_TRUE(std::any_of(g.begin(), g.end(), [](const auto& t) { return t.back() != ' '; }))
            << r[2];
        const std::int64_t posizione = numero(r[1]);
        for (const auto& testo : g) {
            if (!testo.starts_with("Km ")) continue;
            const std::int64_t metri = 240735 - posizione;
            char atteso[48];
            std::snprintf(atteso, sizeof atteso, "Km %" PRId64 "+%03" PRId64, metri / 1000,
                          metri % 1000);
            EXPECT_EQ(senza_spazi(testo), atteso) << "cartello a " << posizione;
        }
    }
    EXPECT_EQ(per_gruppi, (std::map<std::size_t, int>{{1, 12}, {2, 31}, {3, 12}}));
}

// Maximum-speed and indication boards each need a cell of their own, round(p / 50 + 1).
TEST(DescrizioneLinea, CartelliSuCelleDistinte) {
    std::map<std::int64_t, std::string> occupate;
    for (const std::string intestazione : {"[cartelli]", "[indicazioni]"}) {
        for (const auto& r : sezione(intestazione)) {
            const std::int64_t cella = cella_dopo(static_cast<double>(numero(r[1])));
            const auto [it, nuova] = occupate.emplace(cella, r[0] + " " + r[1]);
            EXPECT_TRUE(nuova) << r[0] << " " << r[1] << " sulla cella di " << it->second;
        }
    }
}

// The reader refuses a row whose (position + 100) / 50 passes the last cell.
TEST(DescrizioneLinea, OgniRigaEntroLeCelleDelPercorso) {
    const double ultima = static_cast<double>(ultima_cella());
    EXPECT_EQ(ultima, 2540);
    for (const std::string intestazione :
         {"[curve]", "[pendenze]", "[montagne]", "[cartelli]", "[indicazioni]"}) {
        for (const auto& r : sezione(intestazione)) {
            EXPECT_LE((static_cast<double>(numero(r[1])) + 100.0) / 50.0, ultima) << r[1];
        }
    }
    for (const auto& r : sezione("[montagne]"))
        EXPECT_LE(cella_di(static_cast<double>(numero(r[2]))), ultima_cella());
}

// Read back field by field, each row gives its keyword, exactly its numbers (empty fields read
// 0) and its board text, and leaves the reader at the start of the next line.
TEST(DescrizioneLinea, SiRileggeCampoPerCampoRigaPerRiga) {
    prova::verifica_rilettura(righe_scritte(), {
                                                   {"lunghezza percorso", 1, false},
                                                   {"progressiva chilometrica", 3, false},
                                                   {"sfondo", 1, false},
                                                   {"ripetizione segnali", 2, false},
                                                   {"curva", 2, false},
                                                   {"pendenza", 2, false},
                                                   {"montagna", 3, false},
                                                   {"indicatori_vmax", 9, false},
                                                   {"cartello_indicatore", 1, true},
                                                   {"[", 0, false},
                                               });
}

TEST(DescrizioneLinea, DatiLineaSostituisceIlFileCon419Righe) {
    const auto scritto = prova::scrivi_e_rileggi(dati_linea, "Brunavia_linea.txt");
    EXPECT_EQ(scritto.righe, righe_scritte());
    EXPECT_EQ(scritto.indice, 419);
}

}  // namespace
}  // namespace brunavia
