#include "tool/lsp/completamento.h"

#include <algorithm>
#include <cctype>

#include "io/cp1252.h"
#include "tool/lsp/hover.h"
#include "tool/trappole.h"

namespace brunavia::strumento::lsp {
namespace {

constexpr int kParolaChiave = 14;
constexpr int kModulo = 9;
constexpr int kFormatoSnippet = 2;

std::string campi_snippet(const FormaRiga& f, int primo) {
    std::string s;
    for (std::size_t i = 0; i < f.campi.size(); ++i)
        s += ", ${" + std::to_string(primo + static_cast<int>(i)) + ":" +
             std::string(f.campi[i].nome) + "}";
    return s;
}

std::string minuscolo(std::string_view s) {
    std::string r(s);
    for (char& ch : r) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return r;
}

// The keywords the section of line r takes, and whether the section names one kind.
bool valida_nella_sezione(const ParolaChiave& p, const Analisi& a, std::size_t r) {
    if (a.treno) return true;
    const Sezione* s = a.sezione_di(r);
    const bool generale =
        s == nullptr || minuscolo(s->nome).find("[generale]") != std::string::npos;
    return forma_di(p.tipo).generale == generale;
}

bool della_sezione(const ParolaChiave& p, const Analisi& a, std::size_t r) {
    const Sezione* s = a.sezione_di(r);
    return s != nullptr && minuscolo(s->nome) == forma_di(p.tipo).sezione;
}

Json voce(const ParolaChiave& p, const Json& dove, std::string ordine) {
    return {{"label", p.parola},
            {"kind", kParolaChiave},
            {"detail", std::string(forma_di(p.tipo).descrizione)},
            {"documentation", {{"kind", "markdown"}, {"value", testo_parola(p.tipo)}}},
            {"insertTextFormat", kFormatoSnippet},
            {"textEdit", {{"range", dove}, {"newText", p.snippet}}},
            {"sortText", std::move(ordine)}};
}

Json sezioni(const Analisi& a, const Json& dove) {
    Json r = Json::array();
    std::vector<std::string> nomi{"[generale]"};
    for (const FormaRiga& f : forme_righe())
        if (f.treno == a.treno && std::find(nomi.begin(), nomi.end(), f.sezione) == nomi.end())
            nomi.emplace_back(f.sezione);
    if (a.treno) nomi.emplace_back("[codici]");
    nomi.emplace_back("[fine]");
    for (const std::string& n : nomi)
        r.push_back(
            {{"label", n}, {"kind", kModulo}, {"textEdit", {{"range", dove}, {"newText", n}}}});
    return r;
}

}  // namespace

std::vector<ParolaChiave> parole_chiave(bool treno) {
    std::vector<ParolaChiave> r;
    for (const FormaRiga& f : forme_righe()) {
        if (f.treno != treno) continue;
        const std::string parola(f.parola);
        switch (f.tipo) {
            case TipoRiga::progressiva:
            case TipoRiga::sfondo: {
                const std::string radice = parola.substr(0, parola.rfind(' ') + 1);
                for (const char* n : {"uno", "due", "tre"})
                    r.push_back({radice + n, radice + n + campi_snippet(f, 1), f.tipo});
                break;
            }
            case TipoRiga::ripetizione:
                for (const char* n : {"4", "9"})
                    r.push_back(
                        {std::string("ripetizione segnali ") + n + " codici",
                         std::string("ripetizione segnali ") + n + " codici" + campi_snippet(f, 1),
                         f.tipo});
                break;
            case TipoRiga::curva:
                r.push_back(
                    {"curvad4", "curva${1|d,s|}${2|1,2,3,4,5,6|}" + campi_snippet(f, 3), f.tipo});
                r.push_back(
                    {"curvas4", "curva${1|s,d|}${2|1,2,3,4,5,6|}" + campi_snippet(f, 3), f.tipo});
                break;
            default:
                r.push_back({parola, parola + campi_snippet(f, 1), f.tipo});
        }
    }
    return r;
}

std::optional<ParolaChiave> parola_vicina(std::string_view parola, bool treno) {
    const std::string scritta = minuscolo(parola);
    if (scritta.size() < 3) return std::nullopt;
    std::optional<ParolaChiave> migliore;
    std::size_t minima = std::max<std::size_t>(2, scritta.size() / 4) + 1;
    for (const ParolaChiave& p : parole_chiave(treno)) {
        if (p.parola.starts_with(scritta)) return std::nullopt;
        const std::size_t d = distanza(scritta, p.parola);
        if (d < minima) {
            minima = d;
            migliore = p;
        }
    }
    return migliore;
}

Json completamento(const Documento& d, const Analisi& a, std::size_t r, std::size_t c,
                   Codifica cod) {
    Json lista = {{"isIncomplete", false}, {"items", Json::array()}};
    if (r >= a.righe.size()) return lista;
    const std::string_view riga = d.riga_cp1252(r);
    const std::string_view prima = riga.substr(0, std::min(c, riga.size()));
    if (prima.find(',') != std::string_view::npos) return lista;
    std::size_t inizio = 0;
    while (inizio < prima.size() && (prima[inizio] == ' ' || prima[inizio] == '\t')) ++inizio;
    const std::string scritta(prima.substr(inizio));
    const Json dove = intervallo(d, r, inizio, prima.size(), cod);
    if (scritta.starts_with('[')) {
        lista["items"] = sezioni(a, dove);
        return lista;
    }
    for (const ParolaChiave& p : parole_chiave(a.treno)) {
        if (!valida_nella_sezione(p, a, r)) continue;
        lista["items"].push_back(voce(p, dove, della_sezione(p, a, r) ? "1" : "2"));
    }
    if (const auto vicina = parola_vicina(scritta, a.treno)) {
        Json v = voce(*vicina, dove, "0");
        v["label"] = vicina->parola + " (invece di '" + da_cp1252(scritta) + "')";
        v["filterText"] = da_cp1252(scritta);
        v["preselect"] = true;
        lista["items"].push_back(std::move(v));
    }
    return lista;
}

}  // namespace brunavia::strumento::lsp
