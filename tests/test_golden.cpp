#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/golden/generatore.h"
#include "tests/golden/impronte.h"

namespace brunavia::golden {
namespace {

// The base pair of the corpus with one text replaced.
Caso cambiato(bool treno, const std::string& da, const std::string& a) {
    Caso c = corpus().front();
    std::string& t = *(treno ? c.treno : c.linea);
    const auto at = t.find(da);
    EXPECT_NE(at, std::string::npos) << da;
    t.replace(at, da.size(), a);
    return c;
}

// What the check says of a case that now compiles as `ora` but was blessed as `prima`, the
// descriptions digest taken from `prima` (same case, other code).
std::string differenza_tra(const Caso& prima, Caso ora) {
    const ImprontaCaso attesa = impronta(prima);
    ImprontaCaso ottenuta = impronta(ora);
    ottenuta.ingressi = attesa.ingressi;
    // Through the text form, as the check reads the stored fingerprints.
    const auto letta = leggi_impronte(scrivi_impronte({attesa}));
    return differenza(letta.at(0), ottenuta);
}

TEST(Golden, IlCorpusSenzaCambiamentiNonHaDifferenze) {
    const std::vector<Caso> casi = corpus();
    ASSERT_GE(casi.size(), 1000u);
    std::vector<ImprontaCaso> impronte;
    for (std::size_t i = 0; i < casi.size(); i += 50) impronte.push_back(impronta(casi[i]));
    const auto lette = leggi_impronte(scrivi_impronte(impronte));
    ASSERT_EQ(lette.size(), impronte.size());
    for (std::size_t k = 0; k < lette.size(); ++k) {
        EXPECT_EQ(differenza(lette[k], impronta(casi[k * 50])), "") << k * 50;
    }
}

struct CasoDifferenza {
    const char* nome;
    bool treno;
    const char* da;
    const char* a;
    std::vector<std::string> attese;  // parts of the message, in order
};

void PrintTo(const CasoDifferenza& c, std::ostream* os) {
    *os << c.nome;
}

class DifferenzaDecodificata : public testing::TestWithParam<CasoDifferenza> {};

TEST_P(DifferenzaDecodificata, NominaFileRecordMembroEValore) {
    const CasoDifferenza& p = GetParam();
    const Caso base = corpus().front();
    const std::string d = differenza_tra(base, cambiato(p.treno, p.da, p.a));
    std::size_t da = 0;
    for (const std::string& parte : p.attese) {
        const auto at = d.find(parte, da);
        ASSERT_NE(at, std::string::npos) << "manca \"" << parte << "\" in:\n" << d;
        da = at + parte.size();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Golden, DifferenzaDecodificata,
    testing::Values(
        CasoDifferenza{"sabbia",
                       true,
                       "sabbia,  300",
                       "sabbia,  301",
                       {"Brunavia_706.sim: SHA-256 ", "tabella, riga 86: numero1 ora 301",
                        "membri cambiati nel file: numero1; 1 record diversi su 87"}},
        CasoDifferenza{"pendenza",
                       false,
                       "pendenza,  725,  -12",
                       "pendenza,  725,  -11",
                       {"Brunavia_706.dat: SHA-256 ", "cella 14 (700 m): attributo5 ora 89",
                        "membri cambiati nel file: attributo5"}},
        CasoDifferenza{"segnale",
                       true,
                       "segnale,  1020,  1,  5",
                       "segnale,  1020,  1,  4",
                       {"Brunavia_706.dat", "cella 21 (1050 m): dato0 ora 43"}},
        CasoDifferenza{"curva",
                       false,
                       "curvad5,  900,  150",
                       "curvad5,  900,  151",
                       {"Brunavia_linea.dat: SHA-256 ",
                        "piano, punti 0 ... 1125: diversi in x, y; ora il punto 0: x 0, y 0",
                        "8 blocchi diversi su 8"}},
        CasoDifferenza{"errore",
                       true,
                       "sabbia,  300",
                       "sabbia,  3x0",
                       {"errori registrati: 25@- invece di -"}},
        CasoDifferenza{"lunghezza",
                       false,
                       "lunghezza percorso,  2000",
                       "lunghezza percorso,  -2",
                       {"errori registrati: 1@- invece di -"}}),
    [](const testing::TestParamInfo<CasoDifferenza>& i) { return std::string(i.param.nome); });

TEST(Golden, UnCambiamentoDelleDescrizioniNonSiScambiaPerUnCambiamentoDeiByte) {
    const Caso base = corpus().front();
    const ImprontaCaso attesa = impronta(base);
    const std::string d =
        differenza(attesa, impronta(cambiato(true, "sabbia,  300", "sabbia,  301")));
    EXPECT_NE(d.find("il generatore ora fa altre descrizioni"), std::string::npos) << d;
}

}  // namespace
}  // namespace brunavia::golden
