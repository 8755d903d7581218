#include "tests/aiuti.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <random>

#include "writers/scrittori.h"

namespace brunavia::prova {

CartellaTemporanea::CartellaTemporanea() {
    std::random_device rd;
    for (;;) {
        auto nome = "brunavia-prova-" + std::to_string(rd()) + std::to_string(::getpid());
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

namespace {
// Applies the limits in the child; false when one cannot be applied.
bool applica(const Limiti& limiti) {
    if (limiti.dimensione_massima_file >= 0) {
        const rlimit r{static_cast<rlim_t>(limiti.dimensione_massima_file),
                       static_cast<rlim_t>(limiti.dimensione_massima_file)};
        if (::setrlimit(RLIMIT_FSIZE, &r) != 0) return false;
    }
    if (limiti.senza_privilegi && ::getuid() == 0) {
        constexpr uid_t nessuno = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setgid(nessuno) != 0 || ::setuid(nessuno) != 0) {
            return false;
        }
    }
    return true;
}
}  // namespace

EsitoProcesso esegui(const std::filesystem::path& programma,
                     const std::vector<std::string>& argomenti,
                     const std::filesystem::path& cartella_lavoro, Limiti limiti) {
    CartellaTemporanea flussi;
    const auto out = flussi / "out";
    const auto err = flussi / "err";
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!std::freopen(out.c_str(), "w", stdout) || !std::freopen(err.c_str(), "w", stderr)) {
            ::_exit(127);
        }
        if (::chdir(cartella_lavoro.c_str()) != 0 || !applica(limiti)) ::_exit(127);
        std::vector<char*> argv;
        std::string nome = programma.string();
        argv.push_back(nome.data());
        std::vector<std::string> copie = argomenti;
        for (auto& a : copie) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(nome.c_str(), argv.data());
        ::_exit(127);
    }
    int stato = 0;
    ::waitpid(pid, &stato, 0);
    EsitoProcesso esito;
    esito.stato = WIFEXITED(stato) ? WEXITSTATUS(stato) : 128 + WTERMSIG(stato);
    esito.uscita = leggi_byte(out);
    esito.errori = leggi_byte(err);
    return esito;
}

std::filesystem::path copia_programma(const std::filesystem::path& cartella) {
    const auto copia = cartella / "brunavia";
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
