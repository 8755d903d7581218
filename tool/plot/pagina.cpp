#include "tool/plot/pagina.h"

#include <algorithm>
#include <cstdio>

#include "tool/plot/stile.h"
#include "tool/testo.h"

namespace brunavia::strumento {
namespace disegno {

std::string n(double v) {
    char t[32];
    std::snprintf(t, sizeof t, "%.1f", v);
    return t;
}

void Pagina::testo(double x, double y, std::string_view t, double corpo, std::string_view ancora,
                   std::string_view attributi) {
    const double w = larghezza_testo(t, corpo);
    const double sinistra = ancora == "middle" ? x - w / 2 : ancora == "end" ? x - w : x;
    scritte_.push_back(
        {sinistra, y - ascesa_testo(corpo), w, altezza_testo(corpo), std::string(t)});
    svg_ += "<text x=\"" + n(x) + "\" y=\"" + n(y) + "\" font-size=\"" + n(corpo) +
            "\" text-anchor=\"" + std::string(ancora) + "\"";
    if (!attributi.empty()) svg_ += " " + std::string(attributi);
    svg_ += ">" + testo_xml(t) + "</text>\n";
}

void Pagina::linea(double x1, double y1, double x2, double y2, std::string_view tratto) {
    svg_ += "<line x1=\"" + n(x1) + "\" y1=\"" + n(y1) + "\" x2=\"" + n(x2) + "\" y2=\"" + n(y2) +
            "\" " + std::string(tratto) + "/>\n";
}

void Pagina::linea_verticale_libera(double x, double y1, double y2, std::string_view tratto) {
    constexpr double kAria = 2;  // kept free around a text
    std::vector<std::pair<double, double>> vuoti;
    for (const Scritta& s : scritte_) {
        if (x >= s.x - kAria && x <= s.x + s.larghezza + kAria)
            vuoti.emplace_back(s.y - kAria, s.y + s.altezza + kAria);
    }
    std::sort(vuoti.begin(), vuoti.end());
    double da = y1;
    for (const auto& [inizio, fine] : vuoti) {
        if (inizio > da) linea(x, da, x, std::min(inizio, y2), tratto);
        da = std::max(da, fine);
        if (da >= y2) return;
    }
    linea(x, da, x, y2, tratto);
}

void Pagina::rettangolo(double x, double y, double w, double h, std::string_view stile,
                        std::string_view titolo) {
    forma("rect x=\"" + n(x) + "\" y=\"" + n(y) + "\" width=\"" + n(std::max(w, 0.5)) +
              "\" height=\"" + n(h) + "\" " + std::string(stile),
          "rect", titolo);
}

void Pagina::percorso(const std::string& d, std::string_view stile, std::string_view titolo) {
    forma("path d=\"" + d + "\" " + std::string(stile), "path", titolo);
}

void Pagina::cerchio(double x, double y, double r, std::string_view stile,
                     std::string_view titolo) {
    forma("circle cx=\"" + n(x) + "\" cy=\"" + n(y) + "\" r=\"" + n(r) + "\" " + std::string(stile),
          "circle", titolo);
}

void Pagina::polilinea(const std::vector<std::pair<double, double>>& punti,
                       std::string_view stile) {
    if (punti.size() < 2) return;
    std::string p;
    for (const auto& [x, y] : punti) p += n(x) + "," + n(y) + " ";
    svg_ += "<polyline fill=\"none\" points=\"" + p + "\" " + std::string(stile) + "/>\n";
}

void Pagina::poligono(const std::vector<std::pair<double, double>>& punti, std::string_view stile) {
    if (punti.size() < 3) return;
    std::string p;
    for (const auto& [x, y] : punti) p += n(x) + "," + n(y) + " ";
    svg_ += "<polygon points=\"" + p + "\" " + std::string(stile) + "/>\n";
}

Disegno Pagina::chiudi(double altezza) && {
    Disegno d;
    d.svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
        n(kLarghezzaPagina) + "\" height=\"" + n(altezza) + "\" viewBox=\"0 0 " +
        n(kLarghezzaPagina) + " " + n(altezza) + "\" font-family=\"" + kCarattere +
        "\">\n<rect x=\"0\" y=\"0\" width=\"" + n(kLarghezzaPagina) + "\" height=\"" + n(altezza) +
        "\" fill=\"#ffffff\"/>\n" + svg_ + "</svg>\n";
    d.scritte = std::move(scritte_);
    return d;
}

void Pagina::forma(const std::string& apertura, std::string_view elemento,
                   std::string_view titolo) {
    if (titolo.empty()) {
        svg_ += "<" + apertura + "/>\n";
    } else {
        svg_ += "<" + apertura + "><title>" + testo_xml(titolo) + "</title></" +
                std::string(elemento) + ">\n";
    }
}

std::string riempi(const char* c) {
    return std::string("fill=\"") + c + "\"";
}
std::string tratto(const char* c, double spessore) {
    return std::string("stroke=\"") + c + "\" stroke-width=\"" + n(spessore) + "\"";
}
std::string contorno(const char* c, double spessore) {
    return "fill=\"none\" " + tratto(c, spessore);
}

std::string triangolo(double x, double base, double alto, double mezza) {
    return "M" + n(x - mezza) + "," + n(base) + " L" + n(x + mezza) + "," + n(base) + " L" + n(x) +
           "," + n(alto) + " Z";
}

std::string rombo(double x, double y, double r) {
    return "M" + n(x) + "," + n(y - r) + " L" + n(x + r) + "," + n(y) + " L" + n(x) + "," +
           n(y + r) + " L" + n(x - r) + "," + n(y) + " Z";
}

}  // namespace disegno

double larghezza_testo(std::string_view utf8, double corpo) {
    double em = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xC0) == 0x80) continue;  // continuation byte of a UTF-8 character
        if (c == 'M' || c == 'W' || c == 'm' || c == 'w') {
            em += 1.0;
        } else if (c >= 'A' && c <= 'Z') {
            em += 0.8;
        } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            em += 0.65;
        } else if (c == ' ' || c == '.' || c == ',' || c == ':' || c == '\'' || c == 'i' ||
                   c == 'l') {
            em += 0.35;
        } else if (c < 0x80) {
            em += 0.6;
        } else {
            em += 0.8;
        }
    }
    return em * corpo;
}

}  // namespace brunavia::strumento
