#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/lettore_campi.h"

namespace brunavia {
namespace {

// One reading script: `letture` says what is read in turn ('t' a text field, 'n' a 32-bit
// number); `attesi` holds what each read returns (numbers in decimal); `fine` whether end of
// file has been reached afterwards.
struct Copione {
    const char* nome;
    std::string testo;
    std::string letture;
    std::vector<std::string> attesi;
    bool fine;
};

std::vector<std::string> esegui(LettoreCampi& l, const std::string& letture) {
    std::vector<std::string> letti;
    for (const char op : letture) {
        letti.push_back(op == 't' ? l.leggi_testo()
                                  : std::to_string(l.leggi_numero<std::int32_t>()));
    }
    return letti;
}

const Copione kCopioni[] = {
    {"numeri separati da spazi e virgola",
     "ripetizione segnali 4 codici,    0    ,0\r\nx\r\n",
     "tnnt",
     {"ripetizione segnali 4 codici", "0", "0", "x"},
     true},
    {"tre numeri separati solo da spazi",
     "orologio,    8               24            35 \r\nx",
     "tnnnt",
     {"orologio", "8", "24", "35", "x"},
     true},
    {"campi numerici vuoti valgono 0",
     "indicatori_vmax,  750,  85,  ,  ,  0\r\n",
     "tnnnnn",
     {"indicatori_vmax", "750", "85", "0", "0", "0"},
     true},
    {"riga vuota come campo testo vuoto", "a\r\n\r\nb\r\n", "ttt", {"a", "", "b"}, true},
    {"testo: spazi iniziali saltati, finali tenuti",
     "  \t chiave  ,  coda \r\n",
     "tt",
     {"chiave  ", "coda "},
     true},
    {"testo: il campo dopo l'ultima virgola",
     "cartello_indicatore,  7900,   (P.L.  )(Km 2+835)\r\n",
     "tnt",
     {"cartello_indicatore", "7900", "(P.L.  )(Km 2+835)"},
     true},
    {"numero: salta righe e righe vuote",
     "k,\r\n\r\n   \r\n  -17\r\nz",
     "tnt",
     {"k", "-17", "z"},
     true},
    {"segno piu' accettato", "+42,", "n", {"42"}, true},
    {"CR e LF isolati sono fine riga", "a\rb\nc\r\n", "ttt", {"a", "b", "c"}, true},
    {"LF CR sono due fine riga", "a\n\rb", "ttt", {"a", "", "b"}, true},
    {"una riga per chiave e numeri",
     "pendenza,  500,   -5\r\npendenza,  700,   5\r\n",
     "tnntnn",
     {"pendenza", "500", "-5", "pendenza", "700", "5"},
     true},
    {"restano campi oltre spazi e righe vuote", "a,b  \r\n\r\n \t", "t", {"a"}, false},
    {"byte non ASCII tenuti come sono", "citt\xe0,\x80 5", "t", {"citt\xe0"}, false},
    {"riga senza fine riga finale", "sfondo uno,    1", "tn", {"sfondo uno", "1"}, true},
};

class LetturaCampi : public testing::TestWithParam<Copione> {};

TEST_P(LetturaCampi, LeggeICampiComeIlCopione) {
    const Copione& c = GetParam();
    SCOPED_TRACE(c.nome);
    LettoreCampi l(c.testo);
    EXPECT_EQ(esegui(l, c.letture), c.attesi);
    EXPECT_EQ(l.fine_file(), c.fine);
}

// The script's description as a test name: letters and digits kept, the rest joined by '_'.
std::string nome_copione(const testing::TestParamInfo<Copione>& p) {
    std::string nome;
    for (const char c : std::string_view(p.param.nome)) {
        const bool alfanumerico =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (alfanumerico) {
            nome.push_back(c);
        } else if (!nome.empty() && nome.back() != '_') {
            nome.push_back('_');
        }
    }
    while (!nome.empty() && nome.back() == '_') nome.pop_back();
    return nome;
}

// How a script shows in the test list and in failures: its description.
void PrintTo(const Copione& c, std::ostream* out) {
    *out << c.nome;
}

INSTANTIATE_TEST_SUITE_P(Copioni, LetturaCampi, testing::ValuesIn(kCopioni), nome_copione);

TEST(LetturaCampi, FineFileQuandoRestanoSoloSpaziEFineRiga) {
    EXPECT_TRUE(LettoreCampi("").fine_file());
    EXPECT_TRUE(LettoreCampi(" \t\r\n\r\n\n\r ").fine_file());
    EXPECT_FALSE(LettoreCampi(" \r\n,").fine_file());

    LettoreCampi l("[fine]\r\n  \r\n");
    EXPECT_FALSE(l.fine_file());
    EXPECT_EQ(l.leggi_testo(), "[fine]");
    EXPECT_TRUE(l.fine_file());
}

// Each read failure is error 25: a read once the end has been reached, a token that is not a
// decimal integer, a value outside its target.
TEST(LetturaCampi, ErroriDiLettura) {
    struct Caso {
        std::string testo;
        char tipo;  // 't' text, 'b' u8, 'h' i16, 'i' i32
    };
    const Caso casi[] = {
        {"", 't'},
        {"  \r\n", 'i'},
        {"12a,", 'i'},
        {"1.5,", 'i'},
        {"-,", 'i'},
        {"+,", 'i'},
        {"0x10,", 'i'},
        {"1e3,", 'i'},
        {"256,", 'b'},
        {"-1,", 'b'},
        {"32768,", 'h'},
        {"-32769,", 'h'},
        {"2147483648,", 'i'},
        {"-2147483649,", 'i'},
        {"99999999999999999999999,", 'i'},
    };
    for (const auto& c : casi) {
        LettoreCampi l(c.testo);
        const auto leggi = [&] {
            switch (c.tipo) {
                case 't':
                    l.leggi_testo();
                    break;
                case 'b':
                    l.leggi_numero<std::uint8_t>();
                    break;
                case 'h':
                    l.leggi_numero<std::int16_t>();
                    break;
                default:
                    l.leggi_numero<std::int32_t>();
                    break;
            }
        };
        EXPECT_THROW(leggi(), ErroreLettura) << "\"" << c.testo << "\" come " << c.tipo;
    }
}

TEST(LetturaCampi, ValoriAiLimitiDelDestinatario) {
    LettoreCampi l("255, 0, 32767, -32768, 2147483647, -2147483648, -0");
    EXPECT_EQ(l.leggi_numero<std::uint8_t>(), 255);
    EXPECT_EQ(l.leggi_numero<std::uint8_t>(), 0);
    EXPECT_EQ(l.leggi_numero<std::int16_t>(), 32767);
    EXPECT_EQ(l.leggi_numero<std::int16_t>(), -32768);
    EXPECT_EQ(l.leggi_numero<std::int32_t>(), 2147483647);
    EXPECT_EQ(l.leggi_numero<std::int32_t>(), -2147483647 - 1);
    EXPECT_EQ(l.leggi_numero<std::int32_t>(), 0);
    EXPECT_TRUE(l.fine_file());
}

TEST(LetturaCampi, LetturaOltreLaFineDopoLUltimoCampo) {
    LettoreCampi l("lunghezza percorso,    120000\r\n");
    l.leggi_testo();
    l.leggi_numero<std::int32_t>();
    EXPECT_THROW(l.leggi_numero<std::int32_t>(), ErroreLettura);
    EXPECT_THROW(l.leggi_testo(), ErroreLettura);
}

TEST(LetturaCampi, RigaEColonnaDelCampoLetto) {
    LettoreCampi l("[generale]\r\nsfondo uno,    1x\r\n");
    l.leggi_testo();
    l.leggi_testo();
    EXPECT_EQ(l.ultimo_campo().riga, 2);
    EXPECT_EQ(l.ultimo_campo().colonna, 1);
    try {
        l.leggi_numero<std::int32_t>();
        FAIL() << "numero non valido accettato";
    } catch (const ErroreLettura& e) {
        EXPECT_EQ(e.dove().riga, 2);
        EXPECT_EQ(e.dove().colonna, 16);
    }
}

TEST(ChiaviDiRiga, MaiuscoleIgnorateSoloPerLeLettereAZ) {
    EXPECT_TRUE(contiene_senza_maiuscole("LUNGHEZZA Percorso", "percorso"));
    EXPECT_TRUE(contiene_senza_maiuscole("curvaS5", "s"));
    EXPECT_TRUE(contiene_senza_maiuscole("x [Generale] y", "[generale]"));
    EXPECT_FALSE(contiene_senza_maiuscole("citt\xc0", "citt\xe0"));  // A grave is not folded
    EXPECT_FALSE(contiene_senza_maiuscole("pendenz", "pendenza"));
    EXPECT_TRUE(contiene("progressiva chilometrica tre", "tre"));
    EXPECT_FALSE(contiene("Progressiva chilometrica tre", "progressiva"));
    EXPECT_FALSE(contiene("sfondo UNO", "uno"));
}

}  // namespace
}  // namespace brunavia
