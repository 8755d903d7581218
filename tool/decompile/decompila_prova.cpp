#include "tool/decompile/decompila_prova.h"

#include <bit>
#include <exception>
#include <type_traits>
#include <utility>

#include "compiler/descrizioni_in_memoria.h"
#include "compiler/disposizione.h"
#include "compiler/errori.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza.h"
#include "io/cp1252.h"

namespace brunavia::strumento {
namespace {

// Differences listed one by one before the rest are only counted.
constexpr std::size_t kDifferenzeElencate = 12;

using Membri = std::vector<std::pair<const char*, std::string>>;

template <typename Record, typename Elenca>
Membri membri_di(const Record& r, Elenca elenca) {
    Membri m;
    elenca(r, [&](const auto& membro, const char* nome) {
        if constexpr (std::is_same_v<std::decay_t<decltype(membro)>, std::string>) {
            m.emplace_back(nome, "\"" + da_cp1252(membro) + "\"");
        } else {
            m.emplace_back(nome, std::to_string(membro));
        }
    });
    return m;
}

// "member X instead of Y" for every member that differs; empty when none does.
std::string confronta(const Membri& atteso, const Membri& ottenuto) {
    std::string r;
    for (std::size_t i = 0; i < atteso.size(); ++i) {
        if (atteso[i].second == ottenuto[i].second) continue;
        if (!r.empty()) r += ", ";
        r += std::string(atteso[i].first) + " " + ottenuto[i].second + " invece di " +
             atteso[i].second;
    }
    return r;
}

// Keeps the first differences and counts the rest.
class Elenco {
public:
    explicit Elenco(std::vector<std::string>& righe) : righe_(righe) {}
    void aggiungi(std::string riga) {
        if (elencate_ < kDifferenzeElencate) righe_.push_back(std::move(riga));
        ++elencate_;
    }
    void chiudi(const std::string& cosa) {
        if (elencate_ > kDifferenzeElencate) {
            righe_.push_back("... e altre " + std::to_string(elencate_ - kDifferenzeElencate) +
                             " " + cosa);
        }
    }

private:
    std::vector<std::string>& righe_;
    std::size_t elencate_ = 0;
};

void differenze_celle(const std::vector<cella>& attese, const std::vector<cella>& ottenute,
                      std::vector<std::string>& righe) {
    if (attese.size() != ottenute.size()) {
        righe.push_back("celle: " + std::to_string(ottenute.size()) + " invece di " +
                        std::to_string(attese.size()));
        return;
    }
    Elenco e(righe);
    const auto elenca = [](const cella& c, auto&& v) { membri_cella(c, v); };
    for (std::size_t k = 0; k < attese.size(); ++k) {
        const std::string d =
            confronta(membri_di(attese[k], elenca), membri_di(ottenute[k], elenca));
        if (!d.empty())
            e.aggiungi("cella " + std::to_string(k) + " (" + std::to_string(k * 50) + " m): " + d);
    }
    e.chiudi("celle diverse");
}

void differenze_tabella(const Tabella& attesa, const Tabella& ottenuta,
                        std::vector<std::string>& righe) {
    Elenco e(righe);
    const auto elenca = [](const voce& v, auto&& f) { membri_voce(v, f); };
    for (std::size_t r = 0; r < attesa.size(); ++r) {
        const std::string d =
            confronta(membri_di(attesa[r], elenca), membri_di(ottenuta[r], elenca));
        if (!d.empty()) e.aggiungi("tabella, riga " + std::to_string(r) + ": " + d);
    }
    e.chiudi("righe della tabella diverse");
}

bool punto_uguale(const Tracciato& a, const Tracciato& b, std::size_t i) {
    return a.tipo[i] == b.tipo[i] &&
           std::bit_cast<std::uint64_t>(a.x[i]) == std::bit_cast<std::uint64_t>(b.x[i]) &&
           std::bit_cast<std::uint64_t>(a.y[i]) == std::bit_cast<std::uint64_t>(b.y[i]);
}

void differenze_tracciato(const Tracciato& atteso, const Tracciato& ottenuto,
                          std::vector<std::string>& righe) {
    if (atteso.tipo.size() != ottenuto.tipo.size()) {
        righe.push_back("piano: " + std::to_string(ottenuto.tipo.size()) + " punti invece di " +
                        std::to_string(atteso.tipo.size()));
        return;
    }
    std::size_t diversi = 0, primo = 0, ultimo = 0;
    for (std::size_t i = 0; i < atteso.tipo.size(); ++i) {
        if (punto_uguale(atteso, ottenuto, i)) continue;
        if (diversi++ == 0) primo = i;
        ultimo = i;
    }
    if (diversi > 0) {
        righe.push_back("piano: " + std::to_string(diversi) + " punti diversi, dal punto " +
                        std::to_string(primo) + " al punto " + std::to_string(ultimo));
    }
}

}  // namespace

Compilati compilati_da_byte(std::string celle, std::string tabella,
                            std::optional<std::string> tracciato) {
    Compilati c;
    c.celle = decodifica_celle(celle);
    c.tabella = decodifica_tabella(tabella);
    if (tracciato) c.tracciato = decodifica_tracciato(*tracciato);
    c.byte_celle = std::move(celle);
    c.byte_tabella = std::move(tabella);
    c.byte_tracciato = std::move(tracciato);
    return c;
}

EsitoProva prova_descrizioni(const std::string& linea, const std::string& treno,
                             const NomiScenario& nomi, const Compilati& attesi) {
    EsitoProva esito;
    Form1 f;
    f.nome_scenario = nomi.scenario;
    f.numero_treno = nomi.treno;
    DescrizioniInMemoria d(linea, treno);
    try {
        if (!compila(f, attesi.byte_tracciato ? 1 : 0, d)) {
            esito.differenze.push_back("la compilazione non arriva a dimensionare le celle");
            return esito;
        }
    } catch (const Terminazione& t) {
        esito.differenze.push_back(std::string("la compilazione si ferma:") + t.what());
        return esito;
    } catch (const std::exception& e) {
        // A recovered value that the compile cannot hold (a text too long for its length).
        esito.differenze.push_back(std::string("la compilazione non riesce: ") + e.what());
        return esito;
    }
    // Descriptions that give the bytes back only with an error recorded would make the author's
    // compile fail: they do not count as reproducing the files.
    if (f.codice_errore != 0) {
        const ErroreRegistrato* e =
            f.errori_registrati.empty() ? nullptr : &f.errori_registrati.back();
        esito.differenze.push_back(
            "la compilazione delle descrizioni ricavate registra l'errore n. " +
            std::to_string(f.codice_errore) +
            (e && e->posizione ? ", posizione " + std::to_string(*e->posizione) : std::string()));
    }
    const bool piano_uguale =
        !attesi.byte_tracciato || serializza_tracciato(f.tracciato) == *attesi.byte_tracciato;
    const bool tabella_uguale = serializza_tabella(f) == attesi.byte_tabella;
    const bool celle_uguali = serializza_celle(f) == attesi.byte_celle;
    esito.riprodotto = f.codice_errore == 0 && piano_uguale && tabella_uguale && celle_uguali;
    if (!celle_uguali) differenze_celle(attesi.celle, f.celle, esito.differenze);
    if (!tabella_uguale) differenze_tabella(attesi.tabella, f.tabella, esito.differenze);
    if (!piano_uguale && attesi.tracciato) {
        differenze_tracciato(*attesi.tracciato, f.tracciato, esito.differenze);
    }
    esito.celle = std::move(f.celle);
    return esito;
}

}  // namespace brunavia::strumento
