#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/descrizioni_generate.h"
#include "compiler/descrizioni_in_memoria.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza.h"
#include "tests/aiuti.h"
#include "tests/aiuti_strumento.h"
#include "tool/comandi.h"
#include "tool/decompile/decompila.h"
#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"

namespace brunavia::strumento {
namespace {

namespace fs = std::filesystem;

const NomiScenario kNomi{"Brunavia", "706"};
using prova::compila_testi;

std::string testo_di(const std::vector<std::string>& lista) {
    std::size_t righe = 0;
    return codifica_righe(lista, righe);
}

// compile -> decompile -> compile gives the same bytes; the descriptions are returned.
DescrizioniProvate andata_e_ritorno(const std::string& linea, const std::string& treno,
                                    int flag = 1) {
    const auto originale = compila_testi(linea, treno, flag);
    EXPECT_TRUE(originale.has_value());
    if (!originale) return {};
    const EsitoDecompila esito = decompila(*originale, kNomi);
    std::string motivi;
    for (const auto& m : esito.motivi) motivi += m + "\n";
    EXPECT_TRUE(esito.descrizioni.has_value()) << motivi;
    if (!esito.descrizioni) return {};
    // Proven once more, independently of the proof inside decompile.
    const auto di_nuovo = compila_testi(esito.descrizioni->linea, esito.descrizioni->treno, flag);
    EXPECT_TRUE(di_nuovo.has_value());
    if (di_nuovo) {
        EXPECT_EQ(di_nuovo->byte_celle, originale->byte_celle);
        EXPECT_EQ(di_nuovo->byte_tabella, originale->byte_tabella);
        EXPECT_EQ(di_nuovo->byte_tracciato, originale->byte_tracciato);
    }
    return *esito.descrizioni;
}

std::size_t righe_con(const std::string& testo, const std::string& chiave) {
    std::size_t n = 0;
    for (const auto& r : prova::righe_crlf(testo)) n += r.rfind(chiave, 0) == 0 ? 1u : 0u;
    return n;
}

TEST(StrumentoDecompile, ScenarioSpeditoRitornaAgliStessiByteConLeRigheDelProgramma) {
    const std::string linea = testo_di(righe_linea());
    const std::string treno = testo_di(righe_treno());
    const DescrizioniProvate d = andata_e_ritorno(linea, treno);
    // The layout the program writes: its general lines, sections and row kinds.
    const auto righe_l = prova::righe_crlf(d.linea);
    ASSERT_FALSE(righe_l.empty());
    EXPECT_EQ(righe_l.front(), "[generale]");
    EXPECT_EQ(righe_l.back(), "[fine]");
    const auto spedite_l = prova::righe_crlf(linea);
    for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(righe_l[i], spedite_l[i]);
    EXPECT_EQ(righe_con(d.linea, "indicatori_vmax"), 31u);
    EXPECT_EQ(righe_con(d.linea, "cartello_indicatore"), 55u);
    EXPECT_EQ(righe_con(d.linea, "montagna"), 20u);
    // The shipped train rows come back as they were written; the first station's second flag,
    // which the compile stores as 0, comes back as 0.
    const auto spedite_t = prova::righe_crlf(treno);
    const auto righe_t = prova::righe_crlf(d.treno);
    for (const std::string chiave : {"stazione", "segnale", "numero vetture", "orologio"}) {
        std::vector<std::string> a, b;
        for (const auto& r : spedite_t)
            if (r.starts_with(chiave)) a.push_back(r);
        for (const auto& r : righe_t)
            if (r.starts_with(chiave)) b.push_back(r);
        if (chiave == std::string("stazione")) {
            ASSERT_FALSE(a.empty());
            EXPECT_EQ(b.front(),
                      "stazione,       0, 11,  800,  0, 0, 1,  1,1,0,  3,1,1,    1,   "
                      "8,25, 0, ORVADA CENTRALE");
            a.front() = b.front();
        }
        EXPECT_EQ(a, b) << chiave;
    }
}

TEST(StrumentoDecompile, SenzaPianoNessunaCurva) {
    const DescrizioniProvate d =
        andata_e_ritorno(testo_di(righe_linea()), testo_di(righe_treno()), 0);
    EXPECT_EQ(righe_con(d.linea, "curva"), 0u);
    EXPECT_GT(righe_con(d.linea, "pendenza"), 0u);
}

TEST(StrumentoDecompile, ScenariGeneratiDaiBenchmark) {
    for (const int km : {120, 900}) {
        SCOPED_TRACE(km);
        andata_e_ritorno(banco::linea_generata(km * 1000), banco::treno_generato(km * 1000));
    }
}

// The general section of a 20 km line with every reference point and background set.
const std::string kGenerale20Km =
    "[generale]\r\nlunghezza percorso,    20000\r\n"
    "progressiva chilometrica uno,    0,    0,    0\r\n"
    "progressiva chilometrica due,    5000,    3000,    1\r\n"
    "progressiva chilometrica tre,    5000,    7000,    0\r\n"
    "sfondo uno,    3\r\nsfondo due,    -4\r\nsfondo tre,    5\r\n"
    "ripetizione segnali 9 codici,    100    ,2000\r\n";

// Rows whose stored values have several readings or that the compile changes on the way.
TEST(StrumentoDecompile, RigheCheLaCompilazioneTrasforma) {
    const std::string linea =
        kGenerale20Km +
        "[curve]\r\n"
        "curvas6,  0,  70\r\ncurvad1,  70,  30\r\ncurvad2,  4003,  1\r\n[pendenze]\r\n"
        "pendenza,   0,    7\r\npendenza,  525,   -3\r\npendenza,  575,   155\r\n"
        "pendenza,  575,   -100\r\n[montagne]\r\n"
        // the second stretch starts 150 m after the first: kind 3; the third 200 m after
        "montagna,   1000,  2000,  11\r\nmontagna,   2150,  3000,  2\r\n"
        "montagna,   3200,  4000,  12\r\nmontagna,   4175,  4825,  1\r\n[cartelli]\r\n"
        "indicatori_vmax,  6000,  85,  90,  95,  1,  45,  ,  5,  2\r\n[indicazioni]\r\n"
        "cartello_indicatore,  6500,   (Citt\xe0 )(Km 3+000)\r\n"
        "cartello_indicatore,  7000,   \r\n[fine]\r\n";
    const std::string treno =
        "[generale]\r\nnumero vetture,    5\r\npercentuale massa frenata,    90\r\n"
        "sabbia,    -2\r\norologio,    23               59            59 \r\n[aderenze]\r\n"
        "aderenza,   1000,    80\r\naderenza,   1000,    70\r\n[vel_limite]\r\n"
        "velocita,    2000,    1275\r\n[stazioni]\r\n"
        "stazione,    1000, 11,  600,  1, 1, 1,  1,1,0,  3,1,1,    1,   8,25, 0, PRIMA\r\n"
        "stazione,    9000,  7,  300,  0, 1, 1,  0,0,0,  0,0,0,    0,  -1,-5, 0, \xc8 DUE\r\n"
        "stazione,   12000, 25,  700,  0, 1, 1,  0,0,0,  0,0,0,    0,   0, 0, 0, BIVIO\r\n"
        "[rallentamenti]\r\n"
        "rallentamento,    1510,  60,  800,  1,  1,  3\r\n"
        "rallentamento,   15000,  100,  1600,  0,  0,  0\r\n"
        "abbattimento,   16000,  180\r\nabbattimento,   17000,  -3\r\n"
        "abbattimento,   3000,  70000\r\n[segnali]\r\n"
        "segnale,    3500,   2, 3, 1,  0, 1,    0,  0,0,0, 40\r\n"
        "segnale,   10000,   1, 5, 6,  0, 0,    1,  3,1,0, 0\r\n"
        "segnale,   17300,   2, 2, 4,  0, 0,    2,  2,1,0, 300\r\n[codici]\r\n[fine]\r\n";
    const DescrizioniProvate d = andata_e_ritorno(linea, treno);
    EXPECT_NE(d.linea.find("\xe0"), std::string::npos);  // Windows-1252 bytes kept as they are
}

// Slowdowns that start off the 50 m grid: the start, the warning board and the four cells
// before it round apart (halves to even), so the board and those cells may lie a cell apart.
TEST(StrumentoDecompile, RallentamentiFuoriGriglia) {
    const std::string linea =
        kGenerale20Km +
        "[curve]\r\n[pendenze]\r\n"
        "pendenza,   0,    7\r\n[montagne]\r\n[cartelli]\r\n[indicazioni]\r\n[fine]\r\n";
    const std::string righe[] = {
        "rallentamento,6625, 30, 300, 1, 1, 5\r\n",  // board at cell 110, cells 105 ... 108
        "rallentamento,1525, 60, 333, 1, 1, 0\r\n",  // start 32, board 8, cells 3 ... 6
        "rallentamento,1575, 60, 333, 1, 0, 0\r\n",
        "rallentamento,1510, 60, 800, 1, 1, 3\r\n",  // just past the 1500 m limit, in cell 31
        "rallentamento,9625, 80, 1237, 0, 1, 0\r\n", "rallentamento,9725, 80, 1213, 0, 1, 0\r\n",
        "rallentamento,1475, 40, 100, 0, 1, 0\r\n",  // no board before 1500 m
    };
    for (const std::string& riga : righe) {
        SCOPED_TRACE(riga);
        const std::string treno =
            "[generale]\r\nnumero vetture,    5\r\npercentuale massa frenata,    90\r\n"
            "sabbia,    0\r\norologio,    8               0            0 \r\n[aderenze]\r\n"
            "[vel_limite]\r\n[stazioni]\r\n[rallentamenti]\r\n" +
            riga + "[segnali]\r\n[codici]\r\n[fine]\r\n";
        andata_e_ritorno(linea, treno);
    }
}

// ---- positions off the 50 m grid ----

// A 20 km line and a train with only the rows given added to their sections.
std::string linea_con(const std::string& montagne) {
    return "[generale]\r\nlunghezza percorso,    20000\r\n"
           "progressiva chilometrica uno,    0,    0,    0\r\n"
           "progressiva chilometrica due,    5000,    3000,    1\r\n"
           "progressiva chilometrica tre,    0,    0,    0\r\n"
           "sfondo uno,    1\r\nsfondo due,    0\r\nsfondo tre,    0\r\n"
           "ripetizione segnali 4 codici,    0    ,0\r\n[curve]\r\n[pendenze]\r\n"
           "pendenza,   0,    0\r\n[montagne]\r\n" +
           montagne + "[cartelli]\r\n[indicazioni]\r\n[fine]\r\n";
}

std::string treno_con(const std::string& velocita, const std::string& rallentamenti) {
    return "[generale]\r\nnumero vetture,    5\r\npercentuale massa frenata,    90\r\n"
           "sabbia,    0\r\norologio,    8   0   0 \r\n[aderenze]\r\n"
           "aderenza,   0,    80\r\n[vel_limite]\r\n" +
           velocita + "[stazioni]\r\n[rallentamenti]\r\n" + rallentamenti +
           "[segnali]\r\n[codici]\r\n[fine]\r\n";
}

// Each of these compiles without error, so some description gives its files back.
TEST(StrumentoDecompile, PosizioniFuoriDallaGrigliaRitornanoAgliStessiByte) {
    struct Caso {
        const char* cosa;
        std::string montagne, velocita, rallentamenti;
    };
    const Caso casi[] = {
        // the first stretch's last cell (44, a marker) is the second's first
        {"montagne unite a mezza cella",
         "montagna,  1050,  2225,  12\r\nmontagna,  2225,  3000,  1\r\n", "", ""},
        // rows half a cell off the grid, two of them rounding to one cell (75 and 125 to 2)
        {"velocita' a mezza cella", "",
         "velocita,  0,  100\r\nvelocita,  75,  60\r\nvelocita,  125,  80\r\n"
         "velocita,  5025,  90\r\nvelocita,  5075,  40\r\nvelocita,  19975,  30\r\n"
         "velocita,  20025,  50\r\n",
         ""},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.cosa);
        const std::string linea = linea_con(c.montagne);
        const std::string treno = treno_con(c.velocita, c.rallentamenti);
        ASSERT_TRUE(compila_testi(linea, treno).has_value());
        andata_e_ritorno(linea, treno);
    }
}

// An "abbattimento" of value 180 looks like a finishing rules' marker; on a cell that a rule
// would mark it moves the rule's marker one cell. Four cells before a warning board that two
// slowdowns' layouts both fit belong to one of them.
TEST(StrumentoDecompile, AbbattimentiComeMarcatoriERallentamentiVicini) {
    struct Caso {
        const char* cosa;
        std::string rallentamenti;
    };
    const Caso casi[] = {
        {"sul marcatore interno di un rallentamento (la regola segna la cella prima)",
         "rallentamento,  4412,  100,  1396,  2,  1,  0\r\nabbattimento,  5236,  180\r\n"},
        {"accanto al marcatore di una finestra di avvicinamento",
         "rallentamento,  10042,  100,  525,  0,  0,  1\r\nabbattimento,  9609,  180\r\n"},
        {"nella cella prima del marcatore interno",
         "rallentamento,  6366,  40,  827,  3,  0,  0\r\nabbattimento,  6767,  180\r\n"},
        {"due celle dopo, dove il marcatore spostato prende quello di un altro rallentamento",
         "rallentamento,  6322,  60,  280,  0,  1,  1\r\n"
         "rallentamento,  5707,  40,  1248,  1,  0,  0\r\nabbattimento,  6153,  180\r\n"},
        {"due celle prima, la cella del marcatore interno presa da un segnale",
         "rallentamento,  3304,  60,  772,  0,  1,  0\r\nabbattimento,  3688,  180\r\n"
         "[segnali]\r\nsegnale,3697, 2, 3, 4, 1, 0, 0, 2, 1, 0, 0\r\n"
         "segnale,4309, 1, 4, 1, 1, 0, 2, 3, 0, 0, 255\r\n"},
        {"quattro celle prima dell'avviso che due rallentamenti segnerebbero",
         "rallentamento,  6887,  40,  699,  3,  1,  0\r\n"
         "rallentamento,  6925,  120,  344,  3,  0,  2\r\n"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.cosa);
        andata_e_ritorno(linea_con(""), treno_con("velocita,  0,  100\r\n", c.rallentamenti));
    }
}

// ---- the command ----

struct Cartelle {
    prova::CartellaTemporanea compilati;
    prova::CartellaTemporanea uscita;
};

void compila_spedito_in(const fs::path& cartella, const NomiScenario& nomi = kNomi) {
    const auto c = compila_testi(testo_di(righe_linea()), testo_di(righe_treno()), 1, nomi);
    ASSERT_TRUE(c.has_value());
    prova::scrivi_byte(cartella / (nomi.scenario + "_linea.dat"), *c->byte_tracciato);
    prova::scrivi_byte(cartella / (nomi.scenario + "_" + nomi.treno + ".sim"), c->byte_tabella);
    prova::scrivi_byte(cartella / (nomi.scenario + "_" + nomi.treno + ".dat"), c->byte_celle);
}

int esegui(const std::vector<std::string>& argomenti, std::string& uscita, std::string& errori) {
    std::ostringstream u, e;
    const int stato = esegui_strumento(argomenti, u, e);
    uscita = u.str();
    errori = e.str();
    return stato;
}

TEST(StrumentoDecompile, ScriveLeDescrizioniConINomiTrovatiNellaCartella) {
    Cartelle c;
    const NomiScenario nomi{"Valle_Alta", "1234"};
    compila_spedito_in(c.compilati.percorso(), nomi);
    const fs::path uscita = c.uscita / "nuova" / "cartella";
    std::string out, err;
    ASSERT_EQ(
        esegui({"decompile", c.compilati.percorso().string(), "-o", uscita.string()}, out, err), 0)
        << err;
    const fs::path linea = uscita / "Valle_Alta_linea.txt";
    const fs::path treno = uscita / "Valle_Alta_1234-.txt";
    EXPECT_EQ(out, linea.string() + "\n" + treno.string() + "\n");
    // `compile` of the written pair gives the files decompiled.
    const fs::path ricompilati = c.uscita / "ricompilati";
    ASSERT_EQ(esegui({"compile", linea.string(), treno.string(), "-o", ricompilati.string(),
                      "--scenario", "Valle_Alta", "--train", "1234"},
                     out, err),
              0)
        << err;
    for (const std::string nome :
         {"Valle_Alta_linea.dat", "Valle_Alta_1234.sim", "Valle_Alta_1234.dat"}) {
        EXPECT_EQ(prova::leggi_byte(ricompilati / nome), prova::leggi_byte(c.compilati / nome))
            << nome;
    }
}

// Descriptions already in the output folder may hold an author's edits: they are kept unless
// --force is given.
TEST(StrumentoDecompile, DescrizioniEsistentiSostituiteSoloConForce) {
    Cartelle c;
    compila_spedito_in(c.compilati.percorso(), NomiScenario{});
    const fs::path uscita = c.uscita / "testi";
    fs::create_directories(uscita);
    const fs::path treno = uscita / "Brunavia_706-.txt";
    prova::scrivi_byte(treno, "modificato a mano\r\n");
    const std::vector<std::string> riga = {"decompile", c.compilati.percorso().string(), "-o",
                                           uscita.string()};
    std::string out, err;
    EXPECT_EQ(esegui(riga, out, err), 1);
    EXPECT_NE(err.find(treno.string() + " esiste gia'"), std::string::npos) << err;
    EXPECT_EQ(prova::leggi_byte(treno), "modificato a mano\r\n");
    EXPECT_FALSE(fs::exists(uscita / "Brunavia_linea.txt"));

    auto con_force = riga;
    con_force.push_back("--force");
    ASSERT_EQ(esegui(con_force, out, err), 0) << err;
    EXPECT_NE(prova::leggi_byte(treno), "modificato a mano\r\n");
    EXPECT_TRUE(fs::exists(uscita / "Brunavia_linea.txt"));
}

TEST(StrumentoDecompile, FileDanneggiatiRifiutatiConIlMessaggioDiDump) {
    struct Caso {
        std::string file;
        std::size_t taglio;  // bytes cut from the end
    };
    const Caso casi[] = {
        {"Brunavia_706.dat", 7}, {"Brunavia_706.sim", 1}, {"Brunavia_linea.dat", 3}};
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.file);
        Cartelle c;
        compila_spedito_in(c.compilati.percorso());
        const fs::path file = c.compilati / caso.file;
        std::string byte = prova::leggi_byte(file);
        byte.resize(byte.size() - caso.taglio);
        prova::scrivi_byte(file, byte);
        std::string out, err, out_dump, err_dump;
        EXPECT_EQ(esegui({"decompile", c.compilati.percorso().string(), "-o",
                          c.uscita.percorso().string()},
                         out, err),
                  1);
        EXPECT_EQ(esegui({"dump", file.string()}, out_dump, err_dump), 1);
        EXPECT_EQ(err, err_dump);
        EXPECT_TRUE(fs::is_empty(c.uscita.percorso()));
    }
}

