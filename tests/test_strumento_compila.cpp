#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "io/nomi_file.h"
#include "tests/aiuti.h"
#include "tool/compile/compilazione.h"
#include "tool/decodifica.h"
#include "tool/nomi.h"
#include "writers/scrittori.h"

namespace brunavia::strumento {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLinea = "Brunavia_linea.txt";
constexpr const char* kTreno = "Brunavia_706-.txt";
const std::vector<std::string> kCompilati = {"Brunavia_linea.dat", "Brunavia_706.sim",
                                             "Brunavia_706.dat"};

using prova::scrivi_descrizioni;

struct Esito {
    int stato = -1;
    std::string uscita;
    std::string errori;
};

Esito compila_in(const fs::path& linea, const fs::path& treno, const fs::path& cartella) {
    OpzioniCompila o;
    o.linea = linea;
    o.treno = treno;
    o.cartella = cartella;
    std::ostringstream uscita, errori;
    const int stato = compila_descrizioni(o, uscita, errori);
    return {stato, uscita.str(), errori.str()};
}

// Replaces the one occurrence of `vecchio` in the file.
void sostituisci(const fs::path& file, const std::string& vecchio, const std::string& nuovo) {
    std::string testo = prova::leggi_byte(file);
    const auto i = testo.find(vecchio);
    ASSERT_NE(i, std::string::npos) << vecchio;
    ASSERT_EQ(testo.find(vecchio, i + 1), std::string::npos) << vecchio;
    prova::scrivi_byte(file, testo.replace(i, vecchio.size(), nuovo));
}

// "LINE:COL" of the first occurrence of `campo` inside the line that holds `riga`.
std::string luogo(const std::string& testo, const std::string& riga, const std::string& campo) {
    const auto i = testo.find(riga);
    const auto inizio = testo.rfind('\n', i) == std::string::npos ? 0 : testo.rfind('\n', i) + 1;
    const auto numero = std::count(testo.begin(), testo.begin() + static_cast<long>(i), '\n') + 1;
    const auto colonna = testo.find(campo, i) - inizio + 1;
    return std::to_string(numero) + ":" + std::to_string(colonna);
}

TEST(StrumentoCompila, StessiByteDelProgrammaSenzaCancellareLeDescrizioni) {
    prova::CartellaTemporanea programma, descrizioni, uscita;
    const auto exe = prova::copia_programma(programma.percorso());
    ASSERT_EQ(prova::esegui(exe, {}, programma.percorso()).stato, 0);
    scrivi_descrizioni(descrizioni.percorso());

    // No -o: the compiled files go into the current folder.
    const auto esito =
        prova::esegui(BRUNAVIA_TOOL_EXE,
                      {"compile", (descrizioni / kLinea).string(), (descrizioni / kTreno).string()},
                      uscita.percorso());
    EXPECT_EQ(esito.stato, 0);
    EXPECT_EQ(esito.errori, "");
    for (const auto& nome : kCompilati) {
        ASSERT_TRUE(fs::exists(uscita / nome)) << nome;
        EXPECT_TRUE(prova::leggi_byte(uscita / nome) == prova::leggi_byte(programma / nome))
            << nome;
        EXPECT_NE(esito.uscita.find(nome), std::string::npos) << nome;
    }
    EXPECT_TRUE(fs::exists(descrizioni / kLinea));
    EXPECT_TRUE(fs::exists(descrizioni / kTreno));
}

TEST(StrumentoCompila, NomiDiScenarioETrenoDalleOpzioni) {
    prova::CartellaTemporanea descrizioni, uscita;
    scrivi_descrizioni(descrizioni.percorso());
    OpzioniCompila o;
    o.linea = descrizioni / kLinea;
    o.treno = descrizioni / kTreno;
    o.cartella = uscita / "nuova";  // created when missing
    o.nome_scenario = "Valico";
    o.numero_treno = "2143";
    std::ostringstream out, err;
    ASSERT_EQ(compila_descrizioni(o, out, err), 0) << err.str();
    for (const char* nome : {"Valico_linea.dat", "Valico_2143.sim", "Valico_2143.dat"}) {
        EXPECT_TRUE(fs::exists(o.cartella / nome)) << nome;
    }
    const Tabella t = decodifica_tabella(prova::leggi_byte(o.cartella / "Valico_2143.sim"));
    EXPECT_EQ(t[85].testo, "Valico");
    EXPECT_EQ(t[86].testo, "2143");
}

// A name with an accented letter enters the table as Windows-1252 and names the files in UTF-8
// (on Windows through the UTF-16 command line).
TEST(StrumentoCompila, NomeAccentatoInWindows1252NellaTabella) {
    prova::CartellaTemporanea descrizioni, lavoro;
    scrivi_descrizioni(descrizioni.percorso());
    const auto esito =
        prova::esegui(BRUNAVIA_TOOL_EXE,
                      {"compile", (descrizioni / kLinea).string(), (descrizioni / kTreno).string(),
                       "-o", "uscita", "--scenario", "V\u00E0lle", "--train", "42"},
                      lavoro.percorso());
    ASSERT_EQ(esito.stato, 0) << esito.errori;
    // The names are UTF-8 text: a path made from them is UTF-16 on Windows.
    const auto sim = lavoro / "uscita/V\u00E0lle_42.sim";
    ASSERT_TRUE(fs::exists(sim));
    EXPECT_TRUE(fs::exists(lavoro / "uscita/V\u00E0lle_linea.dat"));
    EXPECT_EQ(decodifica_tabella(prova::leggi_byte(sim))[85].testo, "\x56\xE0\x6C\x6C\x65");
}

// An output folder whose full path passes Windows' old limit of 260 characters, compiled into
// twice: the second run replaces the first one's files, a read-only table among them, and
// leaves no temporary file.
TEST(StrumentoCompila, CartellaOltre260CaratteriEFileDiSolaLettura) {
    prova::CartellaTemporanea descrizioni, lavoro;
    scrivi_descrizioni(descrizioni.percorso());
    std::string lunga;
    for (char c = 'a'; c <= 'f'; ++c) lunga += "cartella_di_uscita_" + std::string(30, c) + "/";
    const fs::path uscita = lavoro / lunga;
    ASSERT_GT(uscita.native().size(), 260u);
    const std::vector<std::string> riga = {"compile", (descrizioni / kLinea).string(),
                                           (descrizioni / kTreno).string(), "-o", uscita.string()};
    ASSERT_EQ(prova::esegui(BRUNAVIA_TOOL_EXE, riga, lavoro.percorso()).stato, 0);
    const std::string tabella = prova::leggi_byte(uscita / "Brunavia_706.sim");
    prova::scrivi_byte(uscita / "Brunavia_706.sim", "vecchia");
    fs::permissions(uscita / "Brunavia_706.sim", fs::perms::owner_write | fs::perms::group_write,
                    fs::perm_options::remove);

    const auto esito = prova::esegui(BRUNAVIA_TOOL_EXE, riga, lavoro.percorso());

    ASSERT_EQ(esito.stato, 0) << esito.errori;
    EXPECT_TRUE(prova::leggi_byte(uscita / "Brunavia_706.sim") == tabella);
    EXPECT_EQ(prova::nomi_in(uscita), (std::set<std::string>{"Brunavia_706.dat", "Brunavia_706.sim",
                                                             "Brunavia_linea.dat"}));
}

// Without --scenario and --train the names come from description files named as the program
// names them: the compiled files, the table and the competition codes are those of a compile
// with these names.
TEST(StrumentoCompila, NomiDalleDescrizioniSenzaOpzioni) {
    prova::CartellaTemporanea descrizioni, lavoro;
    scrivi_descrizioni(descrizioni.percorso(), "Prova", "12");
    const std::string linea = (descrizioni / "Prova_linea.txt").string();
    const std::string treno = (descrizioni / "Prova_12-.txt").string();
    const auto esito = prova::esegui(
        BRUNAVIA_TOOL_EXE, {"compile", linea, treno, "-o", "dalle_descrizioni"}, lavoro.percorso());
    ASSERT_EQ(esito.stato, 0) << esito.errori;
    const auto opzioni = prova::esegui(
        BRUNAVIA_TOOL_EXE,
        {"compile", linea, treno, "-o", "dalle_opzioni", "--scenario", "Prova", "--train", "12"},
        lavoro.percorso());
    ASSERT_EQ(opzioni.stato, 0) << opzioni.errori;
    for (const char* nome : {"Prova_linea.dat", "Prova_12.sim", "Prova_12.dat"}) {
        const fs::path file = lavoro / "dalle_descrizioni" / nome;
        ASSERT_TRUE(fs::exists(file)) << nome;
        EXPECT_NE(esito.uscita.find(file.filename().string()), std::string::npos) << nome;
        EXPECT_TRUE(prova::leggi_byte(file) == prova::leggi_byte(lavoro / "dalle_opzioni" / nome))
            << nome;
    }
    const Tabella t =
        decodifica_tabella(prova::leggi_byte(lavoro / "dalle_descrizioni" / "Prova_12.sim"));
    EXPECT_EQ(t[85].testo, "Prova");
    EXPECT_EQ(t[86].testo, "12");
    // The competition code is computed from the names: it differs from the shipped one's.
    scrivi_descrizioni(descrizioni.percorso());
    ASSERT_EQ(compila_in(descrizioni / kLinea, descrizioni / kTreno, lavoro / "spedito").stato, 0);
    const Tabella spedita =
        decodifica_tabella(prova::leggi_byte(lavoro / "spedito" / "Brunavia_706.sim"));
    EXPECT_NE(t[85].codice, spedita[85].codice);

    // The stamp's cell taken by an "abbattimento" at 50 m: the error points at its row in the
    // file named.
    scrivi_descrizioni(descrizioni.percorso(), "Prova", "12");
    sostituisci(descrizioni / "Prova_12-.txt", "[fine]", "abbattimento,    50,    1\r\n[fine]");
    const auto errore =
        prova::esegui(BRUNAVIA_TOOL_EXE, {"compile", linea, treno, "-o", "x"}, lavoro.percorso());
    EXPECT_EQ(errore.stato, 1);
    EXPECT_NE(errore.errori.find(treno + ":140:18: Errore n. 1250"), std::string::npos)
        << errore.errori;
}

TEST(StrumentoCompila, NomiDaiNomiDeiFile) {
    struct Caso {
        const char* linea;
        const char* treno;
        std::optional<NomiScenario> attesi;
    };
    const Caso casi[] = {
        {"Prova_linea.txt", "Prova_12-.txt", NomiScenario{"Prova", "12"}},
        {"a/Prova_linea.txt", "b/c/Prova_12-.txt", NomiScenario{"Prova", "12"}},
        {"Val_di_Non_linea.txt", "Val_di_Non_3-.txt", NomiScenario{"Val_di_Non", "3"}},
        {"Prova_linea.txt", "Altra_12-.txt", std::nullopt},  // two scenarios
        {"Prova_linea.txt", "Prova_12.txt", std::nullopt},   // no dash: not a train description
        {"Prova_linea.txt", "Prova_x1-.txt", std::nullopt},  // not a train number
        {"Prova_linea.txt", "Prova_-.txt", std::nullopt},    // no train number
        {"_linea.txt", "_12-.txt", std::nullopt},            // no scenario name
        {"linea.txt", "treno.txt", std::nullopt},
        {"Prova_linea.TXT", "Prova_12-.TXT", std::nullopt},
    };
    for (const auto& c : casi) {
        const auto nomi = nomi_dalle_descrizioni(c.linea, c.treno);
        ASSERT_EQ(nomi.has_value(), c.attesi.has_value()) << c.linea << " " << c.treno;
        if (nomi) {
            EXPECT_EQ(nomi->scenario, c.attesi->scenario) << c.linea;
            EXPECT_EQ(nomi->treno, c.attesi->treno) << c.treno;
        }
    }

    // A folder: the names of its one NAME_N.sim file.
    struct CasoCartella {
        std::vector<std::string> file;
        std::optional<NomiScenario> attesi;
    };
    const CasoCartella cartelle[] = {
        {{"Prova_12.sim", "Prova_12.dat", "Prova_linea.dat"}, NomiScenario{"Prova", "12"}},
        {{"Prova_12.sim", "Prova_13.sim"}, std::nullopt},
        {{"Prova_12.dat"}, std::nullopt},
        {{"Prova_x.sim", "Val_7.sim"}, NomiScenario{"Val", "7"}},
    };
    for (const auto& c : cartelle) {
        prova::CartellaTemporanea cartella;
        for (const auto& nome : c.file) prova::scrivi_byte(cartella / nome, "");
        const auto nomi = nomi_dalla_cartella(cartella.percorso());
        ASSERT_EQ(nomi.has_value(), c.attesi.has_value()) << c.file[0];
        if (nomi) {
            EXPECT_EQ(nomi->scenario, c.attesi->scenario);
            EXPECT_EQ(nomi->treno, c.attesi->treno);
        }
    }
    // Each name given on the command line wins over the files'.
    const NomiScenario n = nomi_da_usare(NomiScenario{"Prova", "12"}, std::nullopt, "7");
    EXPECT_EQ(n.scenario + " " + n.treno, "Prova 7");
    const NomiScenario d = nomi_da_usare(std::nullopt, std::nullopt, std::nullopt);
    EXPECT_EQ(d.scenario + " " + d.treno, "Brunavia 706");
}

// A scenario name that would name files outside the output folder, or a train that is not a
// number, is refused as a command line that does not fit, before anything is written.
TEST(StrumentoCompila, NomiCheEsconoDallaCartellaOTreniNonNumericiRifiutati) {
    const std::vector<std::string> casi[] = {
        {"--scenario", "../fuori"},
        {"--scenario", "a/b"},
        {"--scenario", "a\\b"},
        {"--scenario", ".."},
        {"--scenario", ""},
        {"--train", "abc"},
        {"--train", "12a"},
        {"--train", "-5"},
        {"--train", ""},
        // No Windows-1252 byte for the letter: the table could not hold the name.
        {"--scenario", "\u03A9mega"},
    };
    prova::CartellaTemporanea descrizioni;
    scrivi_descrizioni(descrizioni.percorso());
    for (const auto& opzione : casi) {
        prova::CartellaTemporanea lavoro;
        std::vector<std::string> riga = {"compile", (descrizioni / kLinea).string(),
                                         (descrizioni / kTreno).string(), "-o", "uscita"};
        riga.insert(riga.end(), opzione.begin(), opzione.end());
        const auto esito = prova::esegui(BRUNAVIA_TOOL_EXE, riga, lavoro.percorso());
        EXPECT_EQ(esito.stato, 64) << opzione[1];
        EXPECT_EQ(esito.errori.rfind("brunavia-tool compile: " + opzione[0] + ": ", 0), 0u)
            << esito.errori;
        EXPECT_EQ(esito.uscita, "");
        EXPECT_TRUE(fs::is_empty(lavoro.percorso())) << opzione[1];

        riga = {"plot", descrizioni.percorso().string(), "-o", "x.svg"};
        riga.insert(riga.end(), opzione.begin(), opzione.end());
        const auto disegno = prova::esegui(BRUNAVIA_TOOL_EXE, riga, lavoro.percorso());
        EXPECT_EQ(disegno.stato, 64) << opzione[1];
        EXPECT_TRUE(fs::is_empty(lavoro.percorso())) << opzione[1];
    }
}

// One changed row per case: the report must name the file, the line and the column of the
// field that caused the error.
struct CasoLuogo {
    const char* file;     // kLinea or kTreno
    std::string vecchio;  // the text replaced
    std::string nuovo;    // by this
    std::string campo;    // the field of `nuovo` the error points at
    const char* errore;   // "Errore n. N" and, where recorded, the position
};

TEST(StrumentoCompila, OgniErroreDiRigaIndicaFileRigaEColonna) {
    const CasoLuogo casi[] = {
        // line reader
        {kLinea, "lunghezza percorso,    120000", "lunghezza percorso,    12O000", "12O000",
         "Errore n. 25:"},
        {kLinea, "ripetizione segnali 4 codici,    0    ,0",
         "ripetizione segnali 4 codici,    120    ,0", "120", "Errore n. 3:"},
        {kLinea, "ripetizione segnali 4 codici,    0    ,0",
         "ripetizione segnali 4 codici,    0    ,70", "70", "Errore n. 4:"},
        {kLinea, "ripetizione segnali 4 codici,", "ripetizione segnali codici,", "ripetizione",
         "Errore n. 5:"},
        {kLinea, "curvad5,  0,  150", "curvad,  0,  150", "curvad", "Errore n. 103:"},
        {kLinea, "pendenza,  121900,   0", "pendenza,  126950,   0", "126950",
         "Errore n. 15, posizione 126950:"},
        {kLinea, "indicatori_vmax,  6000,  80", "indicatori_vmax,  5510,  80", "5510",
         "Errore n. 21, posizione 5510:"},
        {kLinea, "cartello_indicatore,  10350,   (F)", "cartello_indicatore,  5520,   (F)", "5520",
         "Errore n. 6, posizione 5520:"},
        // train reader
        {kTreno, "sabbia,    300", "sabbia,    70000", "70000", "Errore n. 25:"},
        {kTreno, "velocita,  115450,    60", "velocita,  115450,  1300", "1300", "Errore n. 25:"},
        {kTreno, "aderenza,  120800,   100", "aderenza,  126950,   100", "126950",
         "Errore n. 15, posizione 126950:"},
        {kTreno, "stazione,    7350, 11,  600,", "stazione,    7360, 11,  600,", "7360",
         "Errore n. 8, posizione 7360:"},
        {kTreno, "stazione,    7350, 11,  600,", "stazione,    7350, 11,  650,", "650",
         "Errore n. 9, posizione 7350:"},
        {kTreno, "segnale,    2200,", "segnale,    1410,", "1410", "Errore n. 16, posizione 1410:"},
        // rows found wrong after both files were read
        {kLinea, "progressiva chilometrica due,    115050,",
         "progressiva chilometrica due,    115060,", "115060", "Errore n. 2:"},
        {kLinea, "progressiva chilometrica uno,    0,    240700,",
         "progressiva chilometrica uno,    0,    240710,", "240710", "Errore n. 2:"},
        {kTreno, "[rallentamenti]",  // a 24th station: no table row left
         "stazione,  124000, 12,  400,  0, 0, 0,  1,1,0,  2,1,1,    0,   0, 0, 0, EXTRA\r\n"
         "[rallentamenti]",
         "stazione", "Errore n. 10:"},
    };
    for (const auto& c : casi) {
        prova::CartellaTemporanea descrizioni, uscita;
        scrivi_descrizioni(descrizioni.percorso());
        const fs::path file = descrizioni / c.file;
        sostituisci(file, c.vecchio, c.nuovo);
        const Esito e = compila_in(descrizioni / kLinea, descrizioni / kTreno, uscita.percorso());
        const std::string atteso = file.string() + ":" +
                                   luogo(prova::leggi_byte(file), c.nuovo, c.campo) + ": " +
                                   c.errore;
        EXPECT_EQ(e.stato, 2) << c.nuovo;
        EXPECT_EQ(e.errori.rfind(atteso, 0), 0u)
            << "atteso " << atteso << "\nottenuto " << e.errori;
        EXPECT_TRUE(fs::exists(descrizioni / kLinea) && fs::exists(descrizioni / kTreno))
            << c.nuovo;
    }
}

// Errors of a whole file name the file alone; the finishing rules' errors point at the row of
// their slowdown or signal.
TEST(StrumentoCompila, ErroriSenzaRigaNominanoLoScenarioOIlFile) {
    struct Caso {
        const char* file;
        std::string vecchio;
        std::string nuovo;  // "" removes the file
        std::string prima_riga;
        int stato;
        bool compilati;  // whether the compiled files are written
    };
    const Caso casi[] = {
        // The finishing rules: signals on the three cells of the near window before a slowdown.
        {kTreno, "[rallentamenti]\r\n",
         "[rallentamenti]\r\nrallentamento, 30000, 60, 1000, 0, 0, 0\r\n"
         "segnale, 29650, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0\r\n"
         "segnale, 29700, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0\r\n"
         "segnale, 29750, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0\r\n",
         "%T:94:1: Errore n. 12, posizione 30050: nessuna cella libera", 2, true},
        {kTreno, "", "", "%T: Errore n. 25: manca il file di descrizione del treno", 2, true},
        {kLinea, "", "", "%L: Errore n. 101: file di descrizione della linea non trovato", 2,
         false},
    };
    for (const auto& c : casi) {
        prova::CartellaTemporanea descrizioni, uscita;
        scrivi_descrizioni(descrizioni.percorso());
        if (c.vecchio.empty()) {
            fs::remove(descrizioni / c.file);
        } else {
            sostituisci(descrizioni / c.file, c.vecchio, c.nuovo);
        }
        const Esito e = compila_in(descrizioni / kLinea, descrizioni / kTreno, uscita.percorso());
        std::string atteso = c.prima_riga;
        if (atteso.starts_with("%L")) atteso.replace(0, 2, (descrizioni / kLinea).string());
        if (atteso.starts_with("%T")) atteso.replace(0, 2, (descrizioni / kTreno).string());
        EXPECT_EQ(e.stato, c.stato) << atteso;
        EXPECT_EQ(e.errori.rfind(atteso, 0), 0u)
            << "atteso " << atteso << "\nottenuto " << e.errori;
        for (const auto& nome : kCompilati) {
            EXPECT_EQ(fs::exists(uscita / nome), c.compilati) << atteso << " " << nome;
        }
    }
}

// Errors 1250 and 1251 point at the position of the row that took cell 1 (for a marker of the
// finishing rules, of the signal it stands in front of); nothing is compiled.
TEST(StrumentoCompila, IlTimbroIndicaLaRigaCheOccupaLaCella) {
    struct Caso {
        std::string vecchio;
        std::string nuovo;
        std::string prima_riga;
    };
    const std::string timbro =
        "Errore n. 1250: valori riservati al timbro gia' occupati: la cella 1 (da 50 a 99 m), "
        "dove va il timbro, e' occupata ";
    const std::string rallentamenti = "[rallentamenti]\r\n";
    const Caso casi[] = {
        {"segnale,    1400,", "segnale,       0,",
         "95:16: " + timbro + "dal segnale di questa riga"},
        // A thousands space: the signal is read at 1 m.
        {"segnale,    1400,", "segnale,    1 400,",
         "95:13: " + timbro + "dal segnale di questa riga"},
        // A slowdown at 0 m with speed 0 and a second value takes only the codes' place.
        {rallentamenti, rallentamenti + "rallentamento, 0, 0, 1000, 0, 0, 5\r\n",
         "94:16: Errore n. 1251: valori riservati ai codici di gara gia' occupati: la cella 1 (da "
         "50 a 99 m), dove vanno i codici di gara, e' occupata dall'inizio di un rallentamento di "
         "questa riga"},
        // A signal at 100 m (cell 3) before a warning board, its cell 2 taken: the marker in
        // front of it goes to cell 1.
        {rallentamenti,
         rallentamenti + "rallentamento, 2000, 120, 100, 0, 0, 0\r\nsegnale, 100, 1, 2, 3, 0, "
                         "0, 0, 0, 0, 0, 0\r\nabbattimento, 100, 0\r\n",
         "95:10: " + timbro +
             "da un marcatore che le regole di finitura mettono davanti al segnale di questa "
             "riga"},
    };
    for (const auto& c : casi) {
        prova::CartellaTemporanea descrizioni, uscita;
        scrivi_descrizioni(descrizioni.percorso());
        sostituisci(descrizioni / kTreno, c.vecchio, c.nuovo);
        const Esito e = compila_in(descrizioni / kLinea, descrizioni / kTreno, uscita.percorso());
        const std::string atteso = (descrizioni / kTreno).string() + ":" + c.prima_riga;
        EXPECT_EQ(e.stato, 1) << atteso;
        EXPECT_EQ(e.errori.rfind(atteso, 0), 0u)
            << "atteso " << atteso << "\nottenuto " << e.errori;
        for (const auto& nome : kCompilati) EXPECT_FALSE(fs::exists(uscita / nome)) << nome;
    }
}

TEST(StrumentoCompila, LaRigaDellErroreConIlSegnoSottoIlCampo) {
    prova::CartellaTemporanea descrizioni, uscita;
    scrivi_descrizioni(descrizioni.percorso());
    sostituisci(descrizioni / kLinea, "ripetizione segnali 4 codici,    0    ,0",
                "ripetizione segnali 4 codici,    0    ,\t70");
    const Esito e = compila_in(descrizioni / kLinea, descrizioni / kTreno, uscita.percorso());
    // The tab before the field stays a tab under it, so the caret lines up.
    EXPECT_EQ(e.errori, (descrizioni / kLinea).string() +
                            ":9:41: Errore n. 4: seconda posizione della ripetizione segnali "
                            "non multipla di 50\n"
                            "    ripetizione segnali 4 codici,    0    ,\t70\n"
                            "    " +
                            std::string(39, ' ') + "\t^\n" +
                            // The reading stopped there: the rest of the line description and
                            // the whole train description are not read.
                            "nota: righe 10-419 di " + (descrizioni / kLinea).string() +
                            " non lette (410 righe)\n"
                            "nota: righe 1-140 di " +
                            (descrizioni / kTreno).string() + " non lette (140 righe)\n");
    EXPECT_EQ(e.stato, 2);
}

}  // namespace
}  // namespace brunavia::strumento
