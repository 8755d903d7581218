// The driver's train card: header boxes, the timetable headings and the 37 timetable rows.
#include <array>
#include <span>

#include "writers/scheda_colonne.h"
#include "writers/scheda_orario.h"
#include "writers/scheda_treno.h"
#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"

namespace brunavia {
namespace {

using scheda::Genere;
using scheda::Ora;
using scheda::Protetta;
using scheda::RigaOrario;

constexpr Genere F = Genere::fermata;
constexpr Genere T = Genere::transito;
constexpr Genere P = Genere::punto;
constexpr Genere S = Genere::segnale;
constexpr Protetta nessuna = Protetta::nessuna;
constexpr bool si = true;
constexpr bool non = false;

Ora h(int ore, int minuti) {
    return {ore, minuti, false};
}
Ora h_mezzo(int ore, int minuti) {
    return {ore, minuti, true};
}

// The timetable, from the origin to the destination. Marks: columns 23, 25 and 26.
// clang-format off
const std::array<RigaOrario, 37> kOrario = {{
//   kind  Vmax Vmarc  prog    marks  °    station / label     signal of             arrival          departure/pass   rec binDx sym end space
    {F,    60,  60,  240714, "  |", non, "ORVADA C.",        nessuna,              h(7, 58),        h(8, 25),        10,   0, 0, non},
    {S,    90,  90,       0, "  |", non, "S.Prot.",          Protetta::origine,    {},              {},               0,   0, 0, non},
    {T,     0,   0,  239232, " / ", non, "VALDORNO",         nessuna,              {},              h(8, 27),        10,   0, 0, non},
    {T,     0,   0,  237832, " \\ ", non, "CORTESELLA",      nessuna,              {},              h(8, 30),         5,   0, 0, non},
    {P,   110,  95,       0, " /|", non, "Km.236,800",       nessuna,              {},              {},               0, 110, 0, non},
    {T,    80,  80,  233407, " / ", non, "ROSTENA",          nessuna,              {},              h(8, 33),         0,  80, 2, non},
    {S,    90,  90,       0, " \\ ", non, "Seg.Prot.",       Protetta::precedente, {},              {},               0,   0, 0, non},
    {T,     0,   0,  228825, "   ", non, "BASSANELLO",       nessuna,              {},              h(8, 37),         0,   0, 0, non},
    {T,     0,   0,  223039, "/  ", non, "FONTEVIVA",        nessuna,              {},              h(8, 41),         0,   0, 1, non},
    {P,   120,  95,       0, "   ", non, "Cippo Km.220,000", nessuna,              {},              {},               0,   0, 0, non},
    {T,     0,   0,  218316, "   ", non, "SAN GERVASO",      nessuna,              {},              h(8, 44),         0,   0, 0, non},
    {T,     0,   0,  213602, "   ", non, "MONTEROSSO",       nessuna,              {},              h(8, 47),         0,   0, 0, non},
    {P,   110,   0,       0, "   ", non, "Cippo Km.212,000", nessuna,              {},              {},               0,   0, 0, non},
    {P,   120,   0,       0, "   ", non, "Cippo Km.210,000", nessuna,              {},              {},               0,   0, 0, non},
    {T,    90,  90,  207751, "   ", non, "CASTELLARO",       nessuna,              {},              h(8, 51),        10,   0, 0, non},
    {P,   120,  95,       0, "   ", non, "Cippo Km.205,000", nessuna,              {},              {},               0,   0, 0, non},
    {P,    80,  80,       0, "   ", non, "Cippo Km.202,000", nessuna,              {},              {},               0,   0, 0, non},
    {T,     0,   0,  200606, "   ", non, "PIANA DEI GELSI",  nessuna,              {},              h(8, 56),        10,   0, 0, non},
    {P,   120,   0,       0, "   ", non, "Cippo Km.200,000", nessuna,              {},              {},               0,   0, 0, non},
    {P,    80,   0,       0, "   ", non, "Cippo Km.198,000", nessuna,              {},              {},               0,   0, 0, non},
    {F,     0,   0,  196044, "   ", non, "LOVERETO",         nessuna,              h(9, 0),         h(9, 2),          0,   0, 0, non},
    {T,     0,   0,  190586, "   ", si,  "PELVANO",          nessuna,              {},              h(9, 7),          0,   0, 0, si},
    {T,     0,   0,  185494, "   ", non, "SERRAVOLTA",       nessuna,              {},              h(9, 11),         0,   0, 0, non},
    {T,     0,   0,  178289, "   ", si,  "RIVASCURA",        nessuna,              {},              h(9, 16),         0,   0, 0, non},
    {F,    75,  75,  172534, "   ", non, "BORGO ALTINO",     nessuna,              h(9, 21),        h(9, 23),         0,   0, 0, non},
    {S,    50,  50,       0, "   ", non, "S.Prot.",          Protetta::successiva, {},              {},               0,   0, 0, si},
    {F,    75,  60,  163063, "   ", non, "ROCCAFORTE",       nessuna,              h(9, 32),        h(9, 34),         0,   0, 0, non},
    {F,    65,  65,  151953, "   ", non, "MIRESCA",          nessuna,              h_mezzo(9, 48),  h_mezzo(9, 50),   0,   0, 0, non},
    {P,    80,  80,       0, "   ", non, "Culm.km.151,230",  nessuna,              {},              {},               0,   0, 0, si},
    {P,    75,  75,       0, "   ", non, "Cippo Km.149,000", nessuna,              {},              {},               0,   0, 0, si},
    {T,     0,   0,  145894, "   ", non, "COLLEVERDE",       nessuna,              {},              h(9, 57),         0,   0, 0, non},
    {F,    70,  70,  141060, "   ", non, "SAN MAURO",        nessuna,              h(10, 3),        h(10, 5),         0,   0, 0, non},
    {S,    90,  80,       0, "   ", non, "Seg.Prot.",        Protetta::precedente, {},              {},               0,   0, 0, non},
    {T,    95,   0,  132458, "   ", non, "PRATOLUNGO",       nessuna,              {},              h(10, 12),        0,   0, 0, non},
    {P,    85,   0,       0, "   ", non, "C.C.Km.126,550",   nessuna,              {},              {},               0,   0, 0, si},
    {F,    60,  60,  125773, "/  ", non, "VILLANOVA",        nessuna,              h(10, 20),       h(10, 22),       10,   0, 1, si},
    {F,     0,   0,  132107, "   ", non, "TESSALO C.",       nessuna,              h(10, 30),       h(10, 32),        0,   0, 0, non},
}};
// clang-format on

// The fixed lines around the two built header lines and after the timetable.
// clang-format off
constexpr std::array<std::string_view, 6> kSopra = {
    "",
    "",
    "  ___________________      ___________________                           _______________________",
    " |  Fascicolo Linee  |    |      Treno        |                         | Sigla di Composizione |",
    " |      MARENZA      |    |       706         |     Scheda n° 1/3       |        V140 B         |",
    " |___________________|    |___________________|                         |         105%          |",
};
constexpr std::array<std::string_view, 9> kSotto = {
    " |___________________|    |___________________|                          _______________________",
    "  ______________________ _____________________                          | Int. alla Sigla |     |",
    " | Classificazione      |   Massa Bloccata    |                         |     E 636       |     | ",
    " |         E            |       360T          |                         |     21/65       |     |",
    " |______________________|_____________________|                         |_________________|_____|",
    "   ____________________________________________________________________________________________",
    "  | Vel.| Vel.|  Prog                           |               |Rec|Bin.Dx|SRS| Simbologia|SRS| ",
    "  | Max.|Marc.|   Km.           Localita'       |     Orario    |   |V. Max| SX|           | DX|",
    "  |_____|_____|_________________________________|_______________|___|______|___|___________|___|",
};
constexpr std::array<std::string_view, 2> kChiusura = {
    "  |_____|_____|_________________________________|_______________|___|______|___________________|",
    "",
};
// clang-format on

// The station where the train's run ends beyond the card's route, and the destination's name
// as the header box gives it.
constexpr std::string_view kCapolineaOltre = "CALVINA CENTRALE";
constexpr std::string_view kDestinazioneIntestazione = "TESSALO";

// Line 7: the bottom of the "Validità" and "Termine Scheda" boxes, the origin, and the
// closing of the composition-code box.
std::string riga_validita(std::string_view origine) {
    RigaAColonne r(97);
    r.barre({1, 21, 26, 46, 72, 96});
    r.a_sinistra(2, " Validità");
    r.a_sinistra(27, " Termine Scheda");
    r.a_sinistra(47, "    Da: " + std::string(origine));
    r.riempi(73, 95, '_');
    return r.testo();
}

// Line 8: the validity start, the end of the train's whole run, the destination.
std::string riga_date() {
    constexpr std::size_t kA = 52;  // "A: " after five spaces
    const std::size_t nome = kA + 3;
    RigaAColonne r(nome + colonne_di(kDestinazioneIntestazione) + 6);
    r.barre({1, 21, 26, 46});
    r.a_sinistra(2, " Dal: 30.09.2001");
    r.a_sinistra(27, kCapolineaOltre);
    r.a_sinistra(kA, "A: ");
    r.a_sinistra(nome, kDestinazioneIntestazione);
    return r.testo();
}

}  // namespace

std::vector<std::string> stazioni_scheda() {
    std::vector<std::string> nomi;
    for (const auto& riga : kOrario) {
        if (scheda::e_stazione(riga)) nomi.emplace_back(riga.testo);
    }
    return nomi;
}

std::vector<std::string> righe_scheda() {
    std::vector<std::string> righe(kSopra.begin(), kSopra.end());
    righe.push_back(riga_validita(stazioni_scheda().front()));
    righe.push_back(riga_date());
    righe.insert(righe.end(), kSotto.begin(), kSotto.end());
    const std::span<const RigaOrario> orario(kOrario);
    for (std::size_t i = 0; i < orario.size(); ++i)
        righe.push_back(scheda::componi_riga(orario, i));
    righe.insert(righe.end(), kChiusura.begin(), kChiusura.end());
    righe.emplace_back(kMarcatoreFine);
    return righe;
}

}  // namespace brunavia
