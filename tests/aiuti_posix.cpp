// The test helpers that start programs, on POSIX: fork and exec, limits set in the child.
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "tests/aiuti.h"

namespace brunavia::prova {
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

// Replaces the child with `programma`; 127 when it cannot.
[[noreturn]] void esegui_nel_figlio(const std::filesystem::path& programma,
                                    const std::vector<std::string>& argomenti) {
    std::vector<char*> argv;
    std::string nome = programma.string();
    argv.push_back(nome.data());
    std::vector<std::string> copie = argomenti;
    for (auto& a : copie) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(nome.c_str(), argv.data());
    ::_exit(127);
}

int stato_di(int stato) {
    return WIFEXITED(stato) ? WEXITSTATUS(stato) : 128 + WTERMSIG(stato);
}

}  // namespace

std::set<std::string> nomi_in(const std::filesystem::path& cartella) {
    std::set<std::string> nomi;
    for (const auto& voce : std::filesystem::directory_iterator(cartella)) {
        nomi.insert(voce.path().filename().string());
    }
    return nomi;
}

bool limiti_disponibili() {
    return true;
}

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
        esegui_nel_figlio(programma, argomenti);
    }
    int stato = 0;
    ::waitpid(pid, &stato, 0);
    EsitoProcesso esito;
    esito.stato = stato_di(stato);
    esito.uscita = leggi_byte(out);
    esito.errori = leggi_byte(err);
    return esito;
}

struct ProcessoFiglio::Stato {
    pid_t pid = -1;
    int scrivi = -1;
    int leggi = -1;
};

ProcessoFiglio::ProcessoFiglio(const std::filesystem::path& programma,
                               const std::vector<std::string>& argomenti)
    : s_(std::make_unique<Stato>()) {
    int dentro[2], fuori[2];
    if (::pipe(dentro) != 0 || ::pipe(fuori) != 0) throw std::runtime_error("pipe");
    s_->pid = ::fork();
    if (s_->pid == 0) {
        ::dup2(dentro[0], 0);
        ::dup2(fuori[1], 1);
        ::close(dentro[1]);
        ::close(fuori[0]);
        esegui_nel_figlio(programma, argomenti);
    }
    ::close(dentro[0]);
    ::close(fuori[1]);
    s_->scrivi = dentro[1];
    s_->leggi = fuori[0];
}

ProcessoFiglio::~ProcessoFiglio() {
    chiudi_ingresso();
    if (s_->pid > 0) attendi();
    ::close(s_->leggi);
}

void ProcessoFiglio::scrivi(const std::string& byte) {
    std::size_t fatto = 0;
    while (fatto < byte.size()) {
        const ssize_t n = ::write(s_->scrivi, byte.data() + fatto, byte.size() - fatto);
        if (n <= 0) throw std::runtime_error("write");
        fatto += static_cast<std::size_t>(n);
    }
}

std::string ProcessoFiglio::leggi(std::chrono::milliseconds attesa) {
    pollfd p{s_->leggi, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(attesa.count())) <= 0) return {};
    char buf[65536];
    const ssize_t n = ::read(s_->leggi, buf, sizeof buf);
    if (n <= 0) return {};
    return std::string(buf, static_cast<std::size_t>(n));
}

void ProcessoFiglio::chiudi_ingresso() {
    if (s_->scrivi >= 0) ::close(s_->scrivi);
    s_->scrivi = -1;
}

int ProcessoFiglio::attendi() {
    int stato = 0;
    ::waitpid(s_->pid, &stato, 0);
    s_->pid = -1;
    return stato_di(stato);
}

void imposta_variabile(const std::string& nome, const std::string& valore) {
    ::setenv(nome.c_str(), valore.c_str(), 1);
}

}  // namespace brunavia::prova
