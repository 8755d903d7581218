#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "compiler/modello.h"
#include "compiler/osservatore.h"

namespace brunavia::strumento {

// A field as the field reader read it.
struct CampoLetto {
    bool numero = false;
    PosizioneCampo dove;
    std::string testo;
};

// A value of a row, kept with its own copy of the name.
struct ValoreRiga {
    ValoreLetto valore;
    std::string nome;
};

// A field examined as a keyword, with what it ran: the rows recognised, the fields they read
// and the values they stored.
struct ParolaLetta {
    bool treno = false;
    PosizioneCampo dove;
    std::string testo;
    std::vector<TipoRiga> tipi;
    std::vector<CampoLetto> campi;
    std::vector<ValoreRiga> valori;

    // The row's first number, its position for most rows.
    std::optional<std::int64_t> primo_numero() const;
};

// What the reading saw of one line of a file.
struct RigaVista {
    int prima_colonna = 0;  // where its first field begins; 0 when none was read
    int campi = 0;          // fields read on it (empty text fields aside)
};

// The rows in a run that each pushed a fill cursor one cell on (a gradient or adhesion row at
// or before the cursor's cell writes that one cell): the run in progress, or the last one.
struct SpintaCursore {
    int righe = 0;  // none: the last row moved the cursor to its own cell
    int prima_riga = 0;
    int ultima_riga = 0;
    std::int64_t cella_minima = 0;  // the rows' own cells
    std::int64_t cella_massima = 0;
    std::int64_t cursore = 0;  // the cursor's cell after the run's last row
};

// What one reading saw of one description file. Its size follows the rows kept, never the
// file's fields or lines: a field or a line is kept only where a rule needs it.
struct FileLetto {
    bool letto = false;
    int ultima_riga = 0;  // the last line a field was read on
    std::optional<PosizioneCampo> generale;
    std::vector<CampoLetto> campi_non_ascii;  // text fields holding a byte above 0x7F
    std::vector<CampoLetto> separatori;       // fields skipped as separators
    std::vector<std::size_t> parole;          // indices into RegistroRighe::parole()
    // The lines that hold a keyword kept, in order, with what was read on each (for the traps).
    std::vector<std::pair<int, RigaVista>> righe;
    std::optional<CampoLetto> non_esaminato;  // the last field, read and never examined
    SpintaCursore spinta;                     // of the gradients or of the adhesion

    // Line r as the reading saw it (nothing read on it when it holds no keyword kept).
    RigaVista riga(int r) const;
};

// A typed cell written by a row, or a cell that refused a row.
struct CellaScritta {
    std::int64_t k = 0;
    std::uint8_t tipo = 0;
    std::size_t parola = 0;
};
struct CellaRifiutata {
    std::size_t errore = 0;  // index of the error recorded next
    std::int64_t k = 0;
    std::uint8_t tipo_occupante = 0;
    std::optional<std::size_t> parola_occupante;
};

// Records everything the readers and placements report during one compile: the tool uses it
// to point errors at their rows and to find the format's silent traps. With `legge_oltre`
// the readers read on after an error that stops them.
class RegistroRighe : public OsservatoreLettura {
public:
    // `per_le_trappole` keeps what only the traps look at: the lines seen, the text fields
    // that may be UTF-8 and the keywords that ran no row. Without it the register holds the
    // rows and nothing per skipped field or line.
    RegistroRighe(const Form1& f, bool legge_oltre, bool per_le_trappole = true)
        : f_(f), legge_oltre_(legge_oltre), per_le_trappole_(per_le_trappole) {}

    void campo(bool numero, PosizioneCampo dove, std::string_view testo) override;
    void inizio_file(bool treno) override;
    void generale(PosizioneCampo dove) override;
    void separatore(PosizioneCampo dove, std::string_view testo) override;
    void parola(PosizioneCampo dove, std::string_view testo) override;
    void non_esaminato(PosizioneCampo dove, std::string_view testo) override;
    void riga(TipoRiga tipo) override;
    void valore(const ValoreLetto& v) override;
    void cella_scritta(std::int64_t k, std::uint8_t tipo) override;
    void cella_occupata(std::int64_t k) override;
    bool legge_oltre() const override { return legge_oltre_; }

    const std::deque<ParolaLetta>& parole() const { return parole_; }
    const FileLetto& file(bool treno) const { return treno ? treno_ : linea_; }
    const std::vector<CellaScritta>& celle_scritte() const { return celle_; }

    // The refusal that preceded error number `indice` of the compile, if any.
    const CellaRifiutata* rifiuto_di(std::size_t indice) const;
    // The last row that wrote a cell of type `tipo` at k; the row whose slowdown covers k.
    const ParolaLetta* riga_con_cella(std::int64_t k, std::uint8_t tipo) const;
    const ParolaLetta* rallentamento_su(std::int64_t k) const;
    // The row that read the field at `dove` of the given file.
    const ParolaLetta* riga_del_campo(bool treno, PosizioneCampo dove) const;
    // The last station row whose zone was computed for table row `riga`: the station stored
    // there, once a later one was read.
    const ParolaLetta* stazione_in_tabella(std::int32_t riga) const;
    // The model's last cell.
    std::int32_t ultima_cella() const { return f_.ultima_cella(); }
    // The type that cell k holds now (0 outside the cells).
    std::uint8_t tipo_della_cella(std::int64_t k) const;

private:
    FileLetto& corrente() { return treno_corrente_ ? treno_ : linea_; }
    // The last field read is a keyword or separator, not a field of the running row.
    void togli_ultimo_campo();
    // A keyword that ran no row is forgotten when no trap can look at it, and its line with it
    // unless it holds another keyword (the next one is on line `riga_seguente`).
    void dimentica_parola_senza_riga(int riga_seguente);
    // Whether the traps would pass over this keyword that ran no row (`prima`: it began its
    // line).
    bool senza_interesse(std::string_view testo, bool prima);
    void spinta_del_cursore(const ValoreLetto& v);

    const Form1& f_;
    bool legge_oltre_;
    bool per_le_trappole_;
    bool treno_corrente_ = false;
    FileLetto linea_;
    FileLetto treno_;
    std::deque<ParolaLetta> parole_;  // never moved as it grows
    std::optional<std::size_t> parola_corrente_;
    std::array<bool, 2> intestazione_tenuta_{};  // per file: a section header was kept
    int riga_in_corso_ = 0;                      // the line of the last field read
    RigaVista vista_in_corso_;                   // what was read on it so far
    bool ultima_prima_della_riga_ = true;        // the last keyword began its line
    std::vector<CellaScritta> celle_;
    std::vector<CellaRifiutata> rifiuti_;
    std::vector<std::size_t> stazioni_;  // table row -> index into parole_ (+ 1; 0: none)
};

// The name of a row kind as the messages use it ("segnale", "pendenza", ...).
std::string_view nome_riga(TipoRiga tipo);
// What a cell type is, with its article ("il segnale", "l'inizio di un rallentamento").
std::string_view nome_occupante(std::uint8_t tipo_cella);

}  // namespace brunavia::strumento
