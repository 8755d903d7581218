#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "compiler/finitura.h"
#include "compiler/lettore_treno.h"

namespace brunavia {
namespace {

struct Posa {
    std::size_t cella;
    std::uint8_t tipo_cella;
    std::int16_t dato0 = 0;
};

using Marcatori = std::vector<std::pair<std::size_t, std::int16_t>>;  // cell, dato0

Form1 modello(const std::vector<Posa>& pose, std::size_t celle = 200) {
    Form1 f;
    f.celle.assign(celle, {});
    for (const Posa& p : pose) {
        f.celle[p.cella].tipo_cella = p.tipo_cella;
        f.celle[p.cella].dato0 = p.dato0;
    }
    return f;
}

// Markers from `da` upward.
Marcatori marcatori(const Form1& f, std::size_t da = 0) {
    Marcatori m;
    for (std::size_t k = da; k < f.celle.size(); ++k) {
        if (f.celle[k].tipo_cella == tipo::marcatore) m.emplace_back(k, f.celle[k].dato0);
    }
    return m;
}

Marcatori a_180(const std::vector<std::size_t>& celle) {
    Marcatori m;
    for (std::size_t k : celle) m.emplace_back(k, 180);
    return m;
}

struct Caso {
    const char* nome;
    std::vector<Posa> pose;
    Marcatori attesi;
    std::int32_t codice = 0;
    std::int32_t posizione = 0;
    std::size_t da = 0;  // markers compared from this cell upward
};

void verifica(const std::vector<Caso>& casi, std::size_t celle = 200) {
    for (const Caso& c : casi) {
        Form1 f = modello(c.pose, celle);
        applica_finitura(f);
        EXPECT_EQ(marcatori(f, c.da), c.attesi) << c.nome;
        EXPECT_EQ(f.codice_errore, c.codice) << c.nome;
        EXPECT_EQ(f.posizione_errore, c.posizione) << c.nome;
    }
}

constexpr std::uint8_t S = tipo::segnale;
constexpr std::uint8_t A = tipo::avviso_rallentamento;
constexpr std::uint8_t I = tipo::inizio_rallentamento;
constexpr std::uint8_t F = tipo::fine_rallentamento;
constexpr std::uint8_t M = tipo::marcatore;
constexpr std::uint8_t X = tipo::indicatore_v_max;  // any occupied cell

TEST(Finitura, RegolaASegnaliPrimaDellAvviso) {
    verifica({
        {"two signals within 20 cells, not the one 21 back",
         {{50, A}, {45, S}, {35, S}, {29, S}},
         a_180({34, 44})},
        {"cell before taken: the one before that", {{50, A}, {45, S}, {44, X}}, a_180({43})},
        {"two markers: the first lowered to 180",
         {{50, A}, {45, S}, {44, M, 200}, {43, M, 150}},
         {{43, 150}, {44, 180}}},
        {"a lower marker keeps its value", {{50, A}, {45, S}, {44, M, 150}, {43, X}}, {{44, 150}}},
        {"marker in the second cell", {{50, A}, {45, S}, {44, X}, {43, M, 200}}, {{43, 180}}},
        {"both taken by other features", {{50, A}, {45, S}, {44, X}, {43, X}}, {}, 11, 2250},
        {"signal at cell 3 is looked at", {{10, A}, {3, S}}, a_180({2})},
        {"signal at cell 2 is not", {{10, A}, {2, S}}, {}},
        {"cell free inside a climbing stretch counts as free",
         {{50, A}, {45, S}, {44, tipo::libera_montagna}},
         a_180({44})},
    });
}

// Slowdowns at 120 km/h (no inner markers) ending two cells after their start.
TEST(Finitura, RegolaBFinestreDiAvvicinamento) {
    verifica({
        {"start at 7: no window", {{7, I, 120}, {9, F}}, {}},
        {"start at 8: near window only", {{8, I, 120}, {10, F}}, a_180({3})},
        {"start at 14: near and middle", {{14, I, 120}, {16, F}}, a_180({3, 9})},
        {"start at 21: all three", {{21, I, 120}, {23, F}}, a_180({3, 10, 16})},
        {"first free cell of a window", {{30, I, 120}, {32, F}, {25, X}}, a_180({12, 19, 24})},
        {"a full window records 12 and the next is still tried",
         {{30, I, 120}, {32, F}, {25, X}, {24, X}, {23, X}},
         a_180({12, 19}),
         12,
         1500},
        {"all windows full",
         {{30, I, 120},
          {32, F},
          {25, X},
          {24, X},
          {23, X},
          {19, X},
          {18, X},
          {17, X},
          {12, X},
          {11, X},
          {10, X}},
         {},
         12,
         1500},
    });
}

// A slowdown from cell 30 to cell 60; markers compared from cell 31.
TEST(Finitura, RegolaBMarcatoriInterni) {
    verifica({
        {"100 km/h: every 8 cells", {{30, I, 100}, {60, F}}, a_180({38, 46, 54}), 0, 0, 31},
        {"105 km/h: every 8 cells", {{30, I, 105}, {60, F}}, a_180({38, 46, 54}), 0, 0, 31},
        {"110 km/h: none", {{30, I, 110}, {60, F}}, {}, 0, 0, 31},
        {"due cell taken: the one before, count from it",
         {{30, I, 100}, {60, F}, {38, X}},
         a_180({37, 45, 53}),
         0,
         0,
         31},
        {"due and previous taken: the one after",
         {{30, I, 100}, {60, F}, {38, X}, {37, X}},
         a_180({39, 47, 55}),
         0,
         0,
         31},
        {"all three taken: error 13 and no further inner marker",
         {{30, I, 100}, {60, F}, {37, X}, {38, X}, {39, X}},
         {},
         13,
         1900,
         31},
        {"end on the due cell: marked before the end test",
         {{30, I, 100}, {38, F}},
         a_180({37}),
         0,
         0,
         31},
    });
}

// A slowdown from cell 30 to cell 60; markers compared from cell 60.
TEST(Finitura, RegolaBMarcatoreDiUscita) {
    verifica({
        {"signal after the end", {{30, I, 100}, {60, F}, {65, S}}, a_180({64}), 0, 0, 60},
        {"only the first signal", {{30, I, 100}, {60, F}, {65, S}, {70, S}}, a_180({64}), 0, 0, 60},
        {"cell before taken", {{30, I, 100}, {60, F}, {65, S}, {64, X}}, a_180({63}), 0, 0, 60},
        {"both taken", {{30, I, 100}, {60, F}, {65, S}, {64, X}, {63, X}}, {}, 13, 3000, 60},
        {"signal 12 cells after the end", {{30, I, 100}, {60, F}, {72, S}}, a_180({71}), 0, 0, 60},
        {"signal 13 cells after the end", {{30, I, 100}, {60, F}, {73, S}}, {}, 0, 0, 60},
        {"110 km/h: searched from the slowdown's end",
         {{30, I, 110}, {60, F}, {65, S}},
         a_180({64}),
         0,
         0,
         60},
        {"110 km/h: a signal inside the slowdown gets none",
         {{30, I, 110}, {60, F}, {45, S}, {80, S}},
         {},
         0,
         0,
         31},
    });
}

// 40 cells: the last is 39; the walk visits 1 ... 37.
TEST(Finitura, LeScansioniSiFermanoAllUltimaCella) {
    verifica(
        {
            {"no end: inner markers up to the last cell, no exit marker",
             {{30, I, 50}, {36, S}},
             a_180({12, 19, 25, 38})},
            {"inner marker due at the last cell: not placed", {{31, I, 50}}, a_180({13, 20, 26})},
            {"110 km/h without end: no exit marker", {{30, I, 120}, {35, S}}, a_180({12, 19, 25})},
            {"start at the last visited cell", {{37, I, 120}}, a_180({19, 26, 32})},
            {"start at the cell after it", {{38, I, 120}}, {}},
        },
        40);
}

TEST(Finitura, MinimoRestituisceIlMinore) {
    EXPECT_EQ(minimo(180, 200), 180);
    EXPECT_EQ(minimo(200, 180), 180);
    EXPECT_EQ(minimo(-5, -5), -5);
}

// From the train description to the markers: warning board, slowdown and two signals.
TEST(Finitura, DallaDescrizioneAiMarcatori) {
    Form1 f;
    f.celle.assign(2541, {});
    leggi_descrizione_treno(f,
                            "[generale]\r\n"
                            "segnale, 1500, 1, 2, 3, 1, 0, 0, 0, 0, 0, 0\r\n"
                            "rallentamento, 3000, 60, 1000, 7, 0, 0\r\n"
                            "segnale, 4200, 1, 2, 3, 1, 0, 0, 0, 0, 0, 0\r\n"
                            "[fine]\r\n",
                            25);
    ASSERT_EQ(f.codice_errore, 0);
    applica_finitura(f);
    EXPECT_EQ(marcatori(f), a_180({30, 43, 50, 56, 69, 77, 84}));
    EXPECT_EQ(f.codice_errore, 0);
}

}  // namespace
}  // namespace brunavia
