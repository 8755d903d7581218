#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/osservatore.h"

namespace brunavia::strumento {

// One field of a description row: what an author writes and what the compile does with it.
struct CampoRiga {
    std::string_view nome;     // short name, shown before the field in an editor ("pos")
    std::string_view titolo;   // what the field is ("position of the station's centre")
    std::string_view unita;    // unit and range the compile takes
    std::string_view effetto;  // what the compile does with it: cell or table member, the
                               // rules that read it, the simulator's meaning where known
    bool testo = false;        // a text field (the rest of the row), not a number
};

// A row kind of one of the two descriptions, with its fields in reading order.
struct FormaRiga {
    TipoRiga tipo;
    bool treno = false;
    bool generale = false;            // belongs to the line's general section
    std::string_view parola;          // the keyword as the shipped files write it
    std::string_view riconoscimento;  // what the keyword must contain
    std::string_view sezione;         // the header the shipped files put the row under
    std::string_view descrizione;     // what the row is
    std::vector<CampoRiga> campi;
};

// Every row kind of both descriptions, line first, in the order of the README's tables.
std::span<const FormaRiga> forme_righe();
const FormaRiga& forma_di(TipoRiga tipo);

// The row kind a keyword field names, by the readers' substring tests (the first kind whose
// test it passes, in reading order); nothing for a header or an unknown word.
std::optional<TipoRiga> tipo_della_parola(std::string_view parola, bool treno);

// A field of one text line as written: its text and its byte columns (from 0, end excluded).
struct CampoScritto {
    std::size_t inizio = 0;
    std::size_t fine = 0;
    std::string testo;  // without surrounding blanks
};

// One line of a description split as an author sees it: the keyword field, then the fields
// after it. Number fields end at a comma or a blank, as the field reader takes them; an empty
// field between two commas is kept (it reads as 0); a row whose last field is text keeps the
// rest of its line (the board's text) or up to the next comma (a station's name) as one field.
struct RigaScritta {
    CampoScritto parola;
    std::optional<TipoRiga> tipo;
    std::vector<CampoScritto> campi;
};
RigaScritta dividi_riga(std::string_view riga, bool treno);

// A number field as the reader takes it: empty is 0, an optional sign, decimal digits; nothing
// for anything else.
std::optional<long long> numero_del_campo(std::string_view testo);

// The values the shipped scenario writes in each field of a row kind, from the writers' own
// rows ("0 … 121400", "11, 12, 21"; "not in the shipped scenario").
std::vector<std::string> valori_spediti(TipoRiga tipo);

// The README's tables of fields: one markdown table per row kind, with a heading line.
std::string tabelle_campi_markdown();

}  // namespace brunavia::strumento
