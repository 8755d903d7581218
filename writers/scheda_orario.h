#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace brunavia::scheda {

// What a row of the train card's timetable stands for.
enum class Genere {
    fermata,   // a station where the train stops: arrival and departure, name dot-filled
    transito,  // a station passed without stopping: one time, name space-filled
    punto,     // a point of the line that is not a station (kilometre post, summit ...)
    segnale,   // the protection signal of a station
};

// The station whose protection signal a row shows, found among the card's own rows.
enum class Protetta { nessuna, origine, precedente, successiva };

// A time of the timetable: "9.48" and, with the half minute, "9.48½".
struct Ora {
    int ore;
    int minuti;
    bool mezzo;
};

// One row of the timetable, field by field in the order of the card's columns.
struct RigaOrario {
    Genere genere;
    int vel_max;                  // km/h; 0 leaves the cell blank
    int vel_marcia;               // km/h; 0 leaves the cell blank
    int progressiva;              // a station's chainage in metres (240714 = "240.714"); 0: none
    std::string_view segni;       // line-diagram marks of columns 23, 25 and 26, e.g. " /|"
    bool grado;                   // "°" before the station name
    std::string_view testo;       // station name, point label, or the signal's abbreviation
    Protetta protetta;            // for a signal: the station it protects
    std::optional<Ora> arrivo;    // a stop's arrival
    std::optional<Ora> partenza;  // a stop's departure, or the time a station is passed
    int rec_decimi;               // recovery time in tenths of a minute (10 = "1.0"); 0: blank
    int bin_dx;                   // speed on the right-hand track; 0 writes "/"
    int simbolo;                  // one-digit symbol of the merged cell; 0 leaves it blank
    bool spazio_finale;           // the row carries one space after its last bar
};

inline bool e_stazione(const RigaOrario& r) {
    return r.genere == Genere::fermata || r.genere == Genere::transito;
}

// Lays out row `i` of `righe` at the card's columns and returns it as UTF-8. The label of a
// protection signal names a station taken from the neighbouring rows. A field that does not
// fit its cell, or a row whose times do not match its kind, throws std::logic_error.
std::string componi_riga(std::span<const RigaOrario> righe, std::size_t i);

}  // namespace brunavia::scheda
