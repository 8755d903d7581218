#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace brunavia::strumento {

// The scenario name and train number that name the compiled files ("NAME_linea.dat",
// "NAME_N.sim", "NAME_N.dat") and enter the table and the competition codes.
struct NomiScenario {
    std::string scenario = "Brunavia";
    std::string treno = "706";
};

// The names carried by a pair of description files named as the program names them,
// "NAME_linea.txt" and "NAME_N-.txt" with the same NAME and N a train number; nothing when the
// pair does not follow that pattern.
std::optional<NomiScenario> nomi_dalle_descrizioni(const std::filesystem::path& linea,
                                                   const std::filesystem::path& treno);

// The names carried by the one "NAME_N.sim" file of a folder of compiled files; nothing when
// the folder holds none or more than one.
std::optional<NomiScenario> nomi_dalla_cartella(const std::filesystem::path& cartella);

// For a reader that did not find the scenario `usati` in a folder: one line that lists the
// folder's "NAME_N.sim" files and says how to choose ("nella cartella ci sono A_1.sim,
// B_2.sim; sceglierne uno con --scenario e --train"); empty when there are none, or when the
// one of `usati` is among them (the failure was elsewhere).
std::string scenari_da_scegliere(const std::filesystem::path& cartella, const NomiScenario& usati);

// For a command that reads a folder of compiled files: when the folder holds several
// "NAME_N.sim" files and neither --scenario nor --train chose one, the line that lists them
// and says how to choose (a default name would pick a scenario the author did not mean);
// empty otherwise.
std::string scelta_necessaria(const std::filesystem::path& cartella,
                              const std::optional<std::string>& scenario,
                              const std::optional<std::string>& treno);

// The names a command uses: each one given on its command line, else the one its files carry
// (`dai_file`, when they follow the program's naming), else the default.
NomiScenario nomi_da_usare(const std::optional<NomiScenario>& dai_file,
                           const std::optional<std::string>& scenario,
                           const std::optional<std::string>& treno);

// A scenario name that can name files inside the output folder: not empty, no path
// separator, not "." or "..".
bool nome_scenario_valido(std::string_view nome);

// A train number: one or more decimal digits.
bool numero_treno_valido(std::string_view numero);

// The names given on the command line; a missing one comes from the files of the command.
struct NomiDati {
    std::optional<std::string> scenario;
    std::optional<std::string> treno;
};

// A folder of several scenarios is read only once one of them is named: throws ErroreUso
// listing them otherwise.
void richiedi_scelta(const std::filesystem::path& cartella, const NomiDati& nomi);

}  // namespace brunavia::strumento
