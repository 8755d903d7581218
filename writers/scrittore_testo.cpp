#include "writers/scrittore_testo.h"

#include <stdexcept>

#include "io/cp1252.h"
#include "io/file_atomico.h"

namespace brunavia {

std::string codifica_righe(const std::vector<std::string>& lista, std::size_t& righe_scritte) {
    std::string out;
    for (std::size_t indice = 0; indice < lista.size() && indice < kSlotLista; ++indice) {
        if (lista[indice] == kMarcatoreFine) {
            righe_scritte = indice;
            return out;
        }
        out += in_cp1252(lista[indice]);
        out += "\r\n";
    }
    throw std::logic_error("lista di righe senza il marcatore di fine entro 1001 posti");
}

std::size_t scrivi_righe(const std::filesystem::path& percorso,
                         const std::vector<std::string>& lista) {
    std::size_t righe = 0;
    const std::string contenuto = codifica_righe(lista, righe);
    sostituisci_file(percorso, contenuto);
    return righe;
}

}  // namespace brunavia
