#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brunavia::strumento::lsp {

// How the client counts columns: UTF-16 code units unless it offers UTF-8.
enum class Codifica { utf16, utf8 };

// A position as LSP gives it: line and column, both from 0.
struct Punto {
    int riga = 0;
    int colonna = 0;
};

// A description as the editor holds it (UTF-8), with its Windows-1252 form, the one the
// readers take. Every character of the text is one byte of that form (a character with no
// Windows-1252 byte becomes "?"), so a column of the readers is a character index, which
// `in_colonna_lsp` turns into the client's units.
class Documento {
public:
    Documento() = default;
    Documento(std::string uri, int versione, std::string testo);

    const std::string& uri() const { return uri_; }
    int versione() const { return versione_; }
    const std::string& testo() const { return testo_; }
    const std::string& cp1252() const { return cp1252_; }

    // Applies one change of `textDocument/didChange`: the whole text, or a range replaced.
    void sostituisci(int versione, std::string testo);
    void modifica(Punto da, Punto a, std::string_view nuovo, Codifica c);
    void imposta_versione(int versione) { versione_ = versione; }

    std::size_t righe() const { return inizi_.size(); }
    // Line `r` (from 0) without its line end, in UTF-8 and in Windows-1252.
    std::string_view riga(std::size_t r) const;
    std::string_view riga_cp1252(std::size_t r) const;

    // A column of the readers (a character index on line r) in the client's units, and back.
    int in_colonna_lsp(std::size_t r, std::size_t carattere, Codifica c) const;
    std::size_t da_colonna_lsp(std::size_t r, int colonna, Codifica c) const;

private:
    void indicizza();
    std::size_t scostamento(Punto p, Codifica c) const;

    std::string uri_;
    int versione_ = 0;
    std::string testo_;
    std::string cp1252_;
    std::vector<std::size_t> inizi_;         // line starts in testo_
    std::vector<std::size_t> inizi_cp1252_;  // line starts in cp1252_
};

// Windows-1252 bytes as UTF-8, and UTF-8 as Windows-1252 one byte per character ("?" for a
// character with no byte and for each byte of malformed UTF-8).
std::string utf8_da_cp1252(std::string_view byte);
std::string cp1252_da_utf8(std::string_view utf8);

}  // namespace brunavia::strumento::lsp
