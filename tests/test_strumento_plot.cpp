#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/descrizioni_in_memoria.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza.h"
#include "tests/aiuti.h"
#include "tool/disegno.h"
#include "tool/scenario.h"
#include "writers/scrittori.h"

namespace brunavia::strumento {
namespace {

namespace fs = std::filesystem;

// The shipped scenario compiled into `cartella`.
void compila_spedito(const fs::path& cartella) {
    Form1 f;
    f.cartella = cartella;
    dati_linea(f);
    dati_treno(f);
    DescrizioniNellaCartella d(cartella / "Brunavia_linea.txt", cartella / "Brunavia_706-.txt");
    ASSERT_TRUE(compila(f, 1, d));
    scrivi_file_compilati(f, cartella);
}

bool si_sovrappongono(const Scritta& a, const Scritta& b) {
    return a.x < b.x + b.larghezza && b.x < a.x + a.larghezza && a.y < b.y + b.altezza &&
           b.y < a.y + a.altezza;
}

TEST(StrumentoPlot, CorsieSenzaSovrapposizioni) {
    struct Caso {
        std::vector<Intervallo> intervalli;
        std::vector<std::size_t> corsie;
    };
    const Caso casi[] = {
        {{{0, 10}, {20, 30}, {40, 50}}, {0, 0, 0}},  // apart: one lane
        {{{0, 10}, {5, 15}, {8, 20}}, {0, 1, 2}},    // each meets the others
        {{{0, 10}, {5, 15}, {16, 30}}, {0, 1, 0}},   // lane 0 free again after 10 + 6
        {{{40, 50}, {0, 10}, {5, 45}}, {0, 0, 1}},   // taken by position, answered in input order
        {{{0, 10}, {12, 20}}, {0, 1}},               // closer than the gap of 6
    };
    for (const auto& c : casi) {
        EXPECT_EQ(disponi_in_corsie(c.intervalli, 6), c.corsie);
    }
}

TEST(StrumentoPlot, NessunaScrittaNeCopreUnAltraNelloScenarioSpedito) {
    prova::CartellaTemporanea cartella;
    compila_spedito(cartella.percorso());
    const ScenarioCompilato s = leggi_scenario(cartella.percorso(), "Brunavia", "706");
    const Disegno d = disegna_scenario(s, "Brunavia, treno 706");
    // Every station is named on the page.
    for (const Stazione& st : stazioni(s.tabella)) {
        const auto nome = std::find_if(d.scritte.begin(), d.scritte.end(),
                                       [&](const Scritta& x) { return x.testo == st.nome; });
        EXPECT_NE(nome, d.scritte.end()) << st.nome;
    }
    for (std::size_t i = 0; i < d.scritte.size(); ++i) {
        for (std::size_t j = i + 1; j < d.scritte.size(); ++j) {
            EXPECT_FALSE(si_sovrappongono(d.scritte[i], d.scritte[j]))
                << "\"" << d.scritte[i].testo << "\" e \"" << d.scritte[j].testo << "\"";
        }
    }
    // Without the plan file the page still draws, and says so.
    ScenarioCompilato senza_piano = s;
    senza_piano.tracciato.reset();
    EXPECT_NE(disegna_scenario(senza_piano, "x").svg.find("tracciato assente"), std::string::npos);
}

TEST(StrumentoPlot, SvgValidoCheSiConverteInPng) {
    prova::CartellaTemporanea cartella, uscita;
    compila_spedito(cartella.percorso());
    const auto svg = uscita / "scenario.svg";
    const auto esito =
        prova::esegui(BRUNAVIA_TOOL_EXE, {"plot", cartella.percorso().string(), "-o", svg.string()},
                      uscita.percorso());
    ASSERT_EQ(esito.stato, 0) << esito.errori;

    // XML parser: the root is an svg element and the station names are text elements.
    const std::string programma =
        "import xml.etree.ElementTree as E\n"
        "r = E.parse('scenario.svg').getroot()\n"
        "t = [x.text for x in r.iter('{http://www.w3.org/2000/svg}text')]\n"
        "print(r.tag, 'ORVADA CENTRALE' in t, 'TESSALO C.' in t, 'Legenda' in t)\n";
    prova::scrivi_byte(uscita / "leggi.py", programma);
    const auto xml = prova::esegui("/bin/sh", {"-c", "python3 leggi.py"}, uscita.percorso());
    EXPECT_EQ(xml.stato, 0) << xml.errori;
    EXPECT_EQ(xml.uscita, "{http://www.w3.org/2000/svg}svg True True True\n");

    const auto png = prova::esegui("/bin/sh", {"-c", "rsvg-convert scenario.svg -o scenario.png"},
                                   uscita.percorso());
    ASSERT_EQ(png.stato, 0) << png.errori;
    const std::string immagine = prova::leggi_byte(uscita / "scenario.png");
    ASSERT_GT(immagine.size(), 10000u);
    EXPECT_EQ(immagine.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(immagine.substr(12, 4), "IHDR");
    const auto u32 = [&](std::size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(immagine[i])) << 24 |
               static_cast<unsigned>(static_cast<unsigned char>(immagine[i + 1])) << 16 |
               static_cast<unsigned>(static_cast<unsigned char>(immagine[i + 2])) << 8 |
               static_cast<unsigned>(static_cast<unsigned char>(immagine[i + 3]));
    };
    EXPECT_EQ(u32(16), 1600u);  // the page's width in pixels
}

TEST(StrumentoPlot, FileMancantiODanneggiatiFermanoIlDisegno) {
    prova::CartellaTemporanea cartella;
    const auto svg = cartella / "x.svg";
    const auto vuota =
        prova::esegui(BRUNAVIA_TOOL_EXE, {"plot", cartella.percorso().string(), "-o", svg.string()},
                      cartella.percorso());
    EXPECT_EQ(vuota.stato, 1);
    EXPECT_EQ(vuota.errori, "Errore sul file " + (cartella / "Brunavia_706.dat").string() +
                                ": file inesistente\n");

    compila_spedito(cartella.percorso());
    prova::scrivi_byte(cartella / "Brunavia_706.sim", "corto");
    const auto rotta =
        prova::esegui(BRUNAVIA_TOOL_EXE, {"plot", cartella.percorso().string(), "-o", svg.string()},
                      cartella.percorso());
    EXPECT_EQ(rotta.stato, 1);
    EXPECT_NE(rotta.errori.find("Brunavia_706.sim: riga 0"), std::string::npos) << rotta.errori;
    EXPECT_FALSE(fs::exists(svg));
}

// The folder read and the page written are named by their whole path, with the reason in
// Italian; the page's folder is created when missing; a page not named .svg is refused.
TEST(StrumentoPlot, CartelleEPaginaNominateInteriInItaliano) {
    prova::CartellaTemporanea compilati, lavoro;
    compila_spedito(compilati.percorso());
    const auto plot = [&](const std::string& cartella, const std::string& svg) {
        return prova::esegui(BRUNAVIA_TOOL_EXE, {"plot", cartella, "-o", svg}, lavoro.percorso());
    };

    const auto mancante = plot((lavoro / "manca").string(), "x.svg");
    EXPECT_EQ(mancante.stato, 1);
    EXPECT_EQ(mancante.errori,
              "Errore sul file " + (lavoro / "manca").string() + ": cartella inesistente\n");

    const auto nuova = plot(compilati.percorso().string(), "nuova/sotto/x.svg");
    EXPECT_EQ(nuova.stato, 0) << nuova.errori;
    EXPECT_TRUE(fs::is_regular_file(lavoro / "nuova" / "sotto" / "x.svg"));
    EXPECT_EQ(nuova.uscita, "nuova/sotto/x.svg\n");

    fs::create_directory(lavoro / "occupato.svg");
    const auto occupato = plot(compilati.percorso().string(), "occupato.svg");
    EXPECT_EQ(occupato.stato, 1);
    EXPECT_EQ(occupato.errori, "Errore sul file occupato.svg: al suo posto c'e' una cartella\n");

    prova::scrivi_byte(lavoro / "file", "");
    const auto sotto_un_file = plot(compilati.percorso().string(), "file/x.svg");
    EXPECT_EQ(sotto_un_file.stato, 1);
    EXPECT_EQ(sotto_un_file.errori.rfind("Errore sul file file: ", 0), 0u) << sotto_un_file.errori;
    EXPECT_EQ(sotto_un_file.errori.find("File exists"), std::string::npos) << sotto_un_file.errori;

    for (const char* nome : {"x.png", "x", ".svg", "x.svg/"}) {
        const auto rifiutato = plot(compilati.percorso().string(), nome);
        EXPECT_EQ(rifiutato.stato, 64) << nome;
        EXPECT_EQ(
            rifiutato.errori.rfind("brunavia-tool plot: -o: vuole il nome di un file .svg", 0), 0u)
            << rifiutato.errori;
    }
    EXPECT_FALSE(fs::exists(lavoro / "x.png"));
}

}  // namespace
}  // namespace brunavia::strumento
