#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tool/lsp/analisi.h"

namespace brunavia::strumento::lsp {

// One description of the pair: its Windows-1252 text and, when the editor holds it open, the
// document and its parse (diagnostics are published for open documents only).
struct Descrizione {
    std::string testo;
    std::string nome;  // file name, for the messages
    std::string uri;   // where related information points
    const Documento* documento = nullptr;
    const Analisi* analisi = nullptr;
};

// The diagnostics of one open document, as `textDocument/publishDiagnostics` carries them.
struct Pubblicazione {
    std::string uri;
    int versione = 0;
    Json diagnostiche = Json::array();
};

// Every diagnostic of `check` for the pair, for each open document of it. A lone description
// (its partner nowhere) is checked with a stand-in partner that places nothing, and gets one
// information diagnostic saying which checks need the partner.
std::vector<Pubblicazione> diagnostica(const std::optional<Descrizione>& linea,
                                       const std::optional<Descrizione>& treno,
                                       const std::string& nome_partner_mancante, Codifica c);

// LSP severities.
inline constexpr int kErrore = 1;
inline constexpr int kAvviso = 2;
inline constexpr int kInformazione = 3;
// The tag that shows a diagnostic's text faded, as unused.
inline constexpr int kNonNecessario = 1;

}  // namespace brunavia::strumento::lsp
