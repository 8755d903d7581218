// Stages not built yet: each throws so that a run cannot pass for a working compile.
#include <stdexcept>

#include "compiler/codici_gara.h"
#include "compiler/file_compilati.h"
#include "compiler/finitura.h"
#include "compiler/lettore_linea.h"
#include "compiler/lettore_treno.h"
#include "writers/scrittori.h"

namespace brunavia {
namespace {
[[noreturn]] void manca(const char* cosa) { throw std::logic_error(std::string(cosa) + ": da costruire"); }
}  // namespace

EsitoLinea leggi_descrizione_linea(Form1&, std::string_view, StatoLinea&) { manca("lettore linea"); }
void progressive_ordina(Form1&) { manca("progressive_ordina"); }
void leggi_descrizione_treno(Form1&, std::string_view, std::int32_t) { manca("lettore treno"); }
void applica_finitura(Form1&) { manca("finitura"); }
std::int16_t codice_gara_og(const Form1&) { manca("codice_gara_og"); }
std::int32_t codice_gara_st(const Form1&) { manca("codice_gara_st"); }
void timbra_modello(Form1&) { manca("timbri"); }
std::string serializza_tracciato(const Tracciato&) { manca("tracciato"); }
std::string serializza_tabella(const Form1&) { manca("tabella"); }
std::string serializza_celle(const Form1&) { manca("celle"); }
void scrivi_file_compilati(const Form1&, const std::filesystem::path&) { manca("file compilati"); }
std::vector<std::string> righe_linea() { manca("righe_linea"); }
std::vector<std::string> righe_treno() { manca("righe_treno"); }
std::vector<std::string> righe_note() { manca("righe_note"); }
std::vector<std::string> righe_rallentamenti() { manca("righe_rallentamenti"); }
std::vector<std::string> righe_scheda() { manca("righe_scheda"); }

}  // namespace brunavia
