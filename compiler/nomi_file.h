#pragma once

#include <filesystem>
#include <string>

#include "compiler/modello.h"

namespace brunavia {

// Every file of a run lives in the program's folder; its name is built from the scenario
// name and the train number.
namespace nomi_file {
std::string descrizione_linea(const Form1& f);  // Brunavia_linea.txt
std::string descrizione_treno(const Form1& f);  // Brunavia_706-.txt
std::string scheda_treno(const Form1& f);       // Brunavia_706_scheda_treno.txt
std::string rallentamenti(const Form1& f);      // Brunavia_706_rallentamenti.txt
std::string note(const Form1& f);               // Brunavia_706_note.txt
std::string piano_linea(const Form1& f);        // Brunavia_linea.dat
std::string tabella_scenario(const Form1& f);   // Brunavia_706.sim
std::string celle_treno(const Form1& f);        // Brunavia_706.dat
}  // namespace nomi_file

// The path of a file of the run: the program's folder and the name.
std::filesystem::path percorso_di(const Form1& f, const std::string& nome);

}  // namespace brunavia
