#include "tool/lsp/simboli.h"

#include "io/cp1252.h"
#include "tool/testo.h"

namespace brunavia::strumento::lsp {
namespace {

// LSP symbol kinds.
constexpr int kNamespace = 3;
constexpr int kCostante = 14;
constexpr int kEvento = 24;

std::string campo(const RigaScritta& r, std::size_t i) {
    return i < r.campi.size() ? r.campi[i].testo : std::string("0");
}

// The symbol's name for a row of the outline; empty for a row that is not in it.
std::string nome_simbolo(const RigaScritta& r) {
    switch (*r.tipo) {
        case TipoRiga::stazione: {
            const long long s = (numero_del_campo(campo(r, 13)).value_or(0) * 60 +
                                 numero_del_campo(campo(r, 14)).value_or(0)) *
                                    60 +
                                numero_del_campo(campo(r, 15)).value_or(0);
            const std::string nome = r.campi.size() > 16 ? da_cp1252(r.campi[16].testo) : "?";
            return nome + " " + (s == 0 ? "transito" : orario(static_cast<std::int32_t>(s)));
        }
        case TipoRiga::segnale:
        case TipoRiga::indicatori_v_max:
        case TipoRiga::cartello_indicatore:
        case TipoRiga::rallentamento:
        case TipoRiga::abbattimento:
            return std::string(forma_di(*r.tipo).parola) + " " + campo(r, 0);
        default:
            return {};
    }
}

Json simbolo(std::string nome, int tipo, const Json& dove) {
    return {{"name", std::move(nome)},
            {"kind", tipo},
            {"range", dove},
            {"selectionRange", dove},
            {"children", Json::array()}};
}

}  // namespace

Json simboli(const Documento& d, const Analisi& a, Codifica c) {
    Json r = Json::array();
    Json* sezione = nullptr;
    for (std::size_t n = 0; n < a.righe.size(); ++n) {
        const RigaScritta& riga = a.righe[n];
        const std::size_t fine = d.riga_cp1252(n).size();
        if (riga.parola.testo.starts_with('[')) {
            Json s =
                simbolo(da_cp1252(riga.parola.testo), kNamespace, intervallo(d, n, 0, fine, c));
            const Sezione* sez = a.sezione_di(n);
            const std::size_t ultima = sez != nullptr && sez->fine > n ? sez->fine - 1 : n;
            s["range"]["end"] = {
                {"line", static_cast<int>(ultima)},
                {"character", d.in_colonna_lsp(ultima, d.riga_cp1252(ultima).size(), c)}};
            r.push_back(std::move(s));
            sezione = &r.back();
            continue;
        }
        if (!riga.tipo) continue;
        std::string nome = nome_simbolo(riga);
        if (nome.empty()) continue;
        Json s = simbolo(std::move(nome), *riga.tipo == TipoRiga::stazione ? kEvento : kCostante,
                         intervallo(d, n, 0, fine, c));
        if (sezione != nullptr)
            (*sezione)["children"].push_back(std::move(s));
        else
            r.push_back(std::move(s));
    }
    return r;
}

}  // namespace brunavia::strumento::lsp
