#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "compiler/errori.h"
#include "compiler/file_compilati.h"
#include "compiler/lettore_linea.h"
#include "compiler/memorizza.h"
#include "io/file_atomico.h"
#include "tests/aiuti.h"

namespace brunavia {
namespace {

std::string byte(std::initializer_list<int> valori) {
    std::string s;
    for (const int v : valori) s.push_back(static_cast<char>(v));
    return s;
}

// Little-endian readers over a compiled file.
std::uint16_t u16_a(const std::string& b, std::size_t i) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[i]) |
                                      static_cast<unsigned char>(b[i + 1]) << 8);
}
std::int32_t i32_a(const std::string& b, std::size_t i) {
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[i + k])) << (8 * k);
    return static_cast<std::int32_t>(v);
}

// ---- layouts ----

TEST(FileCompilati, CellaDi15Byte) {
    Form1 f;
    f.celle.resize(3);
    cella& c = f.celle[2];
    c.tipo_cella = 14;
    c.dato0 = 0x1234;
    c.dato1 = -2;
    c.dato2 = 0x0102;
    c.dato3 = 32767;
    c.attributo1 = 0xA1;
    c.attributo2 = 0xA2;
    c.attributo3 = 0xA3;
    c.attributo4 = 0xA4;
    c.attributo5 = 0xA5;
    c.attributo6 = 0xA6;
    const std::string b = serializza_celle(f);
    ASSERT_EQ(b.size(), 45u);
    EXPECT_EQ(b.substr(0, 30), std::string(30, '\0'));
    EXPECT_EQ(b.substr(30), byte({0x0E, 0x34, 0x12, 0xFE, 0xFF, 0x02, 0x01, 0xFF, 0x7F, 0xA1, 0xA2,
                                  0xA3, 0xA4, 0xA5, 0xA6}));
}

TEST(FileCompilati, TabellaDi87Righe) {
    Form1 f;
    voce& v = f.tabella[0];
    v.segno = 0xF1;
    v.valore1 = 0x01020304;
    v.valore2 = -1;
    v.valore3 = 240800;
    v.segno2 = 0xF2;
    v.testo = "(F\xe0)";
    v.numero1 = 0x0A0B;
    v.numero2 = -32768;
    v.numero3 = 1;
    v.numero4 = 2;
    v.numero5 = 3;
    v.opzione1 = 4;
    v.opzione2 = 5;
    v.opzione3 = 6;
    v.opzione4 = 7;
    v.codice = 35439;
    f.tabella[85].testo = "Brunavia";
    f.tabella[86].testo = "706";
    const std::string b = serializza_tabella(f);
    ASSERT_EQ(b.size(), 87u * 34 + 4 + 8 + 3);
    EXPECT_EQ(b.substr(0, 38),
              byte({0xF1, 0x04, 0x03, 0x02, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xA0, 0xAC, 0x03, 0x00,
                    0xF2, 0x04, 0x00, '(',  'F',  0xE0, ')',  0x0B, 0x0A, 0x00, 0x80, 0x01, 0x00,
                    0x02, 0x00, 0x03, 0x00, 0x04, 0x05, 0x06, 0x07, 0x6F, 0x8A, 0x00, 0x00}));
    // Row 1 has no text: its length is written as 00 00.
    EXPECT_EQ(b.substr(38, 34), std::string(34, '\0'));
    // Row 85 starts after rows 0 .. 84.
    const std::size_t r85 = 38 + 84 * 34;
    EXPECT_EQ(u16_a(b, r85 + 14), 8);
    EXPECT_EQ(b.substr(r85 + 16, 8), "Brunavia");
    EXPECT_EQ(u16_a(b, r85 + 34 + 8 + 14), 3);
    EXPECT_EQ(b.substr(r85 + 34 + 8 + 16, 3), "706");
}

TEST(FileCompilati, TracciatoPerColonne) {
    Tracciato t;
    t.dimensiona(4);
    t.x = {0, 0, 1.5, 0, 0};
    t.y = {0, 1, -2.25, 0, 0};
    t.tipo = {Tracciato::intero16, Tracciato::intero16, Tracciato::reale64,
              Tracciato::non_impostato, Tracciato::non_impostato};
    const std::string colonna0 =
        byte({2, 0, 0, 0, 2, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 0, 0, 0, 0});
    const std::string colonna1 =
        byte({2, 0, 0, 0, 2, 0, 1, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0x02, 0xC0, 0, 0, 0, 0});
    EXPECT_EQ(serializza_tracciato(t), colonna0 + colonna1);
}

// ---- stamps and codes ----

Form1 modello_da_timbrare() {
    Form1 f;
    f.celle.resize(141);
    f.tabella[85].testo = f.nome_scenario;
    f.tabella[86].testo = f.numero_treno;
    return f;
}

TEST(Timbri, TimbriECodiciDiGara) {
    Form1 f = modello_da_timbrare();
    timbra_modello(f);
    EXPECT_EQ(f.tabella[85].numero1, 610);
    EXPECT_EQ(f.tabella[85].codice, 35439);
    EXPECT_EQ(f.celle[1].dato0, 5121);
    EXPECT_EQ(f.celle[1].dato1, 2559);
}

