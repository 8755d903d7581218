#pragma once

#include <compare>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "tool/diagnosi.h"

namespace brunavia::strumento {

// Where a diagnostic sorts in a report: the line description, then the train description,
// then what belongs to no row; within a file by line and column.
struct ChiaveDiagnosi {
    int file = 0;
    int riga = 0;
    int colonna = 0;
    auto operator<=>(const ChiaveDiagnosi&) const = default;
};
ChiaveDiagnosi chiave_di(const LuogoErrore& luogo);
// The first place of the file after `file` (or past every file).
ChiaveDiagnosi inizio_dopo(FileDescrizione file);

// Diagnostics already in file order, made one at a time when asked for.
class FonteDiagnosi {
public:
    virtual ~FonteDiagnosi() = default;
    // Where the next one lies; nothing when there is none left.
    virtual std::optional<ChiaveDiagnosi> prossima() = 0;
    virtual Diagnosi prendi() = 0;
};

// A ready list, put in file order (diagnostics at the same place keep their order).
class FonteElenco : public FonteDiagnosi {
public:
    explicit FonteElenco(std::vector<Diagnosi> elenco);
    std::optional<ChiaveDiagnosi> prossima() override;
    Diagnosi prendi() override { return std::move(elenco_[i_++]); }

private:
    std::vector<Diagnosi> elenco_;
    std::size_t i_ = 0;
};

using DestinoDiagnosi = std::function<void(Diagnosi&&)>;

// The passes of a check, in the order in which their diagnostics at one place are reported.
namespace passo {
inline constexpr int compilazione = 0;  // the errors of the compile
inline constexpr int ripresa = 1;       // those found by reading on past one that stops it
inline constexpr int scambiate = 2;     // the two files given the wrong way round
inline constexpr int righe = 3;         // the traps of each row
inline constexpr int campi = 4;         // the traps of single fields
inline constexpr int generale = 5;      // a train description without its header
}  // namespace passo

// Puts the diagnostics of several passes over the descriptions into file order as they are
// made, and hands each on as soon as nothing can come before it any more: only those that a
// later one may still precede are held. At the same place, a diagnostic of an earlier pass
// (a smaller `passo`) goes first, and those of one pass keep the order they came in.
class OrdineDiagnosi {
public:
    explicit OrdineDiagnosi(DestinoDiagnosi destino) : destino_(std::move(destino)) {}
    // A pass whose diagnostics are taken from `fonte` as the report reaches them; the source
    // is let go once it has none left.
    void aggiungi_fonte(FonteDiagnosi& fonte, int passo) { fonti_.push_back({&fonte, passo}); }
    void aggiungi(Diagnosi d, int passo);
    // Nothing will be added before `fino` from now on: all that lies before it goes out.
    void fino_a(ChiaveDiagnosi fino);
    void fine() { fino_a(inizio_dopo(FileDescrizione::nessuno)); }

private:
    struct Voce {
        ChiaveDiagnosi chiave;
        int passo = 0;
        std::size_t numero = 0;
        Diagnosi d;
    };
    struct Fonte {
        FonteDiagnosi* fonte;
        int passo;
    };
    DestinoDiagnosi destino_;
    std::vector<Fonte> fonti_;
    std::vector<Voce> attesa_;
    std::size_t aggiunte_ = 0;
};

}  // namespace brunavia::strumento
