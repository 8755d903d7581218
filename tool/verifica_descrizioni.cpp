#include "tool/verifica_descrizioni.h"

#include <algorithm>
#include <ostream>
#include <set>
#include <tuple>

#include "compiler/descrizioni_in_memoria.h"
#include "compiler/errori.h"
#include "compiler/file_compilati.h"
#include "compiler/finitura.h"
#include "compiler/lettore_linea.h"
#include "compiler/lettore_treno.h"
#include "compiler/memorizza.h"
#include "compiler/numeri.h"
#include "tool/decodifica.h"
#include "tool/righe_non_lette.h"
#include "tool/trappole.h"

namespace brunavia::strumento {
namespace {

// `check` reads with the plan built, as the program's compile does.
constexpr std::int32_t kFlagLinea = 1;
// A line that gave no usable length is read on as the longest line the format takes.
constexpr std::int32_t kUltimoPuntoMassimo = 1'000'000 + 7000;

// The compile as the program runs it: its errors, exactly as it records them.
std::vector<Diagnosi> errori_della_compilazione(const std::string& linea, const std::string& treno,
                                                std::vector<ErroreRegistrato>& registrati) {
    Form1 f;
    RegistroRighe registro(f, false, false);
    f.osservatore = &registro;
    DescrizioniInMemoria d(linea, treno);
    std::optional<std::int32_t> fermata;
    try {
        compila(f, kFlagLinea, d);
    } catch (const Terminazione& t) {
        fermata = numero_della_terminazione(t);
    }
    std::vector<Diagnosi> r = diagnosi_della_compilazione(f, registro, fermata);
    segna_righe_non_lette(r, registro, linea, treno);
    registrati = std::move(f.errori_registrati);
    return r;
}

void dimensiona_al_massimo(Form1& f) {
    f.celle.assign(static_cast<std::size_t>(arrotonda_pari(kUltimoPuntoMassimo / 50.0)) + 1,
                   cella{});
}

// The same reading, told to read on past every error that stops it: the errors it finds
// beyond those of the compile, and what it saw of every row.
void leggi_oltre(const std::string& linea, const std::string& treno, Form1& f) {
    f.flag_linea = kFlagLinea;
    f.tabella[riga_tabella::scenario].testo = f.nome_scenario;
    f.tabella[riga_tabella::treno].testo = f.numero_treno;
    StatoLinea stato;
    try {
        leggi_descrizione_linea(f, linea, stato);
    } catch (const ErroreLettura& e) {
        registra_fallimento(f, FileDescrizione::linea, e);
    }
    if (!f.celle_dimensionate()) dimensiona_al_massimo(f);
    try {
        leggi_descrizione_treno(f, treno, stato.slot_cartello);
    } catch (const ErroreLettura& e) {
        registra_fallimento(f, FileDescrizione::treno, e);
    }
    f.luogo = {};
    applica_finitura(f);
}

// The errors found by reading on that the compile did not record (one recorded twice in a row
// counts once), in file order, each explained only when the report reaches it.
class ErroriDellaRipresa : public FonteDiagnosi {
public:
    ErroriDellaRipresa(const Form1& f, const RegistroRighe& registro,
                       const std::vector<ErroreRegistrato>& compilati)
        : f_(f), registro_(registro) {
        std::set<ChiaveErrore> della_compilazione;
        for (const ErroreRegistrato& e : compilati) della_compilazione.insert(chiave_errore(e));
        const auto& errori = f.errori_registrati;
        for (std::size_t i = 0; i < errori.size(); ++i) {
            const ErroreRegistrato& e = errori[i];
            if (della_compilazione.contains(chiave_errore(e))) continue;
            if (i > 0 && stesso_errore(errori[i - 1], e)) continue;
            const LuogoErrore luogo =
                puo_spostarsi(e) ? diagnosi_errore(e, i, &registro).luogo : e.luogo;
            scelti_.push_back({chiave_di(luogo), i});
        }
        std::stable_sort(scelti_.begin(), scelti_.end(),
                         [](const Scelto& a, const Scelto& b) { return a.chiave < b.chiave; });
    }
    std::optional<ChiaveDiagnosi> prossima() override {
        if (i_ == scelti_.size()) return std::nullopt;
        return scelti_[i_].chiave;
    }
    Diagnosi prendi() override {
        const std::size_t indice = scelti_[i_++].indice;
        Diagnosi d = diagnosi_errore(f_.errori_registrati[indice], indice, &registro_);
        d.dopo_ripresa = true;
        return d;
    }

private:
    using ChiaveErrore = std::tuple<std::int32_t, std::optional<std::int32_t>, ChiaveDiagnosi>;
    static ChiaveErrore chiave_errore(const ErroreRegistrato& e) {
        return {e.codice, e.posizione, chiave_di(e.luogo)};
    }
    struct Scelto {
        ChiaveDiagnosi chiave;
        std::size_t indice;
    };
    const Form1& f_;
    const RegistroRighe& registro_;
    std::vector<Scelto> scelti_;
    std::size_t i_ = 0;
};

}  // namespace

void StampaDiagnosi::aggiungi(const Diagnosi& d) {
    const int riga = d.luogo.campo.riga;
    chiudi_serie_prima_di(d.luogo.file, riga);
    for (Serie& x : serie_) {
        if (!uguali(x.ultima, d) || x.ultima.luogo.campo.riga + 1 != riga) continue;
        ++x.quante;
        x.ultima = d;
        if (x.quante <= kRipetizioniMostrate) uscita_ << testo_diagnosi(d, s_, true) << "\n";
        return;
    }
    // A message of the same kind but other words ends that kind's run before it is shown.
    std::erase_if(serie_, [&](const Serie& x) {
        const bool finita = x.ultima.codice == d.codice && x.ultima.numero == d.numero;
        if (finita) chiudi_serie(x);
        return finita;
    });
    uscita_ << testo_diagnosi(d, s_, true) << "\n";
    if (!ripiega_ || d.luogo.file == FileDescrizione::nessuno || riga <= 0) return;
    std::erase_if(serie_, [&](const Serie& x) { return uguali(x.ultima, d); });
    serie_.push_back({d, riga, 1});
}

void StampaDiagnosi::chiudi() {
    for (const Serie& x : serie_) chiudi_serie(x);
    serie_.clear();
}

// A run ends at a line of another file or when a line passes without its diagnostic.
void StampaDiagnosi::chiudi_serie_prima_di(FileDescrizione file, int riga) {
    std::erase_if(serie_, [&](const Serie& x) {
        const bool finita = x.ultima.luogo.file != file || x.ultima.luogo.campo.riga + 1 < riga;
        if (finita) chiudi_serie(x);
        return finita;
    });
}

void StampaDiagnosi::chiudi_serie(const Serie& x) {
    if (x.quante <= kRipetizioniMostrate) return;
    uscita_ << "... e altre " << x.quante - kRipetizioniMostrate << " righe uguali, righe "
            << x.prima_riga + kRipetizioniMostrate << "-" << x.ultima.luogo.campo.riga;
    if (x.ultima.numero) uscita_ << " (Errore n. " << *x.ultima.numero << ")";
    if (!x.ultima.codice.empty()) uscita_ << " [" << x.ultima.codice << "]";
    uscita_ << "\n";
}

// The same message, word for word, of the same kind, in the same file.
bool StampaDiagnosi::uguali(const Diagnosi& a, const Diagnosi& b) {
    return a.luogo.file == b.luogo.file && a.errore == b.errore && a.numero == b.numero &&
           a.posizione == b.posizione && a.codice == b.codice && a.messaggio == b.messaggio &&
           a.dopo_ripresa == b.dopo_ripresa && a.luogo.campo.colonna == b.luogo.campo.colonna;
}

void avvisi_della_lettura(const RegistroRighe& registro, std::string_view linea,
                          std::string_view treno, const DestinoDiagnosi& destino) {
    OrdineDiagnosi ordine(destino);
    trova_trappole(registro, linea, treno, ordine);
    ordine.fine();
}

void verifica_descrizioni(const std::string& linea, const std::string& treno,
                          const DestinoDiagnosi& destino) {
    std::vector<ErroreRegistrato> compilati;
    FonteElenco della_compilazione(errori_della_compilazione(linea, treno, compilati));

    Form1 f;
    RegistroRighe registro(f, true);
    f.osservatore = &registro;
    leggi_oltre(linea, treno, f);
    ErroriDellaRipresa della_ripresa(f, registro, compilati);
    OrdineDiagnosi ordine(destino);
    ordine.aggiungi_fonte(della_compilazione, passo::compilazione);
    ordine.aggiungi_fonte(della_ripresa, passo::ripresa);
    trova_trappole(registro, linea, treno, ordine);
    ordine.fine();
}

std::vector<Diagnosi> verifica_descrizioni(const std::string& linea, const std::string& treno) {
    std::vector<Diagnosi> r;
    verifica_descrizioni(linea, treno, [&](Diagnosi&& d) { r.push_back(std::move(d)); });
    return r;
}

}  // namespace brunavia::strumento
