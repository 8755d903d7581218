#include "tool/registro_righe.h"

#include <algorithm>
#include <array>

namespace brunavia::strumento {

std::optional<std::int64_t> ParolaLetta::primo_numero() const {
    for (const CampoLetto& c : campi) {
        if (!c.numero) continue;
        try {
            return std::stoll(c.testo.empty() ? "0" : c.testo);
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

RigaVista FileLetto::riga(int r) const {
    if (r < 1 || static_cast<std::size_t>(r) > righe.size()) return {};
    return righe[static_cast<std::size_t>(r) - 1];
}

namespace {

bool non_ascii(std::string_view testo) {
    return std::any_of(testo.begin(), testo.end(),
                       [](char c) { return static_cast<unsigned char>(c) > 0x7F; });
}

}  // namespace

void RegistroRighe::campo(bool numero, PosizioneCampo dove, std::string_view testo) {
    if (parola_corrente_)
        parole_[*parola_corrente_].campi.push_back({numero, dove, std::string(testo)});
    FileLetto& file = corrente();
    file.con_campi = true;
    if (!per_le_trappole_ || dove.riga < 1) return;
    const auto r = static_cast<std::size_t>(dove.riga);
    if (file.righe.size() < r) file.righe.resize(r);
    RigaVista& vista = file.righe[r - 1];
    if (vista.prima_colonna == 0) vista.prima_colonna = dove.colonna;
    if (numero || testo.find_first_not_of(" \t") != std::string_view::npos) ++vista.campi;
    if (!numero && non_ascii(testo))
        file.campi_non_ascii.push_back({numero, dove, std::string(testo)});
}

void RegistroRighe::dimentica_parola_senza_riga() {
    auto& indici = corrente().parole;
    if (per_le_trappole_ || parole_.empty() || !parole_.back().tipi.empty()) return;
    if (indici.empty() || indici.back() + 1 != parole_.size()) return;
    parole_.pop_back();
    indici.pop_back();
}

void RegistroRighe::togli_ultimo_campo() {
    if (!parola_corrente_) return;
    auto& campi = parole_[*parola_corrente_].campi;
    if (!campi.empty()) campi.pop_back();
    parola_corrente_.reset();
}

void RegistroRighe::inizio_file(bool treno) {
    treno_corrente_ = treno;
    corrente().letto = true;
    parola_corrente_.reset();
}

void RegistroRighe::generale(PosizioneCampo dove) {
    togli_ultimo_campo();
    corrente().generale = dove;
}

void RegistroRighe::separatore(PosizioneCampo dove, std::string_view testo) {
    togli_ultimo_campo();
    corrente().separatori.push_back({false, dove, std::string(testo)});
}

void RegistroRighe::parola(PosizioneCampo dove, std::string_view testo) {
    togli_ultimo_campo();
    dimentica_parola_senza_riga();
    parole_.push_back({treno_corrente_, dove, std::string(testo), {}, {}, {}});
    parola_corrente_ = parole_.size() - 1;
    corrente().parole.push_back(*parola_corrente_);
}

void RegistroRighe::non_esaminato(PosizioneCampo dove, std::string_view testo) {
    togli_ultimo_campo();
    corrente().non_esaminato = CampoLetto{false, dove, std::string(testo)};
}

void RegistroRighe::riga(TipoRiga tipo) {
    if (parola_corrente_) parole_[*parola_corrente_].tipi.push_back(tipo);
}

// A fill that wrote only the cell at the cursor, its row lying at or before it, pushed the
// cursor one cell on: it joins the run; any other fill ends it.
void RegistroRighe::spinta_del_cursore(const ValoreLetto& v) {
    SpintaCursore& s = corrente().spinta;
    if (v.scritto > v.altro || !parola_corrente_) {
        s = {};
        return;
    }
    const int riga = parole_[*parola_corrente_].dove.riga;
    if (s.righe == 0) s = {0, riga, riga, v.scritto, v.scritto, 0};
    ++s.righe;
    s.ultima_riga = riga;
    s.cella_minima = std::min(s.cella_minima, v.scritto);
    s.cella_massima = std::max(s.cella_massima, v.scritto);
    s.cursore = v.memorizzato;
}

void RegistroRighe::valore(const ValoreLetto& v) {
    if (v.tipo == TipoValore::cursore) {
        spinta_del_cursore(v);
        return;
    }
    if (v.tipo == TipoValore::zona && parola_corrente_ && v.altro >= 0) {
        const auto riga = static_cast<std::size_t>(v.altro);
        if (stazioni_.size() <= riga) stazioni_.resize(riga + 1);
        stazioni_[riga] = *parola_corrente_ + 1;
    }
    if (parola_corrente_) parole_[*parola_corrente_].valori.push_back({v, std::string(v.nome)});
}

void RegistroRighe::cella_scritta(std::int64_t k, std::uint8_t tipo) {
    if (parola_corrente_) celle_.push_back({k, tipo, *parola_corrente_});
}

void RegistroRighe::cella_occupata(std::int64_t k) {
    CellaRifiutata r;
    r.errore = f_.errori_registrati.size();
    r.k = k;
    if (dentro_le_celle(f_, k)) r.tipo_occupante = cella_a(f_, k).tipo_cella;
    for (auto i = celle_.rbegin(); i != celle_.rend(); ++i) {
        if (i->k != k) continue;
        r.parola_occupante = i->parola;
        break;
    }
    rifiuti_.push_back(r);
}

// Refusals are recorded in the order of the errors, rows in reading order (the line description,
// then the train's): both are searched by halves, so that a report stays linear in its errors.
const CellaRifiutata* RegistroRighe::rifiuto_di(std::size_t indice) const {
    const auto i =
        std::lower_bound(rifiuti_.begin(), rifiuti_.end(), indice,
                         [](const CellaRifiutata& r, std::size_t n) { return r.errore < n; });
    return i != rifiuti_.end() && i->errore == indice ? &*i : nullptr;
}

const ParolaLetta* RegistroRighe::riga_con_cella(std::int64_t k, std::uint8_t tipo) const {
    for (auto i = celle_.rbegin(); i != celle_.rend(); ++i) {
        if (i->k == k && i->tipo == tipo) return &parole_[i->parola];
    }
    return nullptr;
}

const ParolaLetta* RegistroRighe::rallentamento_su(std::int64_t k) const {
    const CellaScritta* migliore = nullptr;
    for (const CellaScritta& c : celle_) {
        if (c.tipo != tipo::inizio_rallentamento || c.k >= k) continue;
        if (!migliore || c.k > migliore->k) migliore = &c;
    }
    return migliore ? &parole_[migliore->parola] : nullptr;
}

const ParolaLetta* RegistroRighe::riga_del_campo(bool treno, PosizioneCampo dove) const {
    const auto prima_riga = [](const ParolaLetta& p) {
        return p.campi.empty() ? 0 : p.campi.front().dove.riga;
    };
    // The first row that starts after the field's line; the field lies in one of those before.
    auto i = std::partition_point(parole_.begin(), parole_.end(), [&](const ParolaLetta& p) {
        return p.treno != treno ? !p.treno : prima_riga(p) <= dove.riga;
    });
    while (i != parole_.begin()) {
        --i;
        if (i->treno != treno) break;
        for (const CampoLetto& c : i->campi) {
            if (c.dove.riga == dove.riga && c.dove.colonna == dove.colonna) return &*i;
        }
        if (!i->campi.empty() && i->campi.back().dove.riga < dove.riga) break;
    }
    return nullptr;
}

const ParolaLetta* RegistroRighe::stazione_in_tabella(std::int32_t riga) const {
    if (riga < 0 || static_cast<std::size_t>(riga) >= stazioni_.size()) return nullptr;
    const std::size_t i = stazioni_[static_cast<std::size_t>(riga)];
    return i == 0 ? nullptr : &parole_[i - 1];
}

std::uint8_t RegistroRighe::tipo_della_cella(std::int64_t k) const {
    return dentro_le_celle(f_, k) ? cella_a(f_, k).tipo_cella : std::uint8_t{0};
}

std::string_view nome_riga(TipoRiga tipo) {
    constexpr std::array<std::string_view, 19> kNomi = {"lunghezza percorso",
                                                        "progressiva chilometrica",
                                                        "sfondo",
                                                        "ripetizione segnali",
                                                        "pendenza",
                                                        "curva",
                                                        "montagna",
                                                        "indicatori_vmax",
                                                        "cartello_indicatore",
                                                        "massa frenata",
                                                        "vetture",
                                                        "velocita",
                                                        "aderenza",
                                                        "orologio",
                                                        "sabbia",
                                                        "segnale",
                                                        "rallentamento",
                                                        "abbattimento",
                                                        "stazione"};
    return kNomi[static_cast<std::size_t>(tipo)];
}

std::string_view nome_occupante(std::uint8_t tipo_cella) {
    switch (tipo_cella) {
        case tipo::segnale:
            return "dal segnale";
        case tipo::fine_rallentamento:
            return "dalla fine di un rallentamento";
        case tipo::inizio_rallentamento:
            return "dall'inizio di un rallentamento";
        case tipo::avviso_rallentamento:
            return "dall'avviso di un rallentamento";
        case tipo::prima_dell_avviso:
            return "da una delle quattro celle prima di un avviso";
        case tipo::indicatore_v_max:
            return "dall'indicatore di velocita' massima";
        case tipo::fine_stazione:
            return "dalla fine di una stazione";
        case tipo::marcatore:
            return "da un marcatore";
        case tipo::abbattimento_nullo:
            return "dall'abbattimento";
        case tipo::cartello_indicatore:
            return "dal cartello indicatore";
        default:
            return "da un altro oggetto";
    }
}

}  // namespace brunavia::strumento
