#include "writers/scrittori.h"

#include "writers/scrittore_testo.h"

namespace brunavia {
namespace {
std::int32_t scrivi(const LuogoFile& f, const std::string& nome,
                    const std::vector<std::string>& lista) {
    return static_cast<std::int32_t>(scrivi_righe(percorso_di(f, nome), lista));
}
}  // namespace

std::int32_t dati_linea(const LuogoFile& f) {
    return scrivi(f, nomi_file::descrizione_linea(f), righe_linea());
}
std::int32_t dati_treno(const LuogoFile& f) {
    return scrivi(f, nomi_file::descrizione_treno(f), righe_treno());
}
std::int32_t dati_note(const LuogoFile& f) {
    return scrivi(f, nomi_file::note(f), righe_note());
}
std::int32_t dati_rallentamenti(const LuogoFile& f) {
    return scrivi(f, nomi_file::rallentamenti(f), righe_rallentamenti());
}
std::int32_t dati_scheda(const LuogoFile& f) {
    return scrivi(f, nomi_file::scheda_treno(f), righe_scheda());
}

}  // namespace brunavia
