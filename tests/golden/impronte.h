#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/golden/generatore.h"

// What the corpus stores of each case's compile: the errors, the files written and, per file,
// its SHA-256 with short digests of its records, enough to name the first record and member
// that changed without keeping the files.
namespace brunavia::golden {

// A compiled file's records as member values.
struct Vista;

// One compiled file, fingerprinted. Records: cells, table rows, or blocks of plan points.
struct ImprontaFile {
    std::string nome;  // dat, sim, linea
    std::string sha256;
    std::size_t record = 0;
    std::vector<std::uint16_t> colonne;  // per member, over every record
    std::vector<std::uint16_t> righe;    // per record
    // The file itself and its records, for a fresh compile only.
    std::string byte;
    std::shared_ptr<const Vista> vista;
};

struct ImprontaCaso {
    std::string famiglia;
    std::uint64_t seme = 0;
    std::string descrizione;
    std::uint32_t ingressi = 0;  // digest of the two description texts
    int flag = 1;
    std::string errori;              // "25@-,15@5000": number and position of each recorded error
    std::string fermata;             // the error that stopped the compile, or "-"
    std::vector<ImprontaFile> file;  // the files written, in the order linea, sim, dat
};

// The compile of a case, the same as the tool's (same library path and observer), in memory.
ImprontaCaso impronta(const Caso& c);

// The corpus file's text, and back. A line the parser cannot read throws std::runtime_error.
std::string scrivi_impronte(const std::vector<ImprontaCaso>& casi);
std::vector<ImprontaCaso> leggi_impronte(const std::string& testo);

// Empty when the case compiles as blessed; else what differs first, decoded to the record and
// member (cell, table row, plan points), with the value the code makes now.
std::string differenza(const ImprontaCaso& attesa, const ImprontaCaso& ottenuta);

}  // namespace brunavia::golden
