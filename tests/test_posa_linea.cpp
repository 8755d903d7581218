#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "compiler/lettore_campi.h"
#include "compiler/posa_linea.h"

namespace brunavia {
namespace {

// A model sized for a line of `lunghezza` metres, with its plan started, as the line reader
// leaves it before the first feature row.
struct Linea {
    Form1 f;
    StatoLinea s;

    explicit Linea(std::int32_t lunghezza = 120000) {
        f.flag_linea = 1;
        const auto ultimo = static_cast<std::size_t>(lunghezza + 7000);
        f.celle.assign(
            static_cast<std::size_t>(std::nearbyint(static_cast<double>(ultimo) / 50.0)) + 1,
            cella{});
        f.tracciato.dimensiona(ultimo);
        inizia_tracciato(f);
    }
    std::vector<int> pendenze(std::size_t da, std::size_t a) const {
        std::vector<int> v;
        for (std::size_t k = da; k <= a; ++k) v.push_back(f.celle[k].attributo5);
        return v;
    }
};

std::vector<int> ripeti(int valore, std::size_t volte) {
    return std::vector<int>(volte, valore);
}

// ---- gradients ----

TEST(Pendenze, RigheDellaLineaSpedita) {
    Linea l;
    ASSERT_EQ(memo_pendenza(l.f, l.s, 0, 0), EsitoPosa::posata);
    EXPECT_EQ(l.s.cursore_pendenza, 0);  // k = 0 writes nothing
    ASSERT_EQ(memo_pendenza(l.f, l.s, 500, -5), EsitoPosa::posata);
    EXPECT_EQ(l.pendenze(0, 10),
              (std::vector<int>{100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 0}));
    ASSERT_EQ(memo_pendenza(l.f, l.s, 700, 5), EsitoPosa::posata);
    EXPECT_EQ(l.pendenze(10, 14), (std::vector<int>{95, 95, 95, 95, 0}));
    EXPECT_EQ(l.s.ultima_pendenza, 5);
}

TEST(Pendenze, CellaDellaPosizioneArrotondataAlPari) {
    const std::pair<std::int32_t, std::int32_t> casi[] = {{525, 10}, {575, 12}, {549, 11},
                                                          {25, 0},   {75, 2},   {-400, 0}};
    for (const auto& [posizione, cursore] : casi) {
        Linea l;
        memo_pendenza(l.f, l.s, posizione, 3);
        EXPECT_EQ(l.s.cursore_pendenza, cursore) << posizione;
    }
}

TEST(Pendenze, RigaGiaRaggiuntaScriveUnaCella) {
    Linea l;
    memo_pendenza(l.f, l.s, 500, 4);
    memo_pendenza(l.f, l.s, 450, -6);  // cell 9, behind the cursor
    memo_pendenza(l.f, l.s, 550, 2);   // cell 11, where the cursor now stands
    EXPECT_EQ(l.pendenze(9, 12), (std::vector<int>{100, 104, 94, 0}));
    EXPECT_EQ(l.s.cursore_pendenza, 12);
}

TEST(Pendenze, SoloGliOttoBitBassi) {
    Linea l;
    memo_pendenza(l.f, l.s, 100, -150);
    memo_pendenza(l.f, l.s, 200, 200);
    memo_pendenza(l.f, l.s, 300, 0);
    EXPECT_EQ(l.pendenze(2, 5), (std::vector<int>{206, 206, 44, 44}));  // -50 and 300
}

TEST(Pendenze, SommaOltre32BitErroreDiLettura) {
    Linea l;
    memo_pendenza(l.f, l.s, 100, std::numeric_limits<std::int32_t>::max());
    EXPECT_THROW(memo_pendenza(l.f, l.s, 200, 0), ErroreLettura);
}

TEST(Pendenze, CompletamentoFinoAllaTerzultimaCella) {
    Linea l(1000);  // cells 0 .. 160
    memo_pendenza(l.f, l.s, 500, 12);
    completa_pendenze(l.f, l.s);
    EXPECT_EQ(l.pendenze(10, 157), ripeti(112, 148));
    EXPECT_EQ(l.pendenze(158, 160), ripeti(0, 3));
}

// Rows that each write one cell at the cursor would push it past the last cell.
TEST(Pendenze, CursoreOltreLeCelle) {
    Linea l(0);                                                      // cells 0 .. 140
    EXPECT_EQ(memo_pendenza(l.f, l.s, 6900, 1), EsitoPosa::posata);  // cells 0 .. 137
    EXPECT_EQ(memo_pendenza(l.f, l.s, 6900, 1), EsitoPosa::posata);  // 138
    EXPECT_EQ(memo_pendenza(l.f, l.s, 6900, 1), EsitoPosa::posata);  // 139
    EXPECT_EQ(memo_pendenza(l.f, l.s, 6900, 1), EsitoPosa::posata);  // 140
    EXPECT_EQ(memo_pendenza(l.f, l.s, 6900, 1), EsitoPosa::fuori_limiti);
    EXPECT_EQ(l.s.cursore_pendenza, 141);
}

// ---- climbing stretches ----

TEST(Montagne, TrattoInModalitaMarcatori) {
    Linea l;
    l.f.celle[40].tipo_cella = tipo::indicatore_v_max;
    std::int32_t tipo_tratto = 12;
    ASSERT_EQ(memo_montagna(l.f, l.s, 1650, 2300, tipo_tratto), EsitoPosa::posata);
    EXPECT_EQ(tipo_tratto, 2);
    for (std::size_t k = 32; k <= 46; ++k) {
        const bool dentro = k >= 33 && k <= 45;
        EXPECT_EQ(l.f.celle[k].attributo3, dentro ? 2 : 0) << k;
        const std::uint8_t atteso = k == 36 || k == 44 ? tipo::libera_montagna
                                    : k == 40          ? tipo::indicatore_v_max
                                                       : tipo::libera;
        EXPECT_EQ(l.f.celle[k].tipo_cella, atteso) << k;
    }
    EXPECT_EQ(l.f.inizio_montagne, std::vector<std::int32_t>{1650});
    EXPECT_EQ(l.f.fine_montagne, std::vector<std::int32_t>{2300});
}

TEST(Montagne, TrattoVicinoAlPrecedenteDiventaTipo3) {
    const std::pair<std::int32_t, std::int32_t> casi[] = {{2450, 3}, {2451, 1}, {2000, 3}};
    for (const auto& [inizio, atteso] : casi) {
        Linea l;
        std::int32_t primo = 2;
        std::int32_t secondo = 1;
        memo_montagna(l.f, l.s, 1650, 2300, primo);
        memo_montagna(l.f, l.s, inizio, 4000, secondo);
        SCOPED_TRACE(inizio);
        EXPECT_EQ(secondo, atteso);
        EXPECT_EQ(l.f.celle[60].attributo3, atteso);
        EXPECT_EQ(l.f.celle[60].tipo_cella, tipo::libera);  // kind 1 sets no markers
        EXPECT_EQ(l.s.contatore_montagne, 2);
    }
}

TEST(Montagne, TrattoVuotoContatoMaNonScritto) {
    Linea l;
    std::int32_t tipo_tratto = 11;
    EXPECT_EQ(memo_montagna(l.f, l.s, 1000, 1000, tipo_tratto), EsitoPosa::posata);
    EXPECT_EQ(l.f.celle[19].attributo3, 0);
    EXPECT_EQ(l.f.celle[20].attributo3, 0);
    EXPECT_EQ(l.s.contatore_montagne, 1);
}

TEST(Montagne, FuoriDalleCelleNulla) {
    // Cells 0 .. 2540: a stretch ending at 127076 m writes cell round(2541.52 - 1) = 2541.
    for (const auto& [inizio, fine] : {std::pair{120000, 127076}, std::pair{-100, 500}}) {
        Linea l;
        std::int32_t tipo_tratto = 11;
        EXPECT_EQ(memo_montagna(l.f, l.s, inizio, fine, tipo_tratto), EsitoPosa::fuori_limiti);
        EXPECT_EQ(l.s.contatore_montagne, 0);
    }
    Linea l;
    std::int32_t tipo_tratto = 11;
    EXPECT_EQ(memo_montagna(l.f, l.s, 120000, 127075, tipo_tratto), EsitoPosa::posata);
    EXPECT_EQ(l.f.celle[2540].attributo3, 1);
}

TEST(Montagne, TipoFuoriDalByteErroreDiLettura) {
    for (const std::int32_t t : {300, -1}) {
        Linea l;
        std::int32_t tipo_tratto = t;
        EXPECT_THROW(memo_montagna(l.f, l.s, 1650, 2300, tipo_tratto), ErroreLettura) << t;
    }
}

// ---- maximum-speed boards ----

IndicatoriVMax indicatore(std::int32_t posizione, std::int32_t vas, std::int32_t vbs,
                          std::int32_t vcs, std::int16_t strisces, std::int32_t vad = 0,
                          std::int32_t vbd = 0, std::int32_t vcd = 0, std::int16_t strisced = 0) {
    return {posizione, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced};
}

TEST(IndicatoriVMax, CodiciDiVelocitaEStrisce) {
    Linea l;
    ASSERT_EQ(memo_indicatori_v_max(l.f, indicatore(750, 85, 90, 90, 0)), EsitoPosa::posata);
    const cella& c = l.f.celle[16];
    EXPECT_EQ(c.tipo_cella, tipo::indicatore_v_max);
    EXPECT_EQ((std::vector<int>{c.dato0, c.dato1, c.dato2, c.dato3}),
              (std::vector<int>{1700, 1800, 1800, 0}));

    ASSERT_EQ(memo_indicatori_v_max(l.f, indicatore(5500, 80, 90, 100, 2, 60, 12, 13, 1)),
              EsitoPosa::posata);
    const cella& d = l.f.celle[111];
    // 60 / 5 = 12; 12 / 5 = 2.4 and 13 / 5 = 2.6 round to the nearest.
    EXPECT_EQ((std::vector<int>{d.dato0, d.dato1, d.dato2, d.dato3}),
              (std::vector<int>{1612, 1802, 2003, 21}));
}

TEST(IndicatoriVMax, CellaOccupata) {
    Linea l;
    l.f.celle[16].tipo_cella = tipo::libera_montagna;
    EXPECT_EQ(memo_indicatori_v_max(l.f, indicatore(750, 85, 90, 90, 0)), EsitoPosa::posata);
    EXPECT_EQ(memo_indicatori_v_max(l.f, indicatore(770, 50, 50, 50, 1)), EsitoPosa::rifiutata);
    EXPECT_EQ(l.f.codice_errore, 21);
    EXPECT_EQ(l.f.posizione_errore, 770);
    EXPECT_EQ(l.f.celle[16].dato0, 1700);  // the first board stays
}

TEST(IndicatoriVMax, ValoriFuoriIntervalloErroreDiLettura) {
    const IndicatoriVMax casi[] = {
        indicatore(750, 1639, 0, 0, 0),                  // 32780 does not fit 16 bits
        indicatore(750, 0, 0, 0, 0, 163840),             // 32768
        indicatore(750, 200000000, 0, 0, 0),             // left speed * 20 beyond 32 bits
        indicatore(750, 0, 0, 0, 3300, 0, 0, 0, -1000),  // stripes * 10 beyond 16 bits
        indicatore(750, 0, 0, 0, 3276, 0, 0, 0, 8),
    };
    for (const auto& r : casi) {
        Linea l;
        EXPECT_THROW(memo_indicatori_v_max(l.f, r), ErroreLettura);
    }
    Linea l;
    EXPECT_EQ(memo_indicatori_v_max(l.f, indicatore(750, 1638, 0, 0, 3276, 35, 0, 0, 7)),
              EsitoPosa::posata);
    EXPECT_EQ(l.f.celle[16].dato0, 32767);
    EXPECT_EQ(l.f.celle[16].dato3, 32767);
}

// ---- indication boards ----

TEST(CartelliIndicatori, PrimoCartelloNellaVoce80) {
    Linea l;
    ASSERT_EQ(memo_cartello_indicatore(l.f, l.s, 10350, "(F)"), EsitoPosa::posata);
    EXPECT_EQ(l.f.celle[208].tipo_cella, tipo::cartello_indicatore);
    EXPECT_EQ(l.f.celle[208].dato0, 80);
    EXPECT_EQ(l.f.tabella[80].testo, "(F)");
    ASSERT_EQ(memo_cartello_indicatore(l.f, l.s, 64400, "(Ponte   )(in Ferro)"), EsitoPosa::posata);
    EXPECT_EQ(l.f.celle[1289].dato0, 79);
    EXPECT_EQ(l.f.tabella[79].testo, "(Ponte   )(in Ferro)");
    EXPECT_EQ(l.s.slot_cartello, 78);
}

TEST(CartelliIndicatori, CellaOccupataOSenzaVoceLibera) {
    Linea l;
    l.f.celle[208].tipo_cella = tipo::indicatore_v_max;
    EXPECT_EQ(memo_cartello_indicatore(l.f, l.s, 10350, "(F)"), EsitoPosa::rifiutata);
    EXPECT_EQ(l.f.codice_errore, 6);
    EXPECT_EQ(l.f.posizione_errore, 10350);
    EXPECT_EQ(l.f.tabella[80].testo, "");

    l.s.slot_cartello = 1;
    EXPECT_EQ(memo_cartello_indicatore(l.f, l.s, 20000, "(A)"), EsitoPosa::posata);
    EXPECT_EQ(l.f.tabella[1].testo, "(A)");
    EXPECT_EQ(memo_cartello_indicatore(l.f, l.s, 30000, "(B)"), EsitoPosa::rifiutata);
    EXPECT_EQ(l.f.posizione_errore, 30000);
    EXPECT_EQ(l.f.celle[601].tipo_cella, tipo::libera);
}

TEST(CartelliIndicatori, TestoOltre65535ByteErroreDiLettura) {
    Linea l;
    EXPECT_THROW(memo_cartello_indicatore(l.f, l.s, 10350, std::string(65536, 'x')), ErroreLettura);
    EXPECT_EQ(memo_cartello_indicatore(l.f, l.s, 10350, std::string(65535, 'x')),
              EsitoPosa::posata);
}

// ---- curves and the plan ----

// The first points of a class 6 right curve from the start, as binary64 bit patterns computed
// independently, step by step, without fused operations.
TEST(Tracciato, PrimiPuntiDiUnaCurvaDestra) {
    Linea l;
    ASSERT_EQ(memo_curva(l.f, l.s, "curvad6", 0, 150), EsitoPosa::posata);
    const Tracciato& t = l.f.tracciato;
    const std::pair<double, double> attesi[] = {
        {0x1.89374bc6a7efap-9, 0x1.0000000000000p+1}, {0x1.26e978d4fdf3cp-7, 0x1.7fffb480a5acdp+1},
        {0x1.26e95bd749dc0p-6, 0x1.fffed20296b34p+1}, {0x1.eb848dc3cd74dp-6, 0x1.3ffe868352a3fp+2},
        {0x1.70a2fd9b7f4b4p-5, 0x1.7ffd0d06fe575p+2},
    };
    for (std::size_t i = 0; i < std::size(attesi); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(t.x[i + 2]),
                  std::bit_cast<std::uint64_t>(attesi[i].first))
            << i + 2;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(t.y[i + 2]),
                  std::bit_cast<std::uint64_t>(attesi[i].second))
            << i + 2;
        EXPECT_EQ(t.tipo[i + 2], Tracciato::reale64);
    }
    EXPECT_EQ(t.tipo[151], Tracciato::non_impostato);
    EXPECT_EQ(l.s.indice_geometria, 151);
}

