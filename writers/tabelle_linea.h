#pragma once

#include <array>
#include <span>
#include <string_view>

// The line of the Brunavia scenario as typed tables, one per row kind of the line description.
// Positions are metres along the line from ORVADA CENTRALE; every table is in ascending order
// of position, the order in which the compiler applies the rows.
namespace brunavia::linea {

// "curva" + side + class: side 'd' (right) or 's' (left), class 1 (gentlest) to 6 (sharpest).
struct Curva {
    char lato;
    int classe;
    int inizio;
    int lunghezza;
};

// Gradient in thousandths, in force from the position onwards.
struct Pendenza {
    int posizione;
    int valore;
};

// Climbing stretch: kind 11 or 12 (marker mode with kind 1 or 2).
struct Montagna {
    int inizio;
    int fine;
    int tipo;
};

// Maximum-speed board on the left of the track: speeds for categories a, b and c and the stripe
// count. No board of this line has a right-hand counterpart.
struct IndicatoreVmax {
    int posizione;
    int velocita_a;
    int velocita_b;
    int velocita_c;
    int strisce;
};

// Indication board: one to three text groups; the unused groups are empty.
struct CartelloIndicatore {
    int posizione;
    std::array<std::string_view, 3> gruppi;
};

// The general settings (line length, kilometric reference points, scenery, cab-signal
// repetition), each an exact line of text.
std::span<const std::string_view> righe_generali();

std::span<const Curva> curve();
std::span<const Pendenza> pendenze();
std::span<const Montagna> montagne();
std::span<const IndicatoreVmax> indicatori_vmax();
std::span<const CartelloIndicatore> cartelli_indicatori();

}  // namespace brunavia::linea
