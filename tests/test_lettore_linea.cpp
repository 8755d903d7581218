#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "compiler/lettore_campi.h"
#include "compiler/lettore_linea.h"
#include "compiler/memorizza.h"

namespace brunavia {
namespace {

std::string con_crlf(const std::vector<std::string>& righe) {
    std::string testo;
    for (const auto& r : righe) testo += r + "\r\n";
    return testo;
}

// The general section of the shipped line, with its length line replaced when asked.
std::vector<std::string> generale(const std::string& lunghezza = "lunghezza percorso,    120000") {
    return {"[generale]",
            lunghezza,
            "progressiva chilometrica uno,    0,    240700,    1",
            "progressiva chilometrica due,    115050,    10700,    0",
            "progressiva chilometrica tre,    0,    0,    0",
            "sfondo uno,    1",
            "sfondo due,    119250",
            "sfondo tre,    54650",
            "ripetizione segnali 4 codici,    0    ,0"};
}

// A description: the general section, then the feature rows under one header, then "[fine]".
std::string descrizione(const std::vector<std::string>& caratteristiche,
                        std::vector<std::string> righe = generale()) {
    righe.push_back("[pendenze]");
    righe.insert(righe.end(), caratteristiche.begin(), caratteristiche.end());
    righe.push_back("[fine]");
    return con_crlf(righe);
}

struct Letta {
    Form1 f;
    StatoLinea stato;
    EsitoLinea esito = EsitoLinea::prosegui;
};

Letta leggi(const std::string& testo, std::int32_t flag = 1) {
    Letta l;
    l.f.flag_linea = flag;
    l.esito = leggi_descrizione_linea(l.f, testo, l.stato);
    return l;
}

const voce& riga(const Letta& l, std::size_t r) {
    return l.f.tabella[r];
}

TEST(LetturaLinea, SezioneGeneraleDellaLineaSpedita) {
    const Letta l = leggi(descrizione({}));
    EXPECT_EQ(l.esito, EsitoLinea::prosegui);
    EXPECT_EQ(l.f.codice_errore, 0);
    EXPECT_EQ(riga(l, 84).valore2, 120000);
    EXPECT_EQ(l.f.celle.size(), 2541u);
    ASSERT_TRUE(l.f.tracciato.esiste());
    EXPECT_EQ(l.f.tracciato.ultimo(), 127000u);
    // Scenery values in the order uno, tre, due.
    EXPECT_EQ(riga(l, 85).valore1, 1);
    EXPECT_EQ(riga(l, 85).valore2, 54650);
    EXPECT_EQ(riga(l, 85).valore3, 119250);
    EXPECT_EQ(riga(l, 86).valore1, 0);
    EXPECT_EQ(riga(l, 86).valore2, 0);
    EXPECT_EQ(riga(l, 86).valore3, 0);
    // Reference points ordered: "due", then "uno" (chainage decreasing: + 100), then "tre".
    EXPECT_EQ(riga(l, 81).valore1, 115050);
    EXPECT_EQ(riga(l, 81).valore2, 10700);
    EXPECT_EQ(riga(l, 82).valore2, 240800);
    EXPECT_EQ(riga(l, 82).valore3, 1);
    EXPECT_EQ(riga(l, 83).valore2, 0);
}

TEST(LetturaLinea, SenzaFlagNessunTracciatoNeCurve) {
    const Letta l = leggi(descrizione({"curvad5,  0,  150", "pendenza,  500,   -5"}), 0);
    EXPECT_EQ(l.esito, EsitoLinea::prosegui);
    EXPECT_FALSE(l.f.tracciato.esiste());
    EXPECT_EQ(l.f.celle[10].attributo5, 95);  // the rows after the curve are still read
}

TEST(LetturaLinea, LunghezzaDelPercorso) {
    struct Caso {
        std::string riga;
        std::int32_t errore;
        std::size_t celle;
    };
    const Caso casi[] = {
        {"lunghezza percorso, 1000000", 0, 20141}, {"lunghezza percorso, 0", 0, 141},
        {"lunghezza percorso, 1025", 0, 161},  // 8025 / 50 = 160.5: last cell 160
        {"lunghezza percorso, 1075", 0, 163},  // 8075 / 50 = 161.5: last cell 162
        {"lunghezza percorso, 1000001", 1, 0},     {"lunghezza percorso, -1", 1, 0},
    };
    for (const auto& c : casi) {
        const Letta l = leggi(descrizione({}, generale(c.riga)));
        SCOPED_TRACE(c.riga);
        EXPECT_EQ(l.f.codice_errore, c.errore);
        EXPECT_EQ(l.esito, c.errore == 0 ? EsitoLinea::prosegui : EsitoLinea::interrompi);
        EXPECT_EQ(l.f.celle.size(), c.celle);
    }
}

TEST(LetturaLinea, RipetizioneSegnali) {
    struct Caso {
        std::string riga;
        std::int32_t errore;
        std::int32_t codice;
    };
    const Caso casi[] = {
        {"ripetizione segnali 4 codici,    0    ,0", 0, 0},
        {"ripetizione segnali 9 codici, 100, 200", 0, 9},
        {"ripetizione segnali 4 codici, 100, 200", 0, 4},
        {"ripetizione segnali 9 o 4 codici, 100, 200", 0, 4},
        {"ripetizione segnali 9 codici, -100, 0", 0, 0},
        {"ripetizione segnali codici, 100, 200", 5, 0},
        {"ripetizione segnali codici, 100, 0", 5, 0},
        {"ripetizione segnali 4 codici, 120, 200", 3, 0},
        {"ripetizione segnali 4 codici, 100, 210", 4, 0},
    };
    for (const auto& c : casi) {
        auto righe = generale();
        righe.back() = c.riga;
        const Letta l = leggi(descrizione({"pendenza,  500,   -5"}, righe));
        SCOPED_TRACE(c.riga);
        EXPECT_EQ(l.f.codice_errore, c.errore);
        EXPECT_EQ(riga(l, 86).valore3, c.codice);
        // An error stops the reading before the feature rows.
        EXPECT_EQ(l.esito, c.errore == 0 ? EsitoLinea::prosegui : EsitoLinea::interrompi);
        EXPECT_EQ(l.f.celle[9].attributo5, c.errore == 0 ? 100 : 0);
    }
}

// Some keywords are found whatever their letter case, others only as written.
TEST(LetturaLinea, MaiuscoleNelleParoleChiave) {
    const Letta l = leggi(descrizione(
        {"PENDENZA,  500,   -5", "CurvaS5,  0,  150", "Cartello_INDICATORE,  10350,   (F)"},
        {"[GENERALE]", "LUNGHEZZA Percorso,    120000", "Sfondo uno,    7", "sfondo UNO,    8",
         "sfondo tre,    9", "Ripetizione segnali 9 codici,    100,    200",
         "progressiva chilometrica Due,    100,    5000,    0"}));
    EXPECT_EQ(l.esito, EsitoLinea::prosegui);
    EXPECT_EQ(l.f.celle.size(), 2541u);
    EXPECT_EQ(riga(l, 85).valore1, 0);
    EXPECT_EQ(riga(l, 85).valore2, 9);
    EXPECT_EQ(riga(l, 86).valore1, 0);
    EXPECT_EQ(riga(l, 81).valore2, 0);  // no reference point was read
    EXPECT_EQ(l.f.celle[10].attributo5, 95);
    EXPECT_LT(l.f.tracciato.x[150], 0.0);  // a left curve
    EXPECT_EQ(l.f.celle[208].tipo_cella, tipo::cartello_indicatore);
}

// In the general section up to ten fields in a row that hold a dash are passed over; the
// eleventh is taken as a keyword line even though it holds a dash.
TEST(LetturaLinea, SeparatoriNellaSezioneGenerale) {
    for (const int n : {1, 9, 10, 11}) {
        std::vector<std::string> righe = {"[generale]", "lunghezza percorso,    120000"};
        righe.insert(righe.end(), static_cast<std::size_t>(n), "------");
        righe.push_back("-- sfondo due,    7");
        righe.push_back("sfondo tre,    9");
        const Letta l = leggi(descrizione({}, righe));
        SCOPED_TRACE(n);
        EXPECT_EQ(l.f.codice_errore, 0);
        EXPECT_EQ(riga(l, 85).valore3, n == 10 ? 7 : 0);
        EXPECT_EQ(riga(l, 85).valore2, 9);
    }
}

// In the feature sections at most two fields holding a dash are passed over: a row whose
// keyword holds a dash is read only as the third such field in a row.
TEST(LetturaLinea, SeparatoriNelleSezioniDelleCaratteristiche) {
    for (const int n : {1, 2, 3, 4}) {
        std::vector<std::string> righe(static_cast<std::size_t>(n - 1), "------");
        righe.push_back("-pendenza,  500,   -5");
        const Letta l = leggi(descrizione(righe));
        SCOPED_TRACE(n);
        EXPECT_EQ(l.f.codice_errore, 0);
        EXPECT_EQ(l.f.celle[10].attributo5, n == 3 ? 95 : 100);
    }
}

TEST(LetturaLinea, SenzaSezioneGenerale) {
    // The last field of the file is never taken as the header.
    for (const std::string testo : {"sfondo uno,    1\r\n", "x\r\n[generale]\r\n", "[generale]"}) {
        const Letta l = leggi(testo);
        EXPECT_EQ(l.f.codice_errore, 102) << testo;
        EXPECT_EQ(l.esito, EsitoLinea::interrompi);
        EXPECT_TRUE(l.f.celle.empty());
    }
    // An empty file cannot even be read once.
    EXPECT_THROW(leggi(""), ErroreLettura);
    EXPECT_THROW(leggi("\r\n  \r\n"), ErroreLettura);
}

TEST(LetturaLinea, SenzaLunghezzaErroreDiLettura) {
    auto righe = generale();
    righe.erase(righe.begin() + 1);
    EXPECT_THROW(leggi(descrizione({"pendenza,  500,   -5"}, righe)), ErroreLettura);
}

TEST(LetturaLinea, FineDelFile) {
    // A last row that holds only its keyword is not examined.
    Letta l = leggi(con_crlf({"[generale]", "lunghezza percorso, 120000", "[p]", "pendenza"}));
    EXPECT_EQ(l.esito, EsitoLinea::prosegui);
    EXPECT_EQ(l.f.codice_errore, 0);
    // A general section that runs to the end of the file still leads to the normal end.
    l = leggi(con_crlf({"[generale]", "lunghezza percorso, 120000", "sfondo uno, 3"}));
    EXPECT_EQ(l.esito, EsitoLinea::prosegui);
    EXPECT_EQ(riga(l, 85).valore1, 3);
    EXPECT_EQ(l.f.celle[2537].attributo5, 100);
    // A row short of its numbers reads past the end.
    EXPECT_THROW(
        leggi(con_crlf({"[generale]", "lunghezza percorso, 120000", "[p]", "pendenza,  500"})),
        ErroreLettura);
    EXPECT_THROW(leggi(descrizione({"pendenza,  500,   x"})), ErroreLettura);
    EXPECT_THROW(leggi(descrizione({"indicatori_vmax,  750,  85,  90,  90,  40000,  ,  ,  ,  0"})),
                 ErroreLettura);
}

// A row whose first position lies beyond the cells records error 15 with that position and ends
// the feature rows; the normal end (gradient fill, plan) still runs and the train is read next.
TEST(LetturaLinea, PosizioneOltreLeCelle) {
    const Letta dentro = leggi(descrizione({"pendenza,  126900,   7"}));
    EXPECT_EQ(dentro.f.codice_errore, 0);
    EXPECT_EQ(dentro.f.celle[2537].attributo5, 100);
    EXPECT_EQ(dentro.stato.ultima_pendenza, 7);

    const Letta l = leggi(descrizione(
        {"pendenza,  500,   -5", "pendenza,  126901,   7", "cartello_indicatore,  10350,   (F)"}));
    EXPECT_EQ(l.esito, EsitoLinea::prosegui);
    EXPECT_EQ(l.f.codice_errore, 15);
    EXPECT_EQ(l.f.posizione_errore, 126901);
    EXPECT_EQ(l.f.celle[208].tipo_cella, tipo::libera);         // rows after it are not read
    EXPECT_EQ(l.f.celle[2537].attributo5, 95);                  // the gradient fill ran to its end
    EXPECT_EQ(l.f.tracciato.tipo[126998], Tracciato::reale64);  // so did the plan
}

// Errors of the feature rows: the code, the position recorded and whether the reading goes on
// to the train (error 15) or stops at once.
TEST(LetturaLinea, ErroriDelleRighe) {
    struct Caso {
        const char* nome;
        std::vector<std::string> righe;
        std::int32_t errore;
        std::int32_t posizione;
        EsitoLinea esito;
    };
    std::vector<std::string> ottantuno;
    for (int i = 0; i < 81; ++i) {
        ottantuno.push_back("cartello_indicatore,  " + std::to_string(1000 + 100 * i) + ",  (X)");
    }
    const Caso casi[] = {
        {"curva senza classe", {"curvad,  100,  50"}, 103, 0, EsitoLinea::interrompi},
        {"curva oltre il tracciato", {"curvad5,  126000,  1001"}, 15, 126000, EsitoLinea::prosegui},
        {"curva fino all'ultimo punto", {"curvad5,  126000,  1000"}, 0, 0, EsitoLinea::prosegui},
        {"curva con inizio oltre le celle",
         {"curvad5,  126901,  10"},
         15,
         126901,
         EsitoLinea::prosegui},
        {"montagna oltre le celle",
         {"montagna,  1000,  130000,  11"},
         15,
         1000,
         EsitoLinea::prosegui},
        {"montagna prima dello zero",
         {"montagna,  -500,  1000,  11"},
         15,
         -500,
         EsitoLinea::prosegui},
        {"indicatore su cella occupata",
         {"indicatori_vmax,  750,  85,  90,  90,  0,  ,  ,  ,  0",
          "indicatori_vmax,  760,  85,  90,  90,  0,  ,  ,  ,  0"},
         21,
         760,
         EsitoLinea::interrompi},
        {"indicatore prima dello zero",
         {"indicatori_vmax,  -100,  85,  90,  90,  0,  ,  ,  ,  0"},
         15,
         -100,
         EsitoLinea::prosegui},
        {"cartello su cella occupata",
         {"indicatori_vmax,  750,  85,  90,  90,  0,  ,  ,  ,  0",
          "cartello_indicatore,  740,   (F)"},
         6,
         740,
         EsitoLinea::interrompi},
        {"ottantunesimo cartello", ottantuno, 6, 9000, EsitoLinea::interrompi},
        {"cartello prima dello zero",
         {"cartello_indicatore,  -200,   (F)"},
         15,
         -200,
         EsitoLinea::prosegui},
    };
    for (const auto& c : casi) {
        const Letta l = leggi(descrizione(c.righe));
        SCOPED_TRACE(c.nome);
        EXPECT_EQ(l.f.codice_errore, c.errore);
        EXPECT_EQ(l.f.posizione_errore, c.posizione);
        EXPECT_EQ(l.esito, c.esito);
    }
}

TEST(LetturaLinea, GeometriaCompletataFinoAPenultimiDuePunti) {
    const Letta l = leggi(descrizione({"curvad5,  0,  150", "curvas4,  1000,  200"}));
    const Tracciato& t = l.f.tracciato;
    EXPECT_EQ(t.tipo[0], Tracciato::intero16);
    EXPECT_EQ(t.tipo[1], Tracciato::intero16);
    EXPECT_EQ(t.y[1], 1.0);
    for (std::size_t i = 2; i <= 126998; ++i) ASSERT_EQ(t.tipo[i], Tracciato::reale64) << i;
    EXPECT_EQ(t.tipo[126999], Tracciato::non_impostato);
    EXPECT_EQ(t.tipo[127000], Tracciato::non_impostato);
}

// ---- ordering of the kilometric reference points ----

struct Punto {
    std::int32_t p, c, f;
};

// Rows 81, 82, 83 as read from "tre", "due", "uno"; returns them after ordering.
std::vector<std::vector<std::int32_t>> ordina(Punto t, Punto d, Punto u) {
    Form1 f;
    const Punto letti[] = {t, d, u};
    for (std::size_t i = 0; i < 3; ++i) {
        f.tabella[81 + i].valore1 = letti[i].p;
        f.tabella[81 + i].valore2 = letti[i].c;
        f.tabella[81 + i].valore3 = letti[i].f;
    }
    progressive_ordina(f);
    std::vector<std::vector<std::int32_t>> righe;
    for (std::size_t r = 81; r <= 83; ++r) {
        righe.push_back({f.tabella[r].valore1, f.tabella[r].valore2, f.tabella[r].valore3});
    }
    return righe;
}

using Righe = std::vector<std::vector<std::int32_t>>;

TEST(ProgressiveOrdina, PerPosizioneDecrescente) {
    // The shipped points.
    EXPECT_EQ(ordina({0, 0, 0}, {115050, 10700, 0}, {0, 240700, 1}),
              (Righe{{115050, 10700, 0}, {0, 240800, 1}, {0, 0, 0}}));
    EXPECT_EQ(ordina({300, 1, 0}, {100, 2, 0}, {200, 3, 0}),
              (Righe{{300, 1, 0}, {200, 3, 0}, {100, 2, 0}}));
    EXPECT_EQ(ordina({100, 1, 0}, {300, 2, 1}, {200, 3, 0}),
              (Righe{{300, 102, 1}, {200, 3, 0}, {100, 1, 0}}));
    EXPECT_EQ(ordina({200, 1, 1}, {100, 2, 0}, {300, 3, 0}),
              (Righe{{300, 3, 0}, {200, 101, 1}, {100, 2, 0}}));
    EXPECT_EQ(ordina({100, 1, 0}, {200, 2, 0}, {300, 3, 1}),
              (Righe{{300, 103, 1}, {200, 2, 0}, {100, 1, 0}}));
}

TEST(ProgressiveOrdina, PariMerito) {
    // Two points sharing the largest position zero all three (no chainage is raised).
    EXPECT_EQ(ordina({500, 1000, 1}, {500, 2000, 1}, {100, 3000, 1}),
              (Righe{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}));
    // Positions summing to 0: the last point with a positive chainage sets the order.
    EXPECT_EQ(ordina({0, 50, 0}, {0, 0, 0}, {0, 0, 0}), (Righe{{0, 50, 0}, {0, 0, 0}, {0, 0, 0}}));
    EXPECT_EQ(ordina({0, 50, 0}, {0, 60, 1}, {0, 0, 0}),
              (Righe{{0, 160, 1}, {0, 50, 0}, {0, 0, 0}}));
    EXPECT_EQ(ordina({0, 50, 0}, {0, 60, 0}, {0, 70, 0}),
              (Righe{{0, 70, 0}, {0, 60, 0}, {0, 50, 0}}));
    EXPECT_EQ(ordina({100, 50, 1}, {-100, 0, 0}, {0, -70, 0}),
              (Righe{{100, 150, 1}, {-100, 0, 0}, {0, -70, 0}}));
    EXPECT_EQ(ordina({0, 0, 1}, {0, -5, 1}, {0, 0, 1}), (Righe{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}));
}

TEST(ProgressiveOrdina, SommaOltre32Bit) {
    EXPECT_THROW(ordina({2000000000, 0, 0}, {2000000000, 0, 0}, {0, 0, 0}), ErroreLettura);
    EXPECT_THROW(ordina({1, 2147483647, 1}, {0, 0, 0}, {0, 0, 0}), ErroreLettura);
}

// ---- clean-up of the description files ----

// Descriptions held in memory; records what was read and deleted.
class DescrizioniProva : public Descrizioni {
public:
    std::optional<std::string> testo_linea;
    std::optional<std::string> testo_treno = "[generale]\r\n";
    bool treno_letto = false;

