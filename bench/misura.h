#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "io/file_atomico.h"

namespace brunavia::banco {

// Seconds to write `file` into `cartella` with plain buffered writes (one std::ofstream per
// file, no temporary file): the median of several rounds. The reference of every benchmark.
double secondi_scrittura_semplice(const std::filesystem::path& cartella,
                                  const std::vector<FileNuovo>& file);

// Starts `argomenti` (the first is the program) and waits for it; returns what it printed.
// Throws on a failed start or a non-zero exit status.
std::string esegui_e_attendi(const std::vector<std::string>& argomenti);

// A whole process against a reference process, run in turn (so that a change of load on the
// machine touches both alike): the measured one's time is the benchmark iteration's time
// (manual time), and the counters give the median of each, their ratio and the measured
// process's peak memory (one more run, started from brunavia_picco).
class ConfrontoProcessi {
public:
    ConfrontoProcessi(std::vector<std::string> misurato, std::vector<std::string> riferimento)
        : misurato_(std::move(misurato)), riferimento_(std::move(riferimento)) {}
    void giro(benchmark::State& state);
    // Counters: `riferimento_ms`, `rapporto`, `picco_MB`.
    void riporta(benchmark::State& state);
    double picco_mb();

private:
    std::vector<std::string> misurato_;
    std::vector<std::string> riferimento_;
    std::vector<double> tempi_;
    std::vector<double> tempi_riferimento_;
    long picco_kb_ = 0;
};

// The benchmark program started again on its own with `--picco=NAME`: runs the measured work
// once in a fresh process and prints that process's peak resident memory (its own high-water
// mark, which a parent's rusage would mix with the memory of the parent at the start).
// Returns it in MB.
double picco_mb_del_lavoro(const std::string& nome);

// The peak resident memory of this process, in kB.
long picco_kb_di_questo_processo();

// Time of the benchmark's timed loop, for the ratio to the reference.
class Cronometro {
public:
    void parti() { inizio_ = std::chrono::steady_clock::now(); }
    // Seconds per iteration since `parti`.
    double per_iterazione(const benchmark::State& state) const;

private:
    std::chrono::steady_clock::time_point inizio_;
};

// Sets the counters that go next to the time: the reference in ms, the ratio of the measured
// time to it and the peak memory in MB.
void riporta(benchmark::State& state, double secondi_per_iterazione, double riferimento,
             double picco_mb);

// A fresh folder under the system's temporary folder, removed with the object.
class CartellaBanco {
public:
    explicit CartellaBanco(const std::string& nome);
    ~CartellaBanco();
    CartellaBanco(const CartellaBanco&) = delete;
    CartellaBanco& operator=(const CartellaBanco&) = delete;
    const std::filesystem::path& percorso() const { return percorso_; }

private:
    std::filesystem::path percorso_;
};

}  // namespace brunavia::banco
