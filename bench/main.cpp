// The benchmarks, or with `--picco=NAME` one run of a measured work in this fresh process,
// which then prints its peak memory in kB for the parent.
#include <benchmark/benchmark.h>

#include <iostream>
#include <string>
#include <string_view>

#include "bench/lavori.h"
#include "bench/misura.h"

int main(int argc, char** argv) {
    constexpr std::string_view kPicco = "--picco=";
    if (argc == 2 && std::string_view(argv[1]).starts_with(kPicco)) {
        const std::string nome(std::string_view(argv[1]).substr(kPicco.size()));
        brunavia::banco::CartellaBanco cartella("picco");
        if (!brunavia::banco::esegui_lavoro(nome, cartella.percorso())) return 1;
        std::cout << brunavia::banco::picco_kb_di_questo_processo() << std::endl;
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