// A missing folder is named as a folder; a missing file and an output that cannot be created
// are named by their whole path, with the reason in Italian; nothing is written.
TEST(StrumentoDecompile, CartelleEFileMancantiNominatiInteriInItaliano) {
    Cartelle c;
    const fs::path manca = c.compilati / "manca";
    const fs::path vuota = c.uscita / "vuota";
    std::string out, err;
    EXPECT_EQ(esegui({"decompile", manca.string(), "-o", vuota.string()}, out, err), 1);
    EXPECT_EQ(err, "Errore sul file " + manca.string() + ": cartella inesistente\n");

    EXPECT_EQ(
        esegui({"decompile", c.compilati.percorso().string(), "-o", vuota.string()}, out, err), 1);
    EXPECT_EQ(err, "Errore sul file " + (c.compilati / "Brunavia_706.dat").string() +
                       ": file inesistente\n");

    compila_spedito_in(c.compilati.percorso());
    prova::scrivi_byte(c.uscita / "file", "");
    const fs::path sotto_un_file = c.uscita / "file" / "testi";
    EXPECT_EQ(esegui({"decompile", c.compilati.percorso().string(), "-o", sotto_un_file.string()},
                     out, err),
              1);
    EXPECT_EQ(err.rfind("Errore sul file " + sotto_un_file.string() + ": ", 0), 0u) << err;
    EXPECT_EQ(err.find("File exists"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(vuota));
}

// A folder with several scenarios gives no names by itself: with none named, decompile and plot
// refuse (64) and list them, even when one of them has the default names; a name that picks
// none of them says which there are.
TEST(StrumentoDecompile, CartellaConPiuScenariDiceComeSceglierne) {
    Cartelle c;
    compila_spedito_in(c.compilati.percorso(), {"Alta", "12"});
    compila_spedito_in(c.compilati.percorso(), {"Bassa", "3"});
    const std::string cartella = c.compilati.percorso().string();
    const std::string scelta =
        "nella cartella ci sono Alta_12.sim, Bassa_3.sim; sceglierne uno con --scenario e "
        "--train\n";
    const std::vector<std::vector<std::string>> senza_nomi = {
        {"decompile", cartella, "-o", (c.uscita / "testi").string()},
        {"plot", cartella, "-o", (c.uscita / "x.svg").string()}};
    for (const auto& comando : senza_nomi) {
        std::string out, err;
        EXPECT_EQ(esegui(comando, out, err), kUscitaUso) << comando[0];
        EXPECT_EQ(err, "brunavia-tool " + comando[0] + ": " + scelta + "vedi brunavia-tool " +
                           comando[0] + " --help\n");
    }
    {
        std::string out, err;
        EXPECT_EQ(esegui({"decompile", cartella, "-o", (c.uscita / "testi").string(), "--scenario",
                          "Alta"},
                         out, err),
                  1);
        EXPECT_TRUE(err.starts_with("Errore sul file ")) << err;
        EXPECT_TRUE(err.ends_with("file inesistente\n" + scelta)) << err;
    }
    // With the default scenario among them, none is chosen silently either.
    compila_spedito_in(c.compilati.percorso(), {"Brunavia", "706"});
    for (const auto& comando : senza_nomi) {
        std::string out, err;
        EXPECT_EQ(esegui(comando, out, err), kUscitaUso) << comando[0];
        EXPECT_NE(err.find("Alta_12.sim, Bassa_3.sim, Brunavia_706.sim; sceglierne"),
                  std::string::npos)
            << err;
        EXPECT_EQ(out, "");
    }
    EXPECT_FALSE(fs::exists(c.uscita / "testi"));
    std::string out, err;
    EXPECT_EQ(esegui({"decompile", cartella, "-o", (c.uscita / "testi").string(), "--scenario",
                      "Bassa", "--train", "3"},
                     out, err),
              0)
        << err;
    EXPECT_EQ(err, "");
    EXPECT_FALSE(fs::exists(c.uscita / "x.svg"));
}

TEST(StrumentoDecompile, RifiutaQuelloCheNessunaRigaSpiegaENonScriveNulla) {
    Cartelle c;
    compila_spedito_in(c.compilati.percorso());
    const fs::path file = c.compilati / "Brunavia_706.dat";
    std::string byte = prova::leggi_byte(file);
    // attributo1 of cell 100: only a signal stores a time, and cell 100 holds none.
    byte[100 * 15 + 9] = 7;
    prova::scrivi_byte(file, byte);
    std::string out, err;
    EXPECT_EQ(
        esegui({"decompile", c.compilati.percorso().string(), "-o", c.uscita.percorso().string()},
               out, err),
        1);
    EXPECT_NE(err.find("cella 100 (5000 m): attributo1 0 invece di 7"), std::string::npos) << err;
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(fs::is_empty(c.uscita.percorso()));
}

// Files renamed after the compile: the table still carries the old names, which a compile
// with the new ones would not reproduce.
TEST(StrumentoDecompile, NomiDiversiDaQuelliDellaTabellaRifiutati) {
    Cartelle c;
    compila_spedito_in(c.compilati.percorso());
    for (const std::string coda : {"_linea.dat", "_706.sim", "_706.dat"}) {
        fs::rename(c.compilati / ("Brunavia" + coda), c.compilati / ("Altra" + coda));
    }
    std::string out, err;
    EXPECT_EQ(
        esegui({"decompile", c.compilati.percorso().string(), "-o", c.uscita.percorso().string()},
               out, err),
        1);
    EXPECT_NE(
        err.find("riga 85 della tabella: il nome dello scenario e' \"Brunavia\", non \"Altra\""),
        std::string::npos)
        << err;
    EXPECT_TRUE(fs::is_empty(c.uscita.percorso()));
}

TEST(StrumentoDecompile, RigaDiComandoErrata) {
    Cartelle c;
    compila_spedito_in(c.compilati.percorso());
    const std::string dir = c.compilati.percorso().string();
    const std::string out_dir = c.uscita.percorso().string();
    const std::vector<std::vector<std::string>> casi = {
        {"decompile", dir},
        {"decompile", dir, "-o", out_dir, "--scenario", "a/b"},
        {"decompile", dir, "-o", out_dir, "--train", "7x"},
        {"decompile", dir, "-o", out_dir, "--nessuna"},
    };
    std::string aiuto, nessun_errore;
    EXPECT_EQ(esegui({"decompile", "--help"}, aiuto, nessun_errore), 0);
    EXPECT_EQ(aiuto.rfind("uso: brunavia-tool decompile CARTELLA -o USCITA", 0), 0u) << aiuto;
    for (const auto& a : casi) {
        std::string out, err;
        EXPECT_EQ(esegui(a, out, err), kUscitaUso) << a.back();
        EXPECT_FALSE(err.empty());
    }
    EXPECT_TRUE(fs::is_empty(c.uscita.percorso()));
}

}  // namespace
}  // namespace brunavia::strumento
