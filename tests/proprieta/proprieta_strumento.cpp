// The RapidCheck properties of the tool: speed boards read back, decompile of random and
// damaged pairs, check against the compile on random edits.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "compiler/file_compilati.h"
#include "tests/aiuti_strumento.h"
#include "tests/proprieta/descrizioni_casuali.h"
#include "tool/check/verifica.h"
#include "tool/decompile/decompila.h"
#include "tool/ordine_diagnosi.h"
#include "tool/scenario.h"

namespace brunavia::strumento {
namespace {

const NomiScenario kNomi{"Brunavia", "706"};

using prova::codice_compilato;
using prova::compila_testi;
using prova::errori_compilati;
using prova::esito_compilazione;
using prova::linea_spedita;
using prova::treno_spedito;

// ---- speed boards ----

// Every board within the ranges reads back with its own speeds among the readings; it has a
// single reading exactly when no other board in the ranges stores the same code.
RC_GTEST_PROP(StrumentoCartelliV, LaLetturaContieneSempreIlCartelloScritto, ()) {
    const bool passi_di_5 = *rc::gen::arbitrary<bool>();
    const std::int32_t sinistra =
        passi_di_5 ? 5 * *rc::gen::inRange(0, 328) : *rc::gen::inRange(0, 1630);
    const std::int32_t destra =
        passi_di_5 ? 5 * *rc::gen::inRange(0, 100) : *rc::gen::inRange(0, 98);
    const std::int32_t quinti = static_cast<std::int32_t>(std::nearbyint(destra / 5.0));
    const CodiceVelocita c = leggi_codice_velocita(codice_compilato(sinistra, destra));
    const VelocitaCartello scritto{sinistra, quinti * 5};
    RC_ASSERT(std::find(c.letture.begin(), c.letture.end(), scritto) != c.letture.end());
    // Another board in the ranges with the same code: one step of 100 km/h to the right (left
    // down by 1 ... 4 to a multiple of 5) or back to the left (right below 100 km/h).
    const bool altro_a_destra =
        sinistra > 0 && quinti + 20 * (sinistra % 5 == 0 ? 5 : sinistra % 5) < 100;
    const bool altro_a_sinistra = quinti >= 20;
    RC_ASSERT(c.unica() == !(altro_a_destra || altro_a_sinistra));
}

// ---- decompile of random description pairs ----

RC_GTEST_PROP(StrumentoDecompile, CoppieCasualiRitornanoAgliStessiByte, ()) {
    const prova::CoppiaCasuale coppia = *prova::coppia_casuale();
    const auto originale = compila_testi(coppia.linea, coppia.treno, coppia.con_piano ? 1 : 0);
    RC_PRE(originale.has_value());
    const EsitoDecompila esito = decompila(*originale, kNomi);
    // Every pair that compiles without error has a description: none is refused.
    std::string motivi;
    for (const auto& m : esito.motivi) motivi += m + "\n";
    RC_LOG() << motivi << "--- linea\n" << coppia.linea << "--- treno\n" << coppia.treno;
    RC_ASSERT(esito.descrizioni.has_value());
    const auto di_nuovo =
        compila_testi(esito.descrizioni->linea, esito.descrizioni->treno, coppia.con_piano ? 1 : 0);
    RC_ASSERT(di_nuovo.has_value());
    RC_ASSERT(di_nuovo->byte_celle == originale->byte_celle);
    RC_ASSERT(di_nuovo->byte_tabella == originale->byte_tabella);
    RC_ASSERT(di_nuovo->byte_tracciato == originale->byte_tracciato);
}

// Compiled files with some bytes changed, as a damaged copy or a hand edit leaves them: when
// they still decode, decompile refuses with a reason or writes descriptions that give them back.
RC_GTEST_PROP(StrumentoDecompile, FileAlteratiRifiutatiOppureRiprodotti, ()) {
    const prova::CoppiaCasuale coppia = *prova::coppia_casuale();
    const auto originale = compila_testi(coppia.linea, coppia.treno, coppia.con_piano ? 1 : 0);
    RC_PRE(originale.has_value());
    std::string celle = originale->byte_celle;
    std::string tabella = originale->byte_tabella;
    const int modifiche = *rc::gen::inRange(1, 6);
    for (int i = 0; i < modifiche; ++i) {
        std::string& file = *rc::gen::arbitrary<bool>() ? celle : tabella;
        const auto dove = *rc::gen::inRange<std::size_t>(0, file.size());
        file[dove] = static_cast<char>(*rc::gen::arbitrary<unsigned char>());
    }
    std::optional<Compilati> alterati;
    try {
        alterati = compilati_da_byte(celle, tabella, originale->byte_tracciato);
    } catch (const ErroreDecodifica&) {
        RC_DISCARD("non si decodifica piu'");
    }
    const EsitoDecompila esito = decompila(*alterati, kNomi);
    RC_CLASSIFY(esito.descrizioni.has_value(), "riprodotti");
    if (!esito.descrizioni) {
        RC_ASSERT(!esito.motivi.empty());
        return;
    }
    const auto di_nuovo =
        compila_testi(esito.descrizioni->linea, esito.descrizioni->treno, coppia.con_piano ? 1 : 0);
    RC_ASSERT(di_nuovo.has_value());
    RC_ASSERT(di_nuovo->byte_celle == celle);
    RC_ASSERT(di_nuovo->byte_tabella == tabella);
}

// ---- check ----

// Any edit of the descriptions: the watched compile is the compile, check ends, and every error the
// compile records is among its diagnostics, with the same number and position and not marked as
// found by reading on.
RC_GTEST_PROP(Verifica, OgniErroreDellaCompilazioneCompare, ()) {
    const bool nel_treno = *rc::gen::arbitrary<bool>();
    std::string testo = nel_treno ? treno_spedito() : linea_spedita();
    const auto modifiche = *rc::gen::inRange(1, 6);
    for (int i = 0; i < modifiche; ++i) {
        const auto dove =
            static_cast<std::size_t>(*rc::gen::inRange(0, static_cast<int>(testo.size())));
        const auto quanti = static_cast<std::size_t>(*rc::gen::inRange(0, 12));
        const std::string nuovo = *rc::gen::element<std::string>(
            "", ",", "\r\n", "-", "0", "9", "99999999999", "[x]", "[aderenza]", "segnale, 1400",
            "stazione", "pendenza, 5", " ", "a");
        testo.replace(dove, std::min(quanti, testo.size() - dove), nuovo);
    }
    const std::string linea = nel_treno ? linea_spedita() : testo;
    const std::string treno = nel_treno ? testo : treno_spedito();
    // Watching the reading changes nothing the compile does.
    RC_ASSERT(esito_compilazione(linea, treno, true) == esito_compilazione(linea, treno, false));
    const auto d = verifica_descrizioni(linea, treno);
    // Handed on as found, yet in file order.
    for (std::size_t i = 1; i < d.size(); ++i) {
        RC_ASSERT(!(chiave_di(d[i].luogo) < chiave_di(d[i - 1].luogo)));
    }
    for (const ErroreRegistrato& e : errori_compilati(linea, treno)) {
        RC_ASSERT(std::any_of(d.begin(), d.end(), [&](const Diagnosi& x) {
            return x.errore && x.numero == e.codice && x.posizione == e.posizione &&
                   !x.dopo_ripresa;
        }));
    }
}

}  // namespace
}  // namespace brunavia::strumento
