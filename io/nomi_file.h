#pragma once

#include <filesystem>
#include <string>

namespace brunavia {

// The folder that holds a run's files and the two names every file name is built from. The
// writers and the compiler both name their files from these values.
struct LuogoFile {
    std::string nome_scenario = "Brunavia";
    std::string numero_treno = "706";
    std::filesystem::path cartella;  // the folder that holds the program
};

// Every file of a run lives in the program's folder; its name is built from the scenario
// name and the train number.
namespace nomi_file {
std::string descrizione_linea(const LuogoFile& f);  // Brunavia_linea.txt
std::string descrizione_treno(const LuogoFile& f);  // Brunavia_706-.txt
std::string scheda_treno(const LuogoFile& f);       // Brunavia_706_scheda_treno.txt
std::string rallentamenti(const LuogoFile& f);      // Brunavia_706_rallentamenti.txt
std::string note(const LuogoFile& f);               // Brunavia_706_note.txt
std::string piano_linea(const LuogoFile& f);        // Brunavia_linea.dat
std::string tabella_scenario(const LuogoFile& f);   // Brunavia_706.sim
std::string celle_treno(const LuogoFile& f);        // Brunavia_706.dat
}  // namespace nomi_file

// The path of a file of the run: the program's folder and the name.
std::filesystem::path percorso_di(const LuogoFile& f, const std::string& nome);

}  // namespace brunavia
