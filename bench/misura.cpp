#include "bench/misura.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <stdexcept>

extern char** environ;

namespace brunavia::banco {
namespace {

constexpr int kGiriRiferimento = 15;
constexpr double kKbPerMb = 1024.0;

double secondi_da(std::chrono::steady_clock::time_point inizio) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count();
}

double mediana(std::vector<double> valori) {
    if (valori.empty()) return 0.0;
    std::sort(valori.begin(), valori.end());
    return valori[valori.size() / 2];
}

}  // namespace

double secondi_scrittura_semplice(const std::filesystem::path& cartella,
                                  const std::vector<FileNuovo>& file) {
    std::vector<double> giri;
    for (int g = 0; g < kGiriRiferimento; ++g) {
        const auto inizio = std::chrono::steady_clock::now();
        for (const auto& [percorso, byte] : file) {
            std::ofstream out(cartella / percorso.filename(), std::ios::binary | std::ios::trunc);
            out.write(byte.data(), static_cast<std::streamsize>(byte.size()));
            if (!out) throw std::runtime_error("scrittura semplice fallita");
        }
        giri.push_back(secondi_da(inizio));
    }
    return mediana(giri);
}

std::string esegui_e_attendi(const std::vector<std::string>& argomenti) {
    std::vector<std::string> copie = argomenti;
    std::vector<char*> argv;
    for (auto& a : copie) argv.push_back(a.data());
    argv.push_back(nullptr);
    int tubo[2];
    if (::pipe(tubo) != 0) throw std::runtime_error("pipe fallita");
    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_adddup2(&azioni, tubo[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&azioni, tubo[0]);
    pid_t pid = 0;
    const int esito = ::posix_spawn(&pid, argv[0], &azioni, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&azioni);
    ::close(tubo[1]);
    std::string uscita;
    char blocco[4096];
    for (ssize_t n; esito == 0 && (n = ::read(tubo[0], blocco, sizeof blocco)) > 0;) {
        uscita.append(blocco, static_cast<std::size_t>(n));
    }
    ::close(tubo[0]);
    if (esito != 0) throw std::runtime_error("impossibile avviare " + argomenti[0]);
    int stato = 0;
    ::waitpid(pid, &stato, 0);
    if (!WIFEXITED(stato) || WEXITSTATUS(stato) != 0) {
        throw std::runtime_error(argomenti[0] + " non e' terminato regolarmente");
    }
    return uscita;
}

void ConfrontoProcessi::giro(benchmark::State& state) {
    auto inizio = std::chrono::steady_clock::now();
    esegui_e_attendi(misurato_);
    tempi_.push_back(secondi_da(inizio));
    state.SetIterationTime(tempi_.back());
    inizio = std::chrono::steady_clock::now();
    esegui_e_attendi(riferimento_);
    tempi_riferimento_.push_back(secondi_da(inizio));
}

void ConfrontoProcessi::riporta(benchmark::State& state) {
    const double riferimento = mediana(tempi_riferimento_);
    state.counters["riferimento_ms"] = riferimento * 1e3;
    state.counters["rapporto"] = mediana(tempi_) / riferimento;
    state.counters["picco_MB"] = picco_mb();
}

double ConfrontoProcessi::picco_mb() {
    if (picco_kb_ == 0) {
        std::vector<std::string> argomenti = {BRUNAVIA_PICCO_EXE};
        argomenti.insert(argomenti.end(), misurato_.begin(), misurato_.end());
        const std::string uscita = esegui_e_attendi(argomenti);
        picco_kb_ = std::stol(uscita.substr(uscita.find_last_of('\n', uscita.size() - 2) + 1));
    }
    return static_cast<double>(picco_kb_) / kKbPerMb;
}

double picco_mb_del_lavoro(const std::string& nome) {
    // Google Benchmark calls a benchmark several times while it sizes the loop: one measure
    // per work is enough.
    static std::map<std::string, double> misurati;
    if (const auto trovato = misurati.find(nome); trovato != misurati.end()) return trovato->second;
    const auto se_stesso = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string kb = esegui_e_attendi({se_stesso, "--picco=" + nome});
    return misurati[nome] = static_cast<double>(std::stol(kb)) / kKbPerMb;
}

long picco_kb_di_questo_processo() {
    std::ifstream stato("/proc/self/status");
    const std::string chiave = "VmHWM:";
    for (std::string riga; std::getline(stato, riga);) {
        if (riga.starts_with(chiave)) return std::stol(riga.substr(chiave.size()));
    }
    throw std::runtime_error("VmHWM non trovato");
}

double Cronometro::per_iterazione(const benchmark::State& state) const {
    return secondi_da(inizio_) / static_cast<double>(state.iterations());
}

void riporta(benchmark::State& state, double secondi_per_iterazione, double riferimento,
             double picco_mb) {
    state.counters["scrittura_semplice_ms"] = riferimento * 1e3;
    state.counters["rapporto"] = secondi_per_iterazione / riferimento;
    state.counters["picco_MB"] = picco_mb;
}

CartellaBanco::CartellaBanco(const std::string& nome)
    : percorso_(std::filesystem::temp_directory_path() /
                ("brunavia-banco-" + nome + "-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(percorso_);
    std::filesystem::create_directories(percorso_);
}

CartellaBanco::~CartellaBanco() {
    std::error_code ignora;
    std::filesystem::remove_all(percorso_, ignora);
}

}  // namespace brunavia::banco
