// Temporary files of the file replacement on POSIX: never through a symbolic link, with the
// permissions of a new file under the umask.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// Names already taken where a temporary file would go: a link to a file of the user, a file,
// a link that leads nowhere. Each is passed over, and neither it nor what it leads to changes.
TEST(FileTemporaneo, NomiGiaPresiNonSonoNeSeguitiNeToccati) {
    prova::CartellaTemporanea cartella;
    const auto vittima = cartella / "vittima";
    prova::scrivi_byte(vittima, "intatto");
    const auto destinazione = cartella / "Brunavia_706.dat";
    const auto nome = [&](const std::string& s) {
        return cartella / (".Brunavia_706.dat." + s + ".tmp");
    };
    fs::create_symlink(vittima, nome("A"));
    prova::scrivi_byte(nome("B"), "gia qui");
    fs::create_symlink(cartella / "nuovo", nome("C"));

    FileTemporaneo t = crea_temporaneo(destinazione, suffissi({"A", "B", "C", "D"}));
    ASSERT_TRUE(t.file.aperto());
    std::error_code errore;
    EXPECT_TRUE(t.file.scrivi("nuovo", 5, errore));
    EXPECT_TRUE(t.file.chiudi(errore)) << errore.message();

    EXPECT_EQ(t.percorso, nome("D"));
    EXPECT_EQ(prova::leggi_byte(nome("D")), "nuovo");
    EXPECT_EQ(prova::leggi_byte(vittima), "intatto");
    EXPECT_EQ(fs::read_symlink(nome("A")), vittima);
    EXPECT_EQ(prova::leggi_byte(nome("B")), "gia qui");
    EXPECT_EQ(fs::read_symlink(nome("C")), cartella / "nuovo");
    EXPECT_FALSE(fs::exists(cartella / "nuovo"));
}

// The name a temporary file once had (".NAME.PID.tmp") taken by a link to a file of the user:
// the replacement neither follows it nor removes it.
TEST(SostituisciFile, UnCollegamentoAlVecchioNomeTemporaneoResta) {
    prova::CartellaTemporanea cartella;
    const auto vittima = cartella / "vittima";
    prova::scrivi_byte(vittima, "intatto");
    const auto collegamento = cartella / (".f.txt." + std::to_string(::getpid()) + ".tmp");
    fs::create_symlink(vittima, collegamento);
    sostituisci_file(cartella / "f.txt", "nuovo");
    EXPECT_EQ(prova::leggi_byte(cartella / "f.txt"), "nuovo");
    EXPECT_EQ(prova::leggi_byte(vittima), "intatto");
    EXPECT_EQ(fs::read_symlink(collegamento), vittima);
    EXPECT_EQ(std::distance(fs::directory_iterator(cartella.percorso()), {}), 3);
}

// The replaced file has the permissions of a new file: 0666 less the umask (not the 0600 of a
// private temporary file).
TEST(SostituisciFile, PermessiDiUnFileNuovo) {
    struct Caso {
        mode_t umask;
        fs::perms permessi;
    };
    using fs::perms;
    const Caso casi[] = {
        {022, perms::owner_read | perms::owner_write | perms::group_read | perms::others_read},
        {077, perms::owner_read | perms::owner_write},
        {002, perms::owner_read | perms::owner_write | perms::group_read | perms::group_write |
                  perms::others_read},
    };
    prova::CartellaTemporanea cartella;
    for (const Caso& c : casi) {
        const mode_t prima = ::umask(c.umask);
        sostituisci_file(cartella / "f.txt", "x");
        ::umask(prima);
        EXPECT_EQ(fs::status(cartella / "f.txt").permissions(), c.permessi) << std::oct << c.umask;
    }
}

}  // namespace
}  // namespace brunavia
