#pragma once

#include <cstddef>

// The layout of the compiled records: their members in file order. The compiled-file writer
// and the authors' tool's decoder both walk these lists, so the order lives in one place.
namespace brunavia {

// Bytes of one cell record (.dat) and of one table row (.sim) without its text.
inline constexpr std::size_t kByteCella = 15;
inline constexpr std::size_t kByteVoceSenzaTesto = 34;
// A plan value starts with its 2-byte type code.
inline constexpr std::size_t kByteTipoPunto = 2;

// Calls `visita(member, name)` for each member of a cell, in file order.
template <typename Cella, typename Visita>
void membri_cella(Cella& c, Visita&& visita) {
    visita(c.tipo_cella, "tipo_cella");
    visita(c.dato0, "dato0");
    visita(c.dato1, "dato1");
    visita(c.dato2, "dato2");
    visita(c.dato3, "dato3");
    visita(c.attributo1, "attributo1");
    visita(c.attributo2, "attributo2");
    visita(c.attributo3, "attributo3");
    visita(c.attributo4, "attributo4");
    visita(c.attributo5, "attributo5");
    visita(c.attributo6, "attributo6");
}

// Calls `visita(member, name)` for each member of a table row, in file order; the text is
// written as its 16-bit length and its bytes.
template <typename Voce, typename Visita>
void membri_voce(Voce& v, Visita&& visita) {
    visita(v.segno, "segno");
    visita(v.valore1, "valore1");
    visita(v.valore2, "valore2");
    visita(v.valore3, "valore3");
    visita(v.segno2, "segno2");
    visita(v.testo, "testo");
    visita(v.numero1, "numero1");
    visita(v.numero2, "numero2");
    visita(v.numero3, "numero3");
    visita(v.numero4, "numero4");
    visita(v.numero5, "numero5");
    visita(v.opzione1, "opzione1");
    visita(v.opzione2, "opzione2");
    visita(v.opzione3, "opzione3");
    visita(v.opzione4, "opzione4");
    visita(v.codice, "codice");
}

}  // namespace brunavia
