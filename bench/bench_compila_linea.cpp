// Compiling the line: reading the description with every feature placed, then the compiled
// files. Lines are generated with the density of the shipped one (per 120 km: 195 curves,
// 103 gradients, 20 climbing stretches, 31 speed boards, 55 indication boards).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "compiler/file_compilati.h"
#include "compiler/lettore_linea.h"

namespace brunavia {
namespace {

constexpr int kMetriRiferimento = 120000;
// The table holds at most 80 board texts, whatever the length.
constexpr int kMassimoCartelli = 80;

int con_densita(int per_120_km, int lunghezza) {
    return static_cast<int>(static_cast<long long>(per_120_km) * lunghezza / kMetriRiferimento);
}

// Spacing, in whole hundreds of metres, of `quante` rows over the line.
int passo(int lunghezza, int quante) {
    return std::max(100, lunghezza / quante / 100 * 100);
}

std::string riga(const std::string& chiave, std::initializer_list<int> numeri) {
    std::string r = chiave;
    for (const int n : numeri) r += ",  " + std::to_string(n);
    return r + "\r\n";
}

std::string descrizione_generata(int lunghezza) {
    std::string t = "[generale]\r\n" + riga("lunghezza percorso", {lunghezza}) +
                    "progressiva chilometrica uno,    0,    240700,    1\r\n"
                    "progressiva chilometrica due,    115050,    10700,    0\r\n"
                    "progressiva chilometrica tre,    0,    0,    0\r\n"
                    "sfondo uno,    1\r\nsfondo due,    119250\r\nsfondo tre,    54650\r\n"
                    "ripetizione segnali 4 codici,    0    ,0\r\n[curve]\r\n";
    const int curve = con_densita(195, lunghezza);
    for (int i = 0, s = passo(lunghezza, curve); i < curve; ++i) {
        const std::string chiave =
            std::string("curva") + (i % 2 ? "s" : "d") + std::to_string(3 + i % 4);
        t += riga(chiave, {i * s, std::min(1000, s / 2)});
    }
    t += "[pendenze]\r\n";
    const int pendenze = con_densita(103, lunghezza);
    for (int i = 0, s = passo(lunghezza, pendenze); i < pendenze; ++i) {
        t += riga("pendenza", {i * s, (i * 17) % 60 - 28});
    }
    t += "[montagne]\r\n";
    const int montagne = con_densita(20, lunghezza);
    for (int i = 0, s = passo(lunghezza, montagne); i < montagne; ++i) {
        t += riga("montagna", {i * s + 100, i * s + 700, i % 3 ? 11 : 12});
    }
    // Speed boards on odd cells, indication boards on even ones: they never meet.
    t += "[cartelli]\r\n";
    const int indicatori = con_densita(31, lunghezza);
    for (int i = 0, s = passo(lunghezza, indicatori); i < indicatori; ++i) {
        t += "indicatori_vmax,  " + std::to_string(1000 + i * s) +
             ",  80,  90,  90,  2,  ,  ,  ,  0\r\n";
    }
    t += "[indicazioni]\r\n";
    const int cartelli = std::min(kMassimoCartelli, con_densita(55, lunghezza));
    for (int i = 0, s = passo(lunghezza, cartelli); i < cartelli; ++i) {
        t += "cartello_indicatore,  " + std::to_string(1050 + i * s) +
             ",   (Ponte   )(in Ferro)\r\n";
    }
    return t + "[fine]\r\n";
}

Form1 compila_linea(const std::string& testo) {
    Form1 f;
    f.flag_linea = 1;
    f.tabella[85].testo = f.nome_scenario;
    f.tabella[86].testo = f.numero_treno;
    StatoLinea stato;
    leggi_descrizione_linea(f, testo, stato);
    return f;
}

void verifica(benchmark::State& state, const Form1& f) {
    if (f.codice_errore != 0) state.SkipWithError("la linea generata registra un errore");
}

void BM_LeggiLinea(benchmark::State& state) {
    const std::string testo = descrizione_generata(static_cast<int>(state.range(0)) * 1000);
    for (auto _ : state) {
        Form1 f = compila_linea(testo);
        verifica(state, f);
        benchmark::DoNotOptimize(f.tracciato.x.data());
    }
}

void BM_SerializzaFile(benchmark::State& state) {
    Form1 f = compila_linea(descrizione_generata(static_cast<int>(state.range(0)) * 1000));
    verifica(state, f);
    timbra_modello(f);
    std::size_t byte = 0;
    for (auto _ : state) {
        const std::string piano = serializza_tracciato(f.tracciato);
        const std::string sim = serializza_tabella(f);
        const std::string dat = serializza_celle(f);
        byte = piano.size() + sim.size() + dat.size();
        benchmark::DoNotOptimize(byte);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(byte));
}

// The whole line half: read, place, stamp and write the three files into a temporary folder.
void BM_CompilaEScrivi(benchmark::State& state) {
    const std::string testo = descrizione_generata(static_cast<int>(state.range(0)) * 1000);
    const auto cartella =
        std::filesystem::temp_directory_path() / ("brunavia-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(cartella);
    for (auto _ : state) {
        Form1 f = compila_linea(testo);
        verifica(state, f);
        timbra_modello(f);
        scrivi_file_compilati(f, cartella);
    }
    std::filesystem::remove_all(cartella);
}

BENCHMARK(BM_LeggiLinea)->Arg(120)->Arg(900)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SerializzaFile)->Arg(120)->Arg(900)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompilaEScrivi)->Arg(120)->Arg(900)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brunavia

BENCHMARK_MAIN();
