#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

namespace brunavia {
namespace {

namespace fs = std::filesystem;

// Each subsystem and the folders whose headers it may include: its own and the layers below
// it, never a sibling.
const std::map<std::string, std::set<std::string>> kStrati = {
    {"io", {"io"}},
    {"writers", {"writers", "io"}},
    {"compiler", {"compiler", "io"}},
    {"app", {"app", "writers", "compiler", "io"}},
    {"tool", {"tool", "app", "writers", "compiler", "io"}},
};

// The folder of every project header a source file includes ("folder/name.h").
std::set<std::string> cartelle_incluse(const fs::path& sorgente) {
    std::set<std::string> cartelle;
    std::ifstream in(sorgente);
    const std::string inizio = "#include \"";
    for (std::string riga; std::getline(in, riga);) {
        if (riga.rfind(inizio, 0) != 0) continue;
        const auto barra = riga.find('/', inizio.size());
        if (barra != std::string::npos) {
            cartelle.insert(riga.substr(inizio.size(), barra - inizio.size()));
        }
    }
    return cartelle;
}

TEST(Strati, NessunSottosistemaIncludeUnFratello) {
    const fs::path radice = fs::path(BRUNAVIA_README).parent_path();
    std::size_t sorgenti = 0;
    for (const auto& [strato, ammessi] : kStrati) {
        for (const auto& voce : fs::directory_iterator(radice / strato)) {
            const auto estensione = voce.path().extension();
            if (estensione != ".h" && estensione != ".cpp") continue;
            ++sorgenti;
            for (const auto& cartella : cartelle_incluse(voce.path())) {
                EXPECT_TRUE(ammessi.contains(cartella))
                    << voce.path().filename().string() << " (" << strato << ") include " << cartella
                    << "/";
            }
        }
    }
    EXPECT_GT(sorgenti, 0u) << radice;
}

}  // namespace
}  // namespace brunavia
