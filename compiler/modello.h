#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "compiler/lettore_campi.h"
#include "io/nomi_file.h"

namespace brunavia {

// One 50-metre track cell; cell k covers metres 50k to 50k + 49.
struct cella {
    std::uint8_t tipo_cella = 0;
    std::int16_t dato0 = 0;
    std::int16_t dato1 = 0;
    std::int16_t dato2 = 0;
    std::int16_t dato3 = 0;
    std::uint8_t attributo1 = 0;  // signal time value (left indication 2)
    std::uint8_t attributo2 = 0;  // signal approach codes, station marks 81..84
    std::uint8_t attributo3 = 0;  // climbing-stretch kind
    std::uint8_t attributo4 = 0;  // train speed limit / 5
    std::uint8_t attributo5 = 0;  // gradient per mille + 100
    std::uint8_t attributo6 = 0;  // adhesion percent
};

// Cell type codes.
namespace tipo {
inline constexpr std::uint8_t libera = 0;
inline constexpr std::uint8_t segnale = 1;
inline constexpr std::uint8_t fine_rallentamento = 2;
inline constexpr std::uint8_t inizio_rallentamento = 3;
inline constexpr std::uint8_t avviso_rallentamento = 4;
inline constexpr std::uint8_t prima_dell_avviso = 5;
inline constexpr std::uint8_t indicatore_v_max = 6;
inline constexpr std::uint8_t fine_stazione = 10;
inline constexpr std::uint8_t libera_montagna = 11;
inline constexpr std::uint8_t marcatore = 12;
inline constexpr std::uint8_t abbattimento_nullo = 13;
inline constexpr std::uint8_t cartello_indicatore = 14;
}  // namespace tipo

// A cell of type 0 or 11 counts as free for every placement.
inline bool cella_libera(const cella& c) {
    return c.tipo_cella == tipo::libera || c.tipo_cella == tipo::libera_montagna;
}

// One row of the scenario table.
struct voce {
    std::uint8_t segno = 0;
    std::int32_t valore1 = 0;
    std::int32_t valore2 = 0;
    std::int32_t valore3 = 0;
    std::uint8_t segno2 = 0;
    std::string testo;  // Windows-1252 bytes
    std::int16_t numero1 = 0;
    std::int16_t numero2 = 0;
    std::int16_t numero3 = 0;
    std::int16_t numero4 = 0;
    std::int16_t numero5 = 0;
    std::uint8_t opzione1 = 0;
    std::uint8_t opzione2 = 0;
    std::uint8_t opzione3 = 0;
    std::uint8_t opzione4 = 0;
    std::int32_t codice = 0;
};

inline constexpr std::size_t kRigheTabella = 87;

// Rows of the scenario table with a fixed role.
namespace riga_tabella {
inline constexpr std::size_t prima_indicazione = 80;  // board texts count down from here
inline constexpr std::size_t progressiva_1 = 81;
inline constexpr std::size_t progressiva_2 = 82;
inline constexpr std::size_t progressiva_3 = 83;
inline constexpr std::size_t percorso = 84;  // line length, braked mass, cars
inline constexpr std::size_t scenario = 85;  // scenery values, scenario name, stamp, code
inline constexpr std::size_t treno = 86;     // repetition, train number, sand, clock
}  // namespace riga_tabella

// The plan: x and y of every metre point. Each point carries the type code it is written
// with: 0 never set, 2 a 16-bit integer (points 0 and 1), 5 a binary64 value.
struct Tracciato {
    static constexpr std::uint8_t non_impostato = 0;
    static constexpr std::uint8_t intero16 = 2;
    static constexpr std::uint8_t reale64 = 5;

    std::vector<double> x;
    std::vector<double> y;
    std::vector<std::uint8_t> tipo;

