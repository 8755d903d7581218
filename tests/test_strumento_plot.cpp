#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "bench/descrizioni_generate.h"
#include "compiler/descrizioni_in_memoria.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza.h"
#include "io/cp1252.h"
#include "tests/aiuti.h"
#include "tool/plot/disegno.h"
#include "tool/plot/scale.h"
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

// A small scenario: eight stations, four of them 800 m apart, and speed boards 100 m apart with
// different speeds (one of 100 km/h on both sides), then a run of equal speeds with 2 and 1
// stripes and a board that differs in categories b and c only.
constexpr const char* kLineaPiccola =
    "[generale]\r\n"
    "lunghezza percorso, 20000\r\n"
    "ripetizione segnali 4 codici, 0, 0\r\n"
    "[profilo]\r\n"
    "pendenza, 2000, 5\r\n"
    "pendenza, 8000, -3\r\n"
    "curvad4, 1000, 800\r\n"
    "curvas3, 5000, 1500\r\n"
    "curvad5, 12000, 600\r\n"
    "indicatori_vmax, 4200, 60, 60, 60, 0, , , , 0\r\n"
    "indicatori_vmax, 4300, 80, 80, 80, 0, , , , 0\r\n"
    "indicatori_vmax, 4400, 100, 100, 100, 0, 100, 100, 100, 0\r\n"
    "indicatori_vmax, 4500, 100, 100, 100, 0, , , , 0\r\n"
    "indicatori_vmax, 8000, 85, 90, 90, 2, , , , 0\r\n"
    "indicatori_vmax, 8500, 85, 90, 90, 1, , , , 0\r\n"
    "indicatori_vmax, 9000, 85, 95, 95, 0, , , , 0\r\n"
    "[fine]\r\n";
constexpr const char* kTrenoPiccolo =
    "[generale]\r\n"
    "aderenza, 0, 100\r\n"
    "velocita, 0, 100\r\n"
    "stazione, 1000, 11, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 8, 0, 0, ORIGINE CENTRALE\r\n"
    "stazione, 1800, 11, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 60, 8, 3, 0, SECONDA\r\n"
    "stazione, 2600, 11, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 60, 8, 6, 0, TERZA BORGO\r\n"
    "stazione, 3400, 11, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 60, 8, 9, 0, QUARTA\r\n"
    "stazione, 6000, 11, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 60, 8, 12, 0, QUINTA SCALO\r\n"
    "stazione, 6800, 11, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 60, 8, 15, 0, SESTA\r\n"
    "stazione, 15000, 11, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 60, 8, 18, 0, SETTIMA\r\n"
    "stazione, 19500, 11, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 60, 8, 21, 0, CAPOLINEA SUD\r\n"
    "[fine]\r\n";

ScenarioCompilato scenario_in_memoria(const fs::path& cartella, const std::string& linea,
                                      const std::string& treno) {
    Form1 f;
    DescrizioniInMemoria d(linea, treno);
    EXPECT_TRUE(compila(f, 1, d));
    EXPECT_EQ(f.codice_errore, 0);
    scrivi_file_compilati(f, cartella);
    return leggi_scenario(cartella, f.nome_scenario, f.numero_treno);
}

ScenarioCompilato scenario_piccolo(const fs::path& cartella) {
    return scenario_in_memoria(cartella, kLineaPiccola, kTrenoPiccolo);
}

// The benchmark's 900 km line: 23 stations about 39 km apart, 232 speed boards, 330 signals.
ScenarioCompilato scenario_900_km(const fs::path& cartella) {
    return scenario_in_memoria(cartella, banco::linea_generata(900000),
                               banco::treno_generato(900000));
}

ScenarioCompilato scenario_spedito(const fs::path& cartella) {
    compila_spedito(cartella);
    return leggi_scenario(cartella, "Brunavia", "706");
}

// A straight stroke of the page: a <line>, or one step of a <polyline>.
struct Segmento {
    double x1, y1, x2, y2;
};

