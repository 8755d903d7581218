#include "writers/formato_linea.h"

#include <algorithm>

namespace brunavia::linea {

std::string riga_curva(const Curva& c) {
    return "curva" + std::string(1, c.lato) + std::to_string(c.classe) + ",  " +
           std::to_string(c.inizio) + ",  " + std::to_string(c.lunghezza);
}

std::string riga_pendenza(const Pendenza& p, bool prima) {
    const char* dopo_chiave = prima ? ",   " : ",  ";
    const char* dopo_posizione = prima ? ",    " : ",   ";
    return "pendenza" + std::string(dopo_chiave) + std::to_string(p.posizione) + dopo_posizione +
           std::to_string(p.valore);
}

std::string riga_montagna(const Montagna& m) {
    return "montagna,   " + std::to_string(m.inizio) + ",  " + std::to_string(m.fine) + ",  " +
           std::to_string(m.tipo);
}

std::string riga_indicatore_vmax(const IndicatoreVmax& b) {
    // The right-hand board is absent: its three speeds stay empty and its stripes are 0.
    return "indicatori_vmax,  " + std::to_string(b.posizione) + ",  " +
           std::to_string(b.velocita_a) + ",  " + std::to_string(b.velocita_b) + ",  " +
           std::to_string(b.velocita_c) + ",  " + std::to_string(b.strisce) + ",  ,  ,  ,  0";
}

std::string testo_cartello(const std::array<std::string_view, 3>& gruppi) {
    std::size_t larghezza = 0;
    for (const auto g : gruppi) larghezza = std::max(larghezza, g.size());
    std::string testo;
    for (const auto g : gruppi) {
        if (g.empty()) continue;
        testo += '(';
        testo += g;
        testo.append(larghezza - g.size(), ' ');
        testo += ')';
    }
    return testo;
}

std::string riga_cartello(const CartelloIndicatore& c) {
    return "cartello_indicatore,  " + std::to_string(c.posizione) + ",   " +
           testo_cartello(c.gruppi);
}

}  // namespace brunavia::linea
