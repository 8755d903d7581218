#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tool/decodifica.h"

namespace brunavia::strumento {

// The three compiled files of a scenario, decoded (the plan is absent when its file is).
struct ScenarioCompilato {
    std::vector<cella> celle;
    Tabella tabella;
    std::optional<Tracciato> tracciato;
};

// Reads and decodes <scenario>_linea.dat, <scenario>_<train>.sim and <scenario>_<train>.dat
// from `cartella`. Throws ErroreFile for a missing table or cell file, ErroreDecodifica for a
// damaged one.
ScenarioCompilato leggi_scenario(const std::filesystem::path& cartella,
                                 const std::string& nome_scenario, const std::string& numero_treno);

// A text placed on the page, with the box it takes (estimated from its characters).
struct Scritta {
    double x = 0;  // left
    double y = 0;  // top
    double larghezza = 0;
    double altezza = 0;
    std::string testo;  // UTF-8
};

// The SVG page and every text placed on it.
struct Disegno {
    std::string svg;
    std::vector<Scritta> scritte;
};

// One page: the plan of the line on top; under it, on one metre axis in kilometres, the
// relative height profile with the climbing stretches, the gradient, the train's speed limit
// and adhesion, and the tracks of stations (names), signals, boards, slowdowns and markers at
// their cells; a legend at the bottom. `titolo` heads the page.
//
// With a stretch (metres along the line, `da` < `a`, within the cells), only the stretch is
// drawn, over the page's width: its plan, the panels over the same range, and every board and
// signal in it with its label.
struct Tratto {
    double da = 0;
    double a = 0;
};
Disegno disegna_scenario(const ScenarioCompilato& s, std::string_view titolo,
                         std::optional<Tratto> tratto = std::nullopt);

// The width a text takes at font size `corpo`, estimated on the generous side.
double larghezza_testo(std::string_view utf8, double corpo);

// Lanes for labels that must not overlap: each interval [inizio, fine] gets the first lane
// (0, 1, ...) whose last interval ends at least `distacco` before it starts, taking the
// intervals from left to right. Returns each interval's lane, in the input order.
struct Intervallo {
    double inizio = 0;
    double fine = 0;
};
std::vector<std::size_t> disponi_in_corsie(const std::vector<Intervallo>& intervalli,
                                           double distacco);

}  // namespace brunavia::strumento