double direzione(const Tracciato& t, std::size_t i) {
    return std::atan2(t.x[i] - t.x[i - 1], t.y[i] - t.y[i - 1]);
}

// "curvad5, 0, 150": every step turns the heading clockwise by atan(0.002); a left curve is
// its exact mirror; the straight run after it keeps the last heading.
TEST(Tracciato, CurvaDestraSinistraERettilineo) {
    Linea destra;
    Linea sinistra;
    memo_curva(destra.f, destra.s, "curvad5", 0, 150);
    memo_curva(sinistra.f, sinistra.s, "CURVAS5", 0, 150);
    completa_tracciato(destra.f, destra.s);
    const Tracciato& d = destra.f.tracciato;
    const Tracciato& s = sinistra.f.tracciato;
    EXPECT_NEAR(direzione(d, 150), 149 * std::atan(0.002), 1e-9);
    for (std::size_t i = 2; i <= 150; ++i) {
        ASSERT_GT(direzione(d, i), direzione(d, i - 1)) << i;
        ASSERT_EQ(s.x[i], -d.x[i]) << i;
        ASSERT_EQ(s.y[i], d.y[i]) << i;
    }
    for (std::size_t i = 151; i <= 126998; i += 997) {
        ASSERT_NEAR(direzione(d, i), direzione(d, 150), 1e-9) << i;
    }
}

