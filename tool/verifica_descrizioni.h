#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "tool/diagnosi.h"
#include "tool/ordine_diagnosi.h"
#include "tool/registro_righe.h"

namespace brunavia::strumento {

// Every problem of a pair of description texts, in file order: each error the compile records
// (number and position as it records them), the errors found by reading on past those that
// stop it (marked), and a warning for each silent trap of the format. Each is handed to
// `destino` as soon as nothing can come before it, so that a report of any length is never
// held whole.
void verifica_descrizioni(const std::string& linea, const std::string& treno,
                          const DestinoDiagnosi& destino);
// The same, collected.
std::vector<Diagnosi> verifica_descrizioni(const std::string& linea, const std::string& treno);

// The warnings about the rows a reading saw (`registro` kept what the traps need), in file
// order: what `compile` prints after its errors. `linea` and `treno` are the texts read.
void avvisi_della_lettura(const RegistroRighe& registro, std::string_view linea,
                          std::string_view treno, const DestinoDiagnosi& destino);

// How many warnings of a run on consecutive lines are printed before the rest is folded.
inline constexpr int kRipetizioniMostrate = 3;

// The printed report, one diagnostic at a time: a run of the same message (a warning, or an
// error of the same number and position) on consecutive lines of a file shows its first three, then
// one line "... e altre N righe uguali, righe A-B".
class StampaDiagnosi {
public:
    StampaDiagnosi(const Sorgenti& s, std::ostream& uscita, bool ripiega)
        : s_(s), uscita_(uscita), ripiega_(ripiega) {}
    void aggiungi(const Diagnosi& d);
    void chiudi();  // ends the run in progress

private:
    struct Serie {
        Diagnosi ultima;  // the run's last diagnostic
        int prima_riga = 0;
        int quante = 0;
    };
    void chiudi_serie_prima_di(FileDescrizione file, int riga);
    void chiudi_serie(const Serie& x);
    static bool uguali(const Diagnosi& a, const Diagnosi& b);
    const Sorgenti& s_;
    std::ostream& uscita_;
    bool ripiega_;
    std::vector<Serie> serie_;  // the runs still open, one per message
};

}  // namespace brunavia::strumento