// Every straight stroke drawn in colour `colore`.
std::vector<Segmento> segmenti_di_colore(const std::string& svg, std::string_view colore) {
    const auto attributo = [](std::string_view e, std::string_view nome) {
        const auto i = e.find(" " + std::string(nome) + "=\"") + nome.size() + 3;
        return std::string(e.substr(i, e.find('"', i) - i));
    };
    std::vector<Segmento> segmenti;
    const std::string tratto = "stroke=\"" + std::string(colore) + "\"";
    for (const std::string_view tag : {"<line ", "<polyline "}) {
        for (auto i = svg.find(tag); i != std::string::npos; i = svg.find(tag, i + 1)) {
            const std::string_view e(svg.data() + i, svg.find('>', i) - i);
            if (e.find(tratto) == std::string_view::npos) continue;
            std::vector<double> v;
            if (tag == "<line ") {
                for (const char* nome : {"x1", "y1", "x2", "y2"})
                    v.push_back(std::stod(attributo(e, nome)));
            } else {
                std::istringstream punti(attributo(e, "points"));
                double x = 0, y = 0;
                char virgola = 0;
                while (punti >> x >> virgola >> y) {
                    v.push_back(x);
                    v.push_back(y);
                }
            }
            for (std::size_t k = 2; k + 1 < v.size(); k += 2)
                segmenti.push_back({v[k - 2], v[k - 1], v[k], v[k + 1]});
        }
    }
    return segmenti;
}

// Whether the stroke passes through the text's box (shrunk by the page's rounding to 0.1).
bool attraversa(const Segmento& s, const Scritta& t) {
    const double x1 = t.x + 0.1, y1 = t.y + 0.1, x2 = t.x + t.larghezza - 0.1,
                 y2 = t.y + t.altezza - 0.1;
    double t0 = 0, t1 = 1;
    const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {s.x1 - x1, x2 - s.x1, s.y1 - y1, y2 - s.y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
        } else if (p[i] < 0) {
            t0 = std::max(t0, q[i] / p[i]);
        } else {
            t1 = std::min(t1, q[i] / p[i]);
        }
    }
    return t0 < t1;
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

// A station zone that starts before the origin (the first station's, from -400 m in the shipped
// scenario) is drawn from the origin on: nothing covers the track names left of the axis.
TEST(StrumentoPlot, NessunRettangoloASinistraDellAsse) {
    prova::CartellaTemporanea cartella;
    compila_spedito(cartella.percorso());
    const ScenarioCompilato s = leggi_scenario(cartella.percorso(), "Brunavia", "706");
    ASSERT_LT(stazioni(s.tabella).front().inizio, 0);
    const std::string svg = disegna_scenario(s, "Brunavia, treno 706").svg;
    std::size_t rettangoli = 0;
    for (auto i = svg.find("<rect x=\""); i != std::string::npos;
         i = svg.find("<rect x=\"", i + 1)) {
        const double x = std::stod(svg.substr(i + 9));
        if (svg.compare(i, 14, "<rect x=\"0\" y=") == 0) continue;  // the page's background
        ++rettangoli;
        EXPECT_GE(x, disegno::kMargineSinistro) << svg.substr(i, 80);
    }
    EXPECT_GT(rettangoli, 10u);
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
    // The damaged file is named by its whole path, with the same message as dump.
    const auto dump = prova::esegui(
        BRUNAVIA_TOOL_EXE, {"dump", (cartella / "Brunavia_706.sim").string()}, cartella.percorso());
    EXPECT_EQ(dump.stato, 1);
    EXPECT_EQ(rotta.errori, dump.errori);
}

