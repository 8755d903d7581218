// The language server on any message stream: framing, JSON, the lifecycle and every request
// on whatever documents the stream opens. It must answer or pass over, never crash.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "tool/lsp/server.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    std::istringstream ingresso(std::string(reinterpret_cast<const char*>(dati), dimensione));
    std::ostringstream uscita;
    brunavia::strumento::lsp::esegui_server(ingresso, uscita, false);
    return 0;
}
