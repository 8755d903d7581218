#include "compiler/posa_treno.h"

#include "compiler/osservatore.h"

namespace brunavia {
namespace {

// The warning board stands this far before the slowdown's start.
constexpr double kDistanzaAvviso = 1200.0;
constexpr std::uint8_t kPrimoSegnoStazione = 80;

// The low bits of a value that a member keeps; the watcher, if any, hears of a value cut.
template <typename T>
T in_bit(const Form1& f, std::string_view nome, std::int64_t valore) {
    const T tenuto = bit_bassi<T>(valore);
    if (f.osservatore && tenuto != valore) {
        f.osservatore->valore({TipoValore::troncato, valore, tenuto, 0, nome, {}});
    }
    return tenuto;
}

void osserva_cella(const Form1& f, std::int64_t k, std::uint8_t tipo_cella) {
    if (f.osservatore) f.osservatore->cella_scritta(k, tipo_cella);
}
void osserva_rifiuto(const Form1& f, std::int64_t k) {
    if (f.osservatore) f.osservatore->cella_occupata(k);
}

// Left value in the tens, right value in the units, kept in 16 bits.
std::int16_t coppia(const Form1& f, std::string_view nome, std::int32_t sinistra,
                    std::int32_t destra) {
    return in_bit<std::int16_t>(f, nome, somma32(prodotto32(sinistra, 10), destra));
}

// Writes the approach code (sx x 3 + dx) x 10 + k, in 8 bits, 2k cells before the signal.
void segna_avvicinamento(Form1& f, std::int64_t cella_segnale, const RigaSegnale& s) {
    const auto base = static_cast<std::uint32_t>(s.sx) * 3u + static_cast<std::uint32_t>(s.dx);
    if (f.osservatore)
        in_bit<std::uint8_t>(f, "codice di avvicinamento (sx x 3 + dx) x 10 + 4",
                             (std::int64_t{s.sx} * 3 + s.dx) * 10 + 4);
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
            if (dentro_le_celle(f, j - n)) osserva_rifiuto(f, j - n);
            return errore_treno::prima_dell_avviso_occupata;
        }
    }
    for (std::int64_t n = 0; n < 4; ++n) {
        cella& c = cella_a(f, j - n);
        c.tipo_cella = tipo::prima_dell_avviso;
        c.dato0 = static_cast<std::int16_t>(n + 1);
        if (d_v != 0) c.dato1 = static_cast<std::int16_t>(n + 1);
        osserva_cella(f, j - n, tipo::prima_dell_avviso);
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
    const std::pair<std::int64_t, std::int32_t> controlli[] = {
        {c.con_avviso ? c.avviso : -1, errore_treno::avviso_occupato},
        {c.inizio, errore_treno::inizio_occupato},
        {c.fine, errore_treno::fine_occupata},
    };
    for (const auto& [k, errore] : controlli) {
        if (k < 0 || libera_a(f, k)) continue;
        osserva_rifiuto(f, k);
        return errore;
    }
    return kPosato;
}

// Writes end, start and warning cells in this order, so that a start and an end sharing one
// cell leave it a start.
void scrivi_rallentamento(Form1& f, const CelleRallentamento& c, const RigaRallentamento& r) {
    const std::int16_t v = in_bit<std::int16_t>(f, "velocita' del rallentamento", r.v);
    const std::int16_t f_tt =
        in_bit<std::int16_t>(f, "valore dei cartelli di inizio e fine", r.f_tt);
    const std::int16_t d_v = in_bit<std::int16_t>(f, "secondo valore", r.d_v);
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
    osserva_cella(f, c.fine, tipo::fine_rallentamento);
    osserva_cella(f, c.inizio, tipo::inizio_rallentamento);
    if (c.con_avviso) osserva_cella(f, c.avviso, tipo::avviso_rallentamento);
}

}  // namespace

std::int32_t memo_segnale(Form1& f, std::int32_t posizione, RigaSegnale& s) {
    const std::int64_t i = cella_dopo(posizione);
    if (!dentro_le_celle(f, i)) return errore_treno::fuori_dalle_celle;
    if (!libera_a(f, i)) {
        osserva_rifiuto(f, i);
        return errore_treno::segnale_occupato;
    }
    const std::int16_t dato3 =
        in_bit<std::int16_t>(f, "rapp x 10 + sx x 3 + dx",
                             somma32(somma32(prodotto32(s.rapp, 10), prodotto32(s.sx, 3)), s.dx));
    const std::int16_t dato0 = coppia(f, "s1 x 10 + d1", s.s1, s.d1);
    const std::int16_t dato1 = coppia(f, "s2 x 10 + d2", s.s2, s.d2);
    const std::int16_t dato2 = coppia(f, "s3 x 10 + d3", s.s3, s.d3);
    if (s.tempo >= 1 && s.tempo <= 100) s.tempo = 101;
    cella& c = cella_a(f, i);
    c.tipo_cella = tipo::segnale;
    c.dato3 = dato3;
    c.dato0 = dato0;
    c.dato1 = dato1;
    c.dato2 = dato2;
    c.attributo1 = s.sx == 2 ? in_bit<std::uint8_t>(f, "tempo", s.tempo) : std::uint8_t{0};
    segna_avvicinamento(f, i, s);
    osserva_cella(f, i, tipo::segnale);
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
    if (!libera_a(f, k)) {
        osserva_rifiuto(f, k);
        return errore_treno::abbattimento_occupato;
    }
    cella& c = cella_a(f, k);
    if (valore > 0) {
        c.tipo_cella = tipo::marcatore;
        c.dato0 = in_bit<std::int16_t>(f, "valore dell'abbattimento", valore);
    } else {
        c.tipo_cella = tipo::abbattimento_nullo;
    }
    osserva_cella(f, k, c.tipo_cella);
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
    osserva_cella(f, ultima, tipo::fine_stazione);
    return kPosato;
}

}  // namespace brunavia
