// The test helpers that start programs, on Windows: CreateProcessW with the arguments quoted by
// the rules the C run-time splits them with, the standard streams on pipes.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

#include "io/sistema.h"
#include "tests/aiuti.h"

namespace brunavia::prova {
namespace {

std::wstring largo(const std::string& testo) {
    if (testo.empty()) return {};
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), nullptr, 0);
    std::wstring r(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), r.data(), n);
    return r;
}

// One argument as the run-time reads it back: quoted when it has blanks or quotes (or is
// empty); inside quotes a quote is escaped, and so is each backslash that comes before a quote
// or before the closing one.
std::wstring citato(const std::wstring& a) {
    if (!a.empty() && a.find_first_of(L" \t\n\v\"") == std::wstring::npos) return a;
    std::wstring r = L"\"";
    for (auto c = a.begin();; ++c) {
        std::size_t barre = 0;
        for (; c != a.end() && *c == L'\\'; ++c) ++barre;
        if (c == a.end()) {
            r.append(barre * 2, L'\\');
            break;
        }
        r.append(*c == L'"' ? barre * 2 + 1 : barre, L'\\');
        r.push_back(*c);
    }
    return r + L"\"";
}

std::wstring riga_di_comando(const std::filesystem::path& programma,
                             const std::vector<std::string>& argomenti) {
    std::wstring riga = citato(programma.wstring());
    for (const auto& a : argomenti) riga += L" " + citato(largo(a));
    return riga;
}

// A pipe whose end given to the child is inherited and whose other end is not.
struct Tubo {
    HANDLE leggi = nullptr;
    HANDLE scrivi = nullptr;
};
Tubo tubo(bool figlio_legge) {
    SECURITY_ATTRIBUTES ereditabile{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    Tubo t;
    if (!::CreatePipe(&t.leggi, &t.scrivi, &ereditabile, 0)) throw std::runtime_error("CreatePipe");
    ::SetHandleInformation(figlio_legge ? t.scrivi : t.leggi, HANDLE_FLAG_INHERIT, 0);
    return t;
}

HANDLE nul_ereditabile() {
    SECURITY_ATTRIBUTES ereditabile{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return ::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         &ereditabile, OPEN_EXISTING, 0, nullptr);
}

void chiudi(HANDLE& h) {
    if (h != nullptr && h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    h = nullptr;
}

// Starts the program with the given standard handles (inherited); its process handle.
HANDLE avvia(const std::filesystem::path& programma, const std::vector<std::string>& argomenti,
             const std::filesystem::path& cartella_lavoro, HANDLE ingresso, HANDLE uscita,
             HANDLE errori) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = ingresso;
    si.hStdOutput = uscita;
    si.hStdError = errori;
    PROCESS_INFORMATION pi{};
    std::wstring riga = riga_di_comando(programma, argomenti);
    const std::wstring cartella = cartella_lavoro.wstring();
    if (!::CreateProcessW(programma.wstring().c_str(), riga.data(), nullptr, nullptr, TRUE,
                          CREATE_NO_WINDOW, nullptr, cartella.empty() ? nullptr : cartella.c_str(),
                          &si, &pi)) {
        throw std::runtime_error("impossibile avviare " + programma.string() + ": errore " +
                                 std::to_string(::GetLastError()));
    }
    ::CloseHandle(pi.hThread);
    return pi.hProcess;
}

int attendi_processo(HANDLE processo) {
    ::WaitForSingleObject(processo, INFINITE);
    DWORD stato = 0;
    ::GetExitCodeProcess(processo, &stato);
    ::CloseHandle(processo);
    return static_cast<int>(stato);
}

// Everything until the writer closes its end.
std::string leggi_tutto(HANDLE h) {
    std::string r;
    char buf[65536];
    DWORD n = 0;
    while (::ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) r.append(buf, n);
    return r;
}

// A stream written in text mode, read back as text: CR LF becomes LF.
std::string come_testo(std::string byte) {
    std::size_t scritti = 0;
    for (std::size_t i = 0; i < byte.size(); ++i) {
        if (byte[i] == '\r' && i + 1 < byte.size() && byte[i + 1] == '\n') continue;
        byte[scritti++] = byte[i];
    }
    byte.resize(scritti);
    return byte;
}

}  // namespace

std::set<std::string> nomi_in(const std::filesystem::path& cartella) {
    // The "\\?\" prefix lifts the old limit, which the run-time's directory listing keeps.
    auto percorso = std::filesystem::absolute(cartella).lexically_normal();
    if (!percorso.has_filename()) percorso = percorso.parent_path();
    const std::wstring modello = L"\\\\?\\" + percorso.make_preferred().wstring() + L"\\*";
    std::set<std::string> nomi;
    WIN32_FIND_DATAW voce;
    const HANDLE h = ::FindFirstFileW(modello.c_str(), &voce);
    if (h == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "impossibile elencare " << cartella.string();
        return nomi;
    }
    do {
        const std::wstring nome = voce.cFileName;
        if (nome != L"." && nome != L"..") nomi.insert(utf8_di(nome));
    } while (::FindNextFileW(h, &voce));
    ::FindClose(h);
    return nomi;
}

