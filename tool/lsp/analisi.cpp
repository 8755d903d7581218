#include "tool/lsp/analisi.h"

namespace brunavia::strumento::lsp {

const Sezione* Analisi::sezione_di(std::size_t r) const {
    for (const Sezione& s : sezioni)
        if (s.riga <= r && r < s.fine) return &s;
    return nullptr;
}

Analisi analizza(const Documento& d, bool treno) {
    Analisi a;
    a.treno = treno;
    a.righe.reserve(d.righe());
    for (std::size_t r = 0; r < d.righe(); ++r) {
        a.righe.push_back(dividi_riga(d.riga_cp1252(r), treno));
        const std::string& parola = a.righe.back().parola.testo;
        if (parola.starts_with('[')) {
            if (!a.sezioni.empty()) a.sezioni.back().fine = r;
            a.sezioni.push_back({parola, r, d.righe()});
        }
    }
    return a;
}

std::optional<std::size_t> campo_a(const RigaScritta& riga, std::size_t c) {
    for (std::size_t i = 0; i < riga.campi.size(); ++i)
        if (riga.campi[i].inizio <= c && c <= riga.campi[i].fine) return i;
    return std::nullopt;
}

Json intervallo(const Documento& d, std::size_t r, std::size_t da, std::size_t a, Codifica c) {
    const int riga = static_cast<int>(r);
    return {{"start", {{"line", riga}, {"character", d.in_colonna_lsp(r, da, c)}}},
            {"end", {{"line", riga}, {"character", d.in_colonna_lsp(r, a, c)}}}};
}

}  // namespace brunavia::strumento::lsp
