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
    const auto i = std::lower_bound(righe.begin(), righe.end(), r,
                                    [](const auto& x, int n) { return x.first < n; });
    return i != righe.end() && i->first == r ? i->second : RigaVista{};
}

namespace {

bool non_ascii(std::string_view testo) {
    return std::any_of(testo.begin(), testo.end(),
                       [](char c) { return static_cast<unsigned char>(c) > 0x7F; });
}

// A section header: "[" first, "]" somewhere after, blanks around.
bool intestazione(std::string_view testo) {
    const auto inizio = testo.find_first_not_of(" \t");
    return inizio != std::string_view::npos && testo[inizio] == '[' &&
           testo.find(']', inizio) != std::string_view::npos;
}

// The header that ends the line's general section: one without a dash.
bool intestazione_di_sezione(std::string_view testo) {
    return intestazione(testo) && testo.find('-') == std::string_view::npos;
}

}  // namespace

void RegistroRighe::campo(bool numero, PosizioneCampo dove, std::string_view testo) {
    if (parola_corrente_)
        parole_[*parola_corrente_].campi.push_back({numero, dove, std::string(testo)});
    FileLetto& file = corrente();
    file.ultima_riga = std::max(file.ultima_riga, dove.riga);
    if (!per_le_trappole_ || dove.riga < 1) return;
    if (dove.riga != riga_in_corso_) {
        riga_in_corso_ = dove.riga;
        vista_in_corso_ = {dove.colonna, 0};
    }
    if (numero || testo.find_first_not_of(" \t") != std::string_view::npos) ++vista_in_corso_.campi;
    // A line that holds a keyword follows every field read on it.
    if (!file.righe.empty() && file.righe.back().first == riga_in_corso_)
        file.righe.back().second = vista_in_corso_;
    if (!numero && non_ascii(testo))
        file.campi_non_ascii.push_back({numero, dove, std::string(testo)});
}

// The traps pass over a keyword that does not begin its line (a field too many of the row
// before, warned of there), a blank one, a line of dashes and every section header after the
// first (the first ends the line's general section): a file of many such lines keeps none.
bool RegistroRighe::senza_interesse(std::string_view testo, bool prima) {
    if (testo.find_first_not_of("- \t") == std::string_view::npos) return true;
    if (!intestazione(testo)) return !prima;
    bool& tenuta = intestazione_tenuta_[treno_corrente_ ? 1 : 0];
    if (tenuta) return true;
    tenuta = intestazione_di_sezione(testo);
    return false;
}

void RegistroRighe::dimentica_parola_senza_riga(int riga_seguente) {
    FileLetto& file = corrente();
    auto& indici = file.parole;
    if (parole_.empty() || indici.empty() || indici.back() + 1 != parole_.size()) return;
    const ParolaLetta& ultima = parole_.back();
    if (!ultima.tipi.empty()) {
        if (intestazione_di_sezione(ultima.testo))
            intestazione_tenuta_[ultima.treno ? 1 : 0] = true;
        return;
    }
    if (per_le_trappole_ && !senza_interesse(ultima.testo, ultima_prima_della_riga_)) return;
    const int riga = ultima.dove.riga;
    parole_.pop_back();
    indici.pop_back();
    const bool altra_sulla_riga =
        riga_seguente == riga || (!indici.empty() && parole_[indici.back()].dove.riga == riga);
    if (!altra_sulla_riga && !file.righe.empty() && file.righe.back().first == riga)
        file.righe.pop_back();
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
    riga_in_corso_ = 0;
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
    dimentica_parola_senza_riga(dove.riga);
    parole_.push_back({treno_corrente_, dove, std::string(testo), {}, {}, {}});
    parola_corrente_ = parole_.size() - 1;
    FileLetto& file = corrente();
    file.parole.push_back(*parola_corrente_);
    ultima_prima_della_riga_ =
        riga_in_corso_ != dove.riga || vista_in_corso_.prima_colonna == dove.colonna;
    if (!per_le_trappole_ || dove.riga < 1) return;
    if (file.righe.empty() || file.righe.back().first != dove.riga) {
        file.righe.emplace_back(dove.riga,
                                dove.riga == riga_in_corso_ ? vista_in_corso_ : RigaVista{});
    }
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
    // The first row whose keyword comes after the field's line (keywords are kept in reading
    // order, also those that ran no row); the field lies in one of those before.
    auto i = std::partition_point(parole_.begin(), parole_.end(), [&](const ParolaLetta& p) {
        return p.treno != treno ? !p.treno : p.dove.riga <= dove.riga;
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
