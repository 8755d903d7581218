#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "io/file_atomico.h"

namespace brunavia {

// What a run shows its user, in the platform's own way: the waiting window, the error report
// and the answers to --help and --version.
class Schermo {
public:
    virtual ~Schermo() = default;
    // Shown before the first file is written; it stays until the end of the run.
    virtual void mostra_attesa() = 0;
    virtual void chiudi_attesa() = 0;
    // The error report (" Errore n. 1250"): waits for OK when the platform has a box.
    virtual void mostra_errore(const std::string& testo) = 0;
    // A failed file operation: the file, its folder and the reason.
    virtual void mostra_errore_file(const ErroreFile& e) = 0;
    // The answer to --help or --version, or to a command line the program does not take.
    virtual void mostra_testo(const std::string& testo, bool errore) = 0;
};

// The console: "Attendere" on `uscita`, errors on `errori`, one line each.
class SchermoConsole : public Schermo {
public:
    SchermoConsole(std::ostream& uscita, std::ostream& errori) : uscita_(uscita), errori_(errori) {}
    void mostra_attesa() override;
    void chiudi_attesa() override {}
    void mostra_errore(const std::string& testo) override;
    void mostra_errore_file(const ErroreFile& e) override;
    void mostra_testo(const std::string& testo, bool errore) override;

private:
    std::ostream& uscita_;
    std::ostream& errori_;
};

// The platform's own: the console on Linux; on Windows the waiting window and message boxes
// (schermo_win32.cpp).
std::unique_ptr<Schermo> schermo_di_sistema();

// The text of a message box that reports a failed file operation: the file, its folder and
// the reason, in Italian.
std::string testo_errore_file(const ErroreFile& e);

}  // namespace brunavia
