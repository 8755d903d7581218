#include "tool/dump/elenco.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "tool/diagnosi.h"
#include "tool/scenario.h"
#include "tool/testo.h"

namespace brunavia::strumento {
namespace {

std::string formatta(const char* formato, auto... valori) {
    char testo[256];
    std::snprintf(testo, sizeof testo, formato, valori...);
    return testo;
}

// Whether the stretch from `inizio` to `fine` metres meets the range asked for.
bool nel_tratto(const OpzioniElenco& o, std::int64_t inizio, std::int64_t fine) {
    return (!o.da_metri || fine >= *o.da_metri) && (!o.a_metri || inizio <= *o.a_metri);
}

// ---- cells ----

void riga_cella_testo(std::ostream& out, std::size_t k, const cella& c) {
    out << formatta("%6zu %8lld  %-21s %6d %6d %6d %6d %5u %5u %5u %5u %5u %5u", k,
                    static_cast<long long>(metri_cella(k)), nome_tipo_cella(c.tipo_cella).c_str(),
                    c.dato0, c.dato1, c.dato2, c.dato3, c.attributo1, c.attributo2, c.attributo3,
                    c.attributo4, c.attributo5, c.attributo6);
    // A speed board's codes read back, after the cell's own values.
    if (c.tipo_cella == tipo::indicatore_v_max) {
        const IndicatoreVMax i = indicatore_v_max(c);
        out << "  V max km/h sinistra|destra: " << testo_indicatore_v_max(i) << "; strisce "
            << i.strisce_sinistra << "|" << i.strisce_destra;
    }
    out << "\n";
}

// A speed code read back: the raw number, and the speeds when it has one reading, else every
// reading with "ambiguo": true.
nlohmann::ordered_json codice_velocita_json(const CodiceVelocita& c) {
    nlohmann::ordered_json j = {{"grezzo", c.grezzo}};
    const auto coppia = [](const VelocitaCartello& v) {
        return nlohmann::ordered_json{{"sinistra", v.sinistra}, {"destra", v.destra}};
    };
    if (c.unica()) {
        j.update(coppia(c.letture.front()));
        return j;
    }
    j["ambiguo"] = true;
    j["letture"] = nlohmann::ordered_json::array();
    for (const VelocitaCartello& v : c.letture) j["letture"].push_back(coppia(v));
    return j;
}

nlohmann::ordered_json indicatore_v_max_json(const cella& c) {
    const IndicatoreVMax i = indicatore_v_max(c);
    return {{"a", codice_velocita_json(i.categorie[0])},
            {"b", codice_velocita_json(i.categorie[1])},
            {"c", codice_velocita_json(i.categorie[2])},
            {"strisce_sinistra", i.strisce_sinistra},
            {"strisce_destra", i.strisce_destra}};
}

nlohmann::ordered_json cella_json(std::size_t k, const cella& c) {
    nlohmann::ordered_json j = {{"indice", k},
                                {"metri", metri_cella(k)},
                                {"tipo_cella", unsigned{c.tipo_cella}},
                                {"nome_tipo", nome_tipo_cella(c.tipo_cella)},
                                {"dato0", c.dato0},
                                {"dato1", c.dato1},
                                {"dato2", c.dato2},
                                {"dato3", c.dato3},
                                {"attributo1", unsigned{c.attributo1}},
                                {"attributo2", unsigned{c.attributo2}},
                                {"attributo3", unsigned{c.attributo3}},
                                {"attributo4", unsigned{c.attributo4}},
                                {"attributo5", unsigned{c.attributo5}},
                                {"attributo6", unsigned{c.attributo6}}};
    if (c.tipo_cella == tipo::indicatore_v_max) j["indicatore_v_max"] = indicatore_v_max_json(c);
    return j;
}

// ---- table ----

// Every member of a row that is set, as "name=value".
std::string membri_impostati(const voce& v) {
    std::string s;
    const auto aggiungi = [&s](const char* nome, std::int64_t valore) {
        if (valore != 0)
            s += std::string(s.empty() ? "" : " ") + nome + "=" + std::to_string(valore);
    };
    aggiungi("segno", v.segno);
    aggiungi("valore1", v.valore1);
    aggiungi("valore2", v.valore2);
    aggiungi("valore3", v.valore3);
    aggiungi("segno2", v.segno2);
    aggiungi("numero1", v.numero1);
    aggiungi("numero2", v.numero2);
    aggiungi("numero3", v.numero3);
    aggiungi("numero4", v.numero4);
    aggiungi("numero5", v.numero5);
    aggiungi("opzione1", v.opzione1);
    aggiungi("opzione2", v.opzione2);
    aggiungi("opzione3", v.opzione3);
    aggiungi("opzione4", v.opzione4);
    aggiungi("codice", v.codice);
    if (!v.testo.empty()) {
        s += std::string(s.empty() ? "" : " ") + "testo=\"" + testo_visibile(da_cp1252(v.testo)) +
             "\"";
    }
    return s;
}

std::int32_t secondi_orologio(const voce& treno) {
    return (treno.numero3 * 60 + treno.numero4) * 60 + treno.numero5;
}

// A reference point as stored. With direction 1 the compile adds 100 to the chainage of the
// description's row: both are shown, so that an author finds the value they wrote.
std::string descrivi_punto_chilometrico(const voce& v) {
    std::string testo =
        formatta("posizione %d m, progressiva %d m, verso %d (%s)", v.valore1, v.valore2, v.valore3,
                 v.valore3 == 1 ? "decrescente" : "crescente");
    if (v.valore3 == 1) {
        testo += formatta("; nella descrizione progressiva %lld: la compilazione aggiunge 100",
                          static_cast<long long>(std::int64_t{v.valore2} - 100));
    }
    return testo;
}

// What a row means, by its role.
std::string descrivi_riga(const voce& v, Ruolo ruolo) {
    // A text holds whatever the file holds: control bytes are shown as \xNN.
    const std::string testo = "\"" + testo_visibile(da_cp1252(v.testo)) + "\"";
    switch (ruolo) {
        case Ruolo::stazione:
            return testo +
                   formatta(": posizione %d m, zona %d ... %d m, tipo %u, orario ", v.valore3,
                            v.valore1, v.valore2, unsigned{v.segno}) +
                   orario_stazione(v);
        case Ruolo::cartello_indicatore:
            return testo;
        case Ruolo::punto_chilometrico:
            return descrivi_punto_chilometrico(v);
        case Ruolo::percorso:
            return formatta("lunghezza %d m, massa frenata %d %%, vetture %d", v.valore2, v.valore1,
                            v.valore3);
        case Ruolo::scenario:
            return testo + formatta(
                               ": sfondo uno %d, sfondo tre %d, sfondo due %d, timbro %d, "
                               "codice di gara %d",
                               v.valore1, v.valore2, v.valore3, v.numero1, v.codice);
        case Ruolo::treno:
            return testo +
                   formatta(
                       ": ripetizione segnali %d ... %d m, codici %d; sabbia %d; "
                       "orologio ",
                       v.valore1, v.valore2, v.valore3, v.numero1) +
                   orario(secondi_orologio(v));
        case Ruolo::riservata:
        case Ruolo::vuota:
            break;
    }
    return "";
}

nlohmann::ordered_json riga_tabella_json(std::size_t r, const voce& v, Ruolo ruolo) {
    nlohmann::ordered_json j = {{"riga", r},
                                {"ruolo", nome_ruolo(ruolo)},
                                {"segno", unsigned{v.segno}},
                                {"valore1", v.valore1},
                                {"valore2", v.valore2},
                                {"valore3", v.valore3},
                                {"segno2", unsigned{v.segno2}},
                                {"testo", da_cp1252(v.testo)},
                                {"numero1", v.numero1},
                                {"numero2", v.numero2},
                                {"numero3", v.numero3},
                                {"numero4", v.numero4},
                                {"numero5", v.numero5},
                                {"opzione1", unsigned{v.opzione1}},
                                {"opzione2", unsigned{v.opzione2}},
                                {"opzione3", unsigned{v.opzione3}},
                                {"opzione4", unsigned{v.opzione4}},
                                {"codice", v.codice}};
    if (ruolo == Ruolo::stazione) j["orario"] = orario_stazione(v);
    if (ruolo == Ruolo::treno) j["orologio"] = orario(secondi_orologio(v));
    return j;
}

// A document on the output: one line. Texts are UTF-8 already; a byte that is not is
// replaced rather than stopping the dump.
void scrivi_json(std::ostream& out, const nlohmann::ordered_json& documento) {
    out << documento.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

// A coordinate of the plan, null when it is not finite.
nlohmann::ordered_json coordinata(double v) {
    return std::isfinite(v) ? nlohmann::ordered_json(v) : nlohmann::ordered_json(nullptr);
}

// ---- plan ----

struct Riquadro {
    double x_min = std::numeric_limits<double>::infinity();
    double x_max = -std::numeric_limits<double>::infinity();
    double y_min = std::numeric_limits<double>::infinity();
    double y_max = -std::numeric_limits<double>::infinity();
    std::size_t impostati = 0;
};

Riquadro riquadro(const Tracciato& t) {
    Riquadro r;
    for (std::size_t i = 0; i < t.tipo.size(); ++i) {
        if (t.tipo[i] == Tracciato::non_impostato) continue;
        ++r.impostati;
        if (!std::isfinite(t.x[i]) || !std::isfinite(t.y[i])) continue;
        r.x_min = std::min(r.x_min, t.x[i]);
        r.x_max = std::max(r.x_max, t.x[i]);
        r.y_min = std::min(r.y_min, t.y[i]);
        r.y_max = std::max(r.y_max, t.y[i]);
    }
    return r;
}

bool riquadro_valido(const Riquadro& r) {
    return r.x_min <= r.x_max;
}

// The metres shown: every `ogni_metri` from the start of the range, and the range's last point.
std::vector<std::size_t> campioni(const Tracciato& t, const OpzioniElenco& o) {
    const auto ultimo = static_cast<std::int64_t>(t.ultimo());
    const std::int64_t da = std::max<std::int64_t>(o.da_metri.value_or(0), 0);
    const std::int64_t a = std::min(o.a_metri.value_or(ultimo), ultimo);
    std::vector<std::size_t> metri;
    // The step may be as large as the caller likes: it never runs past `a`.
    for (std::int64_t m = da; m <= a; m = a - m < o.ogni_metri ? a + 1 : m + o.ogni_metri) {
        metri.push_back(static_cast<std::size_t>(m));
    }
    if (da <= a && metri.back() != static_cast<std::size_t>(a))
        metri.push_back(static_cast<std::size_t>(a));
    return metri;
}

}  // namespace

void elenca_celle(const std::vector<cella>& celle, const OpzioniElenco& o, std::ostream& out) {
    if (o.json) {
        nlohmann::ordered_json elenco = nlohmann::ordered_json::array();
        for (std::size_t k = 0; k < celle.size(); ++k) {
            if (nel_tratto(o, metri_cella(k), metri_cella(k) + 49))
                elenco.push_back(cella_json(k, celle[k]));
        }
        scrivi_json(out, {{"file", "celle"}, {"numero_celle", celle.size()}, {"celle", elenco}});
        return;
    }
    out << "celle: " << celle.size() << " (0 ... " << celle.size() - 1 << "), metri 0 ... "
        << metri_cella(celle.size()) - 1 << "\n";
    out << " cella    metri  tipo                   dato0  dato1  dato2  dato3 attr1 attr2 attr3 "
           "attr4 attr5 attr6\n";
    for (std::size_t k = 0; k < celle.size(); ++k) {
        if (nel_tratto(o, metri_cella(k), metri_cella(k) + 49)) riga_cella_testo(out, k, celle[k]);
    }
}

void elenca_tabella(const Tabella& t, const OpzioniElenco& o, std::ostream& out) {
    if (o.json) {
        nlohmann::ordered_json righe = nlohmann::ordered_json::array();
        for (std::size_t r = 0; r < t.size(); ++r) {
            righe.push_back(riga_tabella_json(r, t[r], ruolo_riga(t, r)));
        }
        scrivi_json(out, {{"file", "tabella"}, {"righe", righe}});
        return;
    }
    out << "tabella: " << t.size() << " righe\n";
    for (std::size_t r = 0; r < t.size(); ++r) {
        const Ruolo ruolo = ruolo_riga(t, r);
        const std::string descrizione = descrivi_riga(t[r], ruolo);
        out << formatta("riga %2zu  ", r)
            << (descrizione.empty()
                    ? std::string(nome_ruolo(ruolo))
                    : formatta("%-19s  ", std::string(nome_ruolo(ruolo)).c_str()) + descrizione)
            << "\n";
        const std::string membri = membri_impostati(t[r]);
        if (!membri.empty()) out << "          membri: " << membri << "\n";
    }
}

void elenca_tracciato(const Tracciato& t, const OpzioniElenco& o, std::ostream& out) {
    const Riquadro r = riquadro(t);
    if (o.json) {
        nlohmann::ordered_json punti = nlohmann::ordered_json::array();
        for (const std::size_t m : campioni(t, o)) {
            const bool impostato = t.tipo[m] != Tracciato::non_impostato;
            punti.push_back({{"metro", m},
                             {"tipo", unsigned{t.tipo[m]}},
                             {"x", impostato ? coordinata(t.x[m]) : nullptr},
                             {"y", impostato ? coordinata(t.y[m]) : nullptr}});
        }
        nlohmann::ordered_json box = nullptr;
        if (riquadro_valido(r)) {
            box = {{"x_min", coordinata(r.x_min)},
                   {"x_max", coordinata(r.x_max)},
                   {"y_min", coordinata(r.y_min)},
                   {"y_max", coordinata(r.y_max)}};
        }
        scrivi_json(out, {{"file", "tracciato"},
                          {"punti", t.tipo.size()},
                          {"impostati", r.impostati},
                          {"riquadro", box},
                          {"campioni", punti}});
        return;
    }
    const auto valore = [](double v) { return formatta("%.3f", v); };
    out << "tracciato: " << t.tipo.size() << " punti (metri 0 ... " << t.ultimo() << "), "
        << r.impostati << " impostati\n";
    if (riquadro_valido(r)) {
        out << "riquadro: x da " << valore(r.x_min) << " a " << valore(r.x_max) << " m, y da "
            << valore(r.y_min) << " a " << valore(r.y_max) << " m\n";
    } else {
        out << "riquadro: nessun punto impostato\n";
    }
    out << "   metro               x               y\n";
    for (const std::size_t m : campioni(t, o)) {
        if (t.tipo[m] == Tracciato::non_impostato) {
            out << formatta("%8zu %15s %15s\n", m, "-", "-");
        } else {
            out << formatta("%8zu %15.3f %15.3f\n", m, t.x[m], t.y[m]);
        }
    }
}

}  // namespace brunavia::strumento