TEST(Tracciato, ClasseDallaCifraPiuBassa) {
    Linea una;
    Linea altra;
    memo_curva(una.f, una.s, "curvad65", 100, 300);
    memo_curva(altra.f, altra.s, "curvad5", 100, 300);
    EXPECT_EQ(una.f.tracciato.x, altra.f.tracciato.x);
    EXPECT_EQ(una.f.tracciato.y, altra.f.tracciato.y);
    EXPECT_NE(una.f.tracciato.x[300], 0.0);

    Linea senza;
    EXPECT_EQ(memo_curva(senza.f, senza.s, "curvad", 100, 300), EsitoPosa::rifiutata);
    EXPECT_EQ(senza.f.codice_errore, 103);
}

// A row that starts behind the plan already computed only continues it.
TEST(Tracciato, CurvaCheIniziaDietroLIndice) {
    Linea l;
    memo_curva(l.f, l.s, "curvad3", 0, 500);
    memo_curva(l.f, l.s, "curvas3", 300, 300);
    EXPECT_EQ(l.s.indice_geometria, 601);
    Linea attesa;
    memo_curva(attesa.f, attesa.s, "curvad3", 0, 500);
    memo_curva(attesa.f, attesa.s, "curvas3", 500, 100);
    EXPECT_EQ(l.f.tracciato.x, attesa.f.tracciato.x);
}

