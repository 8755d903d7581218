#include "tool/plot/legenda.h"

#include "tool/plot/stile.h"

namespace brunavia::strumento::disegno {
namespace {

enum class Simbolo {
    area,
    linea,
    tratteggio,
    triangolo,
    triangolo_vuoto,
    quadrato,
    rombo,
    cerchio,
    cerchio_vuoto,
    fascia
};

struct VoceLegenda {
    Simbolo simbolo;
    const char* colore;
    const char* testo;
};

const VoceLegenda kLegenda[] = {
    {Simbolo::area, colore::profilo, "profilo altimetrico"},
    {Simbolo::fascia, colore::montagna[0], "montagna tipo 1"},
    {Simbolo::fascia, colore::montagna[1], "montagna tipo 2"},
    {Simbolo::fascia, colore::montagna[2], "montagna tipo 3"},
    {Simbolo::linea, colore::pendenza, "pendenza (per mille)"},
    {Simbolo::linea, colore::velocita, "velocità massima del treno"},
    {Simbolo::linea, colore::aderenza, "aderenza"},
    {Simbolo::tratteggio, colore::linea, "fine della linea"},
    {Simbolo::fascia, colore::zona, "zona di stazione"},
    {Simbolo::triangolo, colore::segnale, "segnale"},
    {Simbolo::quadrato, colore::indicatore_v,
     "cartello V max (km/h a/b/c, sinistra|destra; ?N codice ambiguo)"},
    {Simbolo::rombo, colore::cartello, "cartello indicatore"},
    {Simbolo::quadrato, colore::rallentamento, "rallentamento"},
    {Simbolo::triangolo_vuoto, colore::rallentamento, "avviso di rallentamento"},
    {Simbolo::cerchio, colore::marcatore, "marcatore"},
    {Simbolo::cerchio_vuoto, colore::marcatore, "abbattimento nullo"},
};

void simbolo_legenda(Pagina& p, const VoceLegenda& v, double x, double y) {
    switch (v.simbolo) {
        case Simbolo::area:
        case Simbolo::fascia:
        case Simbolo::quadrato:
            p.rettangolo(x, y - 9, 18, 10, riempi(v.colore));
            break;
        case Simbolo::linea:
            p.linea(x, y - 4, x + 18, y - 4, tratto(v.colore, 2));
            break;
        case Simbolo::tratteggio:
            p.linea(x + 9, y - 11, x + 9, y + 3, tratto(v.colore, 1) + " stroke-dasharray=\"4,2\"");
            break;
        case Simbolo::triangolo:
            p.percorso(triangolo(x + 9, y + 1, y - 10, 5), riempi(v.colore));
            break;
        case Simbolo::triangolo_vuoto:
            p.percorso(triangolo(x + 9, y + 1, y - 10, 5),
                       tratto(v.colore, 1.5) + " fill=\"#ffffff\"");
            break;
        case Simbolo::cerchio_vuoto:
            p.cerchio(x + 9, y - 4, 3.5, contorno(v.colore, 1.5));
            break;
        case Simbolo::rombo:
            p.percorso(rombo(x + 9, y - 4, 5), riempi(v.colore));
            break;
        case Simbolo::cerchio:
            p.cerchio(x + 9, y - 4, 4, riempi(v.colore));
            break;
    }
}

}  // namespace

double legenda(Pagina& p, double y) {
    p.testo(kMargineSinistro, y + 14, "Legenda", kCorpoPannello, "start", "font-weight=\"bold\"");
    y += kSpazioTitolo + 12;
    double x = kMargineSinistro;
    for (const VoceLegenda& v : kLegenda) {
        const double w = 24 + larghezza_testo(v.testo, kCorpoTraccia) + 26;
        if (x + w > kDestraArea) {
            x = kMargineSinistro;
            y += 20;
        }
        simbolo_legenda(p, v, x, y);
        p.testo(x + 24, y, v.testo, kCorpoTraccia);
        x += w;
    }
    return y + 20;
}

}  // namespace brunavia::strumento::disegno
