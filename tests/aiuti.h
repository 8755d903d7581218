#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "compiler/modello.h"

namespace brunavia::prova {

// A fresh, empty folder under the system's temporary folder, removed when the object ends.
class CartellaTemporanea {
public:
    CartellaTemporanea();
    ~CartellaTemporanea();
    CartellaTemporanea(const CartellaTemporanea&) = delete;
    CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;
    const std::filesystem::path& percorso() const { return percorso_; }
    std::filesystem::path operator/(const std::string& nome) const { return percorso_ / nome; }

private:
    std::filesystem::path percorso_;
};

std::string leggi_byte(const std::filesystem::path& file);
void scrivi_byte(const std::filesystem::path& file, const std::string& contenuto);

// Splits a file's bytes at CR LF; fails the current test when a line end is anything else.
std::vector<std::string> righe_crlf(const std::string& byte);

// One text file as a writer leaves it: the line count the writer reports (kept in `indice` by
// the run), the bytes and the CR LF lines.
struct FileScritto {
    std::int32_t indice = 0;
    std::string byte;
    std::vector<std::string> righe;
};
// Runs `scrittore` twice into a fresh folder (the second run must replace the first file) and
// reads back the file `nome` it wrote.
FileScritto scrivi_e_rileggi(std::int32_t (*scrittore)(const LuogoFile&), const std::string& nome);

// Result of running a program: exit status and what it printed.
struct EsitoProcesso {
    int stato = -1;
    std::string uscita;
    std::string errori;
};
// How the child process is restricted.
struct Limiti {
    bool senza_privilegi = false;       // run as user "nobody" when started as root
    long dimensione_massima_file = -1;  // RLIMIT_FSIZE in bytes, -1 for none
};
// Runs `programma` with `argomenti`, in `cartella_lavoro`, capturing both streams.
EsitoProcesso esegui(const std::filesystem::path& programma,
                     const std::vector<std::string>& argomenti,
                     const std::filesystem::path& cartella_lavoro, Limiti limiti = {});

// Copies the brunavia executable into `cartella` and returns the copy's path.
std::filesystem::path copia_programma(const std::filesystem::path& cartella);

// The shipped descriptions, written by the program's own writers into `cartella` under the
// given names.
void scrivi_descrizioni(const std::filesystem::path& cartella,
                        const std::string& scenario = "Brunavia", const std::string& treno = "706");

}  // namespace brunavia::prova
