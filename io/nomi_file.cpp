#include "io/nomi_file.h"

#include "io/sistema.h"

namespace brunavia {
namespace nomi_file {
namespace {
std::string del_treno(const LuogoFile& f, const std::string& coda) {
    return f.nome_scenario + "_" + f.numero_treno + coda;
}
}  // namespace

std::string descrizione_linea(const LuogoFile& f) {
    return f.nome_scenario + "_linea.txt";
}
std::string descrizione_treno(const LuogoFile& f) {
    return del_treno(f, "-.txt");
}
std::string scheda_treno(const LuogoFile& f) {
    return del_treno(f, "_scheda_treno.txt");
}
std::string rallentamenti(const LuogoFile& f) {
    return del_treno(f, "_rallentamenti.txt");
}
std::string note(const LuogoFile& f) {
    return del_treno(f, "_note.txt");
}
std::string piano_linea(const LuogoFile& f) {
    return f.nome_scenario + "_linea.dat";
}
std::string tabella_scenario(const LuogoFile& f) {
    return del_treno(f, ".sim");
}
std::string celle_treno(const LuogoFile& f) {
    return del_treno(f, ".dat");
}
}  // namespace nomi_file

std::filesystem::path percorso_di(const LuogoFile& f, const std::string& nome) {
    return f.cartella / percorso_utf8(nome);
}

}  // namespace brunavia
