#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "compiler/modello.h"

namespace brunavia {

// Where a compile takes its two description texts from, and what it does with them once read.
class Descrizioni {
public:
    virtual ~Descrizioni() = default;
    // The text of the file, or nothing when the file is missing; held by the object until the
    // file is asked for again or removed, so that a large file is never copied. Throws
    // ErroreFile when an existing file cannot be read.
    virtual const std::optional<std::string>& linea() = 0;
    virtual const std::optional<std::string>& treno() = 0;
    // Removes the file once read (nothing when it is already gone).
    virtual void elimina_linea() = 0;
    virtual void elimina_treno() = 0;
};

// The two description files of the run in the program's folder; each is deleted once read.
class DescrizioniNellaCartella : public Descrizioni {
public:
    DescrizioniNellaCartella(std::filesystem::path linea, std::filesystem::path treno)
        : linea_(std::move(linea)), treno_(std::move(treno)) {}
    const std::optional<std::string>& linea() override;
    const std::optional<std::string>& treno() override;
    void elimina_linea() override;
    void elimina_treno() override;

private:
    std::filesystem::path linea_;
    std::filesystem::path treno_;
    std::optional<std::string> testo_linea_;
    std::optional<std::string> testo_treno_;
};

// Reads both descriptions into the model (line first; the train only when the line reading
// ended normally), with the clean-up of each exit path: a read failure records error 25 and
// removes whichever description is still there.
void memorizza_dati(Form1& f, Descrizioni& d);

// The train half of memorizza_dati, after a normal end of the line reading: reads the train
// description (`limite_cartelli` is the line reader's next free board row) and deletes it. A
// missing file or a read failure records error 25 and removes both description files.
void memorizza_treno(Form1& f, Descrizioni& d, std::int32_t limite_cartelli);

// Clears the table, reads both descriptions, applies the finishing rules and stamps the model.
// Returns false when the cells were never sized (nothing can be written then).
bool compila(Form1& f, std::int32_t flag, Descrizioni& d);

// The compile of the run: the description files of the program's folder, compiled files
// written beside them. With `j` non-zero the plan is built and written too.
void memorizza_percorso(Form1& f, std::int32_t& j);

}  // namespace brunavia
