#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/errori.h"

namespace brunavia::strumento {

struct Diagnosi;
class RegistroRighe;

// Lines of a description that the compile never read: its reader stopped before them (a taken
// cell, a station error, a read failure), or never started on the file.
struct RigheNonLette {
    FileDescrizione file = FileDescrizione::nessuno;
    int prima = 0;
    int ultima = 0;
};

// The lines of `testo` after line `ultima_letta` that hold more than blanks: from the first to
// the last such line; nothing when there is none.
std::optional<RigheNonLette> righe_dopo(FileDescrizione file, std::string_view testo,
                                        int ultima_letta);

// "righe A-B di FILE non lette (N righe)", or "riga A di FILE non letta", FILE as named.
std::string testo_righe_non_lette(const RigheNonLette& r, std::string_view nome_file);

// To the errors of a compile (as diagnosi_della_compilazione gives them, `registro` having
// watched it), for each description that has lines the compile never read: a note on the error
// that stopped its reader (for the train description that was never read, on the error that
// stopped the line's reader, else on the last error).
void segna_righe_non_lette(std::vector<Diagnosi>& errori, const RegistroRighe& registro,
                           std::optional<std::string_view> linea,
                           std::optional<std::string_view> treno);

}  // namespace brunavia::strumento
