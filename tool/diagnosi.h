#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/errori.h"
#include "compiler/modello.h"
#include "tool/registro_righe.h"
#include "tool/righe_non_lette.h"

namespace brunavia::strumento {

// One message about the descriptions: a compile error or a warning of `check`.
struct Diagnosi {
    LuogoErrore luogo;
    bool errore = true;
    std::optional<std::int32_t> numero;     // the error number
    std::optional<std::int32_t> posizione;  // "posizione P", as the compile records it
    std::string codice;                     // the warning's stable code
    std::string messaggio;
    bool dopo_ripresa = false;             // an error found only by reading on after one that stops
    std::vector<RigheNonLette> non_lette;  // notes: what the compile did not read after it
};

// The words that end the message of an error found only by reading on.
inline constexpr std::string_view kDopoRipresa = " (trovato proseguendo la lettura)";

// The names a report needs: the two files and the scenario, with their texts for the line
// shown under a message.
struct Sorgenti {
    std::string linea;
    std::string treno;
    std::string scenario;  // "scenario NAME, treno N"
    const std::optional<std::string>* testo_linea = nullptr;
    const std::optional<std::string>* testo_treno = nullptr;
    // Where each line of the two texts starts, found once when the first line is shown.
    mutable std::vector<std::size_t> inizi_linea;
    mutable std::vector<std::size_t> inizi_treno;
};

// An error the compile recorded (number `indice` of its list), explained for an author: what
// was wrong at that field, the row an error of the finishing rules or of the reference points
// comes from, what holds a taken cell. `registro` is what the compile reported while reading.
Diagnosi diagnosi_errore(const ErroreRegistrato& e, std::size_t indice,
                         const RegistroRighe* registro);

// Whether the diagnostic of `e` may lie elsewhere than the error's own place: an error of the
// finishing rules or of cell 1 points at the row concerned, error 102 at a header on the last
// line.
bool puo_spostarsi(const ErroreRegistrato& e);

// Every error of a compile explained, in the order recorded (an error that one rule records
// twice in a row is given once), then the error report's number `fermata` when it ended the
// compile.
std::vector<Diagnosi> diagnosi_della_compilazione(const Form1& f, const RegistroRighe& registro,
                                                  std::optional<std::int32_t> fermata);

// The same error: number, position and place.
bool stesso_errore(const ErroreRegistrato& a, const ErroreRegistrato& b);

// The number of the error that ended the compile through the error report.
std::int32_t numero_della_terminazione(const Terminazione& t);

// "FILE:LINE:COL: " (the file alone for an error of a whole file, the scenario for one of no
// row), the message, then the source line and a caret under the field. With `gravita` the
// words "error: " or "warning: " follow the place, as compilers print them.
std::string testo_diagnosi(const Diagnosi& d, const Sorgenti& s, bool gravita);

// The text with every control character (a tab too) and C1 control shown as \xNN, so that
// what a file holds never reaches the terminal as a command.
std::string testo_visibile(std::string_view utf8);

// Why the bytes of a description are not a text file (a NUL byte, and its line), or nothing.
std::optional<std::string> motivo_non_testo(std::string_view byte);

// The bytes of a description file; throws ErroreFile when it cannot be read or is not text.
std::string leggi_testo_descrizione(const std::filesystem::path& file);

// The line `riga` (from 1) of a description text, without its line end; nothing when the text
// has fewer lines. Line ends are CR LF, a lone CR or a lone LF, as the field reader takes them.
std::optional<std::string> riga_di_testo(std::string_view testo, int riga);

// Where each line of a text starts, for `riga_di_testo` with the starts found once.
std::vector<std::size_t> inizi_delle_righe(std::string_view testo);
std::optional<std::string> riga_di_testo(std::string_view testo,
                                         const std::vector<std::size_t>& inizi, int riga);

}  // namespace brunavia::strumento