// Files that do not come from one compile are refused, each mismatch named: a 20 km cell
// file under the shipped table, the shipped plan beside a 20 km scenario, a table of another
// scenario copied under this one's name. Nothing is drawn.
TEST(StrumentoPlot, FileDiCompilazioniDiverseRifiutati) {
    prova::CartellaTemporanea spedito, piccolo;
    compila_spedito(spedito.percorso());
    scenario_piccolo(piccolo.percorso());
    struct Caso {
        std::string file;  // copied from the small scenario's folder into the shipped one
        std::string motivo;
    };
    const Caso casi[] = {
        {"Brunavia_706.dat", "le celle sono 541, ma la tabella (riga 84) e' di una linea di"},
        {"Brunavia_linea.dat",
         "il piano ha 27001 punti, ma la tabella (riga 84) e' di una linea di"},
    };
    for (const Caso& c : casi) {
        prova::CartellaTemporanea misto;
        for (const auto& voce : fs::directory_iterator(spedito.percorso()))
            fs::copy_file(voce.path(), misto / voce.path().filename());
        // Removed first: MinGW's copy_file refuses to overwrite under Wine ("File exists").
        fs::remove(misto / c.file);
        fs::copy_file(piccolo / c.file, misto / c.file);
        const auto svg = misto / "x.svg";
        const auto e = prova::esegui(BRUNAVIA_TOOL_EXE,
                                     {"plot", misto.percorso().string(), "-o", svg.string()},
                                     misto.percorso());
        EXPECT_EQ(e.stato, 1) << c.file;
        EXPECT_NE(e.errori.find("non vengono da una stessa compilazione; nulla e' stato disegnato"),
                  std::string::npos)
            << e.errori;
        EXPECT_NE(e.errori.find(c.motivo), std::string::npos) << e.errori;
        EXPECT_FALSE(fs::exists(svg));
    }
    // Another scenario's table under this one's name: the names of rows 85 and 86.
    prova::CartellaTemporanea altro;
    for (const auto& voce : fs::directory_iterator(spedito.percorso()))
        fs::copy_file(voce.path(), altro / voce.path().filename());
    fs::rename(altro / "Brunavia_706.sim", altro / "Altra_9.sim");
    fs::rename(altro / "Brunavia_706.dat", altro / "Altra_9.dat");
    fs::rename(altro / "Brunavia_linea.dat", altro / "Altra_linea.dat");
    const auto e = prova::esegui(
        BRUNAVIA_TOOL_EXE, {"plot", altro.percorso().string(), "-o", (altro / "x.svg").string()},
        altro.percorso());
    EXPECT_EQ(e.stato, 1);
    EXPECT_NE(e.errori.find("riga 85 della tabella: il nome dello scenario e' \"Brunavia\", non "
                            "\"Altra\" (--scenario)"),
              std::string::npos)
        << e.errori;
    EXPECT_NE(e.errori.find("riga 86 della tabella: il numero del treno e' \"706\", non \"9\""),
              std::string::npos)
        << e.errori;
}

// Every station is named on the plan as well as on its track, no text covers another, and
// neither the plan's line nor the kilometre grid nor the line's end runs through any text: on
// the shipped scenario, on a small one with stations close together and on the 900 km line,
// whose plan is squeezed into the page's width.
TEST(StrumentoPlot, OgniStazioneNominataSulPianoSenzaLineeSulleScritte) {
    prova::CartellaTemporanea spedito, piccolo, lunga;
    for (const ScenarioCompilato& s :
         {scenario_spedito(spedito.percorso()), scenario_piccolo(piccolo.percorso()),
          scenario_900_km(lunga.percorso())}) {
        const Disegno d = disegna_scenario(s, "prova");
        const auto tutte = stazioni(s.tabella);
        ASSERT_GE(tutte.size(), 8u);
        for (const Stazione& st : tutte) {
            const auto volte = std::count_if(d.scritte.begin(), d.scritte.end(),
                                             [&](const Scritta& x) { return x.testo == st.nome; });
            EXPECT_EQ(volte, 2) << st.nome;
        }
        for (const char* colore : {"#303030", "#9a9a9a", "#e4e4e4"}) {
            const auto segmenti = segmenti_di_colore(d.svg, colore);
            EXPECT_FALSE(segmenti.empty()) << colore;
            for (const Scritta& t : d.scritte) {
                for (const Segmento& g : segmenti) {
                    ASSERT_FALSE(attraversa(g, t))
                        << colore << " " << g.x1 << "," << g.y1 << " " << g.x2 << "," << g.y2
                        << " attraversa \"" << t.testo << "\"";
                }
            }
        }
        for (std::size_t i = 0; i < d.scritte.size(); ++i) {
            for (std::size_t j = i + 1; j < d.scritte.size(); ++j) {
                EXPECT_FALSE(si_sovrappongono(d.scritte[i], d.scritte[j]))
                    << "\"" << d.scritte[i].testo << "\" e \"" << d.scritte[j].testo << "\"";
            }
        }
    }
}

