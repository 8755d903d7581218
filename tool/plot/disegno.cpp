#include "tool/plot/disegno.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "io/nomi_file.h"
#include "tool/plot/dati.h"
#include "tool/plot/legenda.h"
#include "tool/plot/pagina.h"
#include "tool/plot/pannelli.h"
#include "tool/plot/planimetria.h"
#include "tool/plot/tracce.h"

namespace brunavia::strumento {

using namespace disegno;

namespace {

std::string sottotitolo(const Dati& d) {
    std::size_t segnali = 0, indicatori_v = 0, cartelli = 0;
    for (std::size_t k = d.prima_cella; k < d.dopo_cella; ++k) {
        const cella& c = d.s.celle[k];
        segnali += c.tipo_cella == tipo::segnale;
        indicatori_v += c.tipo_cella == tipo::indicatore_v_max;
        cartelli += c.tipo_cella == tipo::cartello_indicatore;
    }
    const auto stazioni =
        std::count_if(d.stazioni.begin(), d.stazioni.end(),
                      [&](const Stazione& s) { return d.nel_tratto(s.posizione); });
    char t[320];
    if (d.ogni_etichetta) {
        std::snprintf(t, sizeof t,
                      "tratto da km %g a km %g di una linea di %.0f m (celle %zu ... %zu): %td "
                      "stazioni, %zu segnali, %zu cartelli V max, %zu cartelli indicatori",
                      d.asse.inizio / 1000, d.asse.fine() / 1000, d.lunghezza, d.prima_cella,
                      d.dopo_cella - 1, stazioni, segnali, indicatori_v, cartelli);
    } else {
        std::snprintf(t, sizeof t,
                      "linea di %.0f m (celle 0 ... %zu), %td stazioni, %zu segnali, %zu "
                      "cartelli V max, %zu cartelli indicatori",
                      d.lunghezza, d.s.celle.size() - 1, stazioni, segnali, indicatori_v, cartelli);
    }
    return t;
}

// Decodes one file; a damaged file's error names it by its whole path, as dump does.
template <typename Decodifica>
auto decodifica_file(const std::filesystem::path& file, Decodifica decodifica) {
    const std::string byte = leggi_tutto(file);
    try {
        return decodifica(byte);
    } catch (const ErroreDecodifica& e) {
        throw ErroreDecodifica(file.string() + ": " + e.what());
    }
}

}  // namespace

Disegno disegna_scenario(const ScenarioCompilato& s, std::string_view titolo,
                         std::optional<Tratto> tratto) {
    Dati d{s,
           {std::max<double>(static_cast<double>(metri_cella(s.celle.size())), 1)},
           0,
           stazioni(s.tabella)};
    d.lunghezza = s.tabella[riga_tabella::percorso].valore2;
    d.dopo_cella = s.celle.size();
    if (tratto && tratto->a > tratto->da) {
        d.asse = {tratto->a - tratto->da, tratto->da};
        // The cells whose middle (where their symbol stands) lies within the stretch.
        const auto dopo_il_mezzo = [&](double m) {  // the first cell whose middle is past m
            return std::min(s.celle.size(),
                            static_cast<std::size_t>(std::max(std::floor((m - 25) / 50) + 1, 0.0)));
        };
        d.prima_cella = dopo_il_mezzo(tratto->da - 1e-6);
        d.dopo_cella = dopo_il_mezzo(tratto->a);
        d.ogni_etichetta = true;
    }
    Pagina p;
    p.testo(20, 30, titolo, kCorpoTitolo, "start", "font-weight=\"bold\"");
    p.testo(20, 50, sottotitolo(d), kCorpoSottotitolo);
    double y = 64;
    y = pannello_tracciato(p, d, y);
    y = pannello_profilo(p, d, y);
    y = pannello_gradini(p, d, y, "Pendenza (per mille)", kAltezzaPendenza,
                         gradini(s.celle, pendenza_di, &cella::attributo5), -5, 5,
                         colore::pendenza);
    y = pannello_gradini(
        p, d, y, "Velocità massima del treno (km/h)", kAltezzaVelocita,
        gradini(
            s.celle, [](const cella& c) { return c.attributo4 * 5.0; }, &cella::attributo4),
        0, 20, colore::velocita);
    y = pannello_gradini(
        p, d, y, "Aderenza (%)", kAltezzaAderenza,
        gradini(
            s.celle, [](const cella& c) { return static_cast<double>(c.attributo6); },
            &cella::attributo6),
        0, 100, colore::aderenza);
    const double alto_tracce = y;
    y = traccia_stazioni(p, d, y);
    y = traccia_segnali(p, d, y);
    y = traccia_indicatori_v(p, d, y);
    y = traccia_cartelli(p, d, y);
    y = traccia_rallentamenti(p, d, y);
    y = traccia_marcatori(p, d, y);
    y = asse_km(p, d, alto_tracce, y);
    y = legenda(p, y + 10);
    return std::move(p).chiudi(y + 10);
}

ScenarioCompilato leggi_scenario(const std::filesystem::path& cartella,
                                 const std::string& nome_scenario,
                                 const std::string& numero_treno) {
    Form1 nomi;
    nomi.nome_scenario = nome_scenario;
    nomi.numero_treno = numero_treno;
    ScenarioCompilato s;
    s.celle = decodifica_file(cartella / nomi_file::celle_treno(nomi), decodifica_celle);
    s.tabella = decodifica_file(cartella / nomi_file::tabella_scenario(nomi), decodifica_tabella);
    const auto piano = cartella / nomi_file::piano_linea(nomi);
    std::error_code ec;
    if (std::filesystem::exists(piano, ec))
        s.tracciato = decodifica_file(piano, decodifica_tracciato);
    return s;
}

}  // namespace brunavia::strumento
