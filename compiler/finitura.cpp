#include "compiler/finitura.h"

#include "compiler/posa_treno.h"

namespace brunavia {
namespace {

constexpr std::int16_t kValoreMarcatore = 180;

// Signals looked at before a warning board: up to this many cells back, none below cell 3.
constexpr std::int32_t kSguardoAvviso = 20;
constexpr std::int32_t kPrimaCellaGuardata = 3;

// The three approach windows before a slowdown's start: tried when the start lies beyond
// `oltre`, marking the first free cell of the three at these distances.
struct Finestra {
    std::int32_t oltre;
    std::int32_t distanze[3];
};
constexpr Finestra kFinestre[] = {{7, {5, 6, 7}}, {13, {11, 12, 13}}, {20, {18, 19, 20}}};

// Slowdowns at this speed or above get no inner markers.
constexpr std::int16_t kVelocitaSenzaInterni = 110;
// Cells between two inner markers.
constexpr std::int32_t kPassoInterni = 8;
// Cells after the slowdown's end searched for the signal that gets the exit marker.
constexpr std::int32_t kSguardoUscita = 12;

constexpr std::int32_t kErroreSegnale = 11;
constexpr std::int32_t kErroreAvvicinamento = 12;
constexpr std::int32_t kErroreInterno = 13;

// Position in metres of a cell (at most 20141 cells, far inside 32 bits).
std::int32_t metri(std::int32_t k) {
    return k * 50;
}

bool di_tipo(const Form1& f, std::int32_t k, std::uint8_t t) {
    return cella_a(f, k).tipo_cella == t;
}
bool libera(const Form1& f, std::int32_t k) {
    return cella_libera(cella_a(f, k));
}

void marca(Form1& f, std::int32_t k) {
    cella& c = cella_a(f, k);
    c.tipo_cella = tipo::marcatore;
    c.dato0 = kValoreMarcatore;
}

void abbassa_marcatore(Form1& f, std::int32_t k) {
    cella& c = cella_a(f, k);
    c.dato0 = minimo<std::int16_t>(kValoreMarcatore, c.dato0);
}

// A signal near a warning board needs a marker in one of the two cells just before it.
void marca_davanti_al_segnale(Form1& f, std::int32_t s) {
    if (libera(f, s - 1)) {
        marca(f, s - 1);
    } else if (libera(f, s - 2)) {
        marca(f, s - 2);
    } else if (di_tipo(f, s - 1, tipo::marcatore)) {
        abbassa_marcatore(f, s - 1);
    } else if (di_tipo(f, s - 2, tipo::marcatore)) {
        abbassa_marcatore(f, s - 2);
    } else {
        f.registra_errore(kErroreSegnale, metri(s));
    }
}

// Rule A: every signal within 20 cells before a warning board at n.
void regola_avviso(Form1& f, std::int32_t n) {
    for (f.indice2 = 1; f.indice2 <= kSguardoAvviso && n - f.indice2 >= kPrimaCellaGuardata;
         ++f.indice2) {
        if (di_tipo(f, n - f.indice2, tipo::segnale)) marca_davanti_al_segnale(f, n - f.indice2);
    }
}

void finestre_avvicinamento(Form1& f, std::int32_t n) {
    for (const Finestra& w : kFinestre) {
        if (n <= w.oltre) continue;
        bool marcata = false;
        for (const std::int32_t d : w.distanze) {
            if (!libera(f, n - d)) continue;
            marca(f, n - d);
            marcata = true;
            break;
        }
        if (!marcata) f.registra_errore(kErroreAvvicinamento, metri(n));
    }
}

// The inner marker due at cell k, or the cell before or after it; the count restarts from
// the cell actually marked. When none is free the count runs on and no further inner marker
// is placed in this slowdown.
void marcatore_interno(Form1& f, std::int32_t k) {
    if (libera(f, k)) {
        marca(f, k);
        f.contatore = 0;
    } else if (libera(f, k - 1)) {
        marca(f, k - 1);
        f.contatore = 1;
    } else if (libera(f, k + 1)) {
        marca(f, k + 1);
        f.contatore = -1;
    } else {
        f.registra_errore(kErroreInterno, metri(k));
    }
}

// Inner markers every 8 cells from the start at n up to the slowdown's end, which is left in
// `indice2`; the scan stops without marking when it reaches the last cell.
void marcatori_interni(Form1& f, std::int32_t n) {
    const std::int32_t ultima = f.ultima_cella();
    f.contatore = 0;
    f.indice2 = n;
    for (;;) {
        ++f.indice2;
        if (f.indice2 >= ultima) return;
        ++f.contatore;
        if (f.contatore == kPassoInterni) marcatore_interno(f, f.indice2);
        if (di_tipo(f, f.indice2, tipo::fine_rallentamento)) return;
    }
}

// The first slowdown end after n, or the last cell when there is none.
std::int32_t fine_dopo(const Form1& f, std::int32_t n) {
    const std::int32_t ultima = f.ultima_cella();
    for (std::int32_t k = n + 1; k < ultima; ++k) {
        if (di_tipo(f, k, tipo::fine_rallentamento)) return k;
    }
    return ultima;
}

// Exit marker: in front of the first signal within 12 cells from the slowdown's end k.
void marcatore_uscita(Form1& f, std::int32_t k) {
    const std::int32_t ultima = f.ultima_cella();
    for (std::int32_t j = k; j <= k + kSguardoUscita && j < ultima; ++j) {
        if (!di_tipo(f, j, tipo::segnale)) continue;
        if (libera(f, j - 1)) {
            marca(f, j - 1);
        } else if (libera(f, j - 2)) {
            marca(f, j - 2);
        } else {
            f.registra_errore(kErroreInterno, metri(k));
        }
        return;
    }
}

// Rule B: approach, inner and exit markers of a slowdown starting at n.
void regola_rallentamento(Form1& f, std::int32_t n) {
    finestre_avvicinamento(f, n);
    if (cella_a(f, n).dato0 < kVelocitaSenzaInterni) {
        marcatori_interni(f, n);
    } else {
        f.indice2 = fine_dopo(f, n);
    }
    marcatore_uscita(f, f.indice2);
}

}  // namespace

void applica_finitura(Form1& f) {
    for (f.indice = 1; f.indice <= f.ultima_cella() - 2; ++f.indice) {
        if (di_tipo(f, f.indice, tipo::avviso_rallentamento)) regola_avviso(f, f.indice);
        if (di_tipo(f, f.indice, tipo::inizio_rallentamento)) regola_rallentamento(f, f.indice);
    }
}

}  // namespace brunavia
