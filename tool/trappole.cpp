#include "tool/trappole.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "io/cp1252.h"

namespace brunavia::strumento {
namespace {

namespace codice {
constexpr std::string_view sconosciuta = "parola-sconosciuta";
constexpr std::string_view intestazione = "intestazione-letta-come-riga";
constexpr std::string_view mancanti = "campi-mancanti";
constexpr std::string_view in_piu = "campi-in-piu";
constexpr std::string_view multiple = "parole-multiple";
constexpr std::string_view ordine = "fuori-ordine";
constexpr std::string_view pendenza = "pendenza-fuori-intervallo";
constexpr std::string_view aderenza = "aderenza-fuori-intervallo";
constexpr std::string_view velocita = "velocita-non-multipla-di-5";
constexpr std::string_view cartello = "cartello-velocita-ambigua";
constexpr std::string_view troncato = "valore-troncato";
constexpr std::string_view maiuscole = "maiuscole";
constexpr std::string_view generale = "senza-generale";
constexpr std::string_view trattino = "trattino-nella-parola";
constexpr std::string_view classe = "classe-curva-multipla";
constexpr std::string_view virgola = "virgola-nel-nome";
constexpr std::string_view utf8 = "testo-utf8";
constexpr std::string_view orario = "orario-fuori-giornata";
constexpr std::string_view indietro = "orario-all-indietro";
constexpr std::string_view lato = "curva-senza-lato";
constexpr std::string_view scambiate = "descrizioni-scambiate";
constexpr std::string_view spazio = "spazio-nel-numero";
constexpr std::string_view tabulatore = "tabulatore-nella-parola";
}  // namespace codice

// The keywords an author writes, for the nearest-keyword suggestion.
constexpr std::array<std::string_view, 9> kParoleGenerali = {"lunghezza percorso",
                                                             "progressiva chilometrica uno",
                                                             "progressiva chilometrica due",
                                                             "progressiva chilometrica tre",
                                                             "sfondo uno",
                                                             "sfondo due",
                                                             "sfondo tre",
                                                             "ripetizione segnali 4 codici",
                                                             "ripetizione segnali 9 codici"};
constexpr std::array<std::string_view, 7> kParoleLinea = {
    "pendenza", "curvad4", "curvas4", "montagna", "indicatori_vmax", "cartello_indicatore",
    "curva"};
constexpr std::array<std::string_view, 10> kParoleTreno = {
    "numero vetture", "percentuale massa frenata",
    "sabbia",         "orologio",
    "aderenza",       "velocita",
    "stazione",       "segnale",
    "rallentamento",  "abbattimento"};

// The words by which each reader recognises its rows (any letter case).
constexpr std::array<std::string_view, 4> kRadiciGenerali = {"lunghezza", "progressiva", "sfondo",
                                                             "ripetizione"};
constexpr std::array<std::string_view, 5> kRadiciLinea = {"pendenza", "curva", "montagna",
                                                          "indicat", "cartello"};
constexpr std::array<std::string_view, 10> kRadiciTreno = {
    "frenata", "vetture", "velocit",       "aderenza",     "orologio",
    "sabbia",  "segnale", "rallentamento", "abbattimento", "stazione"};

// The words whose letter case matters in the line's general section.
struct ParoleMaiuscole {
    std::string_view prima;
    std::array<std::string_view, 3> seconde;
};
constexpr std::array<ParoleMaiuscole, 3> kSensibili = {{
    {"progressiva", {"uno", "due", "tre"}},
    {"sfondo", {"uno", "due", "tre"}},
    {"ripetizione", {"segnali", "segnali", "segnali"}},
}};

std::string minuscolo(std::string_view testo) {
    std::string r(testo);
    for (char& c : r) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return r;
}

std::string senza_spazi_ai_lati(std::string_view testo) {
    const auto inizio = testo.find_first_not_of(" \t");
    if (inizio == std::string_view::npos) return {};
    const auto fine = testo.find_last_not_of(" \t");
    return std::string(testo.substr(inizio, fine - inizio + 1));
}

bool contiene(std::string_view testo, std::string_view parola) {
    return testo.find(parola) != std::string_view::npos;
}

bool intestazione(std::string_view testo) {
    const std::string t = senza_spazi_ai_lati(testo);
    return !t.empty() && t.front() == '[' && contiene(t, "]");
}

bool solo_trattini(std::string_view testo) {
    return testo.find_first_not_of("- \t") == std::string_view::npos;
}

// "'testo'" for a message, the bytes of the file shown as the Windows-1252 text they are.
std::string citato(std::string_view testo) {
    return "'" + da_cp1252(senza_spazi_ai_lati(testo)) + "'";
}

LuogoErrore luogo(bool treno, PosizioneCampo dove) {
    return {treno ? FileDescrizione::treno : FileDescrizione::linea, dove};
}

Diagnosi avviso(bool treno, PosizioneCampo dove, std::string_view cod, std::string messaggio) {
    Diagnosi d;
    d.luogo = luogo(treno, dove);
    d.errore = false;
    d.codice = std::string(cod);
    d.messaggio = std::move(messaggio);
    return d;
}

// ---- keywords ----

bool maiuscole_sbagliate(std::string_view testo) {
    const std::string basso = minuscolo(testo);
    for (const auto& [prima, seconde] : kSensibili) {
        if (!contiene(basso, prima)) continue;
        for (const auto seconda : seconde) {
            if (contiene(basso, seconda)) return true;
        }
    }
    return false;
}

// The nearest keyword within a small edit distance, word by word or whole.
std::optional<std::string_view> parola_vicina(std::string_view testo, bool treno, bool generale) {
    std::vector<std::string_view> candidate;
    if (treno) {
        candidate.assign(kParoleTreno.begin(), kParoleTreno.end());
    } else if (generale) {
        candidate.assign(kParoleGenerali.begin(), kParoleGenerali.end());
    } else {
        candidate.assign(kParoleLinea.begin(), kParoleLinea.end());
    }
    const std::string basso = minuscolo(senza_spazi_ai_lati(testo));
    std::vector<std::string> parole{basso};
    for (std::size_t i = 0; i < basso.size();) {
        const auto fine = std::min(basso.find(' ', i), basso.size());
        if (fine > i) parole.push_back(basso.substr(i, fine - i));
        i = fine + 1;
    }
    std::optional<std::string_view> migliore;
    std::size_t minima = 0;
    for (const auto c : candidate) {
        for (const auto& p : parole) {
            // Compare a word with the candidate's words, the whole text with the candidate.
            for (std::size_t i = 0; i <= c.size();) {
                const auto fine = p == basso ? c.size() : std::min(c.find(' ', i), c.size());
                const std::string_view parte = c.substr(i, fine - i);
                const std::size_t d = distanza(p, parte);
                const std::size_t soglia = std::clamp<std::size_t>(parte.size() / 3, 1, 3);
                if (d > 0 && d <= soglia && (!migliore || d < minima)) {
                    migliore = c;
                    minima = d;
                }
                if (p == basso) break;
                i = fine + 1;
            }
        }
    }
    return migliore;
}

// The same, remembered for the keyword asked last: a misspelling repeated on many rows costs
// one search.
std::optional<std::string_view> parola_vicina_ricordata(const std::string& testo, bool treno,
                                                        bool generale) {
    struct Ricordo {
        std::string testo;
        bool treno = false;
        bool generale = false;
        std::optional<std::string_view> vicina;
    };
    thread_local std::optional<Ricordo> ultimo;
    if (!ultimo || ultimo->testo != testo || ultimo->treno != treno ||
        ultimo->generale != generale) {
        ultimo = Ricordo{testo, treno, generale, parola_vicina(testo, treno, generale)};
    }
    return ultimo->vicina;
}

template <std::size_t N>
bool ha_radice(std::string_view basso, const std::array<std::string_view, N>& radici) {
    return std::any_of(radici.begin(), radici.end(),
                       [&](std::string_view r) { return contiene(basso, r); });
}

// A keyword that runs a row of the other description (`treno`: the one read is the train's).
bool dell_altra_descrizione(std::string_view testo, bool treno) {
    const std::string basso = minuscolo(testo);
    return treno ? ha_radice(basso, kRadiciLinea) || ha_radice(basso, kRadiciGenerali)
                 : ha_radice(basso, kRadiciTreno);
}

// Where the keyword would run a row: in the other description, or in the other part of the
// line description.
std::string altrove(std::string_view testo, bool treno, bool generale) {
    const std::string basso = minuscolo(testo);
    if (dell_altra_descrizione(testo, treno)) {
        return treno ? ": e' una riga della descrizione della linea"
                     : ": e' una riga della descrizione del treno";
    }
    if (!treno && !generale && ha_radice(basso, kRadiciGenerali)) {
        return ": vale solo nella sezione [generale], prima della prima intestazione";
    }
    if (!treno && generale && ha_radice(basso, kRadiciLinea)) {
        return ": vale solo dopo l'intestazione che chiude la sezione [generale]";
    }
    return "";
}

// A separator field that holds a keyword once its dashes are taken out.
bool parola_con_trattino(std::string_view testo) {
    std::string basso = minuscolo(testo);
    std::erase(basso, '-');
    return ha_radice(basso, kRadiciGenerali) || ha_radice(basso, kRadiciLinea) ||
           ha_radice(basso, kRadiciTreno);
}

// `scambiate`: the two files were given in each other's place, and one warning says so.
void parola_senza_riga(const ParolaLetta& p, bool generale, bool scambiate,
                       std::vector<Diagnosi>& r) {
    const std::string testo = senza_spazi_ai_lati(p.testo);
    if (testo.empty() || intestazione(testo) || solo_trattini(testo)) return;
    if (scambiate && dell_altra_descrizione(testo, p.treno)) return;
    if (!p.treno && generale && maiuscole_sbagliate(testo)) {
        r.push_back(avviso(p.treno, p.dove, codice::maiuscole,
                           "la riga " + citato(testo) +
                               " e' ignorata: 'progressiva', 'sfondo', 'ripetizione', "
                               "'segnali', 'uno', 'due' e 'tre' vanno scritte in minuscolo"));
        return;
    }
    std::string messaggio =
        "nessuna riga ha la parola chiave " + citato(testo) + ": la riga e' ignorata";
    const std::string dove = altrove(testo, p.treno, generale);
    if (!dove.empty()) {
        messaggio += dove;
    } else if (const auto vicina = parola_vicina_ricordata(testo, p.treno, generale)) {
        messaggio += " (forse '" + std::string(*vicina) + "'?)";
    }
    r.push_back(avviso(p.treno, p.dove, codice::sconosciuta, std::move(messaggio)));
}

std::string nomi_righe(const ParolaLetta& p) {
    std::string r;
    for (const TipoRiga t : p.tipi)
        r += (r.empty() ? "'" : ", '") + std::string(nome_riga(t)) + "'";
    return r;
}

void parola_con_righe(const ParolaLetta& p, std::vector<Diagnosi>& r) {
    if (intestazione(p.testo)) {
        r.push_back(avviso(p.treno, p.dove, codice::intestazione,
                           "l'intestazione " + citato(p.testo) + " contiene la parola chiave " +
                               nomi_righe(p) +
                               " ed e' letta come riga: i suoi campi sono presi dalle righe "
                               "seguenti; cambiare il nome dell'intestazione"));
    }
    if (p.tipi.size() > 1) {
        r.push_back(avviso(p.treno, p.dove, codice::multiple,
                           "la parola " + citato(p.testo) + " contiene le parole chiave di " +
                               std::to_string(p.tipi.size()) + " righe (" + nomi_righe(p) +
                               "): ognuna legge i suoi campi, una dopo l'altra"));
    }
    const bool curva = std::find(p.tipi.begin(), p.tipi.end(), TipoRiga::curva) != p.tipi.end();
    if (curva) {
        std::set<char> cifre;
        for (const char c : p.testo) {
            if (c >= '1' && c <= '6') cifre.insert(c);
        }
        if (!contiene(minuscolo(p.testo), "s") && !contiene(minuscolo(p.testo), "d")) {
            r.push_back(avviso(p.treno, p.dove, codice::lato,
                               "la parola " + citato(p.testo) +
                                   " non dice il lato della curva ed e' una curva a destra: "
                                   "scrivere 'curvad' (destra) o 'curvas' (sinistra)"));
        }
        if (cifre.size() > 1) {
            r.push_back(avviso(p.treno, p.dove, codice::classe,
                               "la parola " + citato(p.testo) +
                                   " contiene piu' cifre di classe: vale la piu' bassa, " +
                                   std::string(1, *cifre.begin()) +
                                   "; scrivere una sola cifra da 1 a 6"));
        }
    }
}

// ---- fields of a row ----

std::string campi(std::int64_t n) {
    return std::to_string(n) + (n == 1 ? " campo" : " campi");
}

// A keyword field with a tab followed by more text: the tab does not end it, a comma does.
std::optional<std::string> prima_del_tabulatore(std::string_view testo) {
    const std::string t = senza_spazi_ai_lati(testo);
    const auto tab = t.find('\t');
    if (tab == std::string::npos) return std::nullopt;
    return senza_spazi_ai_lati(std::string_view(t).substr(0, tab));
}

void campi_della_riga(const ParolaLetta& p, const FileLetto& file, std::vector<Diagnosi>& r) {
    if (intestazione(p.testo)) return;  // its own warning says it
    const int riga = p.dove.riga;
    const auto letti = static_cast<int>(p.campi.size()) + 1;
    const auto trovati = file.riga(riga).campi;
    const std::string chiave = citato(p.testo);
    const bool fuori_riga = std::any_of(p.campi.begin(), p.campi.end(),
                                        [&](const CampoLetto& c) { return c.dove.riga != riga; });
    if (fuori_riga) {
        if (const auto parola = prima_del_tabulatore(p.testo)) {
            r.push_back(avviso(p.treno, p.dove, codice::tabulatore,
                               "dopo " + citato(*parola) +
                                   " c'e' un tabulatore, che non separa i campi: la parola "
                                   "chiave arriva fino alla virgola (" +
                                   chiave +
                                   ") e i numeri della riga sono presi dai campi seguenti e "
                                   "dalla riga dopo; scrivere una virgola al posto del "
                                   "tabulatore"));
            return;
        }
        const auto sulla_riga =
            1 + std::count_if(p.campi.begin(), p.campi.end(),
                              [&](const auto& c) { return c.dove.riga == riga; });
        r.push_back(avviso(p.treno, p.dove, codice::mancanti,
                           "la riga ha " + campi(sulla_riga) + ", " + chiave + " ne legge " +
                               std::to_string(letti) +
                               ": quelli che mancano sono presi dalla riga seguente, e le righe "
                               "dopo sono lette fuori passo"));
        return;
    }
    if (trovati <= letti) return;
    const bool stazione =
        std::find(p.tipi.begin(), p.tipi.end(), TipoRiga::stazione) != p.tipi.end();
    if (stazione && !p.campi.empty() && !p.campi.back().numero) {
        const CampoLetto& nome = p.campi.back();
        r.push_back(avviso(p.treno, nome.dove, codice::virgola,
                           "il nome della stazione contiene una virgola: e' tagliato a " +
                               citato(nome.testo) +
                               " e il resto e' letto come parola chiave; togliere la virgola"));
        return;
    }
    r.push_back(avviso(p.treno, p.dove, codice::in_piu,
                       "la riga ha " + campi(trovati) + ", " + chiave + " ne legge " +
                           std::to_string(letti) +
                           ": i campi in piu' sono letti come parole chiave di altre righe"));
}

// ---- numbers split by a blank ----

// A description's text, to look between two fields. The rows are examined in file order, so
// the start of a field's line is found walking on from the last one asked for.
class TestoFile {
public:
    explicit TestoFile(std::string_view testo) : testo_(testo) {}
    std::string_view testo() const { return testo_; }
    // Where a field starts in the text (past its end for a place the text does not hold).
    std::size_t inizio_campo(PosizioneCampo dove) const {
        if (dove.riga < 1 || dove.colonna < 1) return std::string_view::npos;
        if (dove.riga < riga_) {
            riga_ = 1;
            inizio_ = 0;
        }
        while (riga_ < dove.riga) {
            const std::size_t fine = testo_.find_first_of("\r\n", inizio_);
            if (fine == std::string_view::npos) return std::string_view::npos;
            inizio_ = fine + (testo_.compare(fine, 2, "\r\n") == 0 ? 2 : 1);
            ++riga_;
        }
        return inizio_ + static_cast<std::size_t>(dove.colonna - 1);
    }

private:
    std::string_view testo_;
    mutable int riga_ = 1;  // the last line found, and where it starts
    mutable std::size_t inizio_ = 0;
};

bool solo_cifre(std::string_view testo, std::size_t minimo, std::size_t massimo) {
    return testo.size() >= minimo && testo.size() <= massimo &&
           std::all_of(testo.begin(), testo.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A group of three digits after blanks, as a thousands separator leaves it.
bool gruppo_di_migliaia(const TestoFile& t, const CampoLetto& a, const CampoLetto& b) {
    if (!a.numero || !b.numero || a.dove.riga != b.dove.riga || !solo_cifre(b.testo, 3, 3)) {
        return false;
    }
    const std::size_t inizio_a = t.inizio_campo(a.dove);
    const std::size_t inizio_b = t.inizio_campo(b.dove);
    if (inizio_a == std::string_view::npos || inizio_b == std::string_view::npos) return false;
    const std::size_t fine_a = inizio_a + a.testo.size();
    if (inizio_b <= fine_a || inizio_b > t.testo().size()) return false;
    const std::string_view tra = t.testo().substr(fine_a, inizio_b - fine_a);
    return tra.find_first_not_of(" \t") == std::string_view::npos;
}

// "due", "tre", ... for a count of numbers.
std::string quanti(std::size_t n) {
    constexpr std::array<std::string_view, 3> kParole = {"due", "tre", "quattro"};
    return n >= 2 && n - 2 < kParole.size() ? std::string(kParole[n - 2]) : std::to_string(n);
}

// A number written with a blank between its thousands ("11 500"): the blank ends the field,
// and the groups are read as numbers of their own.
void numeri_con_spazio(const ParolaLetta& p, const TestoFile& t, std::vector<Diagnosi>& r) {
    for (std::size_t i = 0; i + 1 < p.campi.size(); ++i) {
        const CampoLetto& a = p.campi[i];
        std::string_view cifre = a.testo;
        if (!cifre.empty() && (cifre.front() == '-' || cifre.front() == '+'))
            cifre.remove_prefix(1);
        if (!a.numero || !solo_cifre(cifre, 1, 3) || !gruppo_di_migliaia(t, a, p.campi[i + 1])) {
            continue;
        }
        std::size_t n = i + 1;
        while (n < p.campi.size() && gruppo_di_migliaia(t, p.campi[n - 1], p.campi[n])) ++n;
        std::string scritto = a.testo;
        std::string unito = a.testo;
        std::string letti = a.testo;
        for (std::size_t j = i + 1; j < n; ++j) {
            scritto += " " + p.campi[j].testo;
            unito += p.campi[j].testo;
            letti += (j + 1 == n ? " e " : ", ") + p.campi[j].testo;
        }
        r.push_back(avviso(p.treno, a.dove, codice::spazio,
                           "il numero '" + scritto +
                               "' ha uno spazio tra le cifre: lo spazio chiude il campo come una "
                               "virgola, e la riga legge " +
                               letti + " come " + quanti(n - i) +
                               " numeri, fuori passo; scrivere " + unito + " senza spazi"));
        return;
    }
}

// ---- values ----

std::string numero(std::int64_t v) {
    return std::to_string(v);
}

void valore_della_riga(const ParolaLetta& p, const ValoreRiga& vr, std::vector<Diagnosi>& r) {
    const ValoreLetto& v = vr.valore;
    const PosizioneCampo dove = v.campo.riga > 0 ? v.campo : p.dove;
    switch (v.tipo) {
        case TipoValore::pendenza:
            if (v.scritto != v.memorizzato) {
                r.push_back(avviso(p.treno, dove, codice::pendenza,
                                   "pendenza " + numero(v.scritto) +
                                       " per mille: le celle terranno " + numero(v.memorizzato) +
                                       " per mille (la pendenza va da -100 a 155)"));
            }
            break;
        case TipoValore::aderenza:
            if (v.scritto < 0 || v.scritto > 100) {
                r.push_back(avviso(p.treno, dove, codice::aderenza,
                                   "aderenza " + numero(v.scritto) + "%: le celle terranno " +
                                       numero(v.memorizzato) + "; l'aderenza va da 0 a 100"));
            }
            break;
        case TipoValore::velocita:
            if (v.scritto != v.memorizzato && v.scritto >= 0 && v.scritto <= 1275) {
                r.push_back(avviso(p.treno, dove, codice::velocita,
                                   "velocita' " + numero(v.scritto) +
                                       " km/h: le celle la tengono in passi di 5 km/h, cioe' " +
                                       numero(v.memorizzato) + " km/h; scrivere un multiplo di 5"));
            }
            break;
        case TipoValore::velocita_destra: {
            const std::int64_t sinistra = v.memorizzato / 20;
            const std::int64_t destra = (v.memorizzato % 20) * 5;
            if (v.scritto >= 100 && v.scritto > 0) {
                r.push_back(avviso(p.treno, dove, codice::cartello,
                                   "velocita' destra " + numero(v.scritto) + " km/h con " +
                                       numero(v.altro) + " a sinistra: il cartello tiene " +
                                       numero(v.memorizzato) + ", che si rilegge come " +
                                       numero(sinistra) + " a sinistra e " + numero(destra) +
                                       " a destra; la velocita' destra deve stare sotto 100"));
            } else if (v.scritto % 5 != 0) {
                r.push_back(avviso(p.treno, dove, codice::velocita,
                                   "velocita' destra " + numero(v.scritto) +
                                       " km/h: il cartello la tiene in passi di 5 km/h, cioe' " +
                                       numero(destra) + " km/h; scrivere un multiplo di 5"));
            }
            break;
        }
        case TipoValore::ore:
        case TipoValore::minuti:
        case TipoValore::secondi: {
            const bool ore = v.tipo == TipoValore::ore;
            const std::int64_t massimo = ore ? 23 : 59;
            if (v.scritto < 0 || v.scritto > massimo) {
                const std::string parte = ore                            ? "ora"
                                          : v.tipo == TipoValore::minuti ? "minuti"
                                                                         : "secondi";
                r.push_back(avviso(p.treno, dove, codice::orario,
                                   parte + " " + numero(v.scritto) +
                                       " fuori dal giorno: un orario va da 0 0 0 a 23 59 59"));
            }
            break;
        }
        case TipoValore::troncato:
            r.push_back(avviso(p.treno, dove, codice::troncato,
                               vr.nome + ": il valore " + numero(v.scritto) +
                                   " non entra nei suoi bit ed e' tenuto come " +
                                   numero(v.memorizzato)));
            break;
        case TipoValore::cursore:
        case TipoValore::zona:
            break;  // what the errors 15 and 22 explain
    }
}

// ---- order of the rows ----

struct Ordine {
    std::optional<std::int64_t> ultima_cella;  // gradients, speed, adhesion
    std::optional<std::int64_t> fine_curva;
};

std::optional<std::int64_t> secondo_numero(const ParolaLetta& p) {
    int visti = 0;
    for (const CampoLetto& c : p.campi) {
        if (!c.numero || ++visti < 2) continue;
        try {
            return std::stoll(c.testo.empty() ? "0" : c.testo);
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

PosizioneCampo campo_posizione(const ParolaLetta& p) {
    for (const CampoLetto& c : p.campi) {
        if (c.numero) return c.dove;
    }
    return p.dove;
}

void ordine_della_riga(const ParolaLetta& p, std::map<TipoRiga, Ordine>& ordini,
                       std::vector<Diagnosi>& r) {
    const auto posizione = p.primo_numero();
    if (!posizione || p.tipi.size() != 1) return;
    const TipoRiga t = p.tipi.front();
    Ordine& o = ordini[t];
    const std::string nome(nome_riga(t));
    if (t == TipoRiga::curva) {
        const auto lunghezza = secondo_numero(p);
        if (o.fine_curva && *posizione < *o.fine_curva) {
            r.push_back(avviso(p.treno, campo_posizione(p), codice::ordine,
                               "la curva inizia a " + numero(*posizione) +
                                   " m, prima della fine della curva precedente (" +
                                   numero(*o.fine_curva) +
                                   " m): il tracciato vi e' gia' calcolato e la curva e' "
                                   "accorciata; scrivere le curve in ordine di posizione"));
        }
        o.fine_curva = std::max(o.fine_curva.value_or(0), *posizione + lunghezza.value_or(0));
        return;
    }
    if (t != TipoRiga::pendenza && t != TipoRiga::velocita && t != TipoRiga::aderenza) return;
    const auto cella =
        static_cast<std::int64_t>(std::nearbyint(static_cast<double>(*posizione) / 50.0));
    if (o.ultima_cella && cella <= *o.ultima_cella) {
        r.push_back(avviso(p.treno, campo_posizione(p), codice::ordine,
                           "la riga '" + nome + "' a " + numero(*posizione) + " m (cella " +
                               numero(cella) + ") non viene dopo la precedente (cella " +
                               numero(*o.ultima_cella) +
                               "): le celle si riempiono solo in avanti, e la riga precedente o "
                               "questa perde le sue celle; scrivere le righe in ordine di "
                               "posizione"));
    }
    o.ultima_cella = std::max(o.ultima_cella.value_or(cella), cella);
}

// ---- the timetable ----

// A station's time as written, in seconds of the day; nothing for a station passed without
// stopping (0 0 0) or a row whose time was not read.
std::optional<std::int64_t> orario_della_stazione(const ParolaLetta& p) {
    std::array<std::optional<std::int64_t>, 3> parti;
    for (const ValoreRiga& v : p.valori) {
        if (v.valore.tipo == TipoValore::ore) parti[0] = v.valore.scritto;
        if (v.valore.tipo == TipoValore::minuti) parti[1] = v.valore.scritto;
        if (v.valore.tipo == TipoValore::secondi) parti[2] = v.valore.scritto;
    }
    if (!parti[0] || !parti[1] || !parti[2]) return std::nullopt;
    const std::int64_t secondi = *parti[0] * 3600 + *parti[1] * 60 + *parti[2];
    if (secondi == 0) return std::nullopt;
    return secondi;
}

std::string ora(std::int64_t secondi) {
    const auto due_cifre = [](std::int64_t v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return due_cifre(secondi / 3600) + ":" + due_cifre(secondi / 60 % 60) + ":" +
           due_cifre(secondi % 60);
}

// The last station time seen, and the row that gave it.
struct UltimoOrario {
    std::int64_t secondi = 0;
    int riga = 0;
};

void orario_della_riga(const ParolaLetta& p, std::optional<UltimoOrario>& ultimo,
                       std::vector<Diagnosi>& r) {
    if (p.tipi.size() != 1 || p.tipi.front() != TipoRiga::stazione) return;
    const auto secondi = orario_della_stazione(p);
    if (!secondi) return;
    // Going back by half a day or more is taken as passing midnight.
    constexpr std::int64_t kMezzaGiornata = 12 * 3600;
    if (ultimo && *secondi < ultimo->secondi && ultimo->secondi - *secondi < kMezzaGiornata) {
        PosizioneCampo dove = p.dove;
        for (const ValoreRiga& v : p.valori) {
            if (v.valore.tipo == TipoValore::ore && v.valore.campo.riga > 0) dove = v.valore.campo;
        }
        r.push_back(avviso(p.treno, dove, codice::indietro,
                           "orario " + ora(*secondi) +
                               " prima di quello della stazione alla riga " +
                               std::to_string(ultimo->riga) + " (" + ora(ultimo->secondi) +
                               "): l'orario torna indietro; scrivere gli orari in ordine di "
                               "percorso"));
    }
    ultimo = UltimoOrario{*secondi, p.dove.riga};
}

// ---- whole fields ----

// Bytes that look like UTF-8 (a lead byte C2 ... F4 followed by a continuation byte).
bool sembra_utf8(std::string_view testo) {
    for (std::size_t i = 0; i + 1 < testo.size(); ++i) {
        const auto a = static_cast<unsigned char>(testo[i]);
        const auto b = static_cast<unsigned char>(testo[i + 1]);
        if (a >= 0xC2 && a <= 0xF4 && b >= 0x80 && b <= 0xBF) return true;
    }
    return false;
}

// The traps of single fields, in reading order: text that looks like UTF-8, a keyword with a
// hyphen skipped as a separator.
class CampiDelFile : public FonteDiagnosi {
public:
    CampiDelFile(bool treno, const FileLetto& file) : treno_(treno), file_(file) {}
    std::optional<ChiaveDiagnosi> prossima() override {
        while (u_ < file_.campi_non_ascii.size() && !sembra_utf8(file_.campi_non_ascii[u_].testo)) {
            ++u_;
        }
        while (s_ < file_.separatori.size() && !parola_con_trattino(file_.separatori[s_].testo)) {
            ++s_;
        }
        const auto u = chiave(file_.campi_non_ascii, u_);
        const auto s = chiave(file_.separatori, s_);
        if (u && s) return std::min(*u, *s);
        return u ? u : s;
    }
    Diagnosi prendi() override {
        const auto u = chiave(file_.campi_non_ascii, u_);
        const auto s = chiave(file_.separatori, s_);
        if (u && (!s || *u <= *s)) {
            const CampoLetto& c = file_.campi_non_ascii[u_++];
            return avviso(treno_, c.dove, codice::utf8,
                          "il campo " + citato(c.testo) +
                              " contiene byte che sembrano UTF-8: il file e' letto come "
                              "Windows-1252; salvarlo in Windows-1252");
        }
        const CampoLetto& c = file_.separatori[s_++];
        return avviso(treno_, c.dove, codice::trattino,
                      "il campo " + citato(c.testo) +
                          " contiene '-' ed e' saltato come separatore: togliere il "
                          "trattino dalle parole chiave");
    }

private:
    std::optional<ChiaveDiagnosi> chiave(const std::vector<CampoLetto>& c, std::size_t i) const {
        if (i == c.size()) return std::nullopt;
        return chiave_di(luogo(treno_, c[i].dove));
    }
    bool treno_;
    const FileLetto& file_;
    std::size_t u_ = 0;
    std::size_t s_ = 0;
};

std::optional<Diagnosi> senza_generale(bool treno, const FileLetto& file) {
    if (!treno || !file.letto || file.generale) return std::nullopt;
    return avviso(treno, {1, 1}, codice::generale,
                  "manca l'intestazione [generale]: la descrizione del treno non e' "
                  "letta affatto e nessun errore e' registrato; scriverla in cima");
}

// Whether a keyword is its line's first field (the fields after it on the line are read as
// keywords too, and their warnings come from the row before).
bool prima_della_riga(const ParolaLetta& p, const FileLetto& file) {
    const int prima = file.riga(p.dove.riga).prima_colonna;
    return prima == 0 || prima == p.dove.colonna;
}

// The traps of each row, handed to `ordine` row by row: a row's diagnostics lie at its keyword
// or at its fields, never before its keyword.
void righe_del_file(bool treno, const FileLetto& file, const RegistroRighe& registro,
                    bool scambiate, const TestoFile& testo, OrdineDiagnosi& ordine) {
    bool generale = !treno;
    std::map<TipoRiga, Ordine> ordini;
    std::optional<UltimoOrario> orario;
    std::vector<Diagnosi> r;
    for (const std::size_t i : file.parole) {
        const ParolaLetta& p = registro.parole()[i];
        ordine.fino_a(chiave_di(luogo(treno, p.dove)));
        const bool prima = prima_della_riga(p, file);
        if (p.tipi.empty()) {
            if (prima) parola_senza_riga(p, generale, scambiate, r);
        } else {
            parola_con_righe(p, r);
            if (prima) campi_della_riga(p, file, r);
            numeri_con_spazio(p, testo, r);
            for (const ValoreRiga& v : p.valori) valore_della_riga(p, v, r);
            ordine_della_riga(p, ordini, r);
            orario_della_riga(p, orario, r);
        }
        for (Diagnosi& d : r) ordine.aggiungi(std::move(d), passo::righe);
        r.clear();
        // The line's general section ends at its first section header.
        if (generale && intestazione(p.testo) && !contiene(p.testo, "-")) generale = false;
    }
}

// ---- the two files swapped ----

// The rows of one file as read, by the description they belong to: those its reader ran, and
// keywords of the other description's rows, each the first field of its line.
struct RigheDelFile {
    int proprie = 0;
    int altrui = 0;
    bool sembra_dell_altra() const { return altrui > 0 && proprie == 0; }
    bool sembra_propria() const { return proprie > 0 && altrui == 0; }
};

RigheDelFile righe_per_descrizione(bool treno, const RegistroRighe& registro) {
    const FileLetto& file = registro.file(treno);
    RigheDelFile r;
    for (const std::size_t i : file.parole) {
        const ParolaLetta& p = registro.parole()[i];
        if (!prima_della_riga(p, file)) continue;
        if (!p.tipi.empty()) {
            ++r.proprie;
        } else if (dell_altra_descrizione(p.testo, treno)) {
            ++r.altrui;
        }
    }
    return r;
}

// The line description holds train rows and none of its own, or the reverse, and the other
// file does not look right where it stands (a file given twice is not a swap): one warning,
// on the file that looks misplaced, instead of one per row.
std::optional<Diagnosi> descrizioni_scambiate(const RegistroRighe& registro) {
    const RigheDelFile linea = righe_per_descrizione(false, registro);
    const RigheDelFile treno = righe_per_descrizione(true, registro);
    const bool linea_del_treno = linea.sembra_dell_altra() && !treno.sembra_propria();
    const bool treno_della_linea = treno.sembra_dell_altra() && !linea.sembra_propria();
    if (!linea_del_treno && !treno_della_linea) return std::nullopt;
    const std::string motivo =
        linea_del_treno ? "il file dato come linea ha righe del treno e nessuna della linea"
                        : "il file dato come treno ha righe della linea e nessuna del treno";
    return avviso(!linea_del_treno, {}, codice::scambiate,
                  "le descrizioni sembrano scambiate: prima LINEA, poi TRENO (" + motivo + ")");
}

}  // namespace

const std::vector<TipoAvviso>& tipi_di_avviso() {
    static const std::vector<TipoAvviso> kTipi = {
        {codice::sconosciuta, "parola chiave di nessuna riga"},
        {codice::intestazione, "intestazione che contiene una parola chiave"},
        {codice::mancanti, "riga con meno campi di quanti ne legge"},
        {codice::in_piu, "riga con piu' campi di quanti ne legge"},
        {codice::multiple, "parola con le parole chiave di piu' righe"},
        {codice::ordine, "righe fuori ordine di posizione"},
        {codice::pendenza, "pendenza fuori da -100 ... 155"},
        {codice::aderenza, "aderenza fuori da 0 ... 100"},
        {codice::velocita, "velocita' non multipla di 5"},
        {codice::cartello, "velocita' destra di un cartello da 100 km/h in su"},
        {codice::troncato, "valore tagliato a 8 o 16 bit"},
        {codice::maiuscole, "parola sensibile alle maiuscole scritta con maiuscole"},
        {codice::generale, "descrizione del treno senza [generale]"},
        {codice::trattino, "trattino dentro una parola chiave"},
        {codice::classe, "curva con piu' cifre di classe"},
        {codice::virgola, "virgola nel nome di una stazione"},
        {codice::utf8, "byte UTF-8 in un file Windows-1252"},
        {codice::orario, "orario fuori dal giorno"},
        {codice::indietro, "orario di stazione prima di quello della stazione precedente"},
        {codice::lato, "curva senza la lettera del lato"},
        {codice::scambiate, "descrizione della linea e del treno date l'una al posto dell'altra"},
        {codice::spazio, "numero con uno spazio tra le cifre"},
        {codice::tabulatore, "tabulatore al posto della virgola dopo la parola chiave"},
    };
    return kTipi;
}

void trova_trappole(const RegistroRighe& registro, std::string_view linea, std::string_view treno,
                    OrdineDiagnosi& ordine) {
    const auto scambiate = descrizioni_scambiate(registro);
    if (scambiate) ordine.aggiungi(*scambiate, passo::scambiate);
    for (const bool di_treno : {false, true}) {
        const std::string_view testo = di_treno ? treno : linea;
        const FileLetto& file = registro.file(di_treno);
        CampiDelFile campi(di_treno, file);
        ordine.aggiungi_fonte(campi, passo::campi);
        if (auto d = senza_generale(di_treno, file))
            ordine.aggiungi(std::move(*d), passo::generale);
        righe_del_file(di_treno, file, registro, scambiate.has_value(), TestoFile(testo), ordine);
        ordine.fino_a(inizio_dopo(di_treno ? FileDescrizione::treno : FileDescrizione::linea));
    }
}

std::size_t distanza(std::string_view a, std::string_view b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t costo = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + costo});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

}  // namespace brunavia::strumento
