#include "tool/check/verifica.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <system_error>

#include "io/file_atomico.h"
#include "tool/verifica_descrizioni.h"

namespace brunavia::strumento {
namespace {

std::optional<std::string> leggi_descrizione(const std::filesystem::path& p, std::ostream& errori) {
    std::error_code ec;
    if (!std::filesystem::exists(p, ec)) {
        errori << p.string() << ": file mancante\n";
        return std::nullopt;
    }
    try {
        return leggi_testo_descrizione(p);
    } catch (const ErroreFile& e) {
        errori << e.riga() << "\n";
    }
    return std::nullopt;
}

using Json = nlohmann::ordered_json;

// A value, or null when there is none.
template <typename T>
Json o_null(const std::optional<T>& v) {
    return v ? Json(*v) : Json(nullptr);
}

Json come_json(const Diagnosi& d, const Sorgenti& s) {
    const bool con_file = d.luogo.file != FileDescrizione::nessuno;
    const bool con_riga = con_file && d.luogo.campo.riga > 0;
    const auto se = [](bool c, auto v) { return c ? std::optional(v) : std::nullopt; };
    Json j;
    j["file"] = o_null(se(con_file, d.luogo.file == FileDescrizione::linea ? s.linea : s.treno));
    j["line"] = o_null(se(con_riga, d.luogo.campo.riga));
    j["column"] = o_null(se(con_riga, d.luogo.campo.colonna));
    j["severity"] = d.errore ? "error" : "warning";
    j["code"] = o_null(se(!d.codice.empty(), d.codice));
    j["error"] = o_null(d.numero);
    j["position"] = o_null(d.posizione);
    j["message"] = d.dopo_ripresa ? d.messaggio + std::string(kDopoRipresa) : d.messaggio;
    j["found_by_reading_on"] = d.dopo_ripresa;
    j["notes"] = Json::array();
    for (const RigheNonLette& n : d.non_lette) {
        j["notes"].push_back(
            testo_righe_non_lette(n, n.file == FileDescrizione::treno ? s.treno : s.linea));
    }
    return j;
}

// A JSON array written one element at a time, laid out as a whole array dumped with an indent
// of 2.
class ElencoJson {
public:
    explicit ElencoJson(std::ostream& uscita) : uscita_(uscita) {}
    void aggiungi(const Json& elemento) {
        uscita_ << (vuoto_ ? "[\n  " : ",\n  ");
        vuoto_ = false;
        const std::string testo = elemento.dump(2, ' ', false, Json::error_handler_t::replace);
        std::string rientrato;
        rientrato.reserve(testo.size() + testo.size() / 8);
        for (const char c : testo) {
            rientrato += c;
            if (c == '\n') rientrato += "  ";
        }
        uscita_ << rientrato;
    }
    void chiudi() { uscita_ << (vuoto_ ? "[]\n" : "\n]\n"); }

private:
    std::ostream& uscita_;
    bool vuoto_ = true;
};

}  // namespace

int comando_check(const OpzioniVerifica& o, std::ostream& uscita, std::ostream& errori) {
    const std::optional<std::string> linea = leggi_descrizione(o.linea, errori);
    const std::optional<std::string> treno = leggi_descrizione(o.treno, errori);
    if (!linea || !treno) return 1;
    const Sorgenti s{o.linea.string(),
                     o.treno.string(),
                     "scenario " + o.nome_scenario + ", treno " + o.numero_treno,
                     &linea,
                     &treno,
                     {},
                     {}};
    bool errori_trovati = false;
    bool trovate = false;
    const auto conta = [&](const Diagnosi& d) {
        trovate = true;
        errori_trovati = errori_trovati || d.errore;
    };
    if (o.json) {
        ElencoJson elenco(uscita);
        verifica_descrizioni(*linea, *treno, [&](Diagnosi&& d) {
            conta(d);
            elenco.aggiungi(come_json(d, s));
        });
        elenco.chiudi();
    } else {
        StampaDiagnosi stampa(s, uscita, !o.tutte);
        verifica_descrizioni(*linea, *treno, [&](Diagnosi&& d) {
            conta(d);
            stampa.aggiungi(d);
        });
        stampa.chiudi();
    }
    if (errori_trovati) return kUscitaVerificaErrori;
    return trovate ? kUscitaVerificaAvvisi : 0;
}

}  // namespace brunavia::strumento