    const std::optional<std::string>& linea() override { return testo_linea; }
    const std::optional<std::string>& treno() override {
        treno_letto = true;
        return testo_treno;
    }
    void elimina_linea() override { testo_linea.reset(); }
    void elimina_treno() override { testo_treno.reset(); }
};

TEST(MemorizzaDati, FileDellaLineaMancante) {
    Form1 f;
    f.flag_linea = 1;
    DescrizioniProva d;
    memorizza_dati(f, d);
    EXPECT_EQ(f.codice_errore, 101);
    EXPECT_TRUE(d.testo_treno.has_value());
    EXPECT_FALSE(d.treno_letto);
    EXPECT_EQ(f.tabella[85].testo, "Brunavia");
    EXPECT_EQ(f.tabella[86].testo, "706");
}

// Errors that stop the reading delete the line file only; the train file is not read.
TEST(MemorizzaDati, ErroriCheFermanoLaLettura) {
    auto ripetizione = generale();
    ripetizione.back() = "ripetizione segnali codici, 100, 200";
    const std::pair<std::string, std::int32_t> casi[] = {
        {"[pendenze]\r\n", 102},
        {descrizione({}, generale("lunghezza percorso, 2000000")), 1},
        {descrizione({}, ripetizione), 5},
        {descrizione({"indicatori_vmax,  750,  85,  90,  90,  0,  ,  ,  ,  0",
                      "indicatori_vmax,  760,  85,  90,  90,  0,  ,  ,  ,  0"}),
         21},
        {descrizione({"curvad,  100,  50"}), 103},
        {descrizione({"cartello_indicatore,  740,  (A)", "cartello_indicatore,  745,  (B)"}), 6},
    };
    for (const auto& [testo, errore] : casi) {
        Form1 f;
        f.flag_linea = 1;
        DescrizioniProva d;
        d.testo_linea = testo;
        memorizza_dati(f, d);
        SCOPED_TRACE(errore);
        EXPECT_EQ(f.codice_errore, errore);
        EXPECT_FALSE(d.testo_linea.has_value());
        EXPECT_TRUE(d.testo_treno.has_value());
        EXPECT_FALSE(d.treno_letto);
    }
}

// A read failure deletes both description files and records 25; the position stays as it was.
TEST(MemorizzaDati, ErroreDiLetturaEliminaEntrambiIFile) {
    for (const std::string& testo : {descrizione({"pendenza,  500,   5x"}), std::string(""),
                                     descrizione({"montagna,  1650,  2300,  300"})}) {
        Form1 f;
        f.flag_linea = 1;
        f.posizione_errore = 0;
        DescrizioniProva d;
        d.testo_linea = testo;
        memorizza_dati(f, d);
        EXPECT_EQ(f.codice_errore, 25);
        EXPECT_EQ(f.posizione_errore, 0);
        EXPECT_FALSE(d.testo_linea.has_value());
        EXPECT_FALSE(d.testo_treno.has_value());
    }
}

}  // namespace
}  // namespace brunavia
