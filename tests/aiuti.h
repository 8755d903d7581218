#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
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
    // A name in the folder; text is UTF-8 on every system.
    std::filesystem::path operator/(const std::filesystem::path& nome) const {
        return percorso_ / nome;
    }
    std::filesystem::path operator/(const std::string& nome) const;
    std::filesystem::path operator/(const char* nome) const { return *this / std::string(nome); }

private:
    std::filesystem::path percorso_;
};

std::string leggi_byte(const std::filesystem::path& file);
// The names in a folder, one whose path passes Windows' old 260 characters included.
std::set<std::string> nomi_in(const std::filesystem::path& cartella);
void scrivi_byte(const std::filesystem::path& file, const std::string& contenuto);

// Hands out the given suffixes in turn, the last one for ever (names for crea_temporaneo).
std::function<std::string()> suffissi(std::vector<std::string> lista);

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
// How the child process is restricted (POSIX only: limiti_disponibili()).
struct Limiti {
    bool senza_privilegi = false;       // run as user "nobody" when started as root
    long dimensione_massima_file = -1;  // RLIMIT_FSIZE in bytes, -1 for none
    bool nessuno() const { return !senza_privilegi && dimensione_massima_file < 0; }
};
// False where a child cannot be restricted so (Windows): the tests that need it skip.
bool limiti_disponibili();
constexpr const char* kSenzaLimiti = "il sistema non limita i processi figli cosi'";
// Runs `programma` with `argomenti`, in `cartella_lavoro`, capturing both streams. The streams
// are read as text: a CR LF that Windows' text mode writes comes back as LF.
EsitoProcesso esegui(const std::filesystem::path& programma,
                     const std::vector<std::string>& argomenti,
                     const std::filesystem::path& cartella_lavoro, Limiti limiti = {});

// A program running beside the test, its standard input and output on pipes, as bytes; its
// errors go to the test's own.
class ProcessoFiglio {
public:
    ProcessoFiglio(const std::filesystem::path& programma,
                   const std::vector<std::string>& argomenti);
    ~ProcessoFiglio();  // closes the input and waits for the program
    ProcessoFiglio(const ProcessoFiglio&) = delete;
    ProcessoFiglio& operator=(const ProcessoFiglio&) = delete;

    // Writes all of `byte` to the program's input; throws when it cannot.
    void scrivi(const std::string& byte);
    // What the program printed next, at most `attesa` later; empty at the end of its output or
    // when it stayed silent.
    std::string leggi(std::chrono::milliseconds attesa);
    void chiudi_ingresso();
    // Waits for the program to end; its exit status.
    int attendi();

    struct Stato;

private:
    std::unique_ptr<Stato> s_;
};

// Sets a variable of the test's environment, which the programs it starts inherit.
void imposta_variabile(const std::string& nome, const std::string& valore);

// Copies the brunavia executable into `cartella` and returns the copy's path.
std::filesystem::path copia_programma(const std::filesystem::path& cartella);

// The shipped descriptions, written by the program's own writers into `cartella` under the
// given names.
void scrivi_descrizioni(const std::filesystem::path& cartella,
                        const std::string& scenario = "Brunavia", const std::string& treno = "706");

}  // namespace brunavia::prova
