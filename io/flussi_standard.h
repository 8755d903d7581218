#pragma once

namespace brunavia {

// Puts standard input and output in binary mode, so that bytes pass unchanged (no CR LF
// translation): a protocol that counts bytes needs it.
void flussi_standard_binari();

}  // namespace brunavia
