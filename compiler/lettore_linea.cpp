#include "compiler/lettore_linea.h"

#include <array>
#include <optional>
#include <string>
#include <utility>

#include "compiler/lettore_campi.h"
#include "compiler/numeri.h"
#include "compiler/osservatore.h"
#include "compiler/posa_linea.h"

namespace brunavia {
namespace {

// Error numbers of the line reading.
constexpr std::int32_t kErroreLunghezza = 1;
constexpr std::int32_t kErroreRipetizione1 = 3;
constexpr std::int32_t kErroreRipetizione2 = 4;
constexpr std::int32_t kErroreCodiciRipetizione = 5;
constexpr std::int32_t kErroreSenzaGenerale = 102;

constexpr std::int32_t kLunghezzaMassima = 1'000'000;
constexpr std::int32_t kPassoRipetizione = 50;
constexpr int kSeparatoriGenerale = 10;
constexpr int kSeparatoriCaratteristiche = 2;

// A number of a row with the place of its field, for the errors that point at it.
struct Numero {
    std::int32_t valore = 0;
    PosizioneCampo campo;
};

// The reading of one line description: the model, the fields and the placement state.
struct Lettura {
    Form1& f;
    LettoreCampi campi;
    StatoLinea& stato;
    bool lunghezza_letta = false;
    bool riga_lunghezza = false;      // a length row was met, even a refused one
    PosizioneCampo campo_generale{};  // the "[generale]" header
    PosizioneCampo campo_chiave{};    // the keyword field of the feature row being read

    OsservatoreLettura* osservatore() const { return f.osservatore; }
    bool legge_oltre() const { return f.osservatore && f.osservatore->legge_oltre(); }
    void osserva_riga(TipoRiga tipo) const {
        if (f.osservatore) f.osservatore->riga(tipo);
    }
    // The current line, just read, is examined as a keyword or skipped as a separator.
    void osserva_parola() const {
        if (f.osservatore) f.osservatore->parola(campi.ultimo_campo(), f.riga);
    }
    void osserva_separatore() const {
        if (f.osservatore) f.osservatore->separatore(campi.ultimo_campo(), f.riga);
    }
    // True at the end of the file, after telling the watcher that the field just read, the
    // last one, is not examined.
    bool finito() const {
        if (!campi.fine_file()) return false;
        if (f.osservatore) f.osservatore->non_esaminato(campi.ultimo_campo(), f.riga);
        return true;
    }