TEST(Timbri, ValoriRiservatiGiaOccupati) {
    struct Caso {
        void (*occupa)(Form1&);
        const char* prompt;
    };
    const Caso casi[] = {
        {[](Form1& f) { f.tabella[85].numero1 = 1; }, " Errore n. 1250"},
        {[](Form1& f) { f.celle[1].dato0 = -1; }, " Errore n. 1250"},
        {[](Form1& f) { f.tabella[85].codice = 7; }, " Errore n. 1251"},
        {[](Form1& f) { f.celle[1].dato1 = 7; }, " Errore n. 1251"},
    };
    for (const auto& c : casi) {
        Form1 f = modello_da_timbrare();
        c.occupa(f);
        try {
            timbra_modello(f);
            ADD_FAILURE() << "nessun errore per " << c.prompt;
        } catch (const Terminazione& t) {
            EXPECT_STREQ(t.what(), c.prompt);
        }
    }
}

// ---- writing ----

class ScritturaFile : public testing::Test {
protected:
    prova::CartellaTemporanea cartella;
    Form1 f = [] {
        Form1 m = modello_da_timbrare();
        m.flag_linea = 1;
        m.tracciato.dimensiona(7000);
        m.celle[5].tipo_cella = 6;
        return m;
    }();
    std::filesystem::path piano() const { return cartella / "Brunavia_linea.dat"; }
    std::filesystem::path sim() const { return cartella / "Brunavia_706.sim"; }
    std::filesystem::path dat() const { return cartella / "Brunavia_706.dat"; }
};

TEST_F(ScritturaFile, TreFileSostituitiPerIntero) {
    const std::string vecchio(5'000'000, 'v');
    for (const auto& p : {piano(), sim(), dat()}) prova::scrivi_byte(p, vecchio);
    scrivi_file_compilati(f, cartella.percorso());
    EXPECT_EQ(prova::leggi_byte(piano()), serializza_tracciato(f.tracciato));
    EXPECT_EQ(prova::leggi_byte(sim()), serializza_tabella(f));
    EXPECT_EQ(prova::leggi_byte(dat()), serializza_celle(f));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cartella.percorso()),
                            std::filesystem::directory_iterator()),
              3);
}

TEST_F(ScritturaFile, SenzaFlagIlPianoVecchioResta) {
    f.flag_linea = 0;
    prova::scrivi_byte(piano(), "vecchio");
    scrivi_file_compilati(f, cartella.percorso());
    EXPECT_EQ(prova::leggi_byte(piano()), "vecchio");
    EXPECT_EQ(prova::leggi_byte(dat()).size(), 141u * 15);
}

// A write that fails leaves no partial or temporary file behind.
TEST_F(ScritturaFile, ScritturaFallitaSenzaFileParziali) {
    std::filesystem::create_directory(dat());
    EXPECT_THROW(scrivi_file_compilati(f, cartella.percorso()), ErroreFile);
    EXPECT_TRUE(std::filesystem::is_directory(dat()));
    for (const auto& voce : std::filesystem::directory_iterator(cartella.percorso())) {
        const auto nome = voce.path().filename().string();
        EXPECT_TRUE(nome == "Brunavia_linea.dat" || nome == "Brunavia_706.sim" ||
                    nome == "Brunavia_706.dat")
            << nome;
    }
}

// A content that fails while it streams (a text too long for its 16-bit length, met after
// the plan was written) leaves the old files and no temporary file.
TEST_F(ScritturaFile, ContenutoCheFallisceAMetaSenzaFileParziali) {
    for (const auto& p : {piano(), sim(), dat()}) prova::scrivi_byte(p, "vecchio");
    f.tabella[40].testo.assign(70'000, 'x');
    EXPECT_THROW(scrivi_file_compilati(f, cartella.percorso()), std::length_error);
    for (const auto& p : {piano(), sim(), dat()}) EXPECT_EQ(prova::leggi_byte(p), "vecchio");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cartella.percorso()),
                            std::filesystem::directory_iterator()),
              3);
}

