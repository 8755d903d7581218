#include "compiler/lettore_treno.h"

#include <algorithm>
#include <string>
#include <utility>

#include "compiler/lettore_campi.h"
#include "compiler/numeri.h"
#include "compiler/osservatore.h"
#include "compiler/posa_treno.h"

namespace brunavia {
namespace {

// How a row leaves the reading: go on with the next field, run the end step, or stop at once.
enum class Esito { prosegui, fine, ferma };

// Running values of one reading of the train description.
struct StatoTreno {
    LettoreCampi campi;
    std::int32_t limite_cartelli;
    std::int32_t cursore_velocita = 0;
    std::int32_t cursore_aderenza = 0;
    std::int32_t velocita_precedente = 0;
    std::int32_t aderenza_precedente = 0;
    std::int32_t stazione = 1;  // the table row of the next station
    // The field of the previous speed, which the speed fill stores.
    PosizioneCampo campo_velocita{};
};

// Moves the error location to a field of the train description.
void segna(Form1& f, PosizioneCampo campo) {
    f.segna_luogo(FileDescrizione::treno, campo);
}

// A number of a row with the place of its field, for the errors that point at it.
struct Numero {
    std::int32_t valore = 0;
    PosizioneCampo campo;
};

constexpr std::int32_t kErroreProgressive = 2;
constexpr double kMarginePosizione = 100.0;
constexpr double kMargineStazione = 800.0;
constexpr std::int32_t kPassoProgressive = 50;

std::string minuscolo(std::string_view testo) {
    std::string r(testo);
    std::transform(r.begin(), r.end(), r.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return r;
}

bool contiene(std::string_view testo, std::string_view parola) {
    return testo.find(parola) != std::string_view::npos;
}

std::int32_t numero32(StatoTreno& s) {
    return s.campi.leggi_numero<std::int32_t>();
}
std::int16_t numero16(StatoTreno& s) {
    return s.campi.leggi_numero<std::int16_t>();
}
std::uint8_t numero8(StatoTreno& s) {
    return s.campi.leggi_numero<std::uint8_t>();
}
Numero numero_segnato(StatoTreno& s) {
    const std::int32_t v = numero32(s);
    return {v, s.campi.ultimo_campo()};
}

// A row lies beyond the cells when (position + margin) / 50 exceeds the last cell.
bool oltre_le_celle(const Form1& f, std::int32_t posizione, double margine) {
    return (posizione + margine) / 50.0 > f.ultima_cella();
}

// Error 15 points at the position field.
Esito fine_oltre_le_celle(Form1& f, const Numero& posizione) {
    segna(f, posizione.campo);
    f.registra_errore(errore_treno::fuori_dalle_celle, posizione.valore);
    return Esito::fine;
}

// A refused row: the error points at `campo`, the field that caused it.
Esito ferma(Form1& f, std::int32_t codice, std::int32_t posizione, PosizioneCampo campo) {
    segna(f, campo);
    f.registra_errore(codice, posizione);
    return Esito::ferma;
}
Esito ferma(Form1& f, std::int32_t codice, const Numero& posizione) {
    return ferma(f, codice, posizione.valore, posizione.campo);
}
// A refused row whose error records no position.
Esito ferma_senza_posizione(Form1& f, std::int32_t codice, PosizioneCampo campo) {
    segna(f, campo);
    f.registra_errore(codice);
    return Esito::ferma;
}
// A station that finds no table row: the error points at the station's keyword, where the
// location still is.
Esito ferma_alla_parola(Form1& f, std::int32_t codice) {
    f.registra_errore(codice);
    return Esito::ferma;
}

void osserva_valore(const Form1& f, const ValoreLetto& v) {
    if (f.osservatore) f.osservatore->valore(v);
}

// --- speed limit and adhesion fills ---

// A speed enters a cell as round(speed / 5) in one byte; a value that does not fit fails the
// reading at the moment of the store.
std::uint8_t byte_velocita(std::int32_t velocita) {
    const std::int64_t byte = arrotonda_pari(velocita / 5.0);
    if (byte < 0 || byte > 255) {
        throw ErroreLettura("velocita' " + std::to_string(velocita) +
                                " km/h fuori dall'intervallo 0 ... 1275 (le celle la tengono "
                                "divisa per 5 in un byte)",
                            {});
    }
    return static_cast<std::uint8_t>(byte);
}

// Where a speed fill stops at the last cell: a row's fill never writes cell N, the end step's
// completion writes it when the cursor already stands there.
enum class CellaN { esclusa, inclusa };

// Writes the previous speed from the cursor up to the cell before `fino`, at least one cell;
// `cella_n` says whether cell N may take it. Never past cell N.
void riempi_velocita(Form1& f, StatoTreno& s, std::int64_t fino, CellaN cella_n) {
    const std::int32_t limite =
        cella_n == CellaN::esclusa ? f.ultima_cella() : f.ultima_cella() + 1;
    const LuogoErrore riga = f.luogo;
    segna(f, s.campo_velocita);  // a speed that does not fit its byte fails at its own field
    do {
        if (s.cursore_velocita >= limite) break;
        cella_a(f, s.cursore_velocita).attributo4 = byte_velocita(s.velocita_precedente);
        ++s.cursore_velocita;
    } while (s.cursore_velocita < fino);
    f.luogo = riga;
}

// The same for the adhesion (its low byte), never past the last cell.
void riempi_aderenza(Form1& f, StatoTreno& s, std::int64_t fino) {
    do {
        if (s.cursore_aderenza > f.ultima_cella()) return;
        cella_a(f, s.cursore_aderenza).attributo6 = bit_bassi<std::uint8_t>(s.aderenza_precedente);
        ++s.cursore_aderenza;
    } while (s.cursore_aderenza < fino);
}

// --- row handlers, one per keyword ---

Esito leggi_massa_frenata(Form1& f, StatoTreno& s) {
    f.tabella[riga_tabella::percorso].valore1 = numero32(s);
    return Esito::prosegui;
}

Esito leggi_vetture(Form1& f, StatoTreno& s) {
    f.tabella[riga_tabella::percorso].valore3 = numero32(s);
    return Esito::prosegui;
}

Esito leggi_velocita(Form1& f, StatoTreno& s) {
    const Numero posizione = numero_segnato(s);
    const Numero velocita = numero_segnato(s);
    if (oltre_le_celle(f, posizione.valore, kMarginePosizione)) {
        return fine_oltre_le_celle(f, posizione);
    }
    if (f.osservatore) {
        const std::int64_t tenuta = arrotonda_pari(velocita.valore / 5.0) * 5;
        osserva_valore(f, {TipoValore::velocita, velocita.valore, tenuta, 0, {}, velocita.campo});
    }
    const std::int64_t c = cella_di(posizione.valore);
    if (c > 0) riempi_velocita(f, s, c, CellaN::esclusa);
    s.velocita_precedente = velocita.valore;
    s.campo_velocita = velocita.campo;
    return Esito::prosegui;
}

Esito leggi_aderenza(Form1& f, StatoTreno& s) {
    const Numero posizione = numero_segnato(s);
    const Numero letta = numero_segnato(s);
    const std::int32_t aderenza = letta.valore;
    osserva_valore(
        f, {TipoValore::aderenza, aderenza, bit_bassi<std::uint8_t>(aderenza), 0, {}, letta.campo});
    if (oltre_le_celle(f, posizione.valore, kMarginePosizione)) {
        return fine_oltre_le_celle(f, posizione);
    }
    const std::int64_t c = cella_di(posizione.valore);
    if (c > 0) {
        if (s.cursore_aderenza > f.ultima_cella()) return fine_oltre_le_celle(f, posizione);
        const std::int32_t prima = s.cursore_aderenza;
        riempi_aderenza(f, s, c);
        osserva_valore(f, {TipoValore::cursore, c, s.cursore_aderenza, prima, {}, {}});
    }
    s.aderenza_precedente = aderenza;
    return Esito::prosegui;
}

// Tells the watcher of a time of day as written: hours, minutes, seconds.
void osserva_orario(const Form1& f, const Numero (&orario)[3]) {
    constexpr TipoValore kParti[] = {TipoValore::ore, TipoValore::minuti, TipoValore::secondi};
    for (std::size_t i = 0; i < 3; ++i) {
        osserva_valore(f, {kParti[i], orario[i].valore, orario[i].valore, 0, {}, orario[i].campo});
    }
}

Esito leggi_orologio(Form1& f, StatoTreno& s) {
    // Each value is stored as soon as it is read: a failed read leaves the earlier ones.
    voce& treno = f.tabella[riga_tabella::treno];
    Numero orario[3];
    std::int16_t voce::*const kMembri[] = {&voce::numero3, &voce::numero4, &voce::numero5};
    for (std::size_t i = 0; i < 3; ++i) {
        treno.*kMembri[i] = numero16(s);
        orario[i] = {treno.*kMembri[i], s.campi.ultimo_campo()};
    }
    osserva_orario(f, orario);
    return Esito::prosegui;
}

Esito leggi_sabbia(Form1& f, StatoTreno& s) {
    f.tabella[riga_tabella::treno].numero1 = numero16(s);
    return Esito::prosegui;
}

Esito leggi_segnale(Form1& f, StatoTreno& s) {
    const Numero posizione = numero_segnato(s);
    RigaSegnale r;
    for (std::int32_t* campo :
         {&r.sx, &r.s1, &r.s2, &r.s3, &r.rapp, &r.dx, &r.d1, &r.d2, &r.d3, &r.tempo}) {
        *campo = numero32(s);
    }
    if (oltre_le_celle(f, posizione.valore, kMarginePosizione)) {
        return fine_oltre_le_celle(f, posizione);
    }
    const std::int32_t esito = memo_segnale(f, posizione.valore, r);
    return esito == kPosato ? Esito::prosegui : ferma(f, esito, posizione);
}

Esito leggi_rallentamento(Form1& f, StatoTreno& s) {
    const Numero x = numero_segnato(s);
    RigaRallentamento r;
    for (std::int32_t* campo : {&r.v, &r.l, &r.f_tt, &r.f_ta, &r.d_v}) *campo = numero32(s);
    if (oltre_le_celle(f, x.valore, kMarginePosizione)) return fine_oltre_le_celle(f, x);
    const std::int32_t esito = memo_rallentamento(f, x.valore, r);
    return esito == kPosato ? Esito::prosegui : ferma(f, esito, x);
}

Esito leggi_abbattimento(Form1& f, StatoTreno& s) {
    const Numero posizione = numero_segnato(s);
    const std::int32_t valore = numero32(s);
    if (oltre_le_celle(f, posizione.valore, kMarginePosizione)) {
        return fine_oltre_le_celle(f, posizione);
    }
    const std::int32_t esito = memo_abbattimento(f, posizione.valore, valore);
    return esito == kPosato ? Esito::prosegui : ferma(f, esito, posizione);
}

// --- stations ---

// Fields 4 to 17 of a station row, after position, type code and zone length.
void leggi_dati_stazione(const Form1& f, StatoTreno& s, voce& v) {
    v.segno2 = numero8(s);
    v.opzione4 = numero8(s);
    v.opzione3 = numero8(s);
    v.numero1 = numero16(s);
    v.numero2 = numero16(s);
    v.opzione1 = numero8(s);
    v.numero3 = numero16(s);
    v.numero4 = numero16(s);
    v.numero5 = numero16(s);
    v.opzione2 = numero8(s);
    const Numero orario[3] = {numero_segnato(s), numero_segnato(s), numero_segnato(s)};
    const std::int32_t ore = orario[0].valore;
    const std::int32_t minuti = orario[1].valore;
    const std::int32_t secondi = orario[2].valore;
    osserva_orario(f, orario);
    std::string nome = s.campi.leggi_testo();
    // The name is written with a 16-bit length: a longer one fails the reading (and is not
    // stored), not the writing of the table file.
    memorizza_in<std::uint16_t>(static_cast<std::int64_t>(nome.size()));
    v.testo = std::move(nome);
    v.codice = somma32(prodotto32(somma32(prodotto32(ore, 60), minuti), 60), secondi);
}

// Zone start and end in metres, from the station's centre, type code and zone length.
void calcola_zona(voce& v, std::int32_t lunghezza) {
    const std::int32_t centro = v.valore3;
    switch (v.segno) {
        case 5:
        case 6:
            v.valore1 = somma32(centro, -static_cast<std::int64_t>(lunghezza));
            v.valore2 = somma32(centro, 150);
            v.opzione3 = 0;
            break;
        case 7:
        case 8:
            v.valore1 = somma32(centro, -static_cast<std::int64_t>(lunghezza));
            v.valore2 = somma32(centro, lunghezza);
            v.opzione3 = 0;
            break;
        default:
            v.valore1 = memorizza_in<std::int32_t>(arrotonda_pari(centro - lunghezza / 2.0));
            v.valore2 = somma32(arrotonda_pari(centro + lunghezza / 2.0), v.opzione3 != 0 ? 50 : 0);
            break;
    }
}

// The row of the next station must be free: not beyond the board limit nor past row 80.
bool riga_stazione_libera(const StatoTreno& s) {
    return s.stazione <= s.limite_cartelli &&
           s.stazione <= static_cast<std::int32_t>(riga_tabella::prima_indicazione);
}

// Marks, spacing from the previous station and the next free row, once the row is stored.
// The station's errors point at its position field (`campo`).
Esito chiudi_stazione(Form1& f, StatoTreno& s, const voce& v, PosizioneCampo campo) {
    const std::int32_t segni = segna_stazione(f, s.stazione, v);
    if (segni == errore_treno::fine_zona_troppo_vicina) {
        return ferma_senza_posizione(f, segni, campo);
    }
    if (segni != kPosato) return ferma(f, segni, v.valore3, campo);
    if (s.stazione > 1 && static_cast<std::int64_t>(v.valore1) - 350 <
                              f.tabella[static_cast<std::size_t>(s.stazione - 1)].valore2) {
        return ferma(f, errore_treno::stazioni_vicine, v.valore3, campo);
    }
    ++s.stazione;
    if (s.stazione >= s.limite_cartelli) {
        return ferma_alla_parola(f, errore_treno::troppe_stazioni);
    }
    return Esito::prosegui;
}

Esito leggi_stazione(Form1& f, StatoTreno& s) {
    if (!riga_stazione_libera(s)) return ferma_alla_parola(f, errore_treno::troppe_stazioni);
    voce& v = f.tabella[static_cast<std::size_t>(s.stazione)];
    const Numero posizione = numero_segnato(s);
    v.valore3 = posizione.valore;
    if (oltre_le_celle(f, v.valore3, kMargineStazione)) return fine_oltre_le_celle(f, posizione);
    if (v.valore3 % 50 != 0) return ferma(f, errore_treno::stazione_non_multipla_50, posizione);
    v.segno = numero8(s);
    const Numero lunghezza = numero_segnato(s);
    if (lunghezza.valore % 100 != 0) {
        return ferma(f, errore_treno::lunghezza_non_multipla_100, v.valore3, lunghezza.campo);
    }
    leggi_dati_stazione(f, s, v);
    calcola_zona(v, lunghezza.valore);
    osserva_valore(f, {TipoValore::zona, v.valore1, v.valore2, s.stazione, {}, {}});
    if (lunghezza.valore < 600) v.opzione4 = 0;
    if (s.stazione == 1) {
        v.opzione3 = 0;
        v.opzione4 = 0;
    }
    return chiudi_stazione(f, s, v, posizione.campo);
}

// --- the keyword table ---

// A row runs its handler when the field (lower-cased) holds every non-empty word. The tests
// are independent: a field holding several keywords runs several handlers, in table order.
struct Parola {
    TipoRiga tipo;
    std::string_view prima;
    std::string_view seconda;
    Esito (*gestisci)(Form1&, StatoTreno&);
};

constexpr Parola kParole[] = {
    {TipoRiga::massa_frenata, "frenata", "massa", leggi_massa_frenata},
    {TipoRiga::vetture, "vetture", "", leggi_vetture},
    {TipoRiga::velocita, "velocit", "", leggi_velocita},
    {TipoRiga::aderenza, "aderenza", "", leggi_aderenza},
    {TipoRiga::orologio, "orologio", "", leggi_orologio},
    {TipoRiga::sabbia, "sabbia", "", leggi_sabbia},
    {TipoRiga::segnale, "segnale", "", leggi_segnale},
    {TipoRiga::rallentamento, "rallentamento", "", leggi_rallentamento},
    {TipoRiga::abbattimento, "abbattimento", "", leggi_abbattimento},
    {TipoRiga::stazione, "stazione", "", leggi_stazione},
};

Esito esegui_parole(Form1& f, StatoTreno& s) {
    const std::string campo = minuscolo(f.riga);
    for (const Parola& p : kParole) {
        if (!contiene(campo, p.prima) || (!p.seconda.empty() && !contiene(campo, p.seconda))) {
            continue;
        }
        if (f.osservatore) f.osservatore->riga(p.tipo);
        if (const Esito e = p.gestisci(f, s); e != Esito::prosegui) return e;
    }
    return Esito::prosegui;
}

// --- reading loop ---

// Reads a keyword field into `riga`; the error location moves to it.
void leggi_parola(Form1& f, StatoTreno& s) {
    f.riga = s.campi.leggi_testo();
    segna(f, s.campi.ultimo_campo());
}

void cerca_generale(Form1& f, StatoTreno& s) {
    while (!s.campi.fine_file()) {
        leggi_parola(f, s);
        if (contiene(minuscolo(f.riga), "[generale]")) {
            if (f.osservatore) f.osservatore->generale(s.campi.ultimo_campo());
            return;
        }
    }
}

// Takes the next keyword field into `riga`, in place of up to two fields holding "-" (lines of
// dashes separate the sections). False at the end of the file: the last field is never
// examined.
bool prossima_parola(Form1& f, StatoTreno& s) {
    if (s.campi.fine_file()) return false;
    leggi_parola(f, s);
    for (int saltati = 0; saltati < 2 && contiene(f.riga, "-"); ++saltati) {
        if (s.campi.fine_file()) break;
        if (f.osservatore) f.osservatore->separatore(s.campi.ultimo_campo(), f.riga);
        leggi_parola(f, s);
    }
    if (s.campi.fine_file()) {
        if (f.osservatore) f.osservatore->non_esaminato(s.campi.ultimo_campo(), f.riga);
        return false;
    }
    if (f.osservatore) f.osservatore->parola(s.campi.ultimo_campo(), f.riga);
    return true;
}

// Reading on after an error (a watcher that asks for it): a refused row or a read failure is
// recorded as the compile records it and the rest of the row's line is skipped; the end step
// runs at the end of the file.
bool esegui_o_riprendi(Form1& f, StatoTreno& s) {
    try {
        if (esegui_parole(f, s) != Esito::prosegui) s.campi.salta_resto_della_riga();
    } catch (const ErroreLettura& e) {
        registra_fallimento(f, FileDescrizione::treno, e);
        if (s.campi.fine_file()) return false;
        s.campi.salta_resto_della_riga();
    }
    return true;
}

Esito leggi_righe(Form1& f, StatoTreno& s) {
    const bool oltre = f.osservatore && f.osservatore->legge_oltre();
    while (prossima_parola(f, s)) {
        if (oltre) {
            if (!esegui_o_riprendi(f, s)) break;
        } else if (const Esito e = esegui_parole(f, s); e != Esito::prosegui) {
            return e;
        }
    }
    return Esito::fine;
}

// End step: the previous speed and adhesion run on up to cell N - 3 (at least one cell each,
// so a cursor that rows at the same place pushed to cell N still writes it, never past it),
// then the reference points must lie on 50 m steps.
void passo_finale(Form1& f, StatoTreno& s) {
    const std::int32_t fino = f.ultima_cella() - 2;
    riempi_velocita(f, s, fino, CellaN::inclusa);
    riempi_aderenza(f, s, fino);
    for (std::size_t r = riga_tabella::progressiva_1; r <= riga_tabella::progressiva_3; ++r) {
        const voce& v = f.tabella[r];
        if (v.valore1 % kPassoProgressive != 0 || v.valore2 % kPassoProgressive != 0) {
            // The error points at the line's reference row, at the field not on 50 m.
            const auto& campi = f.campi_progressive[r - riga_tabella::progressiva_1];
            const bool posizione = v.valore1 % kPassoProgressive != 0;
            f.segna_luogo(FileDescrizione::linea, campi[posizione ? 0 : 1]);
            f.registra_errore(kErroreProgressive);
        }
    }
    f.luogo = {};
}

}  // namespace

void leggi_descrizione_treno(Form1& f, std::string_view testo, std::int32_t limite_cartelli) {
    StatoTreno s{LettoreCampi(testo, f.osservatore), limite_cartelli};
    segna(f, {});
    if (f.osservatore) f.osservatore->inizio_file(true);
    try {
        cerca_generale(f, s);
        if (leggi_righe(f, s) == Esito::ferma) return;
        passo_finale(f, s);
    } catch (const ErroreLettura& e) {
        // A failed read points at its field; a value that does not fit where it is stored has
        // no field of its own and keeps the row's keyword (or the speed being filled).
        if (e.dove().riga != 0) segna(f, e.dove());
        throw;
    }
}

}  // namespace brunavia