    // Every keyword read moves the error location to it.
    void leggi_riga() {
        f.riga = campi.leggi_testo();
        segna(campi.ultimo_campo());
    }
    void segna(PosizioneCampo campo) { f.segna_luogo(FileDescrizione::linea, campo); }
    std::int32_t numero() { return campi.leggi_numero<std::int32_t>(); }
    std::int16_t numero16() { return campi.leggi_numero<std::int16_t>(); }
    Numero numero_segnato() {
        const std::int32_t v = numero();
        return {v, campi.ultimo_campo()};
    }
};

// How a section loop goes on after a row.
enum class Passo { continua, esci, interrompi };

// ---- general section ----

// Kilometric reference points: keyword word and the table row it is read into.
struct RigaProgressiva {
    std::string_view parola;
    std::size_t riga;
};
constexpr std::array<RigaProgressiva, 3> kProgressive = {{
    {"tre", riga_tabella::progressiva_1},
    {"due", riga_tabella::progressiva_2},
    {"uno", riga_tabella::progressiva_3},
}};

// Scenery settings: keyword word and the member of row 85 it is read into.
struct RigaSfondo {
    std::string_view parola;
    std::int32_t voce::*membro;
};
constexpr std::array<RigaSfondo, 3> kSfondi = {{
    {"uno", &voce::valore1},
    {"due", &voce::valore3},
    {"tre", &voce::valore2},
}};

// Cab-signal repetition: the code counts a keyword text may name, in the order they are tried.
constexpr std::array<std::pair<std::string_view, std::int32_t>, 2> kCodiciRipetizione = {{
    {"4", 4},
    {"9", 9},
}};

voce& riga_di(Form1& f, std::size_t r) {
    return f.tabella[r];
}

bool dimensiona_percorso(Lettura& l) {
    l.riga_lunghezza = true;
    const auto [lunghezza, campo] = l.numero_segnato();
    riga_di(l.f, riga_tabella::percorso).valore2 = lunghezza;
    if (lunghezza < 0 || lunghezza > kLunghezzaMassima) {
        l.segna(campo);
        l.f.registra_errore(kErroreLunghezza);
        return false;
    }
    const std::int32_t ultimo_punto = lunghezza + kMargineMetri;
    l.f.celle.assign(celle_di_linea(lunghezza), cella{});
    if (l.f.flag_linea != 0) l.f.tracciato.dimensiona(static_cast<std::size_t>(ultimo_punto));
    l.lunghezza_letta = true;
    return true;
}

void leggi_progressiva(Lettura& l, std::size_t r) {
    // Each value is stored as soon as it is read: a failed read leaves the earlier ones.
    voce& v = riga_di(l.f, r);
    auto& campi = l.f.campi_progressive[r - riga_tabella::progressiva_1];
    v.valore1 = l.numero();
    campi[0] = l.campi.ultimo_campo();
    v.valore2 = l.numero();
    campi[1] = l.campi.ultimo_campo();
    v.valore3 = l.numero();
}

std::optional<std::int32_t> codice_ripetizione(std::string_view chiave) {
    for (const auto& [cifra, codice] : kCodiciRipetizione) {
        if (contiene_senza_maiuscole(chiave, cifra)) return codice;
    }
    return std::nullopt;
}

bool leggi_ripetizione(Lettura& l, std::string_view chiave) {
    voce& v = riga_di(l.f, riga_tabella::treno);
    v.valore1 = l.numero();
    const PosizioneCampo prima = l.campi.ultimo_campo();
    v.valore2 = l.numero();
    const PosizioneCampo seconda = l.campi.ultimo_campo();
    if (v.valore1 % kPassoRipetizione != 0) {
        l.segna(prima);
        l.f.registra_errore(kErroreRipetizione1);
        return false;
    }
    if (v.valore2 % kPassoRipetizione != 0) {
        l.segna(seconda);
        l.f.registra_errore(kErroreRipetizione2);
        return false;
    }
    const auto codice = codice_ripetizione(chiave);
    if (!codice) {
        l.f.registra_errore(kErroreCodiciRipetizione);
        return false;
    }
    v.valore3 = v.valore2 == 0 ? 0 : *codice;
    return true;
}

// Applies every general-section test that the current line matches; false when the reading
// stops on an error.
bool applica_generale(Lettura& l) {
    const std::string chiave = l.f.riga;
    bool letta = true;
    if (contiene_senza_maiuscole(chiave, "percorso") &&
        contiene_senza_maiuscole(chiave, "lunghezza")) {
        l.osserva_riga(TipoRiga::lunghezza);
        if (!dimensiona_percorso(l)) {
            if (!l.legge_oltre()) return false;
            letta = false;
        }
    }
    for (const auto& p : kProgressive) {
        if (contiene(chiave, p.parola) && contiene(chiave, "progressiva")) {
            l.osserva_riga(TipoRiga::progressiva);
            leggi_progressiva(l, p.riga);
        }
    }
    for (const auto& s : kSfondi) {
        if (contiene(chiave, "sfondo") && contiene(chiave, s.parola)) {
            l.osserva_riga(TipoRiga::sfondo);
            riga_di(l.f, riga_tabella::scenario).*s.membro = l.numero();
        }
    }
    if (contiene(chiave, "segnali") && contiene(chiave, "ripetizione")) {
        l.osserva_riga(TipoRiga::ripetizione);
        return leggi_ripetizione(l, chiave) && letta;
    }
    return letta;
}

// A section header ends the general section: "[" and "]", not a dash line.
bool chiude_generale(std::string_view riga) {
    const auto inizio = riga.find_first_not_of(' ');
    const std::string_view testo = inizio == std::string_view::npos ? "" : riga.substr(inizio);
    return !testo.starts_with('-') && contiene(testo, "[") && contiene(testo, "]");
}

// Reads up to the field that holds "[generale]"; false (error 102) when the end comes first.
bool cerca_generale(Lettura& l) {
    do {
        l.leggi_riga();
        if (l.finito()) {
            l.segna({});  // an error of the whole file
            l.f.registra_errore(kErroreSenzaGenerale);
            return false;
        }
    } while (!contiene_senza_maiuscole(l.f.riga, "[generale]"));
    l.campo_generale = l.campi.ultimo_campo();
    if (l.osservatore()) l.osservatore()->generale(l.campo_generale);
    return true;
}

// Reading on after an error of the general section; false at the end of the file.
bool applica_generale_o_riprendi(Lettura& l) {
    try {
        if (!applica_generale(l)) l.campi.salta_resto_della_riga();
    } catch (const ErroreLettura& e) {
        registra_fallimento(l.f, FileDescrizione::linea, e);
        if (l.campi.fine_file()) return false;
        l.campi.salta_resto_della_riga();
    }
    return true;
}

// The general section, up to the header that follows it; false when the reading stops.
bool leggi_generale(Lettura& l) {
    for (;;) {
        if (l.campi.fine_file()) return true;
        l.leggi_riga();
        if (l.finito()) return true;
        for (int i = 0; i < kSeparatoriGenerale && contiene(l.f.riga, "-"); ++i) {
            l.osserva_separatore();
            l.leggi_riga();
        }
        l.osserva_parola();
        if (!l.legge_oltre()) {
            if (!applica_generale(l)) return false;
        } else if (!applica_generale_o_riprendi(l)) {
            return true;
        }
        if (chiude_generale(l.f.riga)) return true;
    }
}

// ---- feature sections ----

// A row's first position must leave it inside the cells: (position + 100) / 50 <= last cell.
bool oltre_le_celle(const Form1& f, std::int32_t posizione) {
    return (static_cast<double>(posizione) + 100.0) / 50.0 > f.ultima_cella();
}

Passo fuori_celle(Lettura& l, const Numero& posizione) {
    l.segna(posizione.campo);
    l.f.registra_errore(errore_linea::fuori_celle, posizione.valore);
    return Passo::esci;
}

// Checks the row's first position and places the row. Error 15 points at the position field
// (or at `campo_limiti`, the field that takes a row past the cells or the plan), a refusal at
// `campo_rifiuto`.
template <typename Posa>
Passo posa(Lettura& l, const Numero& posizione, PosizioneCampo campo_rifiuto,
           PosizioneCampo campo_limiti, Posa&& posa_riga) {
    if (oltre_le_celle(l.f, posizione.valore)) return fuori_celle(l, posizione);
    l.segna(campo_rifiuto);
    switch (posa_riga()) {
        case EsitoPosa::posata:
            return Passo::continua;
        case EsitoPosa::fuori_limiti:
            return fuori_celle(l, {posizione.valore, campo_limiti});
        case EsitoPosa::rifiutata:
            break;
    }
    return Passo::interrompi;
}
template <typename Posa>
Passo posa(Lettura& l, const Numero& posizione, PosizioneCampo campo_rifiuto, Posa&& posa_riga) {
    return posa(l, posizione, campo_rifiuto, posizione.campo, posa_riga);
}

void osserva_valore(const Lettura& l, const ValoreLetto& v) {
    if (l.osservatore()) l.osservatore()->valore(v);
}

Passo riga_pendenza(Lettura& l, std::string_view) {
    const Numero posizione = l.numero_segnato();
    const Numero pendenza_letta = l.numero_segnato();
    const std::int32_t pendenza = pendenza_letta.valore;
    if (l.osservatore()) {
        const auto cella = bit_bassi<std::uint8_t>(std::int64_t{pendenza} + 100);
        osserva_valore(l, {TipoValore::pendenza,
                           pendenza,
                           std::int64_t{cella} - 100,
                           0,
                           {},
                           pendenza_letta.campo});
    }
    return posa(l, posizione, posizione.campo,
                [&] { return memo_pendenza(l.f, l.stato, posizione.valore, pendenza); });
}

// A curve is refused for its keyword (no class) or its run (the plan's limit): the error
// points at the keyword. A curve that runs past the plan points at its length.
Passo riga_curva(Lettura& l, std::string_view chiave) {
    const Numero inizio = l.numero_segnato();
    const Numero lunghezza = l.numero_segnato();
    const bool inizio_dentro = !l.f.tracciato.esiste() ||
                               inizio.valore <= static_cast<std::int64_t>(l.f.tracciato.ultimo());
    return posa(l, inizio, l.campo_chiave, inizio_dentro ? lunghezza.campo : inizio.campo,
                [&] { return memo_curva(l.f, l.stato, chiave, inizio.valore, lunghezza.valore); });
}

// A stretch whose end lies past the cells points at its end.
Passo riga_montagna(Lettura& l, std::string_view) {
    const Numero inizio = l.numero_segnato();
    const Numero fine = l.numero_segnato();
    std::int32_t tipo = l.numero();
    const bool inizio_dentro = dentro_le_celle(l.f, cella_di(inizio.valore));
    return posa(l, inizio, inizio.campo, inizio_dentro ? fine.campo : inizio.campo,
                [&] { return memo_montagna(l.f, l.stato, inizio.valore, fine.valore, tipo); });
}

Passo riga_indicatori_v_max(Lettura& l, std::string_view) {
    IndicatoriVMax r;
    const Numero posizione = l.numero_segnato();
    r.posizione = posizione.valore;
    r.vas = l.numero();
    r.vbs = l.numero();
    r.vcs = l.numero();
    r.strisces = l.numero16();
    r.vad = l.numero();
    r.vbd = l.numero();
    r.vcd = l.numero();
    r.strisced = l.numero16();
    return posa(l, posizione, posizione.campo, [&] { return memo_indicatori_v_max(l.f, r); });
}

Passo riga_cartello_indicatore(Lettura& l, std::string_view) {
    const Numero posizione = l.numero_segnato();
    l.leggi_riga();  // the board's text: the rest of the line
    return posa(l, posizione, posizione.campo,
                [&] { return memo_cartello_indicatore(l.f, l.stato, posizione.valore, l.f.riga); });
}

// The feature rows, in the order their tests are applied to a keyword text; a text that
// matches several runs each of them.
struct RegolaRiga {
    TipoRiga tipo;
    bool (*riconosce)(const Form1& f, std::string_view chiave);
    Passo (*leggi_e_posa)(Lettura& l, std::string_view chiave);
};

constexpr std::array<RegolaRiga, 5> kRegole = {{
    {TipoRiga::pendenza,
     [](const Form1&, std::string_view c) { return contiene_senza_maiuscole(c, "pendenza"); },
     riga_pendenza},
    {TipoRiga::curva,
     [](const Form1& f, std::string_view c) {
         return f.flag_linea != 0 && contiene_senza_maiuscole(c, "curva");
     },
     riga_curva},
    {TipoRiga::montagna,
     [](const Form1&, std::string_view c) { return contiene_senza_maiuscole(c, "montagna"); },
     riga_montagna},
    {TipoRiga::indicatori_v_max,
     [](const Form1&, std::string_view c) { return contiene_senza_maiuscole(c, "indicatori_v"); },
     riga_indicatori_v_max},
    {TipoRiga::cartello_indicatore,
     [](const Form1&, std::string_view c) {
         return contiene_senza_maiuscole(c, "indicat") && contiene_senza_maiuscole(c, "cartello");
     },
     riga_cartello_indicatore},
}};

Passo applica_caratteristica(Lettura& l) {
    const std::string chiave = l.f.riga;
    l.campo_chiave = l.campi.ultimo_campo();
    for (const auto& regola : kRegole) {
        if (!regola.riconosce(l.f, chiave)) continue;
        l.osserva_riga(regola.tipo);
        if (const Passo p = regola.leggi_e_posa(l, chiave); p != Passo::continua) return p;
    }
    return Passo::continua;
}

// Reading on after an error (a watcher that asks for it): a read failure is recorded as the
// compile records it, and the rest of the refused row's line is skipped.
Passo applica_o_riprendi(Lettura& l) {
    try {
        const Passo p = applica_caratteristica(l);
        if (p != Passo::continua) l.campi.salta_resto_della_riga();
        return Passo::continua;
    } catch (const ErroreLettura& e) {
        registra_fallimento(l.f, FileDescrizione::linea, e);
        if (l.campi.fine_file()) return Passo::esci;
        l.campi.salta_resto_della_riga();
        return Passo::continua;
    }
}

// The feature sections up to the end of the file: `esci` at the end or after error 15,
// `interrompi` when a row was refused.
Passo leggi_caratteristiche(Lettura& l) {
    for (;;) {
        if (l.campi.fine_file()) return Passo::esci;
        l.leggi_riga();
        if (l.finito()) return Passo::esci;
        for (int i = 0; i < kSeparatoriCaratteristiche && contiene(l.f.riga, "-"); ++i) {
            l.osserva_separatore();
            l.leggi_riga();
            if (l.finito()) return Passo::esci;
        }
        l.osserva_parola();
        const Passo p = l.legge_oltre() ? applica_o_riprendi(l) : applica_caratteristica(l);
        if (p != Passo::continua) return p;
    }
}

void inizia_caratteristiche(Form1& f, StatoLinea& stato) {
    stato = StatoLinea{};
    f.inizio_montagne.clear();
    f.fine_montagne.clear();
    inizia_tracciato(f);
}

// ---- reference points ----

struct Progressiva {
    std::int32_t posizione = 0;
    std::int32_t chilometrica = 0;
    std::int32_t verso = 0;  // 1: chainage decreasing along the line
};

// Indices into {T, D, U}: the three points as read from "tre", "due", "uno".
using Ordine = std::array<std::size_t, 3>;

// The point with the strictly largest position first, then the other two by position.
std::optional<Ordine> ordine_per_posizione(const std::array<Progressiva, 3>& p) {
    constexpr std::array<Ordine, 3> kAltri = {{{0, 1, 2}, {1, 0, 2}, {2, 0, 1}}};
    for (const auto& [primo, a, b] : kAltri) {
        if (p[primo].posizione > p[a].posizione && p[primo].posizione > p[b].posizione) {
            return p[a].posizione > p[b].posizione ? Ordine{primo, a, b} : Ordine{primo, b, a};
        }
    }
    return std::nullopt;
}

// All positions summing to 0: the last point with a positive chainage decides the order.
std::optional<Ordine> ordine_per_chilometrica(const std::array<Progressiva, 3>& p) {
    constexpr std::array<Ordine, 3> kOrdini = {{{0, 1, 2}, {1, 0, 2}, {2, 1, 0}}};
    std::optional<Ordine> ordine;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i].chilometrica > 0) ordine = kOrdini[i];
    }
    return ordine;
}