bool limiti_disponibili() {
    return false;
}

EsitoProcesso esegui(const std::filesystem::path& programma,
                     const std::vector<std::string>& argomenti,
                     const std::filesystem::path& cartella_lavoro, Limiti limiti) {
    EsitoProcesso esito;
    if (!limiti.nessuno()) {
        ADD_FAILURE() << kSenzaLimiti;
        return esito;
    }
    Tubo uscita = tubo(false);
    Tubo errori = tubo(false);
    HANDLE nul = nul_ereditabile();
    HANDLE processo = nullptr;
    try {
        processo = avvia(programma, argomenti, cartella_lavoro, nul, uscita.scrivi, errori.scrivi);
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
    }
    // Only the child keeps the writing ends: each stream ends when the child does.
    chiudi(nul);
    chiudi(uscita.scrivi);
    chiudi(errori.scrivi);
    // Both streams at once, so that a child filling one while the other waits never blocks.
    std::string testo_errori;
    std::thread lettore([&] { testo_errori = leggi_tutto(errori.leggi); });
    esito.uscita = come_testo(leggi_tutto(uscita.leggi));
    lettore.join();
    esito.errori = come_testo(testo_errori);
    chiudi(uscita.leggi);
    chiudi(errori.leggi);
    if (processo != nullptr) esito.stato = attendi_processo(processo);
    return esito;
}

struct ProcessoFiglio::Stato {
    HANDLE processo = nullptr;
    HANDLE scrivi = nullptr;
    HANDLE leggi = nullptr;
};

ProcessoFiglio::ProcessoFiglio(const std::filesystem::path& programma,
                               const std::vector<std::string>& argomenti)
    : s_(std::make_unique<Stato>()) {
    Tubo ingresso = tubo(true);
    Tubo uscita = tubo(false);
    HANDLE nul = nul_ereditabile();
    try {
        s_->processo = avvia(programma, argomenti, {}, ingresso.leggi, uscita.scrivi, nul);
    } catch (...) {
        for (HANDLE h : {ingresso.leggi, ingresso.scrivi, uscita.leggi, uscita.scrivi, nul}) {
            chiudi(h);
        }
        throw;
    }
    chiudi(ingresso.leggi);
    chiudi(uscita.scrivi);
    chiudi(nul);
    s_->scrivi = ingresso.scrivi;
    s_->leggi = uscita.leggi;
}

ProcessoFiglio::~ProcessoFiglio() {
    chiudi_ingresso();
    if (s_->processo != nullptr) attendi();
    chiudi(s_->leggi);
}

void ProcessoFiglio::scrivi(const std::string& byte) {
    std::size_t fatto = 0;
    while (fatto < byte.size()) {
        const auto blocco = static_cast<DWORD>(std::min<std::size_t>(byte.size() - fatto, 1 << 20));
        DWORD n = 0;
        if (!::WriteFile(s_->scrivi, byte.data() + fatto, blocco, &n, nullptr) || n == 0) {
            throw std::runtime_error("WriteFile");
        }
        fatto += n;
    }
}

std::string ProcessoFiglio::leggi(std::chrono::milliseconds attesa) {
    const auto fine = std::chrono::steady_clock::now() + attesa;
    for (;;) {
        DWORD disponibili = 0;
        // A pipe whose writer has gone fails here: the end of the output.
        if (!::PeekNamedPipe(s_->leggi, nullptr, 0, nullptr, &disponibili, nullptr)) return {};
        if (disponibili > 0) {
            char buf[65536];
            DWORD n = 0;
            const DWORD quanti = std::min<DWORD>(disponibili, sizeof buf);
            if (!::ReadFile(s_->leggi, buf, quanti, &n, nullptr)) return {};
            return std::string(buf, n);
        }
        if (std::chrono::steady_clock::now() >= fine) return {};
        ::Sleep(2);
    }
}

void ProcessoFiglio::chiudi_ingresso() {
    chiudi(s_->scrivi);
}

int ProcessoFiglio::attendi() {
    const int stato = attendi_processo(s_->processo);
    s_->processo = nullptr;
    return stato;
}

void imposta_variabile(const std::string& nome, const std::string& valore) {
    ::_wputenv_s(largo(nome).c_str(), largo(valore).c_str());
}

}  // namespace brunavia::prova
