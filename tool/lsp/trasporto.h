#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace brunavia::strumento::lsp {

// What reading one framed message gave.
enum class Lettura {
    messaggio,    // `corpo` holds the message
    fine,         // end of input: the client is gone
    intestazione  // headers without a usable Content-Length: the message was skipped
};

// The largest message taken (a 50 MB document, escaped as JSON, fits); a longer one is skipped.
inline constexpr std::size_t kMessaggioMassimo = std::size_t{256} << 20;

// Reads one message framed by its headers ("Content-Length: N", an empty line, N bytes).
// Header lines may end in CR LF or LF alone; other headers are ignored.
Lettura leggi_messaggio(std::istream& ingresso, std::string& corpo,
                        std::size_t massimo = kMessaggioMassimo);

// Writes one message with its Content-Length header and flushes it.
void scrivi_messaggio(std::ostream& uscita, std::string_view corpo);

}  // namespace brunavia::strumento::lsp
