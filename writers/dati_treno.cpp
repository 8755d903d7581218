// The line list of the train description: sections in file order, each row formatted from its
// table. "[rallentamenti]" and "[codici]" stay empty: this run has no slowdowns.
#include <string>
#include <vector>

#include "writers/formato_treno.h"
#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"

namespace brunavia {
namespace {

template <typename Riga, typename Formato>
void aggiungi_righe(std::vector<std::string>& righe, std::span<const Riga> tabella,
                    Formato formato) {
    for (const auto& r : tabella) righe.push_back(formato(r));
}

}  // namespace

std::vector<std::string> righe_treno() {
    std::vector<std::string> righe;
    righe.emplace_back("[generale]");
    for (const auto r : treno::righe_generali()) righe.emplace_back(r);
    righe.emplace_back("[aderenze]");
    bool prima = true;
    for (const auto& a : treno::aderenze()) {
        righe.push_back(treno::riga_aderenza(a, prima));
        prima = false;
    }
    righe.emplace_back("[vel_limite]");
    aggiungi_righe(righe, treno::velocita_limite(), treno::riga_velocita);
    righe.emplace_back("[stazioni]");
    aggiungi_righe(righe, treno::stazioni(), treno::riga_stazione);
    righe.emplace_back("[rallentamenti]");
    righe.emplace_back("[segnali]");
    aggiungi_righe(righe, treno::segnali(), treno::riga_segnale);
    righe.emplace_back("[codici]");
    righe.emplace_back("[fine]");
    righe.emplace_back(kMarcatoreFine);
    return righe;
}

}  // namespace brunavia
