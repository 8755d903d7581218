#pragma once

#include <string>

namespace brunavia::strumento {

// Exit statuses of the commands: done, failed (a file missing, damaged or not writable), and
// a command line the tool cannot take (unknown command or option, missing argument).
inline constexpr int kUscitaRegolare = 0;
inline constexpr int kUscitaFallita = 1;
inline constexpr int kUscitaUso = 64;

// A command line that does not fit the command: the reason, in Italian. Thrown by a command,
// reported by the command line with kUscitaUso.
struct ErroreUso {
    std::string motivo;
};

}  // namespace brunavia::strumento
