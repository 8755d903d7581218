#include "tool/nomi.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "io/cp1252.h"
#include "tool/uscite.h"

namespace brunavia::strumento {
namespace {

bool termina_con(std::string_view testo, std::string_view coda) {
    return testo.size() > coda.size() && testo.substr(testo.size() - coda.size()) == coda;
}

// "NAME_N" + coda split at its last underscore, with N a train number.
std::optional<NomiScenario> nome_e_treno(std::string_view file, std::string_view coda) {
    if (!termina_con(file, coda)) return std::nullopt;
    const std::string_view radice = file.substr(0, file.size() - coda.size());
    const auto trattino = radice.rfind('_');
    if (trattino == std::string_view::npos) return std::nullopt;
    NomiScenario n{std::string(radice.substr(0, trattino)),
                   std::string(radice.substr(trattino + 1))};
    if (!nome_scenario_valido(n.scenario) || !numero_treno_valido(n.treno)) return std::nullopt;
    return n;
}

}  // namespace

std::optional<NomiScenario> nomi_dalle_descrizioni(const std::filesystem::path& linea,
                                                   const std::filesystem::path& treno) {
    constexpr std::string_view kCodaLinea = "_linea.txt";
    const std::string file_linea = linea.filename().string();
    if (!termina_con(file_linea, kCodaLinea)) return std::nullopt;
    const std::string scenario = file_linea.substr(0, file_linea.size() - kCodaLinea.size());
    const auto n = nome_e_treno(treno.filename().string(), "-.txt");
    if (!n || n->scenario != scenario) return std::nullopt;
    return n;
}

namespace {

// The "NAME_N.sim" files of a folder, sorted by file name; none for a folder that cannot be read.
std::vector<std::string> file_sim(const std::filesystem::path& cartella) {
    std::vector<std::string> trovati;
    std::error_code ec;
    for (const auto& voce : std::filesystem::directory_iterator(cartella, ec)) {
        const std::string nome = voce.path().filename().string();
        if (nome_e_treno(nome, ".sim")) trovati.push_back(nome);
    }
    std::sort(trovati.begin(), trovati.end());
    return trovati;
}

}  // namespace

std::optional<NomiScenario> nomi_dalla_cartella(const std::filesystem::path& cartella) {
    const auto trovati = file_sim(cartella);
    if (trovati.size() != 1) return std::nullopt;  // none, or more than one: no single answer
    return nome_e_treno(trovati.front(), ".sim");
}

namespace {

std::string elenco_da_scegliere(const std::vector<std::string>& trovati) {
    std::string elenco;
    for (const auto& nome : trovati) elenco += (elenco.empty() ? "" : ", ") + nome;
    return "nella cartella ci sono " + elenco + "; sceglierne uno con --scenario e --train";
}

}  // namespace

std::string scenari_da_scegliere(const std::filesystem::path& cartella, const NomiScenario& usati) {
    const auto trovati = file_sim(cartella);
    const std::string proprio = usati.scenario + "_" + usati.treno + ".sim";
    if (trovati.empty() || std::find(trovati.begin(), trovati.end(), proprio) != trovati.end())
        return "";
    return elenco_da_scegliere(trovati);
}

std::string scelta_necessaria(const std::filesystem::path& cartella,
                              const std::optional<std::string>& scenario,
                              const std::optional<std::string>& treno) {
    if (scenario || treno) return "";
    const auto trovati = file_sim(cartella);
    return trovati.size() > 1 ? elenco_da_scegliere(trovati) : "";
}

NomiScenario nomi_da_usare(const std::optional<NomiScenario>& dai_file,
                           const std::optional<std::string>& scenario,
                           const std::optional<std::string>& treno) {
    NomiScenario nomi = dai_file.value_or(NomiScenario{});
    nomi.scenario = scenario.value_or(nomi.scenario);
    nomi.treno = treno.value_or(nomi.treno);
    return nomi;
}

bool nome_scenario_valido(std::string_view nome) {
    return !nome.empty() && nome != "." && nome != ".." &&
           nome.find_first_of("/\\") == std::string_view::npos &&
           nome.find('\0') == std::string_view::npos && convertibile_in_cp1252(nome);
}

bool numero_treno_valido(std::string_view numero) {
    return !numero.empty() &&
           std::all_of(numero.begin(), numero.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void richiedi_scelta(const std::filesystem::path& cartella, const NomiDati& nomi) {
    if (auto elenco = scelta_necessaria(cartella, nomi.scenario, nomi.treno); !elenco.empty())
        throw ErroreUso{std::move(elenco)};
}

}  // namespace brunavia::strumento
