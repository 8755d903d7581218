// Two runs of the program produce the same files, byte for byte: in two different folders, and
// again over the files of an earlier run.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/aiuti.h"

namespace brunavia {
namespace {

namespace fs = std::filesystem;

// Every file a run left beside the program, by name, with its bytes.
std::map<std::string, std::string> file_della_corsa(const fs::path& cartella) {
    std::map<std::string, std::string> file;
    for (const auto& voce : fs::directory_iterator(cartella)) {
        const auto nome = voce.path().filename().string();
        if (voce.path().filename() != fs::path(BRUNAVIA_EXE).filename()) {
            file[nome] = prova::leggi_byte(voce.path());
        }
    }
    return file;
}

std::map<std::string, std::string> esegui_in(const fs::path& cartella, const fs::path& da) {
    const auto esito = prova::esegui(prova::copia_programma(cartella), {}, da);
    EXPECT_EQ(esito.stato, 0) << esito.errori;
    return file_della_corsa(cartella);
}

TEST(Determinismo, DueCorseScrivonoGliStessiByte) {
    prova::CartellaTemporanea prima;
    prova::CartellaTemporanea seconda;
    const auto a = esegui_in(prima.percorso(), prima.percorso());
    const auto b = esegui_in(seconda.percorso(), prima.percorso());
    ASSERT_EQ(a.size(), 6u);
    const auto ripetuta = esegui_in(prima.percorso(), seconda.percorso());
    for (const auto* altra : {&b, &ripetuta}) {
        ASSERT_EQ(altra->size(), a.size());
        for (const auto& [nome, byte] : a) {
            ASSERT_EQ(altra->count(nome), 1u) << nome;
            // Compared whole; a difference names the file without printing megabytes.
            EXPECT_TRUE(altra->at(nome) == byte) << nome << " differisce";
        }
    }
}

}  // namespace
}  // namespace brunavia
