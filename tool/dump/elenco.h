#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <vector>

#include "tool/decodifica.h"

namespace brunavia::strumento {

// How `dump` shows a decoded file.
struct OpzioniElenco {
    bool json = false;
    // Cells and plan points from / to these metres (both included).
    std::optional<std::int64_t> da_metri;
    std::optional<std::int64_t> a_metri;
    std::int64_t ogni_metri = 1000;  // plan: one point every this many metres
};

// Every cell: index, metres, type by name, dato0-dato3, attributo1-attributo6.
void elenca_celle(const std::vector<cella>& celle, const OpzioniElenco& o, std::ostream& out);
// The 87 rows with their roles and every member that is set.
void elenca_tabella(const Tabella& t, const OpzioniElenco& o, std::ostream& out);
// Point count, bounding box and one point every `ogni_metri`.
void elenca_tracciato(const Tracciato& t, const OpzioniElenco& o, std::ostream& out);

}  // namespace brunavia::strumento
