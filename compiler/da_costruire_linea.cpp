// Line half of the compiler not built yet: each stage throws.
#include <stdexcept>

#include "compiler/codici_gara.h"
#include "compiler/file_compilati.h"
#include "compiler/lettore_linea.h"

namespace brunavia {
namespace {
[[noreturn]] void manca(const char* cosa) {
    throw std::logic_error(std::string(cosa) + ": da costruire");
}
}  // namespace

EsitoLinea leggi_descrizione_linea(Form1&, std::string_view, StatoLinea&) {
    manca("lettore linea");
}
void progressive_ordina(Form1&) { manca("progressive_ordina"); }
std::int16_t codice_gara_og(const Form1&) { manca("codice_gara_og"); }
std::int32_t codice_gara_st(const Form1&) { manca("codice_gara_st"); }
void timbra_modello(Form1&) { manca("timbri"); }
std::string serializza_tracciato(const Tracciato&) { manca("tracciato"); }
std::string serializza_tabella(const Form1&) { manca("tabella"); }
std::string serializza_celle(const Form1&) { manca("celle"); }
void scrivi_file_compilati(const Form1&, const std::filesystem::path&) { manca("file compilati"); }
}  // namespace brunavia
