#include "writers/scrittori.h"

#include "compiler/nomi_file.h"
#include "writers/scrittore_testo.h"

namespace brunavia {
namespace {
void scrivi(Form1& f, const std::string& nome, const std::vector<std::string>& lista) {
    f.indice = static_cast<std::int32_t>(scrivi_righe(percorso_di(f, nome), lista));
}
}  // namespace

void dati_linea(Form1& f) {
    scrivi(f, nomi_file::descrizione_linea(f), righe_linea());
}
void dati_treno(Form1& f) {
    scrivi(f, nomi_file::descrizione_treno(f), righe_treno());
}
void dati_note(Form1& f) {
    scrivi(f, nomi_file::note(f), righe_note());
}
void dati_rallentamenti(Form1& f) {
    scrivi(f, nomi_file::rallentamenti(f), righe_rallentamenti());
}
void dati_scheda(Form1& f) {
    scrivi(f, nomi_file::scheda_treno(f), righe_scheda());
}

}  // namespace brunavia
