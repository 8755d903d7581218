#pragma once

namespace brunavia::strumento {

// Exit status of a command line the tool cannot take (unknown command or option, missing
// argument); the commands themselves end with 0, 1 or 2.
inline constexpr int kUscitaUso = 64;

}  // namespace brunavia::strumento
