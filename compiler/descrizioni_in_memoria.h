#pragma once

#include <optional>
#include <string>
#include <utility>

#include "compiler/memorizza.h"

namespace brunavia {

// Description texts held in memory, for compiles that touch no file. A missing text stands
// for a missing file; "deleting" forgets the text and is remembered.
class DescrizioniInMemoria : public Descrizioni {
public:
    DescrizioniInMemoria(std::optional<std::string> linea, std::optional<std::string> treno)
        : linea_(std::move(linea)), treno_(std::move(treno)) {}
    const std::optional<std::string>& linea() override { return linea_; }
    const std::optional<std::string>& treno() override { return treno_; }
    void elimina_linea() override { linea_.reset(); }
    void elimina_treno() override { treno_.reset(); }
    bool linea_presente() const { return linea_.has_value(); }
    bool treno_presente() const { return treno_.has_value(); }

private:
    std::optional<std::string> linea_;
    std::optional<std::string> treno_;
};

}  // namespace brunavia
