#include <gtest/gtest.h>

#include <vector>

#include "compiler/lettore_campi.h"
#include "compiler/posa_treno.h"

namespace brunavia {
namespace {

// A 120 km line: cells 0 ... 2540.
Form1 linea_120_km() {
    Form1 f;
    f.celle.assign(2541, {});
    return f;
}

RigaSegnale segnale(std::int32_t sx, std::int32_t dx, std::int32_t tempo = 0) {
    RigaSegnale s;
    s.sx = sx;
    s.s1 = 2;
    s.s2 = 3;
    s.s3 = 1;
    s.dx = dx;
    s.tempo = tempo;
    return s;
}

bool celle_uguali(const cella& a, const cella& b) {
    return a.tipo_cella == b.tipo_cella && a.dato0 == b.dato0 && a.dato1 == b.dato1 &&
           a.dato2 == b.dato2 && a.dato3 == b.dato3 && a.attributo1 == b.attributo1 &&
           a.attributo2 == b.attributo2 && a.attributo4 == b.attributo4;
}

bool stesse_celle(const Form1& a, const Form1& b) {
    for (std::size_t k = 0; k < a.celle.size(); ++k) {
        if (!celle_uguali(a.celle[k], b.celle[k])) return false;
    }
    return true;
}

// --- signals ---

TEST(Segnale, RigaDiEsempioA1400) {
    Form1 f = linea_120_km();
    RigaSegnale s = segnale(1, 0);
    ASSERT_EQ(memo_segnale(f, 1400, s), kPosato);
    const cella& c = f.celle[29];
    EXPECT_EQ(c.tipo_cella, tipo::segnale);
    EXPECT_EQ(c.dato3, 3);
    EXPECT_EQ(c.dato0, 20);
    EXPECT_EQ(c.dato1, 30);
    EXPECT_EQ(c.dato2, 10);
    EXPECT_EQ(c.attributo1, 0);
    const std::vector<std::pair<std::size_t, int>> avvicinamento = {
        {27, 31}, {25, 32}, {23, 33}, {21, 34}};
    for (const auto& [k, codice] : avvicinamento) {
        EXPECT_EQ(f.celle[k].attributo2, codice) << "cella " << k;
        EXPECT_EQ(f.celle[k].tipo_cella, tipo::libera) << "cella " << k;
    }
    for (std::size_t k : {20u, 22u, 24u, 26u, 28u, 30u}) EXPECT_EQ(f.celle[k].attributo2, 0);
}

TEST(Segnale, TempoSoloConIndicazioneSinistra2) {
    struct Caso {
        std::int32_t sx, tempo, tempo_dopo;
        std::uint8_t attributo1;
    };
    const Caso casi[] = {
        {1, 50, 101, 0},    {2, 0, 0, 0},       {2, 1, 101, 101},  {2, 100, 101, 101},
        {2, 101, 101, 101}, {2, 255, 255, 255}, {2, 300, 300, 44}, {2, -4, -4, 252},
    };
    for (const Caso& c : casi) {
        Form1 f = linea_120_km();
        RigaSegnale s = segnale(c.sx, 0, c.tempo);
        ASSERT_EQ(memo_segnale(f, 5000, s), kPosato);
        EXPECT_EQ(f.celle[101].attributo1, c.attributo1) << "sx " << c.sx << " tempo " << c.tempo;
        EXPECT_EQ(s.tempo, c.tempo_dopo) << "sx " << c.sx << " tempo " << c.tempo;
    }
}

TEST(Segnale, ValoriTroncatiA8E16Bit) {
    Form1 f = linea_120_km();
    RigaSegnale s = segnale(9, 0);
    s.s1 = 4000;  // 40000 kept in 16 bits
    ASSERT_EQ(memo_segnale(f, 5000, s), kPosato);
    EXPECT_EQ(f.celle[101].dato0, -25536);
    EXPECT_EQ(f.celle[99].attributo2, 271 % 256);  // (9 × 3 + 0) × 10 + 1 in 8 bits
    EXPECT_EQ(f.celle[93].attributo2, 274 % 256);
}

TEST(Segnale, CalcoloOltre32BitFallisceLaLettura) {
    Form1 f = linea_120_km();
    RigaSegnale s = segnale(1, 0);
    s.rapp = 300000000;  // × 10 leaves the 32-bit range
    EXPECT_THROW(memo_segnale(f, 5000, s), ErroreLettura);
    EXPECT_EQ(f.celle[101].tipo_cella, tipo::libera);
}

TEST(Segnale, SegniDiAvvicinamentoPrimaDellaCella0Scartati) {
    Form1 f = linea_120_km();
    RigaSegnale s = segnale(2, 1);
    ASSERT_EQ(memo_segnale(f, 200, s), kPosato);  // cell 5: marks at 3 and 1 only
    EXPECT_EQ(f.celle[5].tipo_cella, tipo::segnale);
    EXPECT_EQ(f.celle[3].attributo2, 71);
    EXPECT_EQ(f.celle[1].attributo2, 72);
    EXPECT_EQ(f.celle[0].attributo2, 0);
    EXPECT_EQ(f.celle[2].attributo2, 0);
}

TEST(Segnale, CelleOccupateEFuoriDalleCelle) {
    Form1 f = linea_120_km();
    RigaSegnale s = segnale(1, 0);
    ASSERT_EQ(memo_segnale(f, 1400, s), kPosato);
    EXPECT_EQ(memo_segnale(f, 1500, s), kPosato) << "100 m after another signal";
    EXPECT_EQ(memo_segnale(f, 1410, s), errore_treno::segnale_occupato) << "same cell 29";
    f.celle[60].tipo_cella = tipo::libera_montagna;
    EXPECT_EQ(memo_segnale(f, 2950, s), kPosato) << "climbing-stretch mark counts as free";
    f.celle[80].tipo_cella = tipo::indicatore_v_max;
    const Form1 prima = f;
    EXPECT_EQ(memo_segnale(f, 3950, s), errore_treno::segnale_occupato);
    EXPECT_EQ(memo_segnale(f, -500, s), errore_treno::fuori_dalle_celle);
    EXPECT_TRUE(stesse_celle(f, prima));
}

// --- slowdowns ---

RigaRallentamento rallentamento(std::int32_t v, std::int32_t l, std::int32_t f_ta,
                                std::int32_t d_v) {
    RigaRallentamento r;
    r.v = v;
    r.l = l;
    r.f_tt = 7;
    r.f_ta = f_ta;
    r.d_v = d_v;
    return r;
}

TEST(Rallentamento, A1500SenzaAvvisoNeCelleTipo5) {
    Form1 f = linea_120_km();
    ASSERT_EQ(memo_rallentamento(f, 1500, rallentamento(30, 500, 1, 4)), kPosato);
    const cella& inizio = f.celle[31];
    const cella& fine = f.celle[41];
    EXPECT_EQ(inizio.tipo_cella, tipo::inizio_rallentamento);
    EXPECT_EQ(fine.tipo_cella, tipo::fine_rallentamento);
    for (const cella* c : {&inizio, &fine}) {
        EXPECT_EQ(c->dato0, 30);
        EXPECT_EQ(c->dato1, 4);
        EXPECT_EQ(c->dato2, 7);
    }
    for (std::size_t k = 0; k < 31; ++k) EXPECT_EQ(f.celle[k].tipo_cella, 0) << "cella " << k;
}

TEST(Rallentamento, A1550AvvisoECelleTipo5) {
    Form1 f = linea_120_km();
    ASSERT_EQ(memo_rallentamento(f, 1550, rallentamento(60, 1000, 1, 9)), kPosato);
    const cella& avviso = f.celle[8];
    EXPECT_EQ(avviso.tipo_cella, tipo::avviso_rallentamento);
    EXPECT_EQ(avviso.dato0, 60);
    EXPECT_EQ(avviso.dato1, 9);
    EXPECT_EQ(avviso.dato2, 0);
    EXPECT_EQ(f.celle[32].tipo_cella, tipo::inizio_rallentamento);
    EXPECT_EQ(f.celle[52].tipo_cella, tipo::fine_rallentamento);
    for (std::int16_t n = 0; n < 4; ++n) {
        const cella& c = f.celle[static_cast<std::size_t>(7 - n)];
        EXPECT_EQ(c.tipo_cella, tipo::prima_dell_avviso);
        EXPECT_EQ(c.dato0, n + 1);
        EXPECT_EQ(c.dato1, n + 1);
    }
    EXPECT_EQ(f.celle[3].tipo_cella, tipo::libera);
}

TEST(Rallentamento, SenzaSecondoValoreDato1NonScritto) {
    Form1 f = linea_120_km();
    ASSERT_EQ(memo_rallentamento(f, 1550, rallentamento(60, 1000, 1, 0)), kPosato);
    for (std::size_t k : {4u, 7u, 8u, 32u, 52u}) EXPECT_EQ(f.celle[k].dato1, 0) << "cella " << k;
    EXPECT_EQ(f.celle[4].dato0, 4);
}

// x = 3000, l = 1000: warning cell 37, start 61, end 81, the four cells before the board 36..33.
TEST(Rallentamento, RifiutiNellOrdineAvvisoInizioFine) {
    struct Caso {
        std::vector<std::size_t> occupate;
        std::int32_t x, l, f_ta, esito;
    };
    const Caso casi[] = {
        {{37}, 3000, 1000, 0, errore_treno::avviso_occupato},
        {{61}, 3000, 1000, 0, errore_treno::inizio_occupato},
        {{81}, 3000, 1000, 0, errore_treno::fine_occupata},
        {{37, 61, 81}, 3000, 1000, 0, errore_treno::avviso_occupato},
        {{61, 81}, 3000, 1000, 0, errore_treno::inizio_occupato},
        {{}, 3000, 200000, 0, errore_treno::fuori_dalle_celle},   // end past the last cell
        {{}, -500, 100, 0, errore_treno::fuori_dalle_celle},      // start before cell 0
        {{}, 3000, -200000, 0, errore_treno::fuori_dalle_celle},  // end before cell 0
    };
    for (const Caso& c : casi) {
        Form1 f = linea_120_km();
        for (std::size_t k : c.occupate) f.celle[k].tipo_cella = tipo::segnale;
        const Form1 prima = f;
        EXPECT_EQ(memo_rallentamento(f, c.x, rallentamento(50, c.l, c.f_ta, 1)), c.esito)
            << "x " << c.x << " l " << c.l;
        EXPECT_TRUE(stesse_celle(f, prima)) << "x " << c.x << " l " << c.l;
    }
}

TEST(Rallentamento, CellaPrimaDellAvvisoOccupata) {
    Form1 f = linea_120_km();
    f.celle[34].tipo_cella = tipo::indicatore_v_max;
    EXPECT_EQ(memo_rallentamento(f, 3000, rallentamento(50, 1000, 1, 0)),
              errore_treno::prima_dell_avviso_occupata);
    EXPECT_EQ(f.celle[37].tipo_cella, tipo::avviso_rallentamento);
    EXPECT_EQ(f.celle[61].tipo_cella, tipo::inizio_rallentamento);
    EXPECT_EQ(f.celle[81].tipo_cella, tipo::fine_rallentamento);
    for (std::size_t k : {33u, 35u, 36u}) EXPECT_EQ(f.celle[k].tipo_cella, 0) << "cella " << k;

    Form1 g = linea_120_km();
    g.celle[34].tipo_cella = tipo::indicatore_v_max;
    EXPECT_EQ(memo_rallentamento(g, 3000, rallentamento(50, 1000, 0, 0)), kPosato)
        << "without the switch the four cells are not looked at";
    Form1 h = linea_120_km();
    h.celle[7].tipo_cella = tipo::indicatore_v_max;  // would be the warning cell of 1500
    EXPECT_EQ(memo_rallentamento(h, 1500, rallentamento(50, 1000, 1, 0)), kPosato);
}

TEST(Rallentamento, InizioEFineNellaStessaCellaRestaUnInizio) {
    Form1 f = linea_120_km();
    ASSERT_EQ(memo_rallentamento(f, 3000, rallentamento(50, 10, 0, 0)), kPosato);
    EXPECT_EQ(f.celle[61].tipo_cella, tipo::inizio_rallentamento);
    EXPECT_EQ(f.celle[61].dato0, 50);
}

// --- "abbattimento" ---

TEST(Abbattimento, CellaDellaPosizioneSenzaPiuUno) {
    struct Caso {
        std::int32_t posizione, valore;
        std::size_t cella;
        std::uint8_t tipo_atteso;
        std::int16_t dato0;
    };
    const Caso casi[] = {
        {1000, 0, 20, tipo::abbattimento_nullo, 0},
        {1000, -5, 20, tipo::abbattimento_nullo, 0},
        {1000, 120, 20, tipo::marcatore, 120},
        {1000, 70000, 20, tipo::marcatore, 4464},  // low 16 bits
        {1025, 1, 20, tipo::marcatore, 1},         // 20.5 rounds to even
        {1075, 1, 22, tipo::marcatore, 1},         // 21.5 rounds to even
    };
    for (const Caso& c : casi) {
        Form1 f = linea_120_km();
        ASSERT_EQ(memo_abbattimento(f, c.posizione, c.valore), kPosato);
        EXPECT_EQ(f.celle[c.cella].tipo_cella, c.tipo_atteso) << c.posizione << ", " << c.valore;
        EXPECT_EQ(f.celle[c.cella].dato0, c.dato0) << c.posizione << ", " << c.valore;
    }
}

TEST(Abbattimento, CellaOccupataOFuori) {
    Form1 f = linea_120_km();
    f.celle[20].tipo_cella = tipo::segnale;
    f.celle[30].tipo_cella = tipo::libera_montagna;
    EXPECT_EQ(memo_abbattimento(f, 1000, 5), errore_treno::abbattimento_occupato);
    EXPECT_EQ(f.celle[20].tipo_cella, tipo::segnale);
    EXPECT_EQ(memo_abbattimento(f, 1500, 5), kPosato);
    EXPECT_EQ(memo_abbattimento(f, -100, 5), errore_treno::fuori_dalle_celle);
}

// --- station marks ---

TEST(SegniStazione, CellaTipo10ESegni81_84) {
    struct Caso {
        std::uint8_t codice;
        std::int32_t fine_zona;
        std::int32_t esito;
        std::vector<std::pair<std::size_t, int>> segni;  // cell, attributo2
        std::int64_t cella10;                            // -1: none
    };
    const Caso casi[] = {
        {11, 450, kPosato, {{7, 81}, {6, 82}, {5, 83}, {4, 84}}, 8},
        {12, 200, kPosato, {{2, 81}}, 3},  // marks only where the cell lies above 1
        {5, 450, kPosato, {}, 8},
        {6, 450, kPosato, {}, 8},
        {7, 450, kPosato, {{7, 81}, {6, 82}, {5, 83}, {4, 84}}, 8},
        {25, 450, kPosato, {}, -1},
        {28, 450, kPosato, {}, -1},
        {11, 100, errore_treno::fine_zona_troppo_vicina, {}, -1},
        {11, 127050, kPosato, {{2539, 81}, {2538, 82}, {2537, 83}, {2536, 84}}, 2540},
        {11, 127100, errore_treno::fuori_dalle_celle, {}, -1},
    };
    for (const Caso& c : casi) {
        Form1 f = linea_120_km();
        voce stazione;
        stazione.segno = c.codice;
        stazione.valore2 = c.fine_zona;
        EXPECT_EQ(segna_stazione(f, 3, stazione), c.esito) << int{c.codice} << " " << c.fine_zona;
        Form1 attese = linea_120_km();
        for (const auto& [k, valore] : c.segni) {
            attese.celle[k].attributo2 = static_cast<std::uint8_t>(valore);
        }
        if (c.cella10 >= 0) {
            attese.celle[static_cast<std::size_t>(c.cella10)].tipo_cella = tipo::fine_stazione;
            attese.celle[static_cast<std::size_t>(c.cella10)].dato0 = 3;
        }
        EXPECT_TRUE(stesse_celle(f, attese)) << int{c.codice} << " " << c.fine_zona;
    }
}

TEST(SegniStazione, SovrascrivonoLeCelleSenzaGuardarneIlTipo) {
    Form1 f = linea_120_km();
    f.celle[8].tipo_cella = tipo::segnale;
    f.celle[7].attributo2 = 31;
    voce stazione;
    stazione.segno = 11;
    stazione.valore2 = 450;
    ASSERT_EQ(segna_stazione(f, 1, stazione), kPosato);
    EXPECT_EQ(f.celle[8].tipo_cella, tipo::fine_stazione);
    EXPECT_EQ(f.celle[7].attributo2, 81);
}

}  // namespace
}  // namespace brunavia
