// The SVG page: texts, lines and shapes, each text remembered with the box it takes, and the
// stroke and fill attributes shared by every part of the drawing.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tool/plot/disegno.h"

namespace brunavia::strumento::disegno {

// A coordinate or size as the SVG text writes it (one decimal).
std::string n(double v);

// The box of a text line at font size `corpo`: its height, and how far its top lies above the
// baseline.
inline double altezza_testo(double corpo) {
    return corpo * 1.25;
}
inline double ascesa_testo(double corpo) {
    return corpo * 0.95;
}

class Pagina {
public:
    // A text with its baseline at `y`; `ancora` is "start", "middle" or "end".
    void testo(double x, double y, std::string_view t, double corpo,
               std::string_view ancora = "start", std::string_view attributi = "");
    void linea(double x1, double y1, double x2, double y2, std::string_view tratto);
    // A vertical line from `y1` down to `y2` with a gap wherever it would cross a text already
    // on the page.
    void linea_verticale_libera(double x, double y1, double y2, std::string_view tratto);
    void rettangolo(double x, double y, double w, double h, std::string_view stile,
                    std::string_view titolo = "");
    void percorso(const std::string& d, std::string_view stile, std::string_view titolo = "");
    void cerchio(double x, double y, double r, std::string_view stile,
                 std::string_view titolo = "");
    void polilinea(const std::vector<std::pair<double, double>>& punti, std::string_view stile);
    void poligono(const std::vector<std::pair<double, double>>& punti, std::string_view stile);

    Disegno chiudi(double altezza) &&;

private:
    // A shape, with a tooltip when `titolo` is given.
    void forma(const std::string& apertura, std::string_view elemento, std::string_view titolo);

    std::string svg_;
    std::vector<Scritta> scritte_;
};

std::string riempi(const char* c);
std::string tratto(const char* c, double spessore = 1);
// An outline only: a stroke and no fill.
std::string contorno(const char* c, double spessore = 1);

// Path data of a triangle pointing up (apex at `alto`) and of a diamond.
std::string triangolo(double x, double base, double alto, double mezza);
std::string rombo(double x, double y, double r);

}  // namespace brunavia::strumento::disegno
