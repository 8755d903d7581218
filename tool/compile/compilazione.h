#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "compiler/memorizza.h"
#include "compiler/modello.h"
#include "tool/diagnosi.h"

namespace brunavia::strumento {

// What `compile` is asked to do.
struct OpzioniCompila {
    std::filesystem::path linea;             // line description
    std::filesystem::path treno;             // train description
    std::filesystem::path cartella = ".";    // where the compiled files go
    std::string nome_scenario = "Brunavia";  // names of the compiled files and table rows 85
    std::string numero_treno = "706";        // and 86
    // A name that neither an option nor the files' names gave: the default, said on one line.
    bool scenario_predefinito = false;
    bool treno_predefinito = false;
    bool avvisi = true;  // check's warnings after the errors (--no-warnings: none)
};

// Two description files named by the author: read when the compile asks for them and never
// deleted. The texts read are kept, so that an error can show its line.
class DescrizioniDaFile : public Descrizioni {
public:
    DescrizioniDaFile(std::filesystem::path linea, std::filesystem::path treno)
        : percorso_linea_(std::move(linea)), percorso_treno_(std::move(treno)) {}
    const std::optional<std::string>& linea() override;
    const std::optional<std::string>& treno() override;
    void elimina_linea() override {}
    void elimina_treno() override {}

    const std::optional<std::string>& testo_linea() const { return linea_; }
    const std::optional<std::string>& testo_treno() const { return treno_; }

private:
    std::filesystem::path percorso_linea_;
    std::filesystem::path percorso_treno_;
    std::optional<std::string> linea_;
    std::optional<std::string> treno_;
};

// The names of the two files and of the scenario, with the texts read, for the reports.
Sorgenti sorgenti_di(const OpzioniCompila& o, const DescrizioniDaFile& d);

// The compile of the program on the given files: same model, rules and compiled bytes, files
// written into `o.cartella`. Every recorded error is reported on `errori` (with a note of the
// lines a stopped reader left unread), then check's warnings about the rows read; the names of
// the files written on `uscita`. Returns the program's exit status, whatever the warnings: 0,
// 1 (stopped by a file failure or errors 1250 and 1251), 2 (an error recorded).
int compila_descrizioni(const OpzioniCompila& o, std::ostream& uscita, std::ostream& errori);

}  // namespace brunavia::strumento