Progressiva progressiva_di(const voce& v) {
    return {v.valore1, v.valore2, v.valore3};
}

}  // namespace

void progressive_ordina(Form1& f) {
    constexpr std::array<std::size_t, 3> kRighe = {
        riga_tabella::progressiva_1, riga_tabella::progressiva_2, riga_tabella::progressiva_3};
    std::array<Progressiva, 3> letti;
    for (std::size_t i = 0; i < kRighe.size(); ++i) letti[i] = progressiva_di(f.tabella[kRighe[i]]);

    const auto parziale =
        memorizza_in<std::int32_t>(std::int64_t{letti[0].posizione} + letti[1].posizione);
    const auto somma = memorizza_in<std::int32_t>(std::int64_t{parziale} + letti[2].posizione);
    const auto ordine = somma != 0 ? ordine_per_posizione(letti) : ordine_per_chilometrica(letti);

    const auto campi = f.campi_progressive;
    for (std::size_t i = 0; i < kRighe.size(); ++i) {
        Progressiva p = ordine ? letti[(*ordine)[i]] : Progressiva{};
        f.campi_progressive[i] = ordine ? campi[(*ordine)[i]] : campi[i];
        if (p.verso == 1)
            p.chilometrica = memorizza_in<std::int32_t>(std::int64_t{p.chilometrica} + 100);
        voce& v = f.tabella[kRighe[i]];
        v.valore1 = p.posizione;
        v.valore2 = p.chilometrica;
        v.valore3 = p.verso;
    }
}

