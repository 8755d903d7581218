#include "tool/lsp/coppia.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <vector>

namespace brunavia::strumento::lsp {
namespace {

constexpr std::string_view kSuffissoLinea = "_linea.txt";
constexpr std::string_view kSuffissoTreno = "-.txt";

bool solo_cifre(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int cifra_esadecimale(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<NomeDescrizione> riconosci(const std::filesystem::path& file) {
    const std::string nome = file.filename().string();
    if (nome.size() > kSuffissoLinea.size() && nome.ends_with(kSuffissoLinea))
        return NomeDescrizione{false, nome.substr(0, nome.size() - kSuffissoLinea.size()), {}};
    if (!nome.ends_with(kSuffissoTreno)) return std::nullopt;
    const std::string radice = nome.substr(0, nome.size() - kSuffissoTreno.size());
    const std::size_t trattino = radice.rfind('_');
    if (trattino == std::string::npos || trattino == 0) return std::nullopt;
    const std::string numero = radice.substr(trattino + 1);
    if (!solo_cifre(numero)) return std::nullopt;
    return NomeDescrizione{true, radice.substr(0, trattino), numero};
}

std::optional<std::filesystem::path> nome_partner(const std::filesystem::path& file,
                                                  const NomeDescrizione& n) {
    const std::filesystem::path cartella = file.parent_path();
    if (n.treno) return cartella / (n.scenario + std::string(kSuffissoLinea));
    std::vector<std::filesystem::path> treni;
    std::error_code ec;
    for (std::filesystem::directory_iterator i(cartella, ec), fine; !ec && i != fine;
         i.increment(ec)) {
        const std::optional<NomeDescrizione> altro = riconosci(i->path());
        if (altro && altro->treno && altro->scenario == n.scenario) treni.push_back(i->path());
    }
    if (treni.empty()) return std::nullopt;
    return *std::min_element(treni.begin(), treni.end());
}

std::filesystem::path percorso_da_uri(std::string_view uri) {
    constexpr std::string_view kSchema = "file://";
    if (uri.starts_with(kSchema)) uri.remove_prefix(kSchema.size());
    std::string p;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size()) {
            const int a = cifra_esadecimale(uri[i + 1]), b = cifra_esadecimale(uri[i + 2]);
            if (a >= 0 && b >= 0) {
                p.push_back(static_cast<char>(a * 16 + b));
                i += 2;
                continue;
            }
        }
        p.push_back(uri[i]);
    }
    // "/C:/x": a drive letter after the authority's slash.
    if (p.size() >= 3 && p[0] == '/' && std::isalpha(static_cast<unsigned char>(p[1])) &&
        p[2] == ':')
        p.erase(0, 1);
    return std::filesystem::path(p);
}

std::string uri_da_percorso(const std::filesystem::path& percorso) {
    std::string p = percorso.generic_string();
    if (p.size() >= 2 && p[1] == ':') p.insert(0, "/");
    std::string r = "file://";
    constexpr std::string_view kEsadecimali = "0123456789ABCDEF";
    for (const char c : p) {
        const auto b = static_cast<unsigned char>(c);
        if (std::isalnum(b) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~' ||
            c == ':') {
            r.push_back(c);
        } else {
            r.push_back('%');
            r.push_back(kEsadecimali[b >> 4]);
            r.push_back(kEsadecimali[b & 15]);
        }
    }
    return r;
}

}  // namespace brunavia::strumento::lsp
