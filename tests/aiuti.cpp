#include "tests/aiuti.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

#include "io/sistema.h"
#include "writers/scrittori.h"

namespace brunavia::prova {

CartellaTemporanea::CartellaTemporanea() {
    std::random_device rd;
    for (;;) {
        auto nome = "brunavia-prova-" + std::to_string(rd()) + std::to_string(rd());
        percorso_ = std::filesystem::temp_directory_path() / nome;
        if (std::filesystem::create_directory(percorso_)) break;
    }
}

CartellaTemporanea::~CartellaTemporanea() {
    std::error_code ec;
    // Folders made read-only by a test must be writable again to be removed.
    std::filesystem::permissions(percorso_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(percorso_, ec);
}

std::filesystem::path CartellaTemporanea::operator/(const std::string& nome) const {
    return percorso_ / percorso_utf8(nome);
}

std::string leggi_byte(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    EXPECT_TRUE(in.good()) << "impossibile leggere " << file;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void scrivi_byte(const std::filesystem::path& file, const std::string& contenuto) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << contenuto;
    ASSERT_TRUE(out.good()) << "impossibile scrivere " << file;
}

std::function<std::string()> suffissi(std::vector<std::string> lista) {
    return [lista = std::move(lista), i = std::size_t{0}]() mutable {
        return lista[std::min(i++, lista.size() - 1)];
    };
}

std::vector<std::string> righe_crlf(const std::string& byte) {
    std::vector<std::string> righe;
    std::size_t inizio = 0;
    while (inizio < byte.size()) {
        const auto fine = byte.find("\r\n", inizio);
        if (fine == std::string::npos) {
            ADD_FAILURE() << "l'ultima riga non termina con CR LF";
            righe.push_back(byte.substr(inizio));
            break;
        }
        const std::string riga = byte.substr(inizio, fine - inizio);
        EXPECT_EQ(riga.find_first_of("\r\n"), std::string::npos) << "fine riga isolata: " << riga;
        righe.push_back(riga);
        inizio = fine + 2;
    }
    return righe;
}

FileScritto scrivi_e_rileggi(std::int32_t (*scrittore)(const LuogoFile&), const std::string& nome) {
    CartellaTemporanea cartella;
    Form1 f;
    f.cartella = cartella.percorso();
    scrittore(f);
    FileScritto scritto;
    scritto.indice = scrittore(f);
    scritto.byte = leggi_byte(cartella / nome);
    scritto.righe = righe_crlf(scritto.byte);
    return scritto;
}

std::filesystem::path copia_programma(const std::filesystem::path& cartella) {
    const auto copia = cartella / std::filesystem::path(BRUNAVIA_EXE).filename();
    std::filesystem::copy_file(BRUNAVIA_EXE, copia,
                               std::filesystem::copy_options::overwrite_existing);
    return copia;
}

void scrivi_descrizioni(const std::filesystem::path& cartella, const std::string& scenario,
                        const std::string& treno) {
    LuogoFile f;
    f.cartella = cartella;
    f.nome_scenario = scenario;
    f.numero_treno = treno;
    dati_linea(f);
    dati_treno(f);
}

}  // namespace brunavia::prova
