// Compiles from descriptions in memory, written to disk: the line alone and the whole scenario
// (line and train), shipped and generated (120 km and 900 km). Each reports the time of
// writing the same three files with plain buffered writes, the ratio to it and the peak memory
// of one compile in a fresh process. Then the same compile by the authors' tool as a whole
// process, against a process that copies its three files.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/descrizioni_generate.h"
#include "bench/lavori.h"
#include "bench/misura.h"
#include "compiler/descrizioni_in_memoria.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza.h"
#include "io/nomi_file.h"
#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"

namespace brunavia::banco {
namespace {

struct TestiDescrizioni {
    std::string linea;
    std::string treno;
};

std::string testo_di(const std::vector<std::string>& lista) {
    std::size_t righe = 0;
    return codifica_righe(lista, righe);
}

// The shipped scenario with `mb` MB of a harmless header line ("[nota]") repeated before the
// line description's last line: a large file whose size is all skipped fields.
TestiDescrizioni con_note(std::size_t mb) {
    std::string linea = testo_di(righe_linea());
    const std::string nota = "[nota]\r\n";
    std::string note;
    note.reserve(mb * 1024 * 1024);
    while (note.size() + nota.size() <= mb * 1024 * 1024) note += nota;
    linea.insert(linea.rfind("[fine]"), note);
    return {std::move(linea), testo_di(righe_treno())};
}

// "linea:900" is the generated line of 900 km with an empty train description; "scenario:900"
// adds the generated train. "linea:spedita" and "scenario:spedito" are the shipped descriptions.
std::optional<TestiDescrizioni> descrizioni_di(const std::string& nome) {
    if (nome == "linea:spedita") return TestiDescrizioni{testo_di(righe_linea()), ""};
    if (nome == "scenario:spedito") {
        return TestiDescrizioni{testo_di(righe_linea()), testo_di(righe_treno())};
    }
    const auto due_punti = nome.find(':');
    if (due_punti == std::string::npos) return std::nullopt;
    if (nome.starts_with("nota:")) return con_note(std::stoul(nome.substr(due_punti + 1)));
    const std::string tipo = nome.substr(0, due_punti);
    const int metri = std::stoi(nome.substr(due_punti + 1)) * 1000;
    if (tipo == "linea") return TestiDescrizioni{linea_generata(metri), ""};
    if (tipo == "scenario") return TestiDescrizioni{linea_generata(metri), treno_generato(metri)};
    return std::nullopt;
}

// One compile into the model; false when it records an error.
bool compila_descrizioni(Form1& f, const TestiDescrizioni& testi) {
    f.nome_scenario = "Brunavia";
    f.numero_treno = "706";
    DescrizioniInMemoria d(testi.linea, testi.treno);
    return compila(f, 1, d) && f.codice_errore == 0;
}

std::vector<FileNuovo> file_compilati(const Form1& f) {
    return {{nomi_file::piano_linea(f), serializza_tracciato(f.tracciato)},
            {nomi_file::tabella_scenario(f), serializza_tabella(f)},
            {nomi_file::celle_treno(f), serializza_celle(f)}};
}

void BM_Compila(benchmark::State& state, const std::string& nome) {
    const auto testi = descrizioni_di(nome);
    CartellaBanco cartella("compila");
    Cronometro cronometro;
    cronometro.parti();
    for (auto _ : state) {
        Form1 f;
        if (!compila_descrizioni(f, *testi)) {
            state.SkipWithError("le descrizioni generate registrano un errore");
            return;
        }
        scrivi_file_compilati(f, cartella.percorso());
    }
    const double per_iterazione = cronometro.per_iterazione(state);
    // The reference writes the bytes of the same three files.
    Form1 f;
    compila_descrizioni(f, *testi);
    riporta(state, per_iterazione,
            secondi_scrittura_semplice(cartella.percorso(), file_compilati(f)),
            picco_mb_del_lavoro(nome));
}

BENCHMARK_CAPTURE(BM_Compila, linea_spedita, std::string("linea:spedita"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Compila, scenario_spedito, std::string("scenario:spedito"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Compila, linea_120_km, std::string("linea:120"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Compila, linea_900_km, std::string("linea:900"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Compila, scenario_120_km, std::string("scenario:120"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Compila, scenario_900_km, std::string("scenario:900"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The authors' tool compiling the description files of `nome` into a folder, as a whole
// process, against a program that copies its three compiled files. Besides the ratio and the
// peak memory of the tool: that peak over the size of the plan file it writes.
void BM_CompilaStrumento(benchmark::State& state, const std::string& nome) {
    const auto testi = descrizioni_di(nome);
    CartellaBanco cartella("strumento");
    const auto& c = cartella.percorso();
    sostituisci_file(c / "linea.txt", testi->linea);
    sostituisci_file(c / "treno.txt", testi->treno);
    std::filesystem::create_directory(c / "compilati");
    std::filesystem::create_directory(c / "copie");
    const std::vector<std::string> compila = {
        BRUNAVIA_TOOL_EXE,          "compile", (c / "linea.txt").string(),
        (c / "treno.txt").string(), "-o",      (c / "compilati").string()};
    esegui_e_attendi(compila);
    std::vector<std::string> copia = {BRUNAVIA_COPIA_EXE, (c / "copie").string()};
    for (const char* nome_file : {"Brunavia_linea.dat", "Brunavia_706.sim", "Brunavia_706.dat"}) {
        copia.push_back((c / "compilati" / nome_file).string());
    }
    ConfrontoProcessi confronto(compila, copia);
    for (auto _ : state) confronto.giro(state);
    confronto.riporta(state);
    const auto byte_piano = std::filesystem::file_size(c / "compilati" / "Brunavia_linea.dat");
    state.counters["picco_su_piano"] =
        confronto.picco_mb() * 1024.0 * 1024.0 / static_cast<double>(byte_piano);
    state.counters["picco_su_descrizioni"] =
        confronto.picco_mb() * 1024.0 * 1024.0 /
        static_cast<double>(testi->linea.size() + testi->treno.size());
}

BENCHMARK_CAPTURE(BM_CompilaStrumento, scenario_900_km, std::string("scenario:900"))
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK_CAPTURE(BM_CompilaStrumento, scenario_spedito, std::string("scenario:spedito"))
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
// 50 MB of skipped lines: time and memory follow the file's size, not its field count.
BENCHMARK_CAPTURE(BM_CompilaStrumento, note_50_mb, std::string("nota:50"))
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

}  // namespace

bool esegui_lavoro(const std::string& nome, const std::filesystem::path& cartella) {
    if (nome == "corsa") return esegui_corsa(cartella);
    const auto testi = descrizioni_di(nome);
    if (!testi) return false;
    Form1 f;
    if (!compila_descrizioni(f, *testi)) return false;
    scrivi_file_compilati(f, cartella);
    return true;
}

}  // namespace brunavia::banco
