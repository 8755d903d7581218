#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

namespace brunavia {
namespace {

namespace fs = std::filesystem;

const std::set<std::string> kComandi = {"tool/check", "tool/compile", "tool/decompile",
                                        "tool/dump",  "tool/lsp",     "tool/plot"};
std::set<std::string> con_comandi(std::set<std::string> cartelle) {
    cartelle.insert(kComandi.begin(), kComandi.end());
    return cartelle;
}

// Each folder and the folders whose headers it may include: its own and the layers below it,
// never a sibling. A command of the tool stands on
// the tool's shared parts; only the command line (`comandi.cpp`, `main_*.cpp`) sees the commands.
const std::set<std::string> kSottoTool = {"tool", "app", "writers", "compiler", "io"};
const std::map<std::string, std::set<std::string>> kStrati = {
    {"io", {"io"}},
    {"writers", {"writers", "io"}},
    {"compiler", {"compiler", "io"}},
    {"app", {"app", "writers", "compiler", "io"}},
    {"tool", kSottoTool},
    {"tool/check", con_comandi(kSottoTool)},
    {"tool/compile", con_comandi(kSottoTool)},
    {"tool/decompile", con_comandi(kSottoTool)},
    {"tool/dump", con_comandi(kSottoTool)},
    {"tool/plot", con_comandi(kSottoTool)},
    {"tool/lsp", con_comandi(kSottoTool)},
};
const std::set<std::string> kRigaDiComando = {"comandi.cpp", "main_posix.cpp", "main_win32.cpp"};

// The folder of every project header a source file includes ("tool/check/verifica.h" gives
// "tool/check").
std::set<std::string> cartelle_incluse(const fs::path& sorgente) {
    std::set<std::string> cartelle;
    std::ifstream in(sorgente);
    const std::string inizio = "#include \"";
    for (std::string riga; std::getline(in, riga);) {
        if (riga.rfind(inizio, 0) != 0) continue;
        const auto fine = riga.find('"', inizio.size());
        const auto barra = riga.rfind('/', fine);
        if (fine != std::string::npos && barra != std::string::npos && barra > inizio.size()) {
            cartelle.insert(riga.substr(inizio.size(), barra - inizio.size()));
        }
    }
    return cartelle;
}

// Whether `strato` may include a header of `cartella`: a command folder only its own among
// the commands.
bool ammessa(const std::string& strato, const std::string& cartella, const std::string& nome) {
    if (strato == "tool" && kRigaDiComando.contains(nome)) {
        return kSottoTool.contains(cartella) || kComandi.contains(cartella);
    }
    if (kComandi.contains(strato) && kComandi.contains(cartella)) {
        return cartella == strato;
    }
    return kStrati.at(strato).contains(cartella);
}

TEST(Strati, NessunSottosistemaIncludeUnFratello) {
    const fs::path radice = fs::path(BRUNAVIA_README).parent_path();
    std::size_t sorgenti = 0;
    for (const auto& [strato, ammessi] : kStrati) {
        for (const auto& voce : fs::directory_iterator(radice / strato)) {
            const auto estensione = voce.path().extension();
            if (estensione != ".h" && estensione != ".cpp") continue;
            ++sorgenti;
            const std::string nome = voce.path().filename().string();
            for (const auto& cartella : cartelle_incluse(voce.path())) {
                EXPECT_TRUE(ammessa(strato, cartella, nome))
                    << strato << "/" << nome << " include " << cartella << "/";
            }
        }
    }
    EXPECT_GT(sorgenti, 0u) << radice;
}

// Every folder of the tool is one of the layers above: a new command folder is listed here.
TEST(Strati, OgniCartellaDelloStrumentoHaIlSuoStrato) {
    const fs::path radice = fs::path(BRUNAVIA_README).parent_path();
    for (const auto& voce : fs::directory_iterator(radice / "tool")) {
        if (!voce.is_directory()) continue;
        const std::string cartella = "tool/" + voce.path().filename().string();
        EXPECT_TRUE(kStrati.contains(cartella)) << cartella;
    }
}

// Only the bottom layer tells the systems apart with the preprocessor; above it a system's code
// is a file of its own (*_posix.cpp, *_win32.cpp), and so it is in the tests.
TEST(Strati, SoloIoDistingueISistemiColPreprocessore) {
    const fs::path radice = fs::path(BRUNAVIA_README).parent_path();
    for (const char* cartella : {"writers", "compiler", "app", "tool", "tests"}) {
        for (const auto& voce : fs::recursive_directory_iterator(radice / cartella)) {
            const auto estensione = voce.path().extension();
            if (estensione != ".h" && estensione != ".cpp") continue;
            std::ifstream in(voce.path());
            for (std::string riga; std::getline(in, riga);) {
                EXPECT_FALSE(riga.starts_with("#") && riga.find("_WIN32") != std::string::npos)
                    << voce.path().string() << ": " << riga;
            }
        }
    }
}

}  // namespace
}  // namespace brunavia
