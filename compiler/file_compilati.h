#pragma once

#include <filesystem>
#include <string>

#include "compiler/modello.h"
#include "io/flusso_byte.h"

namespace brunavia {

// Final checks and stamps before writing: errors 1250 and 1251 end the program through
// `errore`; then row 85 `numero1` 610, cell 1 `dato0` 5121 and the two competition codes.
void timbra_modello(Form1& f);

// Each compiled file's exact bytes, serialised from the model into a stream.
void scrivi_tracciato(FlussoByte& s, const Tracciato& t);  // <scenario>_linea.dat
void scrivi_tabella(FlussoByte& s, const Form1& f);        // <scenario>_<train>.sim
void scrivi_celle(FlussoByte& s, const Form1& f);          // <scenario>_<train>.dat

// The same bytes whole, in memory.
std::string serializza_tracciato(const Tracciato& t);  // <scenario>_linea.dat
std::string serializza_tabella(const Form1& f);        // <scenario>_<train>.sim
std::string serializza_celle(const Form1& f);          // <scenario>_<train>.dat

// Writes the compiled files into `cartella` (the plan only when `flag_linea` is set), replaced
// together: when one cannot be written, every old file stays as it was. Throws ErroreFile.
void scrivi_file_compilati(const Form1& f, const std::filesystem::path& cartella);

}  // namespace brunavia
