// Temporary files of the file replacement: created exclusively under an unpredictable name,
// never over a file that already stands there; read-only targets replaced.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "io/file_atomico.h"
#include "tests/aiuti.h"

namespace brunavia {
namespace {

namespace fs = std::filesystem;

using prova::suffissi;

TEST(FileTemporaneo, SempreLoStessoNomePresoEUnErroreDiFile) {
    prova::CartellaTemporanea cartella;
    prova::scrivi_byte(cartella / ".f.txt.A.tmp", "gia qui");
    try {
        crea_temporaneo(cartella / "f.txt", suffissi({"A"}));
        FAIL() << "la creazione doveva fallire";
    } catch (const ErroreFile& e) {
        EXPECT_EQ(e.file(), cartella / "f.txt");
        EXPECT_EQ(std::string(e.what()), "f.txt: esiste gia'");
    }
    EXPECT_EQ(prova::leggi_byte(cartella / ".f.txt.A.tmp"), "gia qui");
}

TEST(FileTemporaneo, SuffissiImprevedibili) {
    const std::string a = suffisso_casuale();
    const std::string b = suffisso_casuale();
    EXPECT_EQ(a.size(), 10u);
    EXPECT_NE(a, b);
    for (const char c : a + b) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << c;
}

// A read-only target (Windows' attribute, POSIX's missing write rights) is replaced, as on
// POSIX only the folder's rights count; the new file is writable and no temporary file stays.
TEST(SostituisciFile, UnaDestinazioneDiSolaLetturaESostituita) {
    prova::CartellaTemporanea cartella;
    const auto f = cartella / "Brunavia_706.sim";
    prova::scrivi_byte(f, "vecchio");
    constexpr auto kScrittura =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(f, kScrittura, fs::perm_options::remove);
    ASSERT_EQ(fs::status(f).permissions() & fs::perms::owner_write, fs::perms::none);

    sostituisci_file(f, "nuovo");

    EXPECT_EQ(prova::leggi_byte(f), "nuovo");
    EXPECT_NE(fs::status(f).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(std::distance(fs::directory_iterator(cartella.percorso()), {}), 1);
}

}  // namespace
}  // namespace brunavia