// When the cells were never sized nothing is written and old copies stay.
TEST(MemorizzaPercorso, SenzaCelleNessunFileCompilato) {
    struct Caso {
        const char* linea;  // nullptr: no line file
        std::int32_t errore;
    };
    const Caso casi[] = {
        {nullptr, 101},
        {"[curve]\r\n", 102},
        {"[generale]\r\nlunghezza percorso, 1000001\r\n[fine]\r\n", 1},
        {"[generale]\r\nripetizione segnali 4 codici, 10, 0\r\nlunghezza percorso, "
         "1000\r\n[fine]\r\n",
         3},
        {"[generale]\r\nsfondo uno, x\r\nlunghezza percorso, 1000\r\n[fine]\r\n", 25},
    };
    for (const auto& c : casi) {
        prova::CartellaTemporanea cartella;
        Form1 f;
        f.cartella = cartella.percorso();
        for (const char* nome : {"Brunavia_linea.dat", "Brunavia_706.sim", "Brunavia_706.dat"}) {
            prova::scrivi_byte(cartella / nome, "vecchio");
        }
        prova::scrivi_byte(cartella / "Brunavia_706-.txt", "[generale]\r\n");
        if (c.linea != nullptr) prova::scrivi_byte(cartella / "Brunavia_linea.txt", c.linea);
        std::int32_t j = 1;
        memorizza_percorso(f, j);
        SCOPED_TRACE(c.errore);
        EXPECT_EQ(f.codice_errore, c.errore);
        for (const char* nome : {"Brunavia_linea.dat", "Brunavia_706.sim", "Brunavia_706.dat"}) {
            EXPECT_EQ(prova::leggi_byte(cartella / nome), "vecchio") << nome;
        }
        EXPECT_FALSE(std::filesystem::exists(cartella / "Brunavia_linea.txt"));
        // Only a read failure removes the train description too.
        EXPECT_EQ(std::filesystem::exists(cartella / "Brunavia_706-.txt"), c.errore != 25);
    }
}

// The line half end to end on a 120 km line: read, stamp and write; the sizes follow the layouts.
TEST(MemorizzaPercorso, LineaDa120KmSuDisco) {
    const std::string linea =
        "[generale]\r\nlunghezza percorso,    120000\r\n"
        "progressiva chilometrica uno,    0,    240700,    1\r\n"
        "progressiva chilometrica due,    115050,    10700,    0\r\n"
        "progressiva chilometrica tre,    0,    0,    0\r\n"
        "sfondo uno,    1\r\nsfondo due,    119250\r\nsfondo tre,    54650\r\n"
        "ripetizione segnali 4 codici,    0    ,0\r\n[curve]\r\n"
        "curvad5,  0,  150\r\ncurvas5,  500,  150\r\ncurvad1,  15650,  1000\r\n"
        "curvad4,  121000,  800\r\n[pendenze]\r\npendenza,   0,    0\r\n"
        "pendenza,  500,   -5\r\npendenza,  121900,   0\r\n[montagne]\r\n"
        "montagna,   1650,  2300,  12\r\n[cartelli]\r\n"
        "indicatori_vmax,  750,  85,  90,  90,  0,  ,  ,  ,  0\r\n[indicazioni]\r\n"
        "cartello_indicatore,  10350,   (F)\r\n[fine]\r\n";
    prova::CartellaTemporanea cartella;
    Form1 f;
    f.flag_linea = 1;
    f.tabella[85].testo = f.nome_scenario;
    f.tabella[86].testo = f.numero_treno;
    StatoLinea stato;
    ASSERT_EQ(leggi_descrizione_linea(f, linea, stato), EsitoLinea::prosegui);
    ASSERT_EQ(f.codice_errore, 0);
    timbra_modello(f);
    scrivi_file_compilati(f, cartella.percorso());

    const std::string dat = prova::leggi_byte(cartella / "Brunavia_706.dat");
    ASSERT_EQ(dat.size(), 2541u * 15);
    EXPECT_EQ(u16_a(dat, 15 + 1), 5121);
    EXPECT_EQ(u16_a(dat, 15 + 3), 2559);
    EXPECT_EQ(static_cast<unsigned char>(dat[16 * 15]), 6);
    EXPECT_EQ(static_cast<unsigned char>(dat[100 * 15 + 13]), 95);

    // Each column: points 0 and 1 as 16-bit integers, 2 .. 126998 as binary64, two unset.
    const std::string piano = prova::leggi_byte(cartella / "Brunavia_linea.dat");
    const std::size_t colonna = 2 * 4 + 126997 * 10 + 2 * 2;
    ASSERT_EQ(piano.size(), 2 * colonna);
    for (const std::size_t inizio : {std::size_t{0}, colonna}) {
        EXPECT_EQ(u16_a(piano, inizio), 2);
        EXPECT_EQ(u16_a(piano, inizio + 4), 2);
        EXPECT_EQ(u16_a(piano, inizio + 8), 5);
        EXPECT_EQ(u16_a(piano, inizio + colonna - 4), 0);
        EXPECT_EQ(u16_a(piano, inizio + colonna - 2), 0);
    }
    EXPECT_EQ(u16_a(piano, colonna + 6), 1);  // y of point 1

    const std::string sim = prova::leggi_byte(cartella / "Brunavia_706.sim");
    ASSERT_EQ(sim.size(), 87u * 34 + 3 + 8 + 3);
    const std::size_t r85 = 85 * 34 + 3;  // row 80 holds "(F)"
    EXPECT_EQ(i32_a(sim, r85 + 1), 1);
    EXPECT_EQ(sim.substr(r85 + 16, 8), "Brunavia");
    EXPECT_EQ(u16_a(sim, r85 + 24), 610);
    EXPECT_EQ(i32_a(sim, r85 + 38), 35439);
}

}  // namespace
}  // namespace brunavia
