#include "tool/lsp/documento.h"

#include <algorithm>

#include "io/cp1252.h"

namespace brunavia::strumento::lsp {
namespace {

// Starts of the lines of a text; lines end in CR LF, a lone CR or a lone LF.
std::vector<std::size_t> inizi_righe(std::string_view t) {
    std::vector<std::size_t> r{0};
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
        if (t[i] == '\r' || t[i] == '\n') r.push_back(i + 1);
    }
    return r;
}

std::string_view riga_in(std::string_view t, const std::vector<std::size_t>& inizi, std::size_t r) {
    if (r >= inizi.size()) return {};
    std::size_t fine = r + 1 < inizi.size() ? inizi[r + 1] : t.size();
    while (fine > inizi[r] && (t[fine - 1] == '\n' || t[fine - 1] == '\r')) --fine;
    return t.substr(inizi[r], fine - inizi[r]);
}

int unita(const Carattere& c, Codifica cod) {
    if (cod == Codifica::utf8) return static_cast<int>(c.lunghezza);
    return c.valido && c.codice >= 0x10000 ? 2 : 1;
}

}  // namespace

Documento::Documento(std::string uri, int versione, std::string testo)
    : uri_(std::move(uri)), versione_(versione), testo_(std::move(testo)) {
    indicizza();
}

void Documento::indicizza() {
    inizi_ = inizi_righe(testo_);
    cp1252_ = in_cp1252_o_sostituto(testo_);
    inizi_cp1252_ = inizi_righe(cp1252_);
}

void Documento::sostituisci(int versione, std::string testo) {
    versione_ = versione;
    testo_ = std::move(testo);
    indicizza();
}

std::size_t Documento::scostamento(Punto p, Codifica c) const {
    if (p.riga < 0) return 0;
    const auto r = static_cast<std::size_t>(p.riga);
    if (r >= inizi_.size()) return testo_.size();
    const std::string_view l = riga(r);
    std::size_t i = 0;
    int contate = 0;
    while (i < l.size() && contate < p.colonna) {
        const Carattere ch = carattere_utf8(l, i);
        contate += unita(ch, c);
        i += ch.lunghezza;
    }
    return inizi_[r] + i;
}

void Documento::modifica(Punto da, Punto a, std::string_view nuovo, Codifica c) {
    std::size_t inizio = scostamento(da, c);
    std::size_t fine = scostamento(a, c);
    if (fine < inizio) std::swap(inizio, fine);
    testo_.replace(inizio, fine - inizio, nuovo);
    indicizza();
}

std::string_view Documento::riga(std::size_t r) const {
    return riga_in(testo_, inizi_, r);
}

std::string_view Documento::riga_cp1252(std::size_t r) const {
    return riga_in(cp1252_, inizi_cp1252_, r);
}

int Documento::in_colonna_lsp(std::size_t r, std::size_t carattere, Codifica c) const {
    const std::string_view l = riga(r);
    std::size_t i = 0;
    int colonna = 0;
    for (std::size_t n = 0; n < carattere && i < l.size(); ++n) {
        const Carattere ch = carattere_utf8(l, i);
        colonna += unita(ch, c);
        i += ch.lunghezza;
    }
    return colonna;
}

std::size_t Documento::da_colonna_lsp(std::size_t r, int colonna, Codifica c) const {
    const std::string_view l = riga(r);
    std::size_t i = 0, carattere = 0;
    int contate = 0;
    while (i < l.size() && contate < colonna) {
        const Carattere ch = carattere_utf8(l, i);
        contate += unita(ch, c);
        i += ch.lunghezza;
        ++carattere;
    }
    return carattere;
}

std::string utf8_da_cp1252(std::string_view byte) {
    return da_cp1252(byte);
}
std::string cp1252_da_utf8(std::string_view utf8) {
    return in_cp1252_o_sostituto(utf8);
}

}  // namespace brunavia::strumento::lsp
