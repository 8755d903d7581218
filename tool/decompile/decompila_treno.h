#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/posa_treno.h"
#include "tool/decompile/decompila_linea.h"
#include "writers/tabelle_treno.h"

namespace brunavia::strumento {

// A station row: its sixteen numeric fields and its name (Windows-1252 bytes).
struct StazioneRicostruita {
    treno::Stazione campi{};  // `nome` is set from `nome` when the row is written
    std::string nome;
};

// A slowdown row: its start position and the fields the placement reads after it.
struct RallentamentoRicostruito {
    std::int32_t x = 0;
    RigaRallentamento campi;
};

struct AbbattimentoRicostruito {
    std::int32_t posizione = 0;
    std::int32_t valore = 0;
};

// The train description recovered from the compiled files, row by row.
struct TrenoRicostruito {
    std::int32_t vetture = 0;
    std::int32_t massa_frenata = 0;
    std::int32_t sabbia = 0;
    std::int32_t ore = 0, minuti = 0, secondi = 0;
    std::vector<treno::Aderenza> aderenze;
    std::vector<treno::Velocita> velocita;
    std::vector<StazioneRicostruita> stazioni;
    std::vector<RallentamentoRicostruito> rallentamenti;
    std::vector<AbbattimentoRicostruito> abbattimenti;
    std::vector<treno::Segnale> segnali;
    // Stations written after the signals: their marks 81 ... 84 then overwrite the signals'
    // approach codes, rather than the other way round.
    bool stazioni_dopo_segnali = false;
};

// The train rows that store these cells and table rows. Markers (type 12) with the value 180
// are taken for the finishing rules' own; every other marker and every type-13 cell becomes
// an "abbattimento" row. What no row can store is added to `motivi`.
TrenoRicostruito ricostruisci_treno(const std::vector<cella>& celle, const Tabella& tabella,
                                    Motivi& motivi);

// The value that a finishing-rule marker carries; a marker with another value is a row's.
inline constexpr std::int16_t kValoreMarcatoreRegole = 180;

// The "abbattimento" row that leaves a marker of this value (or, for `nullo`, a type-13 cell)
// on cell k.
AbbattimentoRicostruito abbattimento_per(std::size_t k, std::int16_t valore, bool nullo);

// The description's text: the sections, keywords and column layout of the program's train
// description, Windows-1252 bytes with CR LF line ends, ending with "[fine]".
std::string testo_treno(const TrenoRicostruito& t);

}  // namespace brunavia::strumento