    bool esiste() const { return !tipo.empty(); }
    std::size_t ultimo() const { return tipo.size() - 1; }  // L
    void dimensiona(std::size_t ultimo_punto) {
        x.assign(ultimo_punto + 1, 0.0);
        y.assign(ultimo_punto + 1, 0.0);
        tipo.assign(ultimo_punto + 1, non_impostato);
    }
};

// The description file that a recorded error points into.
enum class FileDescrizione : std::uint8_t { nessuno, linea, treno };

// Where in the descriptions a recorded error lies: the file and the field that caused it
// (line and column from 1; 0 when the error concerns the file as a whole). File `nessuno`:
// the error belongs to no row (reference points, too many stations, finishing rules).
struct LuogoErrore {
    FileDescrizione file = FileDescrizione::nessuno;
    PosizioneCampo campo;
};

// One error as the compile recorded it: number, position in metres (none for the errors
// that record none) and where it lies in the descriptions.
struct ErroreRegistrato {
    std::int32_t codice = 0;
    std::optional<std::int32_t> posizione;
    LuogoErrore luogo;
    std::string motivo;  // a read failure (25): what was wrong at that field
};

class OsservatoreLettura;

// The one window object: run values (the scenario name, train number and folder, which it
// shares with the writers), the scenario model and the values that the compile stages share.
// It lives for the whole run.
struct Form1 : LuogoFile {
    std::string riga;  // the field last read from a description file
    std::int32_t flag_linea = 0;
    std::int32_t codice_errore = 0;
    std::int32_t posizione_errore = 0;
    std::int32_t risposta = 0;
    std::int32_t indice = 0;
    std::int32_t indice2 = 0;
    std::int32_t contatore = 0;

    std::vector<cella> celle;  // empty until the line length has been read
    std::array<voce, kRigheTabella> tabella{};
    Tracciato tracciato;
    std::vector<std::int32_t> inizio_montagne;  // climbing stretches, in file order
    std::vector<std::int32_t> fine_montagne;

    // The field the readers are on, kept up to date as they read; every recorded error
    // takes a copy. The list keeps every error of the compile, of which `codice_errore` and
    // `posizione_errore` hold the last.
    LuogoErrore luogo;
    std::vector<ErroreRegistrato> errori_registrati;
    // The fields of position and chainage of the three reference points, moved with them
    // when they are ordered, for the error that points at them.
    std::array<std::array<PosizioneCampo, 2>, 3> campi_progressive{};
    // Whoever watches the reading (the authors' tool); none in the program's compile.
    OsservatoreLettura* osservatore = nullptr;

    bool celle_dimensionate() const { return !celle.empty(); }
    std::int32_t ultima_cella() const { return static_cast<std::int32_t>(celle.size()) - 1; }

    void registra_errore(std::int32_t codice, std::int32_t posizione) {
        codice_errore = codice;
        posizione_errore = posizione;
        errori_registrati.push_back({codice, posizione, luogo, {}});
    }
    void registra_errore(std::int32_t codice) {
        codice_errore = codice;
        errori_registrati.push_back({codice, std::nullopt, luogo, {}});
    }
    // The readers' location upkeep: the field the next error will point at.
    void segna_luogo(FileDescrizione file, PosizioneCampo campo) { luogo = {file, campo}; }
};

// A read failure, as the compile records it: error 25 at the failed field (a value that does
// not fit where it is stored has no field and keeps the location), with what was wrong.
inline void registra_fallimento(Form1& f, FileDescrizione file, const ErroreLettura& e) {
    if (e.dove().riga != 0) f.segna_luogo(file, e.dove());
    f.registra_errore(25);
    f.errori_registrati.back().motivo = e.what();
}

// Whether index k names one of the cells 0 ... N.
inline bool dentro_le_celle(const Form1& f, std::int64_t k) {
    return k >= 0 && k <= f.ultima_cella();
}
// The cell at index k, which the caller has checked with dentro_le_celle.
inline cella& cella_a(Form1& f, std::int64_t k) {
    return f.celle[static_cast<std::size_t>(k)];
}
inline const cella& cella_a(const Form1& f, std::int64_t k) {
    return f.celle[static_cast<std::size_t>(k)];
}

}  // namespace brunavia
