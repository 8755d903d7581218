#pragma once

#include <cstdint>
#include <string_view>

#include "compiler/lettore_campi.h"

namespace brunavia {

// The rows the two readers recognise, one per keyword test.
enum class TipoRiga : std::uint8_t {
    // line description, general section
    lunghezza,
    progressiva,
    sfondo,
    ripetizione,
    // line description, feature rows
    pendenza,
    curva,
    montagna,
    indicatori_v_max,
    cartello_indicatore,
    // train description
    massa_frenata,
    vetture,
    velocita,
    aderenza,
    orologio,
    sabbia,
    segnale,
    rallentamento,
    abbattimento,
    stazione,
};

// A value of a row as written and as the model keeps it.
enum class TipoValore : std::uint8_t {
    pendenza,         // per mille; `memorizzato`: the per mille the cells hold
    aderenza,         // percent; `memorizzato`: the byte the cells hold
    velocita,         // km/h; `memorizzato`: the km/h the cells hold (their byte × 5)
    velocita_destra,  // km/h of a board's right side; `altro`: the left side; `memorizzato`:
                      // the board's code
    ore,              // a time of day: hours, minutes, seconds as written
    minuti,
    secondi,
    troncato,  // any value kept in 8 or 16 bits; `memorizzato`: what they hold
    cursore,   // a gradient or adhesion row's fill: `scritto` the row's cell, `altro` the
               // cursor before it, `memorizzato` the cursor after it
    zona,      // a station's zone: `scritto` its start, `memorizzato` its end (metres),
               // `altro` the table row it is stored in
};

struct ValoreLetto {
    TipoValore tipo;
    std::int64_t scritto = 0;
    std::int64_t memorizzato = 0;
    std::int64_t altro = 0;
    std::string_view nome;  // what the value is, for `troncato`
    PosizioneCampo campo;   // its field; line 0 when the value has no field of its own
};

// What the field reader, the two description readers and the placements tell whoever watches
// a reading: fields read, keywords examined, rows recognised, values stored and cells
// written. The compile of the program watches nothing (every hook is behind a null pointer);
// the authors' tool watches to point its messages at rows and to warn of silent traps.
// A watcher may also ask the readers to read on after an error that stops them, skipping the
// refused row.
class OsservatoreLettura {
public:
    virtual ~OsservatoreLettura() = default;

    // A field as read: its place and bytes (a number field: its token).
    virtual void campo(bool numero, PosizioneCampo dove, std::string_view testo) = 0;
    // A reader starts a file: `treno` false for the line description.
    virtual void inizio_file(bool treno) = 0;
    // The field that holds "[generale]".
    virtual void generale(PosizioneCampo dove) = 0;
    // A field skipped as a separator, or examined as a keyword.
    virtual void separatore(PosizioneCampo dove, std::string_view testo) = 0;
    virtual void parola(PosizioneCampo dove, std::string_view testo) = 0;
    // The last field of the file: read, never examined.
    virtual void non_esaminato(PosizioneCampo dove, std::string_view testo) = 0;
    // The keyword just examined runs a row of this kind; its fields follow.
    virtual void riga(TipoRiga tipo) = 0;
    // A value of the current row.
    virtual void valore(const ValoreLetto& v) = 0;
    // The current row wrote a feature into cell k (its type code), or was refused because
    // cell k was taken.
    virtual void cella_scritta(std::int64_t k, std::uint8_t tipo) = 0;
    virtual void cella_occupata(std::int64_t k) = 0;
    // Whether the readers read on after an error that stops them.
    virtual bool legge_oltre() const = 0;
};

}  // namespace brunavia
