#include "tool/diagnosi.h"

#include <algorithm>

#include "compiler/errori.h"
#include "io/cp1252.h"
#include "io/file_atomico.h"
#include "tool/decodifica.h"

namespace brunavia::strumento {
namespace {

constexpr std::int32_t kMetriCella = 50;
// The cell whose `dato0` and `dato1` the stamp and the competition codes take (errors 1250,
// 1251).
constexpr std::int64_t kCellaTimbro = 1;

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

// The row's position field (its first number), else its keyword.
LuogoErrore luogo_della_posizione(const ParolaLetta& p) {
    LuogoErrore l = luogo_della_riga(p);
    const auto numero =
        std::find_if(p.campi.begin(), p.campi.end(), [](const CampoLetto& c) { return c.numero; });
    if (numero != p.campi.end()) l.campo = numero->dove;
    return l;
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

// Whether the finishing rules put a marker in front of the signal on cell k: a warning board
// lies within the 20 cells after it, or a slowdown ends within the 12 cells before it.
bool marcatore_davanti_al_segnale(const RegistroRighe& r, std::int64_t k) {
    if (r.tipo_della_cella(k) != tipo::segnale) return false;
    for (std::int64_t j = k + 1; j <= k + 20; ++j) {
        if (r.tipo_della_cella(j) == tipo::avviso_rallentamento) return true;
    }
    for (std::int64_t j = std::max<std::int64_t>(0, k - 12); j <= k; ++j) {
        if (r.tipo_della_cella(j) == tipo::fine_rallentamento) return true;
    }
    return false;
}

// Errors 1250 and 1251: cell 1 holds a feature. They point at the row that put it there, or
// at the signal or slowdown for which the finishing rules put a marker there.
void riga_del_timbro(const RegistroRighe& r, Diagnosi& d) {
    const std::uint8_t t = r.tipo_della_cella(kCellaTimbro);
    if (t == tipo::libera) return;
    const ParolaLetta* p = r.riga_con_cella(kCellaTimbro, t);
    // An "abbattimento" with a value above 0 leaves a marker.
    const bool abbattimento =
        p && std::find(p->tipi.begin(), p->tipi.end(), TipoRiga::abbattimento) != p->tipi.end();
    std::string chi = std::string(nome_occupante(abbattimento ? tipo::abbattimento_nullo : t)) +
                      " di questa riga";
    if (!p && t == tipo::marcatore) {
        // In front of a signal on cell 2 or 3, or 5 to 20 cells before a slowdown's start.
        for (std::int64_t k = 3; !p && k >= 2; --k) {
            if (marcatore_davanti_al_segnale(r, k)) p = r.riga_con_cella(k, tipo::segnale);
        }
        chi =
            "da un marcatore che le regole di finitura mettono davanti al segnale di questa "
            "riga";
        for (std::int64_t k = 6; !p && k <= 21; ++k) {
            p = r.riga_con_cella(k, tipo::inizio_rallentamento);
            chi =
                "da un marcatore che le regole di finitura mettono prima del rallentamento di "
                "questa riga";
        }
    }
    if (!p) return;
    d.luogo = luogo_della_posizione(*p);
    const bool timbro = d.numero == 1250;
    d.messaggio += std::string(": la cella 1 (da 50 a 99 m), dove ") +
                   (timbro ? "va il timbro" : "vanno i codici di gara") + ", e' occupata " + chi +
                   "; lasciarla libera";
}

// Error 102 when the only "[generale]" is the file's last field, which is never examined: it
// points there.
void generale_all_ultima_riga(const RegistroRighe& r, Diagnosi& d) {
    const auto& ultimo = r.file(false).non_esaminato;
    if (!ultimo || !contiene_senza_maiuscole(ultimo->testo, "[generale]")) return;
    d.luogo = {FileDescrizione::linea, ultimo->dove};
    d.messaggio +=
        ": l'unico [generale] e' sull'ultima riga, che non e' mai esaminata (la "
        "lettura finisce con l'ultimo campo); aggiungere una riga dopo, per esempio "
        "[fine]";
}

// The cursor of the gradients (line) or of the adhesion (train) ran past the last cell: error
// 15 of a row that lies inside the cells. Says which rows pushed it there.
std::optional<std::string> cursore_oltre(const ErroreRegistrato& e, const RegistroRighe& r) {
    const bool treno = e.luogo.file == FileDescrizione::treno;
    const ParolaLetta* p = r.riga_del_campo(treno, e.luogo.campo);
    const TipoRiga riga = treno ? TipoRiga::aderenza : TipoRiga::pendenza;
    if (!e.posizione || !p || p->tipi.size() != 1 || p->tipi.front() != riga) return std::nullopt;
    const std::int64_t ultima = r.ultima_cella();
    if ((*e.posizione + 100.0) / kMetriCella > static_cast<double>(ultima)) return std::nullopt;
    const SpintaCursore& s = r.file(treno).spinta;
    if (s.righe == 0 || s.cursore <= ultima) return std::nullopt;
    const std::string nome(nome_riga(riga));
    const std::string celle = s.cella_minima == s.cella_massima
                                  ? "alla cella " + std::to_string(s.cella_minima)
                                  : "alle celle " + std::to_string(s.cella_minima) + "-" +
                                        std::to_string(s.cella_massima);
    const std::string righe =
        s.righe == 1
            ? "la riga " + std::to_string(s.prima_riga) + " (" + celle + ") lo ha portato"
            : "le righe " + std::to_string(s.prima_riga) + "-" + std::to_string(s.ultima_riga) +
                  " (" + std::to_string(s.righe) + " righe, " + celle + ") lo hanno portato";
    return std::string("il cursore ") + (treno ? "dell'aderenza" : "delle pendenze") +
           " e' oltre l'ultima cella (" + std::to_string(ultima) + "): ogni riga '" + nome +
           "' alla cella del cursore o prima lo sposta avanti di una cella, e " + righe +
           " alla cella " + std::to_string(s.cursore) +
           "; scrivere una sola riga per cella, in ordine di posizione";
}

// The zone a station row computed, if it got so far.
std::optional<ValoreLetto> zona_di(const ParolaLetta& p) {
    for (const ValoreRiga& v : p.valori) {
        if (v.valore.tipo == TipoValore::zona) return v.valore;
    }
    return std::nullopt;
}

// Error 22, with the previous station's row: stations out of order, or too close.
std::optional<std::string> stazione_vicina(const ErroreRegistrato& e, const RegistroRighe& r) {
    const ParolaLetta* p = r.riga_del_campo(true, e.luogo.campo);
    const auto zona = p ? zona_di(*p) : std::nullopt;
    const ParolaLetta* prima =
        zona ? r.stazione_in_tabella(static_cast<std::int32_t>(zona->altro) - 1) : nullptr;
    const auto zona_prima = prima ? zona_di(*prima) : std::nullopt;
    if (!zona_prima) return std::nullopt;
    const std::string inizio =
        "la zona di questa stazione inizia a " + std::to_string(zona->scritto) + " m";
    const std::string riga =
        "della stazione precedente, alla riga " + std::to_string(prima->dove.riga);
    if (zona->scritto < zona_prima->scritto) {
        return "stazioni fuori ordine: " + inizio + ", prima dell'inizio della zona " + riga +
               " (da " + std::to_string(zona_prima->scritto) + " a " +
               std::to_string(zona_prima->memorizzato) +
               " m); scrivere le stazioni in ordine di posizione";
    }
    return std::string(spiegazione_errore(e.codice)) + ": " + inizio + ", la zona " + riga +
           ", finisce a " + std::to_string(zona_prima->memorizzato) +
           " m (servono almeno 350 m tra le due)";
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
    const bool linea_vuota = r && e.luogo.file == FileDescrizione::linea &&
                             e.luogo.campo.riga == 0 && r->file(false).ultima_riga == 0;
    if (e.codice == 25 && linea_vuota) return "file vuoto";
    if (e.codice == 25 && !e.motivo.empty()) return da_cp1252(e.motivo);
    if (e.codice == 15 && e.posizione && *e.posizione < 0) {
        return "posizione prima dell'inizio della linea";
    }
    if (e.codice == 15 && r) {
        if (const auto fine = fine_oltre(e, *r)) return *fine;
        if (const auto cursore = cursore_oltre(e, *r)) return *cursore;
    }
    if (e.codice == 22 && r) {
        if (const auto vicina = stazione_vicina(e, *r)) return *vicina;
    }
    if (r && cella_occupata(e.codice)) return occupante(e, indice, *r);
    if (e.codice == 10) {
        return "troppe stazioni: nessuna riga libera in tabella (stazioni e cartelli indicatori "
               "condividono le righe 1-80)";
    }
    return std::string(spiegazione_errore(e.codice));
}

// A byte that a terminal would take as a command, not a character: the control characters
// and the five bytes Windows-1252 leaves unused (their code points are C1 controls).
bool byte_di_controllo(unsigned char b) {
    return b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

std::string esadecimale(unsigned char b) {
    constexpr char kCifre[] = "0123456789ABCDEF";
    return {'\\', 'x', kCifre[b >> 4], kCifre[b & 0xF]};
}

// The offending line and a caret under the field's first character. Tabs stay tabs, so that
// the caret lines up however the terminal shows them; other control bytes are shown as \xNN.
std::string riga_con_segno(const std::string& riga, int colonna) {
    std::string mostrata;
    std::string segno;
    for (std::size_t i = 0; i < riga.size(); ++i) {
        const auto b = static_cast<unsigned char>(riga[i]);
        const bool prima = i + 1 < static_cast<std::size_t>(colonna);
        if (b == '\t') {
            mostrata.push_back('\t');
            if (prima) segno.push_back('\t');
        } else if (byte_di_controllo(b)) {
            mostrata += esadecimale(b);
            if (prima) segno += "    ";
        } else {
            mostrata.push_back(riga[i]);
            if (prima) segno.push_back(' ');
        }
    }
    for (std::size_t i = riga.size(); i + 1 < static_cast<std::size_t>(colonna); ++i) {
        segno.push_back(' ');
    }
    return "    " + da_cp1252(mostrata) + "\n    " + segno + "^";
}

}  // namespace

Diagnosi diagnosi_errore(const ErroreRegistrato& e, std::size_t indice,
                         const RegistroRighe* registro) {
    Diagnosi d;
    d.luogo = e.luogo;
    d.numero = e.codice;
    d.posizione = e.posizione;
    d.messaggio = spiegazione(e, indice, registro);
    if (!registro || !puo_spostarsi(e)) return d;
    if (e.luogo.file == FileDescrizione::nessuno && e.codice >= 11 && e.codice <= 13) {
        riga_della_finitura(e, *registro, d);
    }
    if (e.codice == 1250 || e.codice == 1251) riga_del_timbro(*registro, d);
    if (e.codice == 102) generale_all_ultima_riga(*registro, d);
    return d;
}

bool puo_spostarsi(const ErroreRegistrato& e) {
    const bool finitura =
        e.luogo.file == FileDescrizione::nessuno && e.codice >= 11 && e.codice <= 13;
    return finitura || e.codice == 1250 || e.codice == 1251 || e.codice == 102;
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
        r.push_back(diagnosi_errore({*fermata, std::nullopt, {}, {}}, f.errori_registrati.size(),
                                    &registro));
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
    r += testo_visibile(d.messaggio);
    if (d.dopo_ripresa) r += kDopoRipresa;
    if (!d.codice.empty()) r += " [" + d.codice + "]";
    if (testo && *testo && d.luogo.campo.riga > 0) {
        if (inizi->empty()) *inizi = inizi_delle_righe(**testo);
        if (const auto riga = riga_di_testo(**testo, *inizi, d.luogo.campo.riga)) {
            r += "\n" + riga_con_segno(*riga, d.luogo.campo.colonna);
        }
    }
    for (const RigheNonLette& n : d.non_lette) {
        r += "\nnota: " +
             testo_righe_non_lette(n, n.file == FileDescrizione::treno ? s.treno : s.linea);
    }
    return r;
}

std::string testo_visibile(std::string_view utf8) {
    std::string r;
    r.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const unsigned char dopo =
            i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : std::uint8_t{0};
        if (b < 0x20 || b == 0x7F) {
            r += esadecimale(b);
        } else if (b == 0xC2 && dopo >= 0x80 && dopo <= 0x9F) {
            r += esadecimale(dopo);  // a C1 control, U+0080 ... U+009F
            ++i;
        } else {
            r.push_back(utf8[i]);
        }
    }
    return r;
}

std::optional<std::string> motivo_non_testo(std::string_view byte) {
    const std::size_t zero = byte.find('\0');
    if (zero == std::string_view::npos) return std::nullopt;
    int riga = 1;
    for (std::size_t i = 0; i < zero; ++i) {
        if (byte[i] == '\n' || (byte[i] == '\r' && (i + 1 >= byte.size() || byte[i + 1] != '\n')))
            ++riga;
    }
    return "non e' un file di testo (byte 0x00 alla riga " + std::to_string(riga) + ")";
}

std::string leggi_testo_descrizione(const std::filesystem::path& file) {
    std::string byte = leggi_tutto(file);
    if (const auto motivo = motivo_non_testo(byte)) throw ErroreFile(file, *motivo);
    return byte;
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
