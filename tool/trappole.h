#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tool/diagnosi.h"
#include "tool/ordine_diagnosi.h"
#include "tool/registro_righe.h"

namespace brunavia::strumento {

// One kind of warning of `check`: its stable code and what it is about. Codes never change
// meaning.
struct TipoAvviso {
    std::string_view codice;
    std::string_view descrizione;
};
// Every warning kind, in the order of the README's table.
const std::vector<TipoAvviso>& tipi_di_avviso();

// The format's silent traps in what a reading saw (a reading that reads on after errors, so
// that every row is seen): rows ignored, read out of step, read twice, out of order, values
// stored other than written. One warning each, at the row or field concerned, handed to
// `ordine` as it is found; each file's are all handed on before the next file's. `linea` and
// `treno` are the texts read.
void trova_trappole(const RegistroRighe& registro, std::string_view linea, std::string_view treno,
                    OrdineDiagnosi& ordine);

// The edit distance of two words, a swap of neighbouring letters counting as one edit.
std::size_t distanza(std::string_view a, std::string_view b);

}  // namespace brunavia::strumento