TEST(StrumentoPlot, LeTaccheSonoMultipliDelPassoEComprendonoLoZero) {
    struct Caso {
        double minimo, massimo;
        std::vector<double> tacche;
    };
    const Caso casi[] = {
        {-5, 330, {-100, 0, 100, 200, 300, 400}},  // the shipped profile: was -100, 100, 300
        {0, 20, {0, 5, 10, 15, 20}},
        {-28, 31, {-40, -20, 0, 20, 40}},
        {0, 150, {0, 50, 100, 150}},
        {-100, -20, {-100, -80, -60, -40, -20}},
        {3, 3, {3, 3.25, 3.5, 3.75, 4}},
    };
    for (const Caso& c : casi) {
        EXPECT_EQ(disegno::tacche(disegno::scala_per(c.minimo, c.massimo, 0, 100)), c.tacche)
            << c.minimo << " ... " << c.massimo;
    }
}

// Speed boards close together with different speeds keep a label each; a run of equal speeds
// is labelled once; a board of 100 km/h on both sides is shown as ambiguous, never as 101.
TEST(StrumentoPlot, CartelliVMaxVicini) {
    prova::CartellaTemporanea cartella;
    const Disegno d = disegna_scenario(scenario_piccolo(cartella.percorso()), "prova");
    const auto y_di = [&](std::string_view testo) {
        const auto t = std::find_if(d.scritte.begin(), d.scritte.end(),
                                    [&](const Scritta& x) { return x.testo == testo; });
        return t == d.scritte.end() ? 0.0 : t->y;
    };
    const double dall = y_di("Cartelli V max"), al = y_di("Indicatori");
    ASSERT_LT(dall, al);
    std::vector<std::string> etichette;
    for (const Scritta& t : d.scritte) {
        if (t.y > dall && t.y < al) etichette.push_back(t.testo);
    }
    std::sort(etichette.begin(), etichette.end());
    EXPECT_EQ(etichette,
              (std::vector<std::string>{"100", "60", "80", "85/90/90", "85/95/95", "?2020"}));
    EXPECT_EQ(d.svg.find(">101<"), std::string::npos);
    EXPECT_NE(d.svg.find("a ambiguo, grezzo 2020: 101|0 o 100|100"), std::string::npos);
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

// The texts drawn between two track names (the labels of the first track).
std::vector<std::string> etichette_tra(const Disegno& d, std::string_view traccia,
                                       std::string_view seguente) {
    const auto y_di = [&](std::string_view testo) {
        const auto t = std::find_if(d.scritte.begin(), d.scritte.end(),
                                    [&](const Scritta& x) { return x.testo == testo; });
        return t == d.scritte.end() ? 0.0 : t->y;
    };
    const double dall = y_di(traccia), al = y_di(seguente);
    std::vector<std::string> etichette;
    for (const Scritta& t : d.scritte) {
        if (t.y > dall && t.y < al && t.x >= disegno::kMargineSinistro)
            etichette.push_back(t.testo);
    }
    std::sort(etichette.begin(), etichette.end());
    return etichette;
}

// A 20 km stretch of the 900 km line: every signal is labelled with its row's metres, every
// speed board and indication board with its label (one per cell, equal runs too), every station
// in it named on the plan and on its track, those outside not at all; no text covers another.
TEST(StrumentoPlot, UnTrattoMostraOgniCartelloESegnale) {
    prova::CartellaTemporanea cartella;
    const ScenarioCompilato s = scenario_900_km(cartella.percorso());
    const Tratto tratto{300000, 320500};
    const Disegno d = disegna_scenario(s, "prova", tratto);
    std::vector<std::string> segnali, indicatori_v, cartelli;
    for (std::size_t k = 0; k < s.celle.size(); ++k) {
        const double mezzo = static_cast<double>(metri_cella(k)) + 25;
        if (mezzo < tratto.da || mezzo > tratto.a) continue;
        if (s.celle[k].tipo_cella == tipo::segnale)
            segnali.push_back(std::to_string(metri_cella(k - 1)));
        if (s.celle[k].tipo_cella == tipo::indicatore_v_max) indicatori_v.push_back("80/90/90");
        if (s.celle[k].tipo_cella == tipo::cartello_indicatore)
            cartelli.push_back(
                da_cp1252(s.tabella[static_cast<std::size_t>(s.celle[k].dato0)].testo));
    }
    std::sort(segnali.begin(), segnali.end());
    std::sort(cartelli.begin(), cartelli.end());
    ASSERT_GE(segnali.size(), 5u);
    ASSERT_GE(indicatori_v.size(), 5u);
    ASSERT_GE(cartelli.size(), 1u);
    EXPECT_EQ(etichette_tra(d, "Segnali", "Cartelli V max"), segnali);
    EXPECT_EQ(etichette_tra(d, "Cartelli V max", "Indicatori"), indicatori_v);
    EXPECT_EQ(etichette_tra(d, "Indicatori", "Rallentamenti"), cartelli);

    std::size_t nel_tratto = 0;
    for (const Stazione& st : stazioni(s.tabella)) {
        const bool dentro = st.posizione >= tratto.da && st.posizione <= tratto.a;
        nel_tratto += dentro;
        EXPECT_EQ(std::count_if(d.scritte.begin(), d.scritte.end(),
                                [&](const Scritta& x) { return x.testo == st.nome; }),
                  dentro ? 2 : 0)
            << st.nome;
    }
    EXPECT_EQ(nel_tratto, 1u);
    for (std::size_t i = 0; i < d.scritte.size(); ++i) {
        for (std::size_t j = i + 1; j < d.scritte.size(); ++j) {
            EXPECT_FALSE(si_sovrappongono(d.scritte[i], d.scritte[j]))
                << "\"" << d.scritte[i].testo << "\" e \"" << d.scritte[j].testo << "\"";
        }
    }
    // The kilometre axis runs over the stretch only.
    EXPECT_NE(std::find_if(d.scritte.begin(), d.scritte.end(),
                           [](const Scritta& x) { return x.testo == "320"; }),
              d.scritte.end());
    EXPECT_EQ(std::find_if(d.scritte.begin(), d.scritte.end(),
                           [](const Scritta& x) { return x.testo == "200"; }),
              d.scritte.end());
}

// The whole 900 km page: the speed boards' labels fill at most kCorsieMassime lanes, a last lane
// says how many were left out and how to see them, and no text covers another. The shipped
// scenario and a stretch leave none out.
TEST(StrumentoPlot, UnaPaginaInteraDiceQuanteEtichetteLascia) {
    const auto nota = [](const Disegno& d) {
        return std::find_if(d.scritte.begin(), d.scritte.end(),
                            [](const Scritta& x) { return x.testo.starts_with("... altre "); });
    };
    prova::CartellaTemporanea cartella;
    const ScenarioCompilato s = scenario_900_km(cartella.percorso());
    const Disegno d = disegna_scenario(s, "prova");
    const auto n = nota(d);
    ASSERT_NE(n, d.scritte.end());
    EXPECT_NE(n->testo.find("etichette non entrano nella pagina: disegnare un tratto con --from"),
              std::string::npos);
    EXPECT_GT(std::stoi(n->testo.substr(std::string("... altre ").size())), 0);
    std::set<double> corsie;
    for (const Scritta& x : d.scritte) {
        if (x.testo == "80/90/90") corsie.insert(x.y);
    }
    EXPECT_GE(corsie.size(), 1u);
    EXPECT_LE(corsie.size(), disegno::kCorsieMassime);
    EXPECT_GT(n->y, *corsie.rbegin());
    for (std::size_t i = 0; i < d.scritte.size(); ++i) {
        for (std::size_t j = i + 1; j < d.scritte.size(); ++j) {
            EXPECT_FALSE(si_sovrappongono(d.scritte[i], d.scritte[j]))
                << "\"" << d.scritte[i].testo << "\" e \"" << d.scritte[j].testo << "\"";
        }
    }
    const Disegno tratto = disegna_scenario(s, "prova", Tratto{300000, 320500});
    EXPECT_EQ(nota(tratto), tratto.scritte.end());
    prova::CartellaTemporanea spedito;
    compila_spedito(spedito.percorso());
    const Disegno d_spedito =
        disegna_scenario(leggi_scenario(spedito.percorso(), "Brunavia", "706"), "x");
    EXPECT_EQ(nota(d_spedito), d_spedito.scritte.end());
}

// --from and --to on the command line: a stretch is drawn; an empty, reversed, negative or
// non-numeric one, or one beyond the line's end, is refused with one line and exit 64.
TEST(StrumentoPlot, OpzioniDelTratto) {
    prova::CartellaTemporanea cartella;
    scenario_piccolo(cartella.percorso());
    const auto plot = [&](std::vector<std::string> opzioni) {
        std::vector<std::string> argomenti{"plot", cartella.percorso().string(), "-o", "x.svg"};
        argomenti.insert(argomenti.end(), opzioni.begin(), opzioni.end());
        return prova::esegui(BRUNAVIA_TOOL_EXE, argomenti, cartella.percorso());
    };
    struct Caso {
        std::vector<std::string> opzioni;
        std::string messaggio;  // empty: drawn
    };
    const Caso casi[] = {
        {{"--from", "2.5", "--to", "7"}, ""},
        {{"--from", "19"}, ""},
        {{"--to", "20"}, ""},
        {{"--from", "7", "--to", "2.5"},
         "--from 7 non viene prima di --to 2.5: il tratto va dal km minore al maggiore"},
        {{"--from", "5", "--to", "5"}, "--from 5 non viene prima di --to 5"},
        {{"--from", "20"}, "--from 20 non viene prima di --to 20"},
        {{"--from=-1", "--to", "5"}, "--from: vuole i chilometri lungo la linea"},
        {{"--to", "12,5"},
         "--to: vuole i chilometri lungo la linea, un numero non negativo con "
         "il punto per i decimali, non \"12,5\""},
        {{"--to", "20.5"}, "--to 20.5 va oltre la fine della linea, al km 20 (riga 84)"},
        {{"--from", "21", "--to", "30"}, "--from 21 va oltre la fine della linea, al km 20"},
    };
    for (const Caso& c : casi) {
        fs::remove(cartella / "x.svg");
        const auto e = plot(c.opzioni);
        SCOPED_TRACE(c.opzioni.front() + " " + c.opzioni.back());
        if (c.messaggio.empty()) {
            EXPECT_EQ(e.stato, 0) << e.errori;
            EXPECT_TRUE(fs::exists(cartella / "x.svg"));
            continue;
        }
        EXPECT_EQ(e.stato, 64);
        EXPECT_EQ(e.errori.rfind("brunavia-tool plot: " + c.messaggio, 0), 0u) << e.errori;
        EXPECT_EQ(std::count(e.errori.begin(), e.errori.end(), '\n'), 2) << e.errori;
        EXPECT_FALSE(fs::exists(cartella / "x.svg"));
    }
}

}  // namespace
}  // namespace brunavia::strumento
