#include "tool/diagnosi.h"

#include "compiler/errori.h"
#include "io/cp1252.h"

namespace brunavia::strumento {
namespace {

constexpr std::int32_t kMetriCella = 50;

bool cella_occupata(std::int32_t codice) {
    return codice == 6 || codice == 7 || (codice >= 16 && codice <= 21);
}

// "della riga N", naming the other file when the row lies there.
std::string della_riga(const ParolaLetta& p, FileDescrizione file_errore) {
    const FileDescrizione file = p.treno ? FileDescrizione::treno : FileDescrizione::linea;
    std::string r = "della riga " + std::to_string(p.dove.riga);
    if (file != file_errore) {
        r += p.treno ? " della descrizione del treno" : " della descrizione della linea";
    }
    return r;
}

LuogoErrore luogo_della_riga(const ParolaLetta& p) {
    return {p.treno ? FileDescrizione::treno : FileDescrizione::linea, p.dove};
}

std::string a_metri(const ParolaLetta& p) {
    const auto posizione = p.primo_numero();
    return posizione ? " a " + std::to_string(*posizione) + " m" : "";
}

// What holds a taken cell and, where known, the row that put it there.
std::string occupante(const ErroreRegistrato& e, std::size_t indice, const RegistroRighe& r) {
    const CellaRifiutata* rifiuto = r.rifiuto_di(indice);
    if (!rifiuto) {
        return e.codice == 6 ? "cartello indicatore senza riga libera in tabella per il suo "
                               "testo (righe 1-80, condivise con le stazioni)"
                             : std::string(spiegazione_errore(e.codice));
    }
    std::string testo = std::string(spiegazione_errore(e.codice)) + ": cella " +
                        std::to_string(rifiuto->k) + " occupata " +
                        std::string(nome_occupante(rifiuto->tipo_occupante));
    if (rifiuto->parola_occupante) {
        testo += " " + della_riga(r.parole()[*rifiuto->parola_occupante], e.luogo.file);
    }
    return testo;
}

// The errors of the finishing rules point at the row of the signal or slowdown concerned.
void riga_della_finitura(const ErroreRegistrato& e, const RegistroRighe& r, Diagnosi& d) {
    if (!e.posizione) return;
    const std::int64_t k = *e.posizione / kMetriCella;
    const ParolaLetta* p = nullptr;
    std::string oggetto;
    if (e.codice == 11) {
        p = r.riga_con_cella(k, tipo::segnale);
        oggetto = "il segnale";
    } else if (e.codice == 12) {
        p = r.riga_con_cella(k, tipo::inizio_rallentamento);
        oggetto = "il rallentamento";
    } else {
        p = r.rallentamento_su(k);
        oggetto = "il rallentamento";
    }
    if (!p) return;
    d.luogo = luogo_della_riga(*p);
    d.messaggio += " (" + oggetto + " della riga " + std::to_string(p->dove.riga) + " e'" +
                   a_metri(*p) + ", cella " + std::to_string(k) + ")";
}

// Error 15 at a row's second field: the curve or the climbing stretch ends past the plan or
// the cells, though it starts inside them.
std::optional<std::string> fine_oltre(const ErroreRegistrato& e, const RegistroRighe& r) {
    const bool treno = e.luogo.file == FileDescrizione::treno;
    const ParolaLetta* p = r.riga_del_campo(treno, e.luogo.campo);
    if (!p || p->campi.empty() || p->tipi.size() != 1) return std::nullopt;
    const bool primo = p->campi.front().dove.riga == e.luogo.campo.riga &&
                       p->campi.front().dove.colonna == e.luogo.campo.colonna;
    if (primo) return std::nullopt;
    if (p->tipi.front() == TipoRiga::curva) {
        return "la curva finisce oltre l'ultimo punto del tracciato (lunghezza + 7000 m)";
    }
    if (p->tipi.front() == TipoRiga::montagna) {
        return "il tratto di montagna finisce oltre le celle del percorso (lunghezza + 7000 m)";
    }
    return std::nullopt;
}

std::string spiegazione(const ErroreRegistrato& e, std::size_t indice, const RegistroRighe* r) {
    if (e.codice == 25 && !e.motivo.empty()) return da_cp1252(e.motivo);
    if (e.codice == 15 && e.posizione && *e.posizione < 0) {
        return "posizione prima dell'inizio della linea";
    }
    if (e.codice == 15 && r) {
        if (const auto fine = fine_oltre(e, *r)) return *fine;
    }
    if (r && cella_occupata(e.codice)) return occupante(e, indice, *r);
    if (e.codice == 10) {
        return "troppe stazioni: nessuna riga libera in tabella (stazioni e cartelli indicatori "
               "condividono le righe 1-80)";
    }
    return std::string(spiegazione_errore(e.codice));
}

// The offending line and a caret under the field's first character. Tabs before the field stay
// tabs, so that the caret lines up however the terminal shows them.
std::string riga_con_segno(const std::string& riga, int colonna) {
    std::string segno;
    for (std::size_t i = 0; i + 1 < static_cast<std::size_t>(colonna); ++i) {
        segno.push_back(i < riga.size() && riga[i] == '\t' ? '\t' : ' ');
    }
    return "    " + da_cp1252(riga) + "\n    " + segno + "^";
}

}  // namespace

Diagnosi diagnosi_errore(const ErroreRegistrato& e, std::size_t indice,
                         const RegistroRighe* registro) {
    Diagnosi d;
    d.luogo = e.luogo;
    d.numero = e.codice;
    d.posizione = e.posizione;
    d.messaggio = spiegazione(e, indice, registro);
    if (registro && e.luogo.file == FileDescrizione::nessuno && e.codice >= 11 && e.codice <= 13) {
        riga_della_finitura(e, *registro, d);
    }
    return d;
}

std::vector<Diagnosi> diagnosi_della_compilazione(const Form1& f, const RegistroRighe& registro,
                                                  std::optional<std::int32_t> fermata) {
    std::vector<Diagnosi> r;
    for (std::size_t i = 0; i < f.errori_registrati.size(); ++i) {
        const ErroreRegistrato& e = f.errori_registrati[i];
        if (i > 0 && stesso_errore(f.errori_registrati[i - 1], e)) continue;
        r.push_back(diagnosi_errore(e, i, &registro));
    }
    if (fermata) {
        r.push_back(
            diagnosi_errore({*fermata, std::nullopt, {}, {}}, f.errori_registrati.size(), nullptr));
    }
    return r;
}

bool stesso_errore(const ErroreRegistrato& a, const ErroreRegistrato& b) {
    return a.codice == b.codice && a.posizione == b.posizione && a.luogo.file == b.luogo.file &&
           a.luogo.campo.riga == b.luogo.campo.riga &&
           a.luogo.campo.colonna == b.luogo.campo.colonna;
}

std::int32_t numero_della_terminazione(const Terminazione& t) {
    const std::string prompt = t.what();
    try {
        return std::stoi(prompt.substr(prompt.find_last_of(' ') + 1));
    } catch (const std::exception&) {
        return 0;
    }
}

std::string testo_diagnosi(const Diagnosi& d, const Sorgenti& s, bool gravita) {
    std::string r;
    const std::optional<std::string>* testo = nullptr;
    std::vector<std::size_t>* inizi = nullptr;
    if (d.luogo.file == FileDescrizione::nessuno) {
        r = s.scenario;
    } else {
        const bool treno = d.luogo.file == FileDescrizione::treno;
        r = treno ? s.treno : s.linea;
        testo = treno ? s.testo_treno : s.testo_linea;
        inizi = treno ? &s.inizi_treno : &s.inizi_linea;
        if (d.luogo.campo.riga > 0) {
            r += ":" + std::to_string(d.luogo.campo.riga) + ":" +
                 std::to_string(d.luogo.campo.colonna);
        }
    }
    r += ": ";
    if (gravita) r += d.errore ? "error: " : "warning: ";
    if (d.numero) {
        r += "Errore n. " + std::to_string(*d.numero);
        if (d.posizione) r += ", posizione " + std::to_string(*d.posizione);
        r += ": ";
    }
    r += d.messaggio;
    if (d.dopo_ripresa) r += kDopoRipresa;
    if (!d.codice.empty()) r += " [" + d.codice + "]";
    if (testo && *testo && d.luogo.campo.riga > 0) {
        if (inizi->empty()) *inizi = inizi_delle_righe(**testo);
        if (const auto riga = riga_di_testo(**testo, *inizi, d.luogo.campo.riga)) {
            r += "\n" + riga_con_segno(*riga, d.luogo.campo.colonna);
        }
    }
    return r;
}

std::optional<std::string> riga_di_testo(std::string_view testo, int riga) {
    std::size_t inizio = 0;
    for (int n = 1; n < riga; ++n) {
        const std::size_t fine = testo.find_first_of("\r\n", inizio);
        if (fine == std::string_view::npos) return std::nullopt;
        inizio = fine + (testo.compare(fine, 2, "\r\n") == 0 ? 2 : 1);
    }
    if (riga < 1 || inizio > testo.size()) return std::nullopt;
    const std::size_t fine = testo.find_first_of("\r\n", inizio);
    return std::string(testo.substr(inizio, fine == std::string_view::npos ? fine : fine - inizio));
}

std::vector<std::size_t> inizi_delle_righe(std::string_view testo) {
    std::vector<std::size_t> r{0};
    for (std::size_t i = testo.find_first_of("\r\n"); i != std::string_view::npos;
         i = testo.find_first_of("\r\n", r.back())) {
        r.push_back(i + (testo.compare(i, 2, "\r\n") == 0 ? 2 : 1));
    }
    return r;
}

std::optional<std::string> riga_di_testo(std::string_view testo,
                                         const std::vector<std::size_t>& inizi, int riga) {
    if (riga < 1 || static_cast<std::size_t>(riga) > inizi.size()) return std::nullopt;
    const std::size_t inizio = inizi[static_cast<std::size_t>(riga - 1)];
    if (inizio > testo.size()) return std::nullopt;
    const std::size_t fine = testo.find_first_of("\r\n", inizio);
    return std::string(testo.substr(inizio, fine == std::string_view::npos ? fine : fine - inizio));
}

}  // namespace brunavia::strumento