namespace {

// The general section gave no length. The compile fails the reading (error 25, at the
// "[generale]" header); a watcher that reads on gets the largest line, so that every row
// after it is still read and placed.
void leggi_senza_lunghezza(Lettura& l) {
    const ErroreLettura e(l.riga_lunghezza ? "la lunghezza del percorso non e' valida"
                                           : "manca la riga \"lunghezza percorso\" nella "
                                             "sezione [generale]",
                          l.campo_generale);
    if (!l.legge_oltre()) throw e;
    if (!l.riga_lunghezza) registra_fallimento(l.f, FileDescrizione::linea, e);
    const std::int32_t ultimo_punto = kLunghezzaMassima + kMargineMetri;
    l.f.celle.assign(celle_di_linea(kLunghezzaMassima), cella{});
    if (l.f.flag_linea != 0) l.f.tracciato.dimensiona(static_cast<std::size_t>(ultimo_punto));
}

EsitoLinea leggi_tutto(Lettura& l) {
    Form1& f = l.f;
    StatoLinea& stato = l.stato;
    if (!cerca_generale(l) || !leggi_generale(l)) return EsitoLinea::interrompi;
    // The feature rows are placed into the cells: a description without a length cannot go on.
    if (!l.lunghezza_letta) leggi_senza_lunghezza(l);
    progressive_ordina(f);
    inizia_caratteristiche(f, stato);
    if (leggi_caratteristiche(l) == Passo::interrompi) return EsitoLinea::interrompi;
    completa_pendenze(f, stato);
    completa_tracciato(f, stato);
    return EsitoLinea::prosegui;
}

}  // namespace

EsitoLinea leggi_descrizione_linea(Form1& f, std::string_view testo, StatoLinea& stato) {
    Lettura l{f, LettoreCampi(testo, f.osservatore), stato};
    l.segna({});
    if (f.osservatore) f.osservatore->inizio_file(false);
    try {
        return leggi_tutto(l);
    } catch (const ErroreLettura& e) {
        // A failed read points at its field; a value that does not fit where it is stored has
        // no field of its own and keeps the row's keyword.
        if (e.dove().riga != 0) l.segna(e.dove());
        throw;
    }
}

}  // namespace brunavia
