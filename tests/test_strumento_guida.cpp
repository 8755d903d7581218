#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/versione.h"
#include "compiler/errori.h"
#include "tests/aiuti.h"
#include "tool/comandi.h"

namespace brunavia {
namespace {

// The author's guide explains every error number of the explanations table, and no other.
TEST(StrumentoGuida, LaTabellaDegliErroriDelLeggimiEQuellaDelCompilatore) {
    const std::string leggimi = prova::leggi_byte(BRUNAVIA_README);
    const auto inizio = leggimi.find("### Error numbers");
    ASSERT_NE(inizio, std::string::npos);
    std::set<std::int32_t> nella_guida;
    std::istringstream righe(leggimi.substr(inizio));
    std::string riga;
    std::getline(righe, riga);  // the heading itself
    // The table ends with the section: the next heading of any level.
    while (std::getline(righe, riga) && !riga.starts_with("#")) {
        if (riga.size() < 3 || riga[0] != '|' || riga[2] < '0' || riga[2] > '9') continue;
        nella_guida.insert(std::stoi(riga.substr(2)));
    }
    std::set<std::int32_t> nella_tabella;
    for (const auto& voce : tabella_errori()) nella_tabella.insert(voce.codice);
    EXPECT_EQ(nella_guida, nella_tabella);
}

// Every executable the README runs from build/ is built by scripts/run.sh, the README's way to
// build and run.
TEST(StrumentoGuida, LoScriptDiAvvioCostruisceOgniProgrammaDelLeggimi) {
    const std::filesystem::path radice = std::filesystem::path(BRUNAVIA_README).parent_path();
    const std::string leggimi = prova::leggi_byte(BRUNAVIA_README);
    const std::string avvio = prova::leggi_byte(radice / "scripts" / "run.sh");
    const auto bersagli = avvio.find("--target ");
    ASSERT_NE(bersagli, std::string::npos);
    std::istringstream riga(avvio.substr(bersagli + 9, avvio.find('\n', bersagli) - bersagli - 9));
    const std::set<std::string> costruiti{std::istream_iterator<std::string>(riga), {}};
    std::set<std::string> usati;
    for (auto i = leggimi.find("build/"); i != std::string::npos;
         i = leggimi.find("build/", i + 1)) {
        auto fine = i + 6;
        while (fine < leggimi.size() && (std::isalnum(static_cast<unsigned char>(leggimi[fine])) ||
                                         leggimi[fine] == '-' || leggimi[fine] == '_')) {
            ++fine;
        }
        // A file inside a folder, or a file with an extension (a compiled file, not a program).
        if (fine < leggimi.size() && (leggimi[fine] == '/' || leggimi[fine] == '.')) continue;
        usati.insert(leggimi.substr(i + 6, fine - i - 6));
    }
    usati.erase("");
    EXPECT_TRUE(usati.contains("brunavia-tool"));
    for (const auto& programma : usati) EXPECT_TRUE(costruiti.contains(programma)) << programma;
}

// The README's table of the Debian packages needed to build without installing lists exactly
// those that scripts/deps.sh installs.
TEST(StrumentoGuida, IPacchettiDelLeggimiSonoQuelliDiDeps) {
    const std::filesystem::path radice = std::filesystem::path(BRUNAVIA_README).parent_path();
    const std::string deps = prova::leggi_byte(radice / "scripts" / "deps.sh");
    const auto inizio = deps.find("needed=(");
    ASSERT_NE(inizio, std::string::npos);
    std::istringstream lista(deps.substr(inizio + 8, deps.find(')', inizio) - inizio - 8));
    const std::set<std::string> installati{std::istream_iterator<std::string>(lista), {}};

    const std::string leggimi = prova::leggi_byte(BRUNAVIA_README);
    const auto tabella = leggimi.find("| package | needed for |");
    ASSERT_NE(tabella, std::string::npos);
    std::set<std::string> elencati;
    std::istringstream righe(leggimi.substr(tabella));
    std::string riga;
    std::getline(righe, riga);
    while (std::getline(righe, riga) && riga.starts_with("|")) {
        const std::string prima_colonna = riga.substr(0, riga.find('|', 1));
        for (auto i = prima_colonna.find('`'); i != std::string::npos;
             i = prima_colonna.find('`', prima_colonna.find('`', i + 1) + 1)) {
            const auto fine = prima_colonna.find('`', i + 1);
            elencati.insert(prima_colonna.substr(i + 1, fine - i - 1));
        }
    }
    EXPECT_EQ(elencati, installati);
}

// Every command explains itself; a command line that does not fit is refused with its usage.
TEST(StrumentoGuida, AiutoEUsoErratoDiOgniComando) {
    struct Caso {
        std::vector<std::string> argomenti;
        int stato;
        std::string inizio_uscita;
        std::string inizio_errori;
    };
    const Caso casi[] = {
        {{"--help"}, 0, "uso: brunavia-tool COMANDO", ""},
        {{"compile", "--help"}, 0, "uso: brunavia-tool compile LINEA TRENO", ""},
        {{"dump", "-h"}, 0, "uso: brunavia-tool dump FILE", ""},
        {{"plot", "--help"}, 0, "uso: brunavia-tool plot CARTELLA -o FILE.svg", ""},
        {{}, strumento::kUscitaUso, "", "uso: brunavia-tool COMANDO"},
        {{"compila"}, strumento::kUscitaUso, "", "brunavia-tool: comando sconosciuto \"compila\""},
        {{"compile", "linea.txt"},
         strumento::kUscitaUso,
         "",
         "brunavia-tool compile: servono 2 argomenti, dato 1"},
        {{"dump"},
         strumento::kUscitaUso,
         "",
         "brunavia-tool dump: serve 1 argomento, nessuno dato"},
        {{"dump", "a.dat", "b.dat"},
         strumento::kUscitaUso,
         "",
         "brunavia-tool dump: serve 1 argomento, dati 2"},
        {{"dump", "x.dat", "--from", "9000", "--to", "2000"},
         strumento::kUscitaUso,
         "",
         "brunavia-tool dump: --from 9000 viene dopo --to 2000"},
        {{"--version"}, 0, "brunavia-tool " + std::string(kNumeroVersione) + "\n", ""},
        {{"compile", "a", "b", "-o"},
         strumento::kUscitaUso,
         "",
         "brunavia-tool compile: manca il valore di -o"},
        {{"dump", "x.dat", "--colore"},
         strumento::kUscitaUso,
         "",
         "brunavia-tool dump: opzione sconosciuta: --colore"},
        {{"dump", "x.dat", "--every", "0"},
         strumento::kUscitaUso,
         "",
         "brunavia-tool dump: --every: vuole un numero intero di metri maggiore di 0"},
        {{"dump", "x.dat", "--every=0"},
         strumento::kUscitaUso,
         "",
         "brunavia-tool dump: --every: vuole un numero intero di metri maggiore di 0, non \"0\""},
        {{"dump", "x.dat", "--from", "12m"},
         strumento::kUscitaUso,
         "",
         "brunavia-tool dump: --from: vuole un numero intero di metri, non \"12m\""},
        {{"compile", "a", "b", "c"},
         strumento::kUscitaUso,
         "",
         "brunavia-tool compile: servono 2 argomenti, dati 3"},
        {{"plot", "."}, strumento::kUscitaUso, "", "brunavia-tool plot: manca -o FILE.svg"},
    };
    for (const auto& c : casi) {
        std::ostringstream out, err;
        const int stato = strumento::esegui_strumento(c.argomenti, out, err);
        const std::string riga = c.argomenti.empty() ? "(nessun argomento)" : c.argomenti[0];
        EXPECT_EQ(stato, c.stato) << riga;
        EXPECT_EQ(out.str().rfind(c.inizio_uscita, 0), 0u) << out.str();
        EXPECT_EQ(err.str().rfind(c.inizio_errori, 0), 0u) << err.str();
        if (c.inizio_uscita.empty()) {
            EXPECT_EQ(out.str(), "");
        }
        // A command line that does not fit gets its reason and where the help is, not the
        // whole help.
        if (stato == strumento::kUscitaUso && !c.argomenti.empty()) {
            const std::string comando = c.argomenti[0] == "compila" ? "" : c.argomenti[0] + " ";
            EXPECT_EQ(err.str().find('\n') + 1, err.str().rfind("\nvedi ") + 1) << err.str();
            EXPECT_TRUE(err.str().ends_with("\nvedi brunavia-tool " + comando + "--help\n"))
                << err.str();
        }
    }
}

}  // namespace
}  // namespace brunavia
