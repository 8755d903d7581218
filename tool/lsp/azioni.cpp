#include "tool/lsp/azioni.h"

#include <algorithm>
#include <cstdint>

#include "compiler/numeri.h"
#include "tool/lsp/completamento.h"

namespace brunavia::strumento::lsp {
namespace {

// A member of an object, or null when the value is no object or lacks it.
const Json* membro(const Json& j, const char* nome) {
    if (!j.is_object()) return nullptr;
    const auto it = j.find(nome);
    return it == j.end() ? nullptr : &*it;
}

bool naturale(const Json* j) {
    return j != nullptr && j->is_number_integer() && j->get<std::int64_t>() >= 0;
}

struct Correzione {
    std::string titolo;
    Json modifica;  // one TextEdit
};

std::optional<Correzione> arrotonda(const Documento& d, std::size_t r, const CampoScritto& f,
                                    long long passo, std::string_view unita, Codifica c) {
    const auto n = f.testo.empty() ? std::nullopt : numero_del_campo(f.testo);
    if (!n || *n % passo == 0) return std::nullopt;
    const long long v =
        arrotonda_pari(static_cast<double>(*n) / static_cast<double>(passo)) * passo;
    return Correzione{
        "Arrotonda a " + std::to_string(v) + " " + std::string(unita),
        {{"range", intervallo(d, r, f.inizio, f.fine, c)}, {"newText", std::to_string(v)}}};
}

std::optional<Correzione> correzione(const Documento& d, const Analisi& a, const Json& diag,
                                     Codifica c) {
    // A diagnostic the client sent without a usable start has no fix; the others still do.
    const Json* inizio = membro(diag, "range");
    if (inizio != nullptr) inizio = membro(*inizio, "start");
    const Json* linea = inizio != nullptr ? membro(*inizio, "line") : nullptr;
    const Json* carattere = inizio != nullptr ? membro(*inizio, "character") : nullptr;
    if (!naturale(linea) || !naturale(carattere)) return std::nullopt;
    const std::size_t r = linea->get<std::size_t>();
    if (r >= a.righe.size()) return std::nullopt;
    const std::size_t col = d.da_colonna_lsp(
        r, static_cast<int>(std::min<std::uint64_t>(carattere->get<std::uint64_t>(), INT32_MAX)),
        c);
    const RigaScritta& riga = a.righe[r];
    const Json* trovato = membro(diag, "code");
    const Json codice = trovato != nullptr ? *trovato : Json();
    const auto campo = campo_a(riga, col);
    if (codice.is_number_integer()) {
        const int n = codice.get<int>();
        if (!campo) return std::nullopt;
        if (n == 8 || n == 3 || n == 4) return arrotonda(d, r, riga.campi[*campo], 50, "m", c);
        if (n == 9) return arrotonda(d, r, riga.campi[*campo], 100, "m", c);
        return std::nullopt;
    }
    if (!codice.is_string()) return std::nullopt;
    const std::string k = codice.get<std::string>();
    if (k == "velocita-non-multipla-di-5" && campo)
        return arrotonda(d, r, riga.campi[*campo], 5, "km/h", c);
    if (k == "intestazione-letta-come-riga") {
        const auto tipo = tipo_della_parola(riga.parola.testo, a.treno);
        if (!tipo) return std::nullopt;
        const std::string nuova(forma_di(*tipo).sezione);
        return Correzione{"Rinomina l'intestazione in " + nuova,
                          {{"range", intervallo(d, r, riga.parola.inizio, riga.parola.fine, c)},
                           {"newText", nuova}}};
    }
    if (k == "parola-sconosciuta") {
        const auto vicina = parola_vicina(riga.parola.testo, a.treno);
        if (!vicina) return std::nullopt;
        return Correzione{"Sostituisci con '" + vicina->parola + "'",
                          {{"range", intervallo(d, r, riga.parola.inizio, riga.parola.fine, c)},
                           {"newText", vicina->parola}}};
    }
    if (k == "senza-generale") {
        const std::string& t = d.testo();
        const std::size_t a_capo = t.find_first_of("\r\n");
        std::string fine_riga = "\r\n";
        if (a_capo != std::string::npos)
            fine_riga = t.compare(a_capo, 2, "\r\n") == 0 ? "\r\n" : t.substr(a_capo, 1);
        return Correzione{
            "Aggiungi [generale] in cima",
            {{"range", intervallo(d, 0, 0, 0, c)}, {"newText", "[generale]" + fine_riga}}};
    }
    return std::nullopt;
}

// The diagnostic a fix resolves, as the client sent it but for members the server never sets.
Json riassunto(const Json& diag) {
    Json r = Json::object();
    for (const char* k : {"range", "severity", "code", "source", "message"})
        if (diag.contains(k)) r[k] = diag[k];
    return r;
}

}  // namespace

Json azioni(const Documento& d, const Analisi& a, const Json& diagnostiche, Codifica c) {
    Json r = Json::array();
    if (!diagnostiche.is_array()) return r;
    for (const Json& diag : diagnostiche) {
        const std::optional<Correzione> k = correzione(d, a, diag, c);
        if (!k) continue;
        r.push_back({{"title", k->titolo},
                     {"kind", "quickfix"},
                     {"diagnostics", Json::array({riassunto(diag)})},
                     {"isPreferred", true},
                     {"edit", {{"changes", {{d.uri(), Json::array({k->modifica})}}}}}});
    }
    return r;
}

}  // namespace brunavia::strumento::lsp
