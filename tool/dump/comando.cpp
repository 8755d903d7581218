#include "tool/dump/comando.h"

#include <ostream>
#include <string_view>

#include "io/file_atomico.h"
#include "tool/decodifica.h"
#include "tool/messaggi_file.h"
#include "tool/uscite.h"

namespace brunavia::strumento {
namespace {

TipoCompilato tipo_per_dump(const std::filesystem::path& file, const std::string& tipo) {
    if (tipo == "cells") return TipoCompilato::celle;
    if (tipo == "table") return TipoCompilato::tabella;
    if (tipo == "plan") return TipoCompilato::tracciato;
    if (!tipo.empty()) throw ErroreUso{"--kind vuole cells, table o plan, non \"" + tipo + "\""};
    if (const auto dal_nome = tipo_dal_nome(file)) return *dal_nome;
    throw ErroreUso{"il nome \"" + file.string() +
                    "\" non dice il tipo di file compilato: usare --kind cells|table|plan"};
}

void elenca(TipoCompilato tipo, const std::string& byte, const OpzioniElenco& o,
            std::ostream& uscita) {
    switch (tipo) {
        case TipoCompilato::celle:
            elenca_celle(decodifica_celle(byte), o, uscita);
            break;
        case TipoCompilato::tabella:
            elenca_tabella(decodifica_tabella(byte), o, uscita);
            break;
        case TipoCompilato::tracciato:
            elenca_tracciato(decodifica_tracciato(byte), o, uscita);
            break;
    }
}

struct TipoDiDump {
    TipoCompilato tipo;
    std::string_view opzione;  // the value of --kind
    std::string_view nome;     // in the message
    void (*decodifica)(std::string_view byte);
};

const TipoDiDump kTipiDiDump[] = {
    {TipoCompilato::celle, "cells", "le celle di un .dat",
     [](std::string_view b) { decodifica_celle(b); }},
    {TipoCompilato::tabella, "table", "la tabella di un .sim",
     [](std::string_view b) { decodifica_tabella(b); }},
    {TipoCompilato::tracciato, "plan", "il piano di un _linea.dat",
     [](std::string_view b) { decodifica_tracciato(b); }},
};

// When the file given with a --kind does not decode as that kind: a line naming the kinds that
// it does decode as, or that it decodes as none of them.
std::string tipo_somigliante(const std::filesystem::path& file, TipoCompilato dato) {
    const std::string byte = leggi_tutto(file);
    std::string adatti;
    for (const TipoDiDump& t : kTipiDiDump) {
        if (t.tipo == dato) continue;
        try {
            t.decodifica(byte);
        } catch (const ErroreDecodifica&) {
            continue;
        }
        adatti += std::string(adatti.empty() ? "" : " o ") + std::string(t.nome) + " (--kind " +
                  std::string(t.opzione) + ")";
    }
    if (adatti.empty()) return "nota: non si legge nemmeno come un altro tipo di file compilato\n";
    return "nota: il file sembra " + adatti + "\n";
}

}  // namespace

int comando_dump(const OpzioniDump& o, std::ostream& uscita, std::ostream& errori) {
    const OpzioniElenco& tratto = o.elenco;
    if (tratto.da_metri && tratto.a_metri && *tratto.da_metri > *tratto.a_metri) {
        throw ErroreUso{"--from " + std::to_string(*tratto.da_metri) + " viene dopo --to " +
                        std::to_string(*tratto.a_metri) +
                        ": il tratto va dal metro minore al maggiore"};
    }
    const TipoCompilato tipo = tipo_per_dump(o.file, o.tipo);
    try {
        elenca(tipo, leggi_tutto(o.file), o.elenco, uscita);
        return kUscitaRegolare;
    } catch (const ErroreDecodifica& e) {
        errori << o.file.string() << ": " << e.what() << "\n";
        if (!o.tipo.empty()) errori << tipo_somigliante(o.file, tipo);
    } catch (const ErroreFile& e) {
        errori << riga_errore_file(e) << "\n";
    }
    return kUscitaFallita;
}

}  // namespace brunavia::strumento
