#include "tool/lsp/trasporto.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <istream>
#include <optional>
#include <ostream>

namespace brunavia::strumento::lsp {
namespace {

// One header line without its line end; nothing at the end of input.
std::optional<std::string> riga_intestazione(std::istream& in) {
    std::string riga;
    if (!std::getline(in, riga)) return std::nullopt;
    if (!riga.empty() && riga.back() == '\r') riga.pop_back();
    return riga;
}

bool stesso_nome(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The length a "Content-Length: N" line gives; nothing for another header or a bad number.
std::optional<std::size_t> lunghezza_da(std::string_view riga) {
    const std::size_t due_punti = riga.find(':');
    if (due_punti == std::string_view::npos) return std::nullopt;
    if (!stesso_nome(riga.substr(0, due_punti), "Content-Length")) return std::nullopt;
    std::string_view v = riga.substr(due_punti + 1);
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
    std::size_t n = 0;
    const auto [fine, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    if (ec != std::errc{} || fine != v.data() + v.size() || v.empty()) return std::nullopt;
    return n;
}

}  // namespace

Lettura leggi_messaggio(std::istream& in, std::string& corpo, std::size_t massimo) {
    std::optional<std::size_t> lunghezza;
    bool letta_una = false;
    for (;;) {
        const std::optional<std::string> riga = riga_intestazione(in);
        if (!riga) return Lettura::fine;
        if (riga->empty()) {
            if (!letta_una) continue;  // blank lines between messages
            break;
        }
        letta_una = true;
        if (const auto n = lunghezza_da(*riga)) lunghezza = n;
    }
    if (!lunghezza) return Lettura::intestazione;
    if (*lunghezza > massimo) {
        in.ignore(static_cast<std::streamsize>(*lunghezza));
        return in.eof() ? Lettura::fine : Lettura::intestazione;
    }
    // Read in pieces: a length that the input does not hold costs no memory.
    constexpr std::size_t kPezzo = std::size_t{1} << 20;
    corpo.clear();
    while (corpo.size() < *lunghezza) {
        const std::size_t gia = corpo.size();
        const std::size_t n = std::min(kPezzo, *lunghezza - gia);
        corpo.resize(gia + n);
        in.read(corpo.data() + gia, static_cast<std::streamsize>(n));
        if (static_cast<std::size_t>(in.gcount()) != n) return Lettura::fine;
    }
    return Lettura::messaggio;
}

void scrivi_messaggio(std::ostream& out, std::string_view corpo) {
    out << "Content-Length: " << corpo.size() << "\r\n\r\n" << corpo;
    out.flush();
}

}  // namespace brunavia::strumento::lsp
