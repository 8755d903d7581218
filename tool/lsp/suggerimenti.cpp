#include "tool/lsp/suggerimenti.h"

#include <algorithm>

namespace brunavia::strumento::lsp {
namespace {

bool con_nomi(TipoRiga t) {
    return t == TipoRiga::stazione || t == TipoRiga::segnale || t == TipoRiga::rallentamento ||
           t == TipoRiga::indicatori_v_max;
}

constexpr int kTipoParametro = 2;

}  // namespace

Json suggerimenti(const Documento& d, const Analisi& a, std::size_t da, std::size_t a_riga,
                  Codifica c) {
    Json r = Json::array();
    for (std::size_t n = da; n < std::min(a_riga, a.righe.size()); ++n) {
        const RigaScritta& riga = a.righe[n];
        if (!riga.tipo || !con_nomi(*riga.tipo)) continue;
        const FormaRiga& f = forma_di(*riga.tipo);
        for (std::size_t i = 0; i < riga.campi.size() && i < f.campi.size(); ++i) {
            const int col = d.in_colonna_lsp(n, riga.campi[i].inizio, c);
            r.push_back({{"position", {{"line", static_cast<int>(n)}, {"character", col}}},
                         {"label", std::string(f.campi[i].nome) + ":"},
                         {"kind", kTipoParametro},
                         {"paddingRight", true}});
        }
    }
    return r;
}

}  // namespace brunavia::strumento::lsp
