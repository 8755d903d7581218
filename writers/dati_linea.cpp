// The line list of the line description: sections in file order, each row formatted from its
// table.
#include <string>
#include <vector>

#include "writers/formato_linea.h"
#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"

namespace brunavia {
namespace {

template <typename Riga, typename Formato>
void aggiungi_sezione(std::vector<std::string>& righe, const char* intestazione,
                      std::span<const Riga> tabella, Formato formato) {
    righe.emplace_back(intestazione);
    for (const auto& r : tabella) righe.push_back(formato(r));
}

}  // namespace

std::vector<std::string> righe_linea() {
    std::vector<std::string> righe;
    righe.emplace_back("[generale]");
    for (const auto r : linea::righe_generali()) righe.emplace_back(r);
    aggiungi_sezione(righe, "[curve]", linea::curve(), linea::riga_curva);
    righe.emplace_back("[pendenze]");
    bool prima = true;
    for (const auto& p : linea::pendenze()) {
        righe.push_back(linea::riga_pendenza(p, prima));
        prima = false;
    }
    aggiungi_sezione(righe, "[montagne]", linea::montagne(), linea::riga_montagna);
    aggiungi_sezione(righe, "[cartelli]", linea::indicatori_vmax(), linea::riga_indicatore_vmax);
    aggiungi_sezione(righe, "[indicazioni]", linea::cartelli_indicatori(), linea::riga_cartello);
    righe.emplace_back("[fine]");
    righe.emplace_back(kMarcatoreFine);
    return righe;
}

}  // namespace brunavia
