#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/aiuti.h"
#include "io/cp1252.h"
#include "io/file_atomico.h"
#include "writers/scrittore_testo.h"

namespace brunavia {
namespace {

std::vector<std::string> con_marcatore(std::vector<std::string> righe) {
    righe.emplace_back(kMarcatoreFine);
    return righe;
}

TEST(Cp1252, ConverteICaratteriDeiDocumentiInUnByteCiascuno) {
    EXPECT_EQ(in_cp1252("Validità n° 1½ è ì ò ù"), "Validit\xE0 n\xB0 1\xBD \xE8 \xEC \xF2 \xF9");
    EXPECT_EQ(in_cp1252("€ “x” – …"), "\x80 \x93x\x94 \x96 \x85");
    EXPECT_EQ(in_cp1252(""), "");
}

TEST(Cp1252, RifiutaCaratteriSenzaByteEUtf8Rotto) {
    for (const std::string testo : {"Ω", "✓", "\xE0", "a\xC3", "\xFF", "\xC3("}) {
        EXPECT_THROW(in_cp1252(testo), std::invalid_argument) << testo;
    }
}

TEST(ScrittoreTesto, ScriveLeRigheFinoAlMarcatoreConCrLf) {
    std::size_t righe = 0;
    const auto byte = codifica_righe(con_marcatore({"prima", "", "  spazi  ", "°½à"}), righe);
    EXPECT_EQ(righe, 4u);
    EXPECT_EQ(byte, "prima\r\n\r\n  spazi  \r\n\xB0\xBD\xE0\r\n");
}

TEST(ScrittoreTesto, SoloIlMarcatoreEsattoChiudeLaLista) {
    const std::vector<std::string> simili = {
        "Riferimento fine del file", "riferimento fine del file ", " riferimento fine del file",
        "riferimento fine del file."};
    auto lista = simili;
    lista.emplace_back(kMarcatoreFine);
    lista.emplace_back("dopo il marcatore");
    std::size_t righe = 0;
    const auto byte = codifica_righe(lista, righe);
    EXPECT_EQ(righe, simili.size());
    EXPECT_EQ(prova::righe_crlf(byte), simili);
    EXPECT_EQ(byte.find("dopo"), std::string::npos);
}

TEST(ScrittoreTesto, ListaSenzaMarcatoreOTroppoLungaEUnErroreDiProgramma) {
    std::size_t righe = 0;
    EXPECT_THROW(codifica_righe({"a", "b"}, righe), std::logic_error);
    std::vector<std::string> mille_e_una(1001, "x");
    EXPECT_THROW(codifica_righe(con_marcatore(mille_e_una), righe), std::logic_error);
    std::vector<std::string> mille(1000, "x");
    EXPECT_NO_THROW(codifica_righe(con_marcatore(mille), righe));
    EXPECT_EQ(righe, 1000u);
}

TEST(ScrittoreTesto, UnCarattereSenzaByteNonScriveNulla) {
    prova::CartellaTemporanea cartella;
    const auto file = cartella / "f.txt";
    prova::scrivi_byte(file, "vecchio\r\n");
    EXPECT_THROW(scrivi_righe(file, con_marcatore({"ok", "Ω"})), std::invalid_argument);
    EXPECT_EQ(prova::leggi_byte(file), "vecchio\r\n");
}

TEST(ScrittoreTesto, SostituisceUnFilePiuLungoSenzaLasciareTemporanei) {
    prova::CartellaTemporanea cartella;
    const auto file = cartella / "f.txt";
    prova::scrivi_byte(file, std::string(5000, 'x'));
    EXPECT_EQ(scrivi_righe(file, con_marcatore({"uno", "due"})), 2u);
    EXPECT_EQ(scrivi_righe(file, con_marcatore({"uno", "due"})), 2u);
    EXPECT_EQ(prova::leggi_byte(file), "uno\r\ndue\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cartella.percorso()), {}), 1);
}

TEST(ScrittoreTesto, UnFallimentoLasciaIntattoIlFileVecchioENominaIlFile) {
    prova::CartellaTemporanea cartella;
    // A folder in the file's place: the new content cannot take its name.
    const auto bersaglio = cartella / "Brunavia_linea.txt";
    std::filesystem::create_directory(bersaglio);
    std::filesystem::create_directory(bersaglio / "dentro");
    try {
        scrivi_righe(bersaglio, con_marcatore({"riga"}));
        FAIL() << "la scrittura doveva fallire";
    } catch (const ErroreFile& e) {
        EXPECT_NE(std::string(e.what()).find("Brunavia_linea.txt: "), std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(std::filesystem::is_directory(bersaglio / "dentro"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cartella.percorso()), {}), 1);
}

TEST(ScrittoreTesto, CartellaInesistenteDaUnErroreDiFile) {
    prova::CartellaTemporanea cartella;
    EXPECT_THROW(sostituisci_file(cartella / "manca" / "f.txt", "x"), ErroreFile);
}

}  // namespace
}  // namespace brunavia
