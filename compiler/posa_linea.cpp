#include "compiler/posa_linea.h"

#include <algorithm>
#include <array>
#include <optional>

#include "compiler/lettore_campi.h"
#include "compiler/numeri.h"
#include "compiler/osservatore.h"

namespace brunavia {
namespace {

// Curvature per metre of the curve classes 1 to 6 (radius 10000, 5000, 2500, 1000, 500 and
// about 333 metres).
constexpr std::array<double, 6> kCurvature = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
constexpr std::array<std::string_view, 6> kCifreClasse = {"1", "2", "3", "4", "5", "6"};
// The plan computes no point beyond this index inside a curve row.
constexpr std::int64_t kLimiteGeometria = 1'000'000;

constexpr std::int32_t kGradoLivello = 100;  // gradient attribute of a level cell
constexpr std::int32_t kMarcaturaMontagna = 10;
constexpr std::int32_t kDistanzaMontagneUnite = 150;
constexpr std::uint8_t kTipoMontagneUnite = 3;
constexpr std::int64_t kPassoMarcatori = 4;

// Gradient + 100, of which the cell keeps the low eight bits.
std::uint8_t attributo_pendenza(std::int32_t pendenza) {
    return bit_bassi<std::uint8_t>(
        memorizza_in<std::int32_t>(std::int64_t{pendenza} + kGradoLivello));
}

// The curvature of a curve row's keyword text: the lowest class digit it holds, negated for
// the left side "s".
std::optional<double> curvatura(std::string_view chiave) {
    for (std::size_t i = 0; i < kCifreClasse.size(); ++i) {
        if (contiene_senza_maiuscole(chiave, kCifreClasse[i])) {
            return contiene_senza_maiuscole(chiave, "s") ? -kCurvature[i] : kCurvature[i];
        }
    }
    return std::nullopt;
}

// Extends the plan point by point up to point `fino_a`, each point from the two before it by
// `passo`. False once the next point index passes `limite` (the point itself is kept).
template <typename Passo>
bool estendi_tracciato(Tracciato& t, std::int32_t& g, std::int64_t fino_a, std::int64_t limite,
                       Passo passo) {
    auto i = static_cast<std::size_t>(g);
    bool entro = true;
    for (; static_cast<std::int64_t>(i) <= fino_a; ++i) {
        const double dx = t.x[i - 1] - t.x[i - 2];
        const double dy = t.y[i - 1] - t.y[i - 2];
        passo(t.x[i - 1], t.y[i - 1], dx, dy, t.x[i], t.y[i]);
        t.tipo[i] = Tracciato::reale64;
        if (static_cast<std::int64_t>(i) + 1 > limite) {
            entro = false;
            ++i;
            break;
        }
    }
    g = static_cast<std::int32_t>(i);
    return entro;
}

// A straight run keeps the heading (dx, dy).
bool prosegui_dritto(Tracciato& t, std::int32_t& g, std::int64_t fino_a, std::int64_t limite) {
    return estendi_tracciato(t, g, fino_a, limite,
                             [](double x, double y, double dx, double dy, double& nx, double& ny) {
                                 nx = x + dx;
                                 ny = y + dy;
                             });
}

// A curve of curvature `k` turns the heading by k at each step, clockwise for k > 0.
bool prosegui_in_curva(Tracciato& t, std::int32_t& g, std::int64_t fino_a, double k) {
    return estendi_tracciato(t, g, fino_a, kLimiteGeometria,
                             [k](double x, double y, double dx, double dy, double& nx, double& ny) {
                                 nx = (x + dy * k) + dx;
                                 ny = (y + dy) - dx * k;
                             });
}

// The cell of a board at `posizione`: round(posizione / 50 + 1), when it lies inside the cells.
std::optional<std::size_t> cella_cartello(const Form1& f, std::int32_t posizione) {
    const std::int64_t k = cella_dopo(posizione);
    if (!dentro_le_celle(f, k)) return std::nullopt;
    return static_cast<std::size_t>(k);
}

// A board speed code: right speed / 5 + left speed * 20, rounded; it must fit 16 bits.
std::int16_t codice_velocita(std::int32_t sinistra, std::int32_t destra) {
    const auto venti_volte = memorizza_in<std::int32_t>(std::int64_t{sinistra} * 20);
    const double codice = static_cast<double>(destra) / 5.0 + static_cast<double>(venti_volte);
    return memorizza_in<std::int16_t>(arrotonda_pari(codice));
}

// The stripe code: left stripes * 10 + right stripes, in 16 bits.
std::int16_t codice_strisce(std::int16_t sinistra, std::int16_t destra) {
    const auto dieci_volte = memorizza_in<std::int16_t>(std::int64_t{sinistra} * 10);
    return memorizza_in<std::int16_t>(std::int64_t{dieci_volte} + destra);
}

// Tells the watcher, if any, of a board written into cell k, or of cell k that refused one.
void osserva_cella(const Form1& f, std::size_t k, std::uint8_t tipo_cella) {
    if (f.osservatore) f.osservatore->cella_scritta(static_cast<std::int64_t>(k), tipo_cella);
}
void osserva_rifiuto(const Form1& f, std::size_t k) {
    if (f.osservatore) f.osservatore->cella_occupata(static_cast<std::int64_t>(k));
}

// Tells the watcher of each right-hand speed of a board with the code that keeps it.
void osserva_velocita(const Form1& f, const IndicatoriVMax& r, const std::int16_t (&codici)[3]) {
    if (!f.osservatore) return;
    const std::int32_t sinistre[] = {r.vas, r.vbs, r.vcs};
    const std::int32_t destre[] = {r.vad, r.vbd, r.vcd};
    for (std::size_t i = 0; i < 3; ++i) {
        f.osservatore->valore(
            {TipoValore::velocita_destra, destre[i], codici[i], sinistre[i], {}, {}});
    }
}

}  // namespace

EsitoPosa memo_pendenza(Form1& f, StatoLinea& s, std::int32_t posizione, std::int32_t pendenza) {
    const std::int64_t k = cella_di(posizione);
    if (k > 0) {
        // At least the cell at the cursor is written, even when the cursor has reached k.
        const std::int64_t ultima = std::max<std::int64_t>(s.cursore_pendenza, k - 1);
        if (ultima > f.ultima_cella()) return EsitoPosa::fuori_limiti;
        const std::uint8_t valore = attributo_pendenza(s.ultima_pendenza);
        const std::int32_t prima = s.cursore_pendenza;
        do {
            cella_a(f, s.cursore_pendenza).attributo5 = valore;
            ++s.cursore_pendenza;
        } while (s.cursore_pendenza < k);
        if (f.osservatore) {
            f.osservatore->valore({TipoValore::cursore, k, s.cursore_pendenza, prima, {}, {}});
        }
    }
    s.ultima_pendenza = pendenza;
    return EsitoPosa::posata;
}

void completa_pendenze(Form1& f, StatoLinea& s) {
    const std::int32_t limite = f.ultima_cella() - 2;
    if (s.cursore_pendenza >= limite) return;
    const std::uint8_t valore = attributo_pendenza(s.ultima_pendenza);
    for (; s.cursore_pendenza < limite; ++s.cursore_pendenza) {
        cella_a(f, s.cursore_pendenza).attributo5 = valore;
    }
}

void inizia_tracciato(Form1& f) {
    Tracciato& t = f.tracciato;
    if (!t.esiste()) return;
    t.x[0] = 0;
    t.y[0] = 0;
    t.x[1] = 0;
    t.y[1] = 1;
    t.tipo[0] = Tracciato::intero16;
    t.tipo[1] = Tracciato::intero16;
}

EsitoPosa memo_curva(Form1& f, StatoLinea& s, std::string_view chiave, std::int32_t inizio,
                     std::int32_t lunghezza) {
    if (!f.tracciato.esiste()) return EsitoPosa::posata;  // a compile without the plan
    const auto k = curvatura(chiave);
    if (!k) {
        f.registra_errore(errore_linea::curva_o_geometria);
        return EsitoPosa::rifiutata;
    }
    const std::int64_t fine = std::int64_t{inizio} + lunghezza;
    if (std::max<std::int64_t>(inizio, fine) > static_cast<std::int64_t>(f.tracciato.ultimo())) {
        return EsitoPosa::fuori_limiti;
    }
    if (!prosegui_dritto(f.tracciato, s.indice_geometria, inizio, kLimiteGeometria) ||
        !prosegui_in_curva(f.tracciato, s.indice_geometria, fine, *k)) {
        f.registra_errore(errore_linea::curva_o_geometria);
        return EsitoPosa::rifiutata;
    }
    return EsitoPosa::posata;
}

void completa_tracciato(Form1& f, StatoLinea& s) {
    if (!f.tracciato.esiste()) return;
    const auto ultimo = static_cast<std::int64_t>(f.tracciato.ultimo());
    prosegui_dritto(f.tracciato, s.indice_geometria, ultimo - 2, ultimo + 1);
}

EsitoPosa memo_montagna(Form1& f, StatoLinea& s, std::int32_t inizio, std::int32_t fine,
                        std::int32_t& tipo) {
    const std::int64_t primo = cella_di(inizio);
    const std::int64_t ultimo = arrotonda_pari(static_cast<double>(fine) / 50.0 - 1.0);
    if (primo <= ultimo && (!dentro_le_celle(f, primo) || !dentro_le_celle(f, ultimo))) {
        return EsitoPosa::fuori_limiti;
    }
    const bool marcatori = tipo > kMarcaturaMontagna;
    if (marcatori) tipo -= kMarcaturaMontagna;

    const auto n = static_cast<std::size_t>(++s.contatore_montagne);
    f.inizio_montagne.resize(n);
    f.fine_montagne.resize(n);
    f.inizio_montagne[n - 1] = inizio;
    f.fine_montagne[n - 1] = fine;
    if (n > 1 && memorizza_in<std::int32_t>(std::int64_t{inizio} - f.fine_montagne[n - 2]) <=
                     kDistanzaMontagneUnite) {
        tipo = kTipoMontagneUnite;
    }
    if (primo > ultimo) return EsitoPosa::posata;

    const auto valore = memorizza_in<std::uint8_t>(tipo);
    for (std::int64_t k = primo; k <= ultimo; ++k) {
        cella& c = cella_a(f, k);
        c.attributo3 = valore;
        const bool quarta = (k - primo + 1) % kPassoMarcatori == 0;
        if (marcatori && quarta && c.tipo_cella == tipo::libera)
            c.tipo_cella = tipo::libera_montagna;
    }
    return EsitoPosa::posata;
}

EsitoPosa memo_indicatori_v_max(Form1& f, const IndicatoriVMax& r) {
    const auto k = cella_cartello(f, r.posizione);
    if (!k) return EsitoPosa::fuori_limiti;
    cella& c = f.celle[*k];
    if (!cella_libera(c)) {
        osserva_rifiuto(f, *k);
        f.registra_errore(errore_linea::indicatore_occupato, r.posizione);
        return EsitoPosa::rifiutata;
    }
    const std::int16_t dato0 = codice_velocita(r.vas, r.vad);
    const std::int16_t dato1 = codice_velocita(r.vbs, r.vbd);
    const std::int16_t dato2 = codice_velocita(r.vcs, r.vcd);
    const std::int16_t dato3 = codice_strisce(r.strisces, r.strisced);
    osserva_velocita(f, r, {dato0, dato1, dato2});
    osserva_cella(f, *k, tipo::indicatore_v_max);
    c.tipo_cella = tipo::indicatore_v_max;
    c.dato0 = dato0;
    c.dato1 = dato1;
    c.dato2 = dato2;
    c.dato3 = dato3;
    return EsitoPosa::posata;
}

EsitoPosa memo_cartello_indicatore(Form1& f, StatoLinea& s, std::int32_t posizione,
                                   const std::string& testo) {
    const auto k = cella_cartello(f, posizione);
    if (!k) return EsitoPosa::fuori_limiti;
    cella& c = f.celle[*k];
    // Slots count down from 80 and share the table with the stations from row 1 up.
    if (s.slot_cartello < 1 || !cella_libera(c)) {
        if (!cella_libera(c)) osserva_rifiuto(f, *k);
        f.registra_errore(errore_linea::cartello_occupato, posizione);
        return EsitoPosa::rifiutata;
    }
    memorizza_in<std::uint16_t>(
        static_cast<std::int64_t>(testo.size()));  // its length is written in 16 bits
    c.tipo_cella = tipo::cartello_indicatore;
    c.dato0 = memorizza_in<std::int16_t>(s.slot_cartello);
    osserva_cella(f, *k, tipo::cartello_indicatore);
    f.tabella[static_cast<std::size_t>(s.slot_cartello)].testo = testo;
    --s.slot_cartello;
    return EsitoPosa::posata;
}

}  // namespace brunavia
