// What `compile` says beside its errors (check's warnings, the names it falls back to, the lines
// a stopped reader left unread) and the one warning for descriptions given in each other's place.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/aiuti.h"
#include "tool/check/verifica.h"
#include "tool/comandi.h"
#include "writers/scrittori.h"

namespace brunavia::strumento {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLinea = "Brunavia_linea.txt";
constexpr const char* kTreno = "Brunavia_706-.txt";
const std::vector<std::string> kCompilati = {"Brunavia_linea.dat", "Brunavia_706.sim",
                                             "Brunavia_706.dat"};
// The shipped descriptions end with "[fine]" on line 419 (line) and 140 (train).
constexpr int kRigheLinea = 419;
constexpr int kRigheTreno = 140;

using prova::scrivi_descrizioni;

// Replaces the one occurrence of `vecchio` in the file ("" for `vecchio` empties the file).
void sostituisci(const fs::path& file, const std::string& vecchio, const std::string& nuovo) {
    if (vecchio.empty()) return prova::scrivi_byte(file, nuovo);
    std::string testo = prova::leggi_byte(file);
    const auto i = testo.find(vecchio);
    ASSERT_NE(i, std::string::npos) << vecchio;
    ASSERT_EQ(testo.find(vecchio, i + 1), std::string::npos) << vecchio;
    prova::scrivi_byte(file, testo.replace(i, vecchio.size(), nuovo));
}

struct Esito {
    int stato = -1;
    std::string uscita;
    std::string errori;
};

// The tool's command line, run in this process.
Esito strumento(const std::vector<std::string>& argomenti) {
    std::ostringstream uscita, errori;
    const int stato = esegui_strumento(argomenti, uscita, errori);
    return {stato, uscita.str(), errori.str()};
}

// The lines of a text ("\n" ends each).
std::vector<std::string> righe_di(const std::string& testo) {
    std::vector<std::string> r;
    std::istringstream in(testo);
    for (std::string riga; std::getline(in, riga);) r.push_back(riga);
    return r;
}

std::size_t conta(const std::string& testo, const std::string& parola) {
    std::size_t n = 0;
    for (auto i = testo.find(parola); i != std::string::npos; i = testo.find(parola, i + 1)) ++n;
    return n;
}

// ---- check's warnings in compile ----

// A silent trap that compile passed over without a word: its warning follows the errors, in
// check's words; the exit status and the compiled bytes are those of a compile without
// warnings, and --no-warnings hides them.
TEST(AvvisiDiCompile, GliAvvisiDiCheckDopoGliErrori) {
    struct Caso {
        const char* file;
        std::string vecchio;
        std::string nuovo;
        std::string avviso;  // the warning's first line, "%F" for the changed file's path
        int stato;
    };
    const Caso casi[] = {
        // A misspelt keyword: the row is dropped.
        {kLinea, "pendenza,  1200,   7", "pendneza,  1200,   7",
         "%F:209:1: warning: nessuna riga ha la parola chiave 'pendneza': la riga e' ignorata "
         "(forse 'pendenza'?) [parola-sconosciuta]",
         0},
        // A train description without its header, or empty: stations, speeds and adhesion
        // are all missing.
        {kTreno, "[generale]", "[generali]", "%F:1:1: warning: manca l'intestazione [generale]", 0},
        {kTreno, "", "", "%F:1:1: warning: manca l'intestazione [generale]", 0},
        // After an error that stops nothing, the warning comes after it.
        {kTreno, "velocita,     750,    90", "velocita,     750,    83",
         "%F:46:23: warning: velocita' 83 km/h", 2},
    };
    for (const Caso& c : casi) {
        prova::CartellaTemporanea descrizioni, con, senza;
        scrivi_descrizioni(descrizioni.percorso());
        sostituisci(descrizioni / c.file, c.vecchio, c.nuovo);
        if (c.stato == 2) {
            sostituisci(descrizioni / kLinea, "progressiva chilometrica due,    115050,",
                        "progressiva chilometrica due,    115060,");
        }
        const std::string linea = (descrizioni / kLinea).string();
        const std::string treno = (descrizioni / kTreno).string();
        const Esito avvisi = strumento({"compile", linea, treno, "-o", con.percorso().string()});
        const Esito muto =
            strumento({"compile", linea, treno, "-o", senza.percorso().string(), "--no-warnings"});

        std::string atteso = c.avviso;
        atteso.replace(0, 2, (descrizioni / c.file).string());
        EXPECT_EQ(avvisi.stato, c.stato) << atteso;
        EXPECT_EQ(muto.stato, c.stato) << atteso;
        // The errors as before, then the warning.
        EXPECT_EQ(muto.errori.find("warning:"), std::string::npos) << muto.errori;
        ASSERT_EQ(avvisi.errori.substr(0, muto.errori.size()), muto.errori);
        EXPECT_EQ(avvisi.errori.find(atteso), muto.errori.size()) << atteso << "\n"
                                                                  << avvisi.errori;
        EXPECT_EQ(conta(muto.errori, "Errore n."), c.stato == 2 ? 1u : 0u) << muto.errori;
        for (const auto& nome : kCompilati) {
            ASSERT_TRUE(fs::exists(con / nome)) << nome;
            EXPECT_TRUE(prova::leggi_byte(con / nome) == prova::leggi_byte(senza / nome))
                << atteso << " " << nome;
        }
    }
}

// ---- names that fall back to the default ----

// Files not named alike give Brunavia and 706: one line on standard error says so and names the
// options, before anything else; names that come from the files or the options give none.
TEST(AvvisiDiCompile, NomiPredefinitiDettiInUnaRiga) {
    struct Caso {
        const char* linea;
        const char* treno;
        std::vector<std::string> opzioni;
        std::string nota;  // "" for none
        const char* compilato;
    };
    const std::string inizio =
        "nota: i nomi dei file non seguono lo schema NOME_linea.txt e NOME_N-.txt con lo stesso "
        "NOME: ";
    const Caso casi[] = {
        {"linea.txt",
         "treno.txt",
         {},
         inizio + "si usano lo scenario Brunavia e il treno 706 (sceglierli con --scenario e "
                  "--train)",
         "Brunavia_706.sim"},
        {"Prova_linea.txt",
         "Altra_12-.txt",
         {"--scenario", "Valle"},
         inizio + "si usa il treno 706 (sceglierlo con --train)",
         "Valle_706.sim"},
        {"linea.txt",
         "treno.txt",
         {"--train", "9"},
         inizio + "si usa lo scenario Brunavia (sceglierlo con --scenario)",
         "Brunavia_9.sim"},
        {"linea.txt", "treno.txt", {"--scenario", "Valle", "--train", "9"}, "", "Valle_9.sim"},
        {"Prova_linea.txt", "Prova_12-.txt", {}, "", "Prova_12.sim"},
    };
    prova::CartellaTemporanea spedite;
    scrivi_descrizioni(spedite.percorso());
    for (const Caso& c : casi) {
        prova::CartellaTemporanea descrizioni, uscita;
        fs::copy_file(spedite / kLinea, descrizioni / c.linea);
        fs::copy_file(spedite / kTreno, descrizioni / c.treno);
        std::vector<std::string> riga = {"compile", (descrizioni / c.linea).string(),
                                         (descrizioni / c.treno).string(), "-o",
                                         uscita.percorso().string()};
        riga.insert(riga.end(), c.opzioni.begin(), c.opzioni.end());
        const Esito e = strumento(riga);
        EXPECT_EQ(e.stato, 0) << e.errori;
        EXPECT_EQ(e.errori, c.nota.empty() ? "" : c.nota + "\n") << c.linea << " " << c.treno;
        EXPECT_TRUE(fs::exists(uscita / c.compilato)) << c.compilato;
    }
}

// ---- lines a stopped reader left unread ----

// After the row that stops a reader, a note names the lines of the file that the compile never
// read, and the train description that it never opened; an error that stops nothing has none.
TEST(AvvisiDiCompile, RigheNonLetteDopoLaRigaCheFerma) {
    struct Caso {
        const char* file;
        std::string vecchio;
        std::string nuovo;
        std::vector<std::string> note;  // "%L" and "%T" for the two paths
    };
    const auto n = [](int a, int b) { return std::to_string(a) + "-" + std::to_string(b); };
    const Caso casi[] = {
        // A signal on a taken cell, line 96.
        {kTreno,
         "segnale,    2200,",
         "segnale,    1410,",
         {"righe " + n(97, kRigheTreno) + " di %T non lette (44 righe)"}},
        // A station not on 50 m, line 73.
        {kTreno,
         "stazione,    7350, 11,  600,",
         "stazione,    7360, 11,  600,",
         {"righe " + n(74, kRigheTreno) + " di %T non lette (67 righe)"}},
        // A read failure, line 4.
        {kTreno,
         "sabbia,    300",
         "sabbia,    70000",
         {"righe " + n(5, kRigheTreno) + " di %T non lette (136 righe)"}},
        // A taken cell on the next-to-last line: one line left.
        {kTreno, "[codici]\r\n", "abbattimento, 1450, 5\r\n", {"riga 140 di %T non letta"}},
        // A board on a taken cell, line 334 of the line: the train is never opened.
        {kLinea,
         "indicatori_vmax,  6000,  80",
         "indicatori_vmax,  5510,  80",
         {"righe " + n(335, kRigheLinea) + " di %L non lette (85 righe)",
          "righe " + n(1, kRigheTreno) + " di %T non lette (140 righe)"}},
        // A reference point off the 50 m steps is found after both files were read.
        {kLinea,
         "progressiva chilometrica due,    115050,",
         "progressiva chilometrica due,    115060,",
         {}},
    };
    for (const Caso& c : casi) {
        prova::CartellaTemporanea descrizioni, uscita;
        scrivi_descrizioni(descrizioni.percorso());
        sostituisci(descrizioni / c.file, c.vecchio, c.nuovo);
        const std::string linea = (descrizioni / kLinea).string();
        const std::string treno = (descrizioni / kTreno).string();
        const Esito e =
            strumento({"compile", linea, treno, "-o", uscita.percorso().string(), "--no-warnings"});
        EXPECT_EQ(e.stato, 2) << c.nuovo;
        // The error, its source line and its caret, then the notes.
        const auto righe = righe_di(e.errori);
        ASSERT_GE(righe.size(), 3u) << e.errori;
        EXPECT_EQ(conta(e.errori, "Errore n."), 1u) << e.errori;
        std::vector<std::string> attese;
        for (std::string nota : c.note) {
            if (const auto i = nota.find("%L"); i != std::string::npos) nota.replace(i, 2, linea);
            if (const auto i = nota.find("%T"); i != std::string::npos) nota.replace(i, 2, treno);
            attese.push_back("nota: " + nota);
        }
        std::vector<std::string> dopo(righe.begin() + 3, righe.end());
        std::erase_if(dopo, [](const std::string& r) { return r.starts_with("nessun file"); });
        EXPECT_EQ(dopo, attese) << e.errori;
    }
}

// check shows the note on the compile's own error, in its lines and in JSON, and reads on
// through the lines the compile left.
TEST(AvvisiDiCompile, CheckMostraLeRigheCheLaCompilazioneNonLegge) {
    prova::CartellaTemporanea c;
    scrivi_descrizioni(c.percorso());
    sostituisci(c / kTreno, "segnale,    2200,", "segnale,    1410,");
    sostituisci(c / kTreno, "segnale,    6600,", "segnale,    5610,");
    const std::string linea = (c / kLinea).string(), treno = (c / kTreno).string();
    const std::string nota = "righe 97-140 di " + treno + " non lette (44 righe)";

    const Esito testo = strumento({"check", linea, treno});
    EXPECT_EQ(testo.stato, 2);
    EXPECT_NE(testo.uscita.find("    ^\nnota: " + nota + "\n" + treno + ":"), std::string::npos)
        << testo.uscita;
    EXPECT_EQ(conta(testo.uscita, "nota:"), 1u) << testo.uscita;
    EXPECT_NE(testo.uscita.find("(trovato proseguendo la lettura)"), std::string::npos);

    const auto j = nlohmann::json::parse(strumento({"check", linea, treno, "--json"}).uscita);
    ASSERT_EQ(j.size(), 2u) << j.dump(1);
    EXPECT_EQ(j[0]["notes"], nlohmann::json::array({nota}));
    EXPECT_EQ(j[1]["notes"], nlohmann::json::array());
}

// ---- descriptions given in each other's place ----

// The train description given as the line and the reverse: one warning says so, instead of
// one for every row of the other description; in check and in compile.
TEST(AvvisiDiCompile, DescrizioniScambiateUnSoloAvviso) {
    prova::CartellaTemporanea c, uscita;
    scrivi_descrizioni(c.percorso());
    const std::string linea = (c / kLinea).string(), treno = (c / kTreno).string();
    const std::string avviso =
        treno +
        ": warning: le descrizioni sembrano scambiate: prima LINEA, poi TRENO (il file dato come "
        "linea ha righe del treno e nessuna della linea) [descrizioni-scambiate]\n";

    const Esito verifica = strumento({"check", treno, linea});
    EXPECT_EQ(verifica.stato, 2);  // and error 25: the "line" has no length
    EXPECT_EQ(verifica.uscita.rfind(avviso, 0), 0u) << verifica.uscita;
    EXPECT_EQ(conta(verifica.uscita, "warning:"), 1u) << verifica.uscita;
    EXPECT_EQ(conta(verifica.uscita, "error:"), 1u) << verifica.uscita;

    const Esito compila = strumento({"compile", treno, linea, "-o", uscita.percorso().string()});
    EXPECT_EQ(compila.stato, 2);
    EXPECT_NE(compila.errori.find("\n" + avviso), std::string::npos) << compila.errori;
    EXPECT_EQ(conta(compila.errori, "warning:"), 1u) << compila.errori;

    // The same description twice is no swap: the rows of the other one are warned of one by one.
    const auto due_volte =
        verifica_descrizioni(prova::leggi_byte(c / kLinea), prova::leggi_byte(c / kLinea));
    ASSERT_FALSE(due_volte.empty());
    EXPECT_TRUE(std::none_of(due_volte.begin(), due_volte.end(), [](const Diagnosi& d) {
        return d.codice == "descrizioni-scambiate";
    }));
    EXPECT_GT(std::count_if(due_volte.begin(), due_volte.end(),
                            [](const Diagnosi& d) { return d.codice == "parola-sconosciuta"; }),
              10);
}

}  // namespace
}  // namespace brunavia::strumento
