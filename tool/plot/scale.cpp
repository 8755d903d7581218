#include "tool/plot/scale.h"

#include <cmath>
#include <initializer_list>

namespace brunavia::strumento::disegno {

double passo_tondo(double grezzo) {
    if (!(grezzo > 0)) return 1;
    const double e = std::pow(10.0, std::floor(std::log10(grezzo)));
    for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (m * e >= grezzo * 0.999) return m * e;
    }
    return 10 * e;
}

double tondo_sotto(double massimo) {
    const double e = std::pow(10.0, std::floor(std::log10(massimo)));
    for (const double m : {5.0, 2.0, 1.0}) {
        if (m * e <= massimo) return m * e;
    }
    return e;
}

ScalaY scala_per(double minimo, double massimo, double alto, double altezza) {
    if (!(massimo > minimo)) massimo = minimo + 1;
    const double passo = passo_tondo((massimo - minimo) / 4);
    return {std::floor(minimo / passo) * passo, std::ceil(massimo / passo) * passo, alto, altezza,
            passo};
}

std::vector<double> tacche(const ScalaY& s) {
    std::vector<double> valori;
    const auto primo = static_cast<long long>(std::llround(s.minimo / s.passo));
    const auto ultimo = static_cast<long long>(std::llround(s.massimo / s.passo));
    // Counted in whole steps, so that 0 comes out exactly 0.
    for (long long i = primo; i <= ultimo; ++i) valori.push_back(static_cast<double>(i) * s.passo);
    return valori;
}

}  // namespace brunavia::strumento::disegno
