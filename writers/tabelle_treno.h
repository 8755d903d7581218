#pragma once

#include <span>
#include <string_view>

// Train 706 over the Brunavia line as typed tables, one per row kind of the train description.
// Positions are metres along the line (the axis of the line description), in ascending order.
namespace brunavia::treno {

// Wheel-rail adhesion in percent, in force from the position onwards.
struct Aderenza {
    int posizione;
    int percentuale;
};

// The train's own speed limit in km/h (a multiple of 5), in force from the position onwards.
struct Velocita {
    int posizione;
    int velocita;
};

// One station of the run, its sixteen numeric fields in file order and its name.
struct Stazione {
    int posizione;  // centre of the station
    int tipo;       // 11, 12, 21, 22; 25 and 28 are junctions that mark no cell
    int lunghezza;  // zone length, a multiple of 100
    int flag1;
    int flag2;
    int estensione;  // the zone ends 50 m further when not 0
    int numero1;
    int numero2;
    int flag3;
    int numero3;
    int numero4;
    int numero5;
    int sosta;  // 1 at the origin, 60 at the intermediate stops, 0 elsewhere
    int ore;    // scheduled time; 0, 0, 0 where the train passes
    int minuti;
    int secondi;
    std::string_view nome;
};

// Signal: left indications (sx, s1, s2, s3), ratio, right indications (dx, d1, d2, d3), time.
struct Segnale {
    int posizione;
    int sx;
    int s1;
    int s2;
    int s3;
    int rapp;
    int dx;
    int d1;
    int d2;
    int d3;
    int tempo;
};

// Composition, braked mass, sand and start clock, each an exact line of text.
std::span<const std::string_view> righe_generali();

std::span<const Aderenza> aderenze();
std::span<const Velocita> velocita_limite();
std::span<const Stazione> stazioni();
std::span<const Segnale> segnali();

}  // namespace brunavia::treno
