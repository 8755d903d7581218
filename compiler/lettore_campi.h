#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

namespace brunavia {

class OsservatoreLettura;

// Line and column (both from 1) of the first character of a field in its file.
struct PosizioneCampo {
    int riga = 0;
    int colonna = 0;
};

// A failed read of a description file (error 25): reading past the end, a token that is not
// a decimal integer, or a value outside its target.
class ErroreLettura : public std::runtime_error {
public:
    ErroreLettura(const std::string& motivo, PosizioneCampo dove)
        : std::runtime_error(motivo), dove_(dove) {}
    PosizioneCampo dove() const { return dove_; }

private:
    PosizioneCampo dove_;
};

// Reads a description file one field at a time, from memory. Bytes are taken one byte per
// character. Blanks are space and tab; a line end is CR LF, a lone CR or a lone LF.
class LettoreCampi {
public:
    // `osservatore`, when given, hears of every field read.
    explicit LettoreCampi(std::string_view dati, OsservatoreLettura* osservatore = nullptr);

    // End of file counts as reached once nothing but blanks and line ends remains.
    bool fine_file() const { return pos_ >= fine_significativa_; }

    // Text field: leading blanks skipped; runs to the next comma or line end (trailing blanks
    // kept); the comma or line end that ends it is consumed.
    std::string leggi_testo();

    // Number field: leading blanks and line ends skipped; the token runs to the next comma,
    // blank or line end; then the blanks after it and one comma, or else one line end, are
    // consumed. An empty token reads 0.
    template <typename T>
    T leggi_numero() {
        static_assert(std::is_integral_v<T>);
        const std::int64_t v =
            leggi_intero(std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
        return static_cast<T>(v);
    }

    // Where the field last returned began.
    PosizioneCampo ultimo_campo() const { return ultimo_; }

    // Recovery after a refused row: skips what is left of the current line, unless the last
    // field read ended it.
    void salta_resto_della_riga();

private:
    std::int64_t leggi_intero(std::int64_t minimo, std::int64_t massimo);
    void verifica_non_finito();
    bool a_fine_riga() const;
    bool a_spazio() const;
    void salta_fine_riga();
    void salta_spazi();
    PosizioneCampo posizione_attuale() const;

    std::string_view dati_;
    std::size_t pos_ = 0;
    std::size_t fine_significativa_ = 0;
    int riga_ = 1;
    std::size_t inizio_riga_ = 0;
    PosizioneCampo ultimo_;
    OsservatoreLettura* osservatore_ = nullptr;
};

// The reason of a value that leaves the range of its target, for error 25.
std::string fuori_intervallo(std::string_view valore, std::int64_t minimo, std::int64_t massimo);

// Keyword tests on a field read from a description file: `chiave` occurs anywhere in `campo`.
// The first test is exact; the second folds the letters A to Z only, so other bytes of the
// Windows-1252 text must match as they are.
bool contiene(std::string_view campo, std::string_view chiave);
bool contiene_senza_maiuscole(std::string_view campo, std::string_view chiave);

}  // namespace brunavia
