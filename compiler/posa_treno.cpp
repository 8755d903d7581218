#include "compiler/posa_treno.h"

namespace brunavia {
namespace {

// A slowdown gets its warning board only when it starts beyond this position.
constexpr std::int32_t kInizioConAvviso = 1500;
// The warning board stands this far before the slowdown's start.
constexpr double kDistanzaAvviso = 1200.0;
// Station type codes from this one up leave the cells alone.
constexpr std::uint8_t kPrimoCodiceSenzaSegni = 25;
constexpr std::uint8_t kPrimoSegnoStazione = 80;

// Left value in the tens, right value in the units, kept in 16 bits.
std::int16_t coppia(std::int32_t sinistra, std::int32_t destra) {
    return bit_bassi<std::int16_t>(somma32(prodotto32(sinistra, 10), destra));
}

// Writes the approach code (sx × 3 + dx) × 10 + k, in 8 bits, 2k cells before the signal.
void segna_avvicinamento(Form1& f, std::int64_t cella_segnale, const RigaSegnale& s) {
    const auto base = static_cast<std::uint32_t>(s.sx) * 3u + static_cast<std::uint32_t>(s.dx);
    for (std::uint32_t k = 1; k <= 4; ++k) {
        const std::int64_t indice = cella_segnale - 2 * static_cast<std::int64_t>(k);
        if (!dentro_le_celle(f, indice)) continue;
        cella_a(f, indice).attributo2 = static_cast<std::uint8_t>((base * 10u + k) & 0xFFu);
    }
}

bool libera_a(const Form1& f, std::int64_t k) {
    return cella_libera(cella_a(f, k));
}

// The four cells just before the warning board, type 5 with 1 ... 4 counted backwards.
std::int32_t segna_prima_dell_avviso(Form1& f, std::int32_t x, std::int32_t d_v) {
    const std::int64_t j = cella_di(x - kDistanzaAvviso);
    for (std::int64_t n = 0; n < 4; ++n) {
        if (!dentro_le_celle(f, j - n) || !libera_a(f, j - n)) {
            return errore_treno::prima_dell_avviso_occupata;
        }
    }
    for (std::int64_t n = 0; n < 4; ++n) {
        cella& c = cella_a(f, j - n);
        c.tipo_cella = tipo::prima_dell_avviso;
        c.dato0 = static_cast<std::int16_t>(n + 1);
        if (d_v != 0) c.dato1 = static_cast<std::int16_t>(n + 1);
    }
    return kPosato;
}

// Start, end and (when there is one) warning cells of a slowdown.
struct CelleRallentamento {
    bool con_avviso = false;
    std::int64_t avviso = 0;
    std::int64_t inizio = 0;
    std::int64_t fine = 0;
};

std::int32_t verifica_rallentamento(const Form1& f, const CelleRallentamento& c) {
    if ((c.con_avviso && !dentro_le_celle(f, c.avviso)) || !dentro_le_celle(f, c.inizio) ||
        !dentro_le_celle(f, c.fine)) {
        return errore_treno::fuori_dalle_celle;
    }
    if (c.con_avviso && !libera_a(f, c.avviso)) return errore_treno::avviso_occupato;
    if (!libera_a(f, c.inizio)) return errore_treno::inizio_occupato;
    if (!libera_a(f, c.fine)) return errore_treno::fine_occupata;
    return kPosato;
}

// Writes end, start and warning cells in this order, so that a start and an end sharing one
// cell leave it a start.
void scrivi_rallentamento(Form1& f, const CelleRallentamento& c, const RigaRallentamento& r) {
    const std::int16_t v = bit_bassi<std::int16_t>(r.v);
    const std::int16_t f_tt = bit_bassi<std::int16_t>(r.f_tt);
    const std::int16_t d_v = bit_bassi<std::int16_t>(r.d_v);
    cella_a(f, c.fine).tipo_cella = tipo::fine_rallentamento;
    if (r.d_v != 0) cella_a(f, c.fine).dato1 = d_v;
    cella_a(f, c.inizio).tipo_cella = tipo::inizio_rallentamento;
    if (r.d_v != 0) cella_a(f, c.inizio).dato1 = d_v;
    if (c.con_avviso) {
        cella& avviso = cella_a(f, c.avviso);
        avviso.tipo_cella = tipo::avviso_rallentamento;
        if (r.d_v != 0) avviso.dato1 = d_v;
        avviso.dato0 = v;
    }
    cella_a(f, c.inizio).dato0 = v;
    cella_a(f, c.fine).dato0 = v;
    cella_a(f, c.inizio).dato2 = f_tt;
    cella_a(f, c.fine).dato2 = f_tt;
}

}  // namespace

std::int32_t memo_segnale(Form1& f, std::int32_t posizione, RigaSegnale& s) {
    const std::int64_t i = cella_dopo(posizione);
    if (!dentro_le_celle(f, i)) return errore_treno::fuori_dalle_celle;
    if (!libera_a(f, i)) return errore_treno::segnale_occupato;
    const std::int16_t dato3 = bit_bassi<std::int16_t>(
        somma32(somma32(prodotto32(s.rapp, 10), prodotto32(s.sx, 3)), s.dx));
    const std::int16_t dato0 = coppia(s.s1, s.d1);
    const std::int16_t dato1 = coppia(s.s2, s.d2);
    const std::int16_t dato2 = coppia(s.s3, s.d3);
    if (s.tempo >= 1 && s.tempo <= 100) s.tempo = 101;
    cella& c = cella_a(f, i);
    c.tipo_cella = tipo::segnale;
    c.dato3 = dato3;
    c.dato0 = dato0;
    c.dato1 = dato1;
    c.dato2 = dato2;
    c.attributo1 = s.sx == 2 ? bit_bassi<std::uint8_t>(s.tempo) : std::uint8_t{0};
    segna_avvicinamento(f, i, s);
    return kPosato;
}

std::int32_t memo_rallentamento(Form1& f, std::int32_t x, const RigaRallentamento& r) {
    CelleRallentamento c;
    c.con_avviso = x > kInizioConAvviso;
    c.avviso = cella_dopo(x - kDistanzaAvviso);
    c.inizio = cella_dopo(x);
    c.fine = cella_dopo(somma32(x, r.l));
    if (const std::int32_t esito = verifica_rallentamento(f, c); esito != kPosato) return esito;
    scrivi_rallentamento(f, c, r);
    if (c.con_avviso && r.f_ta != 0) return segna_prima_dell_avviso(f, x, r.d_v);
    return kPosato;
}

std::int32_t memo_abbattimento(Form1& f, std::int32_t posizione, std::int32_t valore) {
    const std::int64_t k = cella_di(posizione);
    if (!dentro_le_celle(f, k)) return errore_treno::fuori_dalle_celle;
    if (!libera_a(f, k)) return errore_treno::abbattimento_occupato;
    cella& c = cella_a(f, k);
    if (valore > 0) {
        c.tipo_cella = tipo::marcatore;
        c.dato0 = bit_bassi<std::int16_t>(valore);
    } else {
        c.tipo_cella = tipo::abbattimento_nullo;
    }
    return kPosato;
}

std::int32_t segna_stazione(Form1& f, std::int32_t numero, const voce& stazione) {
    if (stazione.segno >= kPrimoCodiceSenzaSegni) return kPosato;
    const double fine = stazione.valore2 / 50.0;
    if (fine - 1.0 <= 1.0) return errore_treno::fine_zona_troppo_vicina;
    const std::int64_t ultima = arrotonda_pari(fine - 1.0);
    if (!dentro_le_celle(f, ultima)) return errore_treno::fuori_dalle_celle;
    if (stazione.segno != 5 && stazione.segno != 6) {
        for (int n = 1; n <= 4; ++n) {
            if (fine - n - 1.0 <= 1.0) continue;
            cella_a(f, arrotonda_pari(fine - n - 1.0)).attributo2 =
                static_cast<std::uint8_t>(kPrimoSegnoStazione + n);
        }
    }
    cella_a(f, ultima).tipo_cella = tipo::fine_stazione;
    cella_a(f, ultima).dato0 = bit_bassi<std::int16_t>(numero);
    return kPosato;
}

}  // namespace brunavia
