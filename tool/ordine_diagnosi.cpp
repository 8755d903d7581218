#include "tool/ordine_diagnosi.h"

#include <algorithm>
#include <tuple>

namespace brunavia::strumento {

ChiaveDiagnosi chiave_di(const LuogoErrore& luogo) {
    const int file = luogo.file == FileDescrizione::linea   ? 0
                     : luogo.file == FileDescrizione::treno ? 1
                                                            : 2;
    return {file, luogo.campo.riga, luogo.campo.colonna};
}

ChiaveDiagnosi inizio_dopo(FileDescrizione file) {
    return {chiave_di({file, {}}).file + 1, 0, 0};
}

FonteElenco::FonteElenco(std::vector<Diagnosi> elenco) : elenco_(std::move(elenco)) {
    std::stable_sort(elenco_.begin(), elenco_.end(), [](const Diagnosi& a, const Diagnosi& b) {
        return chiave_di(a.luogo) < chiave_di(b.luogo);
    });
}

std::optional<ChiaveDiagnosi> FonteElenco::prossima() {
    if (i_ == elenco_.size()) return std::nullopt;
    return chiave_di(elenco_[i_].luogo);
}

void OrdineDiagnosi::aggiungi(Diagnosi d, int passo) {
    const ChiaveDiagnosi k = chiave_di(d.luogo);
    attesa_.push_back({k, passo, aggiunte_++, std::move(d)});
}

void OrdineDiagnosi::fino_a(ChiaveDiagnosi fino) {
    std::erase_if(fonti_, [&](const Fonte& f) {
        auto k = f.fonte->prossima();
        for (; k && *k < fino; k = f.fonte->prossima()) aggiungi(f.fonte->prendi(), f.passo);
        return !k;
    });
    const auto pronte = std::partition(attesa_.begin(), attesa_.end(),
                                       [&](const Voce& v) { return v.chiave < fino; });
    std::sort(attesa_.begin(), pronte, [](const Voce& a, const Voce& b) {
        return std::tie(a.chiave, a.passo, a.numero) < std::tie(b.chiave, b.passo, b.numero);
    });
    for (auto i = attesa_.begin(); i != pronte; ++i) destino_(std::move(i->d));
    attesa_.erase(attesa_.begin(), pronte);
}

}  // namespace brunavia::strumento
