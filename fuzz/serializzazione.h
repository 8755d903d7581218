#pragma once
// The compiled files of whatever a reading left in the model, serialised into memory as a
// compile writes them to disk: every byte of each file passes through the writer's stream, one
// buffer at a time, and is counted (no whole-file copy, which would only cost every run a few
// megabytes of fresh pages). A size that breaks its layout is a finding.
#include <cstddef>
#include <utility>

#include "compiler/disposizione.h"
#include "compiler/file_compilati.h"
#include "compiler/modello.h"
#include "io/flusso_byte.h"

namespace brunavia::fuzz {

// Counts the bytes it receives and keeps the last one, so that every buffer is read.
class ByteContati : public DestinazioneByte {
public:
    void ricevi(const char* dati, std::size_t quanti) override {
        totale_ += quanti;
        if (quanti > 0) ultimo_ ^= dati[quanti - 1];
    }
    std::size_t totale() const { return totale_; }

private:
    std::size_t totale_ = 0;
    char ultimo_ = 0;
};

// The model of every run: one object, reset at the start of each run to a copy of `iniziale`
// (whose plan is empty). Every member gets its starting value, while the cells and the plan's
// columns keep the room of the last run, so that sizing them fills memory already in use
// instead of faulting in megabytes of new pages on every input. The build defines
// _GLIBCXX_SANITIZE_VECTOR, so the room past a vector's end stays poisoned for the address
// sanitizer as if it were not there. The plan's columns are emptied and moved, never
// copy-assigned: the fuzzer's runtime carries its own copies of those vector operations,
// built without that poisoning.
inline Form1& modello_da(const Form1& iniziale) {
    static Form1 modello;
    if (iniziale.tracciato.esiste()) __builtin_trap();
    Tracciato piano = std::move(modello.tracciato);
    modello = iniziale;
    piano.x.clear();
    piano.y.clear();
    piano.tipo.clear();
    modello.tracciato = std::move(piano);
    return modello;
}

// The bytes one content function writes, counted; one stream and its buffer serve every run.
template <typename Scrivi>
std::size_t byte_serializzati(Scrivi&& scrivi) {
    static ByteContati conta;
    static FlussoByte flusso(conta);
    const std::size_t prima = conta.totale();
    scrivi(flusso);
    flusso.svuota();
    return conta.totale() - prima;
}

// The three files, or the two without the plan; traps on a size outside its layout.
inline void serializza_modello(const Form1& f) {
    const std::size_t celle = byte_serializzati([&](FlussoByte& s) { scrivi_celle(s, f); });
    if (celle != kByteCella * f.celle.size()) __builtin_trap();
    const std::size_t tabella = byte_serializzati([&](FlussoByte& s) { scrivi_tabella(s, f); });
    if (tabella < kRigheTabella * kByteVoceSenzaTesto) __builtin_trap();
    if (!f.tracciato.esiste()) return;
    const std::size_t piano =
        byte_serializzati([&](FlussoByte& s) { scrivi_tracciato(s, f.tracciato); });
    // Two columns of one value per point, each of 2, 4 or 10 bytes.
    const std::size_t punti = 2 * f.tracciato.tipo.size();
    if (piano < kByteTipoPunto * punti || piano > (kByteTipoPunto + 8) * punti) __builtin_trap();
}

}  // namespace brunavia::fuzz
