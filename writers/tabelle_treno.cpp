#include "writers/tabelle_treno.h"

#include <array>

namespace brunavia::treno {
namespace {

constexpr std::array<std::string_view, 4> kGenerali = {
    "numero vetture,    8",
    "percentuale massa frenata,    105",
    "sabbia,    300",
    "orologio,    8               24            35 ",
};

// Full adhesion on most of the line, lower on damp stretches; wet rails from the foot of the
// climb at ROCCAFORTE through the Monte Sella tunnel until past the summit, and leaves on the
// rails near VILLANOVA.
constexpr std::array<Aderenza, 37> kAderenze = {{
    {0, 100},      {2600, 95},    {3400, 100},  {9200, 92},    {10600, 100}, {14600, 90},
    {16000, 100},  {23800, 95},   {25200, 100}, {36000, 94},   {37400, 100}, {41600, 88},
    {43300, 100},  {45800, 86},   {47500, 100}, {52400, 93},   {53800, 100}, {57000, 85},
    {58700, 100},  {63500, 90},   {65000, 100}, {71800, 88},   {73400, 100}, {78150, 90},
    {78500, 72},   {85600, 80},   {89700, 92},  {91000, 100},  {96200, 90},  {98600, 100},
    {104000, 95},  {106500, 100}, {110200, 92}, {112000, 100}, {115650, 65}, {117500, 85},
    {120800, 100},
}};

// Slow through the origin's station area, 120 km/h on the plain from SAN GERVASO to PIANA DEI
// GELSI, 50 to 80 km/h over the hills and the climb, 60 km/h into VILLANOVA and to the end.
constexpr std::array<Velocita, 24> kVelocita = {{
    {0, 60},     {750, 90},    {1400, 30},   {2100, 90},   {3950, 110},  {6500, 80},
    {8000, 90},  {20650, 120}, {32400, 90},  {35700, 120}, {38700, 80},  {40700, 120},
    {42700, 80}, {67500, 75},  {75900, 50},  {78000, 75},  {84500, 65},  {89500, 80},
    {91700, 75}, {98500, 70},  {101000, 90}, {106000, 95}, {113000, 85}, {115450, 60},
}};

// The stations of the train card in its order, and the junction BIVIO CALVINA, which is not on
// the card. Stops carry their departure time (the arrival at TESSALO C.), passes 0, 0, 0.
constexpr std::array<Stazione, 23> kStazioni = {{
    {0, 11, 800, 0, 1, 1, 1, 1, 0, 3, 1, 1, 1, 8, 25, 0, "ORVADA CENTRALE"},
    {1500, 21, 400, 0, 0, 0, 1, 1, 0, 2, 1, 1, 0, 0, 0, 0, "VALDORNO"},
    {2900, 11, 400, 1, 0, 0, 1, 1, 0, 2, 1, 1, 0, 0, 0, 0, "CORTESELLA"},
    {7350, 11, 600, 1, 0, 0, 4, 1, 0, 2, 1, 1, 0, 0, 0, 0, "ROSTENA"},
    {11900, 12, 500, 0, 0, 0, 1, 1, 0, 2, 1, 1, 0, 0, 0, 0, "BASSANELLO"},
    {17700, 12, 400, 0, 0, 0, 1, 1, 0, 2, 0, 1, 0, 0, 0, 0, "FONTEVIVA"},
    {22400, 12, 600, 0, 1, 0, 1, 1, 0, 3, 1, 1, 0, 0, 0, 0, "SAN GERVASO"},
    {27100, 12, 500, 0, 0, 0, 1, 1, 0, 2, 1, 1, 0, 0, 0, 0, "MONTEROSSO"},
    {32950, 12, 600, 0, 1, 1, 1, 1, 0, 3, 1, 1, 0, 0, 0, 0, "CASTELLARO"},
    {40100, 12, 500, 0, 0, 0, 1, 1, 0, 2, 1, 1, 0, 0, 0, 0, "PIANA DEI GELSI"},
    {44650, 12, 600, 0, 1, 1, 1, 1, 0, 3, 1, 1, 60, 9, 2, 0, "LOVERETO"},
    {50150, 22, 300, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "PELVANO"},
    {55200, 12, 500, 0, 0, 0, 1, 1, 0, 2, 1, 1, 0, 0, 0, 0, "SERRAVOLTA"},
    {62400, 22, 300, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "RIVASCURA"},
    {68200, 12, 700, 0, 1, 1, 1, 1, 0, 3, 1, 1, 60, 9, 23, 0, "BORGO ALTINO"},
    {77650, 12, 600, 0, 1, 0, 1, 1, 0, 3, 1, 1, 60, 9, 34, 0, "ROCCAFORTE"},
    {88800, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 60, 9, 50, 30, "MIRESCA"},
    {94800, 12, 500, 0, 0, 0, 1, 1, 0, 2, 1, 1, 0, 0, 0, 0, "COLLEVERDE"},
    {99650, 12, 600, 0, 1, 1, 1, 1, 0, 3, 1, 1, 60, 10, 5, 0, "SAN MAURO"},
    {108250, 12, 500, 0, 0, 0, 1, 1, 0, 2, 1, 1, 0, 0, 0, 0, "PRATOLUNGO"},
    {114950, 11, 600, 1, 1, 1, 4, 1, 0, 3, 1, 1, 60, 10, 22, 0, "VILLANOVA"},
    {118200, 25, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "BIVIO CALVINA"},
    {121400, 12, 600, 0, 0, 0, 1, 1, 0, 2, 1, 1, 0, 10, 30, 0, "TESSALO C."},
}};

// A distant signal (left indication 1) about 1000 m before each station's protection signal
// (left indication 2), two block signals, and right-hand indications on the double track as far
// as ROSTENA. Only the protection signal of MIRESCA carries a time value.
constexpr std::array<Segnale, 44> kSegnali = {{
    {1400, 1, 2, 3, 1, 0, 0, 0, 0, 0, 0},   {2200, 2, 3, 4, 0, 0, 2, 2, 1, 0, 0},
    {5600, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0},   {6600, 2, 2, 4, 0, 0, 2, 2, 1, 0, 0},
    {10100, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0},  {11100, 2, 2, 4, 0, 0, 0, 0, 0, 0, 0},
    {15900, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0},  {16900, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0},
    {20600, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0},  {21600, 2, 2, 4, 1, 0, 0, 0, 0, 0, 0},
    {25300, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0},  {26300, 2, 2, 4, 0, 0, 0, 0, 0, 0, 0},
    {31150, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0},  {32150, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0},
    {35300, 1, 2, 3, 1, 0, 0, 0, 0, 0, 0},  {38300, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0},
    {39300, 2, 2, 4, 1, 0, 0, 0, 0, 0, 0},  {42850, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0},
    {43850, 2, 2, 4, 0, 0, 0, 0, 0, 0, 0},  {48350, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0},
    {49350, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0},  {53400, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0},
    {54400, 2, 2, 4, 1, 0, 0, 0, 0, 0, 0},  {60600, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0},
    {61600, 2, 2, 4, 0, 0, 0, 0, 0, 0, 0},  {66400, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0},
    {67400, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0},  {75850, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0},
    {76850, 2, 2, 4, 1, 0, 0, 0, 0, 0, 0},  {82300, 1, 2, 3, 1, 0, 0, 0, 0, 0, 0},
    {86900, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0},  {87900, 2, 3, 1, 0, 0, 0, 0, 0, 0, 255},
    {93000, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0},  {94000, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0},
    {97850, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0},  {98850, 2, 2, 4, 1, 0, 0, 0, 0, 0, 0},
    {106450, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0}, {107450, 2, 2, 4, 0, 0, 0, 0, 0, 0, 0},
    {113150, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0}, {114150, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0},
    {116400, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0}, {117400, 2, 2, 4, 1, 0, 0, 0, 0, 0, 0},
    {119700, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0}, {120700, 2, 2, 4, 0, 0, 0, 0, 0, 0, 0},
}};

}  // namespace

std::span<const std::string_view> righe_generali() {
    return kGenerali;
}
std::span<const Aderenza> aderenze() {
    return kAderenze;
}
std::span<const Velocita> velocita_limite() {
    return kVelocita;
}
std::span<const Stazione> stazioni() {
    return kStazioni;
}
std::span<const Segnale> segnali() {
    return kSegnali;
}

}  // namespace brunavia::treno
