#include "tool/lsp/hover.h"

#include "compiler/numeri.h"
#include "io/cp1252.h"
#include "tool/testo.h"

namespace brunavia::strumento::lsp {
namespace {

using Valori = std::vector<std::optional<long long>>;

Valori valori_di(const RigaScritta& riga) {
    Valori v;
    for (const CampoScritto& c : riga.campi) v.push_back(numero_del_campo(c.testo));
    return v;
}

std::optional<long long> val(const Valori& v, std::size_t i) {
    return i < v.size() ? v[i] : std::optional<long long>(0);
}

std::string metri_cella(std::int64_t k) {
    return "cell " + std::to_string(k) + " (metres " + std::to_string(k * 50) + " … " +
           std::to_string(k * 50 + 49) + ")";
}

// The cell of a position field: where the row puts its object.
std::string cella_del_campo(TipoRiga t, std::size_t i, const Valori& v) {
    const auto p = val(v, i);
    if (!p) return {};
    const double m = static_cast<double>(*p);
    switch (t) {
        case TipoRiga::pendenza:
        case TipoRiga::aderenza:
        case TipoRiga::velocita:
        case TipoRiga::abbattimento:
        case TipoRiga::progressiva:
            return i == 0 ? "position in " + metri_cella(cella_di(m)) : "";
        case TipoRiga::ripetizione:
            return "position in " + metri_cella(cella_di(m));
        case TipoRiga::montagna:
            if (i == 0) return "first cell: " + metri_cella(cella_di(m));
            if (i == 1) return "last cell: " + metri_cella(arrotonda_pari(m / 50.0 - 1.0));
            return "";
        case TipoRiga::segnale:
        case TipoRiga::indicatori_v_max:
        case TipoRiga::cartello_indicatore:
            return i == 0 ? "placed on " + metri_cella(cella_dopo(m)) : "";
        case TipoRiga::rallentamento:
            if (i == 0) return "start on " + metri_cella(cella_dopo(m));
            if (i == 2 && val(v, 0))
                return "end on " + metri_cella(cella_dopo(static_cast<double>(*val(v, 0) + *p)));
            return "";
        case TipoRiga::stazione:
            return i == 0 ? "centre in " + metri_cella(cella_di(m)) : "";
        default:
            return "";
    }
}

std::string velocita_cartello(std::int64_t codice) {
    return "reads " + std::to_string(codice / 100 * 5) + " km/h on the left board, " +
           std::to_string(codice % 100 * 5) + " km/h on the right";
}

// A station's zone as the reader computes it from its position, type code, length and
// end-extension flag.
std::string zona_stazione(long long pos, long long codice, long long lunghezza, long long est) {
    const auto p = static_cast<double>(pos);
    const auto l = static_cast<double>(lunghezza);
    long long da = 0, a = 0;
    if (codice == 5 || codice == 6) {
        da = pos - lunghezza;
        a = pos + 150;
    } else if (codice == 7 || codice == 8) {
        da = pos - lunghezza;
        a = pos + lunghezza;
    } else {
        da = arrotonda_pari(p - l / 2.0);
        a = arrotonda_pari(p + l / 2.0) + (est != 0 ? 50 : 0);
    }
    return "zone " + std::to_string(da) + " … " + std::to_string(a) + " m";
}

// The value as the compile stores it, where it differs from the number written or needs
// decoding.
std::string memorizzato(TipoRiga t, std::size_t i, const Valori& v) {
    const auto x = val(v, i);
    if (!x) return "not a number: error 25";
    const long long n = *x;
    const auto a = [&](std::size_t k) { return val(v, k).value_or(0); };
    switch (t) {
        case TipoRiga::velocita:
            if (i != 1) return "";
            if (n < 0 || n > 1275) return "outside 0 … 1275: error 25";
            return "`attributo4` = " +
                   std::to_string(arrotonda_pari(static_cast<double>(n) / 5.0)) + ": kept as " +
                   std::to_string(arrotonda_pari(static_cast<double>(n) / 5.0) * 5) + " km/h";
        case TipoRiga::pendenza: {
            if (i != 1) return "";
            const long long b = (n + 100) & 0xFF;
            return "`attributo5` = " + std::to_string(b) + ": read back as " +
                   std::to_string(b - 100) + " ‰";
        }
        case TipoRiga::aderenza:
            return i == 1 ? "`attributo6` = " + std::to_string(n & 0xFF) : "";
        case TipoRiga::indicatori_v_max: {
            if (i == 4 || i == 8) return "`dato3` = " + std::to_string(a(4) * 10 + a(8));
            if (i == 0) return "";
            const std::size_t k = i < 4 ? i - 1 : i - 5;
            const std::int64_t codice = arrotonda_pari(static_cast<double>(a(5 + k)) / 5.0 +
                                                       static_cast<double>(a(1 + k)) * 20.0);
            return "`dato" + std::to_string(k) + "` = " + std::to_string(codice) + ": " +
                   velocita_cartello(codice);
        }
        case TipoRiga::segnale: {
            if (i == 1 || i == 5 || i == 6) {
                const long long aspetto = a(1) * 3 + a(6);
                return "`dato3` = " + std::to_string(a(5) * 10 + aspetto) + "; approach codes " +
                       std::to_string((aspetto * 10 + 1) & 0xFF) + " … " +
                       std::to_string((aspetto * 10 + 4) & 0xFF);
            }
            if ((i >= 2 && i <= 4) || (i >= 7 && i <= 9)) {
                const std::size_t k = i <= 4 ? i - 2 : i - 7;
                return "`dato" + std::to_string(k) +
                       "` = " + std::to_string(a(2 + k) * 10 + a(7 + k));
            }
            if (i == 10) {
                const long long tempo = n >= 1 && n <= 100 ? 101 : n;
                return "kept as " + std::to_string(tempo) +
                       (a(1) == 2 ? "; `attributo1` = " + std::to_string(tempo & 0xFF)
                                  : "; unused (sx is not 2)");
            }
            return "";
        }
        case TipoRiga::stazione:
            if (i == 2) return zona_stazione(a(0), a(1), n, a(5));
            if (i >= 13 && i <= 15) {
                const long long s = (a(13) * 60 + a(14)) * 60 + a(15);
                return "`codice` = " + std::to_string(s) + " (" +
                       orario(static_cast<std::int32_t>(s)) + ")";
            }
            return "";
        default:
            return "";
    }
}

// The field at character c, or the one whose leading blanks c is on.
std::optional<std::size_t> campo_vicino(const RigaScritta& riga, std::string_view testo,
                                        std::size_t c) {
    if (const auto i = campo_a(riga, c)) return i;
    for (std::size_t i = 0; i < riga.campi.size(); ++i) {
        const std::size_t inizio = riga.campi[i].inizio;
        if (inizio <= c) continue;
        const std::string_view tra = testo.substr(c, inizio - c);
        if (tra.find_first_not_of(" \t") == std::string_view::npos) return i;
        return std::nullopt;
    }
    return std::nullopt;
}

Json marcato(std::string testo) {
    return {{"kind", "markdown"}, {"value", std::move(testo)}};
}

}  // namespace

std::string testo_parola(TipoRiga tipo) {
    const FormaRiga& f = forma_di(tipo);
    std::string t = "**" + std::string(f.parola) + "**: " + std::string(f.descrizione) + " (" +
                    (f.treno ? "train" : "line") + " description, keyword contains " +
                    std::string(f.riconoscimento) + ")\n\n";
    for (std::size_t i = 0; i < f.campi.size(); ++i)
        t += std::to_string(i + 1) + ". `" + std::string(f.campi[i].nome) +
             "`: " + std::string(f.campi[i].titolo) + " (" + std::string(f.campi[i].unita) + ")\n";
    return t;
}

std::string testo_campo(const RigaScritta& riga, std::size_t i) {
    const FormaRiga& f = forma_di(*riga.tipo);
    if (i >= f.campi.size())
        return "**" + std::string(f.parola) + "**: field " + std::to_string(i + 1) +
               " is one too many: the row reads " + std::to_string(f.campi.size()) +
               " fields, and this one is taken as the next row's keyword";
    const CampoRiga& c = f.campi[i];
    const Valori v = valori_di(riga);
    std::string t = "**" + da_cp1252(riga.parola.testo) + "**, field " + std::to_string(i + 1) +
                    " `" + std::string(c.nome) + "`: " + std::string(c.titolo) + "\n\n- " +
                    std::string(c.unita) + "\n- " + std::string(c.effetto);
    if (!c.testo) {
        const std::string m = memorizzato(f.tipo, i, v);
        if (!m.empty()) t += "\n- stored: " + m;
        const std::string cella = cella_del_campo(f.tipo, i, v);
        if (!cella.empty()) t += "\n- " + cella;
    }
    return t;
}

std::optional<Json> hover(const Documento& d, const Analisi& a, std::size_t r, std::size_t c,
                          Codifica cod) {
    if (r >= a.righe.size()) return std::nullopt;
    const RigaScritta& riga = a.righe[r];
    if (!riga.tipo) return std::nullopt;
    if (riga.parola.inizio <= c && c <= riga.parola.fine)
        return Json{{"contents", marcato(testo_parola(*riga.tipo))},
                    {"range", intervallo(d, r, riga.parola.inizio, riga.parola.fine, cod)}};
    const std::optional<std::size_t> i = campo_vicino(riga, d.riga_cp1252(r), c);
    if (!i) return std::nullopt;
    const CampoScritto& campo = riga.campi[*i];
    return Json{{"contents", marcato(testo_campo(riga, *i))},
                {"range", intervallo(d, r, campo.inizio, campo.fine, cod)}};
}

}  // namespace brunavia::strumento::lsp
