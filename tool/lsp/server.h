#pragma once

#include <iosfwd>

namespace brunavia::strumento::lsp {

// `brunavia-tool lsp`: the language server over `ingresso` and `uscita` (JSON-RPC 2.0 framed
// by Content-Length headers, LSP 3.17) until the client sends `exit` or goes away. With
// `lettore_separato` the messages are read on a thread of their own, so that a change that
// arrives while a check runs supersedes it (its diagnostics are never published); without it
// every message is handled before the next is read (for tests and fuzzing). Returns 0 after
// `shutdown` and `exit`, 1 otherwise.
int esegui_server(std::istream& ingresso, std::ostream& uscita, bool lettore_separato);

}  // namespace brunavia::strumento::lsp