TEST(Tracciato, CurvaOltreLUltimoPunto) {
    Linea l;
    EXPECT_EQ(memo_curva(l.f, l.s, "curvad5", 126900, 101), EsitoPosa::fuori_limiti);
    EXPECT_EQ(l.s.indice_geometria, 2);
    EXPECT_EQ(memo_curva(l.f, l.s, "curvad5", 126900, 100), EsitoPosa::posata);
    EXPECT_EQ(l.f.tracciato.tipo[127000], Tracciato::reale64);
}

// No point beyond index 1,000,000 is computed inside a curve row, even on a line whose plan is
// longer; the straight run after the last row still reaches L - 2.
TEST(Tracciato, LimiteDellaGeometria) {
    Linea l(1000000);
    EXPECT_EQ(memo_curva(l.f, l.s, "curvad5", 999900, 200), EsitoPosa::rifiutata);
    EXPECT_EQ(l.f.codice_errore, 103);
    EXPECT_EQ(l.f.tracciato.tipo[1000000], Tracciato::reale64);
    EXPECT_EQ(l.f.tracciato.tipo[1000001], Tracciato::non_impostato);

    Linea rettilineo(1000000);
    EXPECT_EQ(memo_curva(rettilineo.f, rettilineo.s, "curvad5", 998000, 1999), EsitoPosa::posata);
    completa_tracciato(rettilineo.f, rettilineo.s);
    EXPECT_EQ(rettilineo.f.tracciato.tipo[1006998], Tracciato::reale64);
    EXPECT_EQ(rettilineo.f.tracciato.tipo[1006999], Tracciato::non_impostato);
}

}  // namespace
}  // namespace brunavia
