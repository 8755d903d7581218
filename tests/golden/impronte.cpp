#include "tests/golden/impronte.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <exception>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <type_traits>

#include "compiler/descrizioni_in_memoria.h"
#include "compiler/disposizione.h"
#include "compiler/errori.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza.h"
#include "io/cp1252.h"
#include "tests/golden/impronte_sha.h"
#include "tool/decodifica.h"
#include "tool/diagnosi.h"
#include "tool/registro_righe.h"

namespace brunavia::golden {

// A file's records as member values: names, then per record one value (and, when asked
// for, its text) per member.
struct Vista {
    std::vector<const char*> membri;
    std::vector<std::vector<std::uint64_t>> valori;
    std::vector<std::vector<std::string>> testi;  // what each value reads as
    // Plan blocks: how many points (or bytes) a block holds, of how many in all.
    std::size_t passo = 1;
    std::size_t totale = 0;
};

std::string esadecimale(const unsigned char* digest, std::size_t quanti) {
    std::string r;
    char h[3];
    for (std::size_t i = 0; i < quanti; ++i) {
        std::snprintf(h, sizeof h, "%02x", digest[i]);
        r += h;
    }
    return r;
}

namespace {

// The plan is fingerprinted in this many blocks of points.
constexpr std::size_t kBlocchiPiano = 8;

// A 64-bit digest for the short digests of records and members: FNV-1a over bytes, one
// multiply and shift per whole value.
class Fnv {
public:
    void aggiungi(std::uint64_t v) {
        h_ = (h_ ^ v) * 0x100000001b3ULL;
        h_ ^= h_ >> 29;
    }
    void aggiungi(const std::string& s) {
        for (const char c : s) {
            const auto ch = static_cast<unsigned char>(c);
            h_ ^= ch;
            h_ *= 0x100000001b3ULL;
        }
        aggiungi(s.size());
    }
    std::uint64_t valore() const { return h_; }
    // 12 bits, three hex digits: enough to find the first record that changed.
    std::uint16_t breve() const {
        return static_cast<std::uint16_t>((h_ ^ (h_ >> 16) ^ (h_ >> 32) ^ (h_ >> 48)) & 0xfff);
    }

private:
    std::uint64_t h_ = 0xcbf29ce484222325ULL;
};

template <typename Record, typename Elenca>
void aggiungi_record(Vista& v, const Record& r, bool con_testi, Elenca elenca) {
    std::vector<std::uint64_t> valori;
    std::vector<std::string> testi;
    const bool primo = v.valori.empty();
    elenca(r, [&](const auto& membro, const char* nome) {
        if (primo) v.membri.push_back(nome);
        if constexpr (std::is_same_v<std::decay_t<decltype(membro)>, std::string>) {
            Fnv h;
            h.aggiungi(membro);
            valori.push_back(h.valore());
            if (con_testi) testi.push_back("\"" + da_cp1252(membro) + "\"");
        } else {
            valori.push_back(static_cast<std::uint64_t>(static_cast<std::int64_t>(membro)));
            if (con_testi) testi.push_back(std::to_string(membro));
        }
    });
    v.valori.push_back(std::move(valori));
    if (con_testi) v.testi.push_back(std::move(testi));
}

Vista vista_celle(const std::string& byte, bool con_testi) {
    Vista v;
    for (const cella& c : strumento::decodifica_celle(byte))
        aggiungi_record(v, c, con_testi, [](const cella& x, auto&& f) { membri_cella(x, f); });
    return v;
}

Vista vista_tabella(const std::string& byte, bool con_testi) {
    Vista v;
    for (const voce& r : strumento::decodifica_tabella(byte))
        aggiungi_record(v, r, con_testi, [](const voce& x, auto&& f) { membri_voce(x, f); });
    return v;
}

std::string numero_reale(double d) {
    char b[40];
    std::snprintf(b, sizeof b, "%.17g", d);
    return b;
}

// The plan, as the model holds it when it is written, in kBlocchiPiano blocks of points; each
// block's members are digests of its points' type codes, x and y, and read as its first point.
// (Decoding the file back would cost more than the rest of the check; the SHA-256 covers the
// bytes.)
Vista vista_piano(const Tracciato& t) {
    const std::size_t passo =
        std::max<std::size_t>(1, (t.tipo.size() + kBlocchiPiano - 1) / kBlocchiPiano);
    Vista v{{"tipo", "x", "y"}, {}, {}, passo, t.tipo.size()};
    for (std::size_t a = 0; a < t.tipo.size(); a += passo) {
        Fnv tipo, x, y;
        for (std::size_t i = a; i < std::min(a + passo, t.tipo.size()); ++i) {
            tipo.aggiungi(t.tipo[i]);
            x.aggiungi(std::bit_cast<std::uint64_t>(t.x[i]));
            y.aggiungi(std::bit_cast<std::uint64_t>(t.y[i]));
        }
        v.valori.push_back({tipo.valore(), x.valore(), y.valore()});
        v.testi.push_back({std::to_string(t.tipo[a]), numero_reale(t.x[a]), numero_reale(t.y[a])});
    }
    return v;
}

ImprontaFile impronta_file(const std::string& nome, std::string byte, Vista v) {
    // The plan counts its points; its records are blocks of them.
    const std::size_t record = nome == "linea" ? v.totale : v.valori.size();
    ImprontaFile r{nome, sha256(byte), record, {}, {}, std::move(byte), {}};
    for (std::size_t m = 0; m < v.membri.size(); ++m) {
        Fnv h;
        for (const auto& rec : v.valori) h.aggiungi(rec[m]);
        r.colonne.push_back(h.breve());
    }
    for (const auto& rec : v.valori) {
        Fnv h;
        for (const auto x : rec) h.aggiungi(x);
        r.righe.push_back(h.breve());
    }
    r.vista = std::make_shared<const Vista>(std::move(v));
    return r;
}

std::uint32_t digest_ingressi(const Caso& c) {
    Fnv h;
    for (const auto* t : {&c.linea, &c.treno}) {
        h.aggiungi(static_cast<std::uint64_t>(t->has_value()));
        if (*t) h.aggiungi(**t);
    }
    h.aggiungi(static_cast<std::uint64_t>(c.flag));
    return static_cast<std::uint32_t>(h.valore() ^ (h.valore() >> 32));
}

std::string testo_errori(const Form1& f) {
    std::string r;
    for (const ErroreRegistrato& e : f.errori_registrati) {
        if (!r.empty()) r += ",";
        r += std::to_string(e.codice) + "@" +
             (e.posizione ? std::to_string(*e.posizione) : std::string("-"));
    }
    return r.empty() ? "-" : r;
}

std::string esadecimale(std::uint64_t v, int cifre) {
    char b[20];
    std::snprintf(b, sizeof b, "%0*llx", cifre, static_cast<unsigned long long>(v));
    return b;
}

// Runs of equal digests: "3x1a2b" for three records, "1a2b" for one.
std::string serie(const std::vector<std::uint16_t>& d) {
    std::string r;
    for (std::size_t i = 0; i < d.size();) {
        std::size_t j = i;
        while (j < d.size() && d[j] == d[i]) ++j;
        if (!r.empty()) r += ",";
        if (j - i > 1) r += std::to_string(j - i) + "x";
        r += esadecimale(d[i], 3);
        i = j;
    }
    return r;
}

std::uint16_t da_esadecimale(const std::string& s) {
    return static_cast<std::uint16_t>(std::stoul(s, nullptr, 16));
}

std::vector<std::uint16_t> leggi_serie(const std::string& s, const char* separatore) {
    std::vector<std::uint16_t> r;
    std::stringstream in(s);
    for (std::string pezzo; std::getline(in, pezzo, *separatore);) {
        const auto x = pezzo.find('x');
        const std::size_t quanti = x == std::string::npos ? 1 : std::stoul(pezzo.substr(0, x));
        r.insert(r.end(), quanti,
                 da_esadecimale(x == std::string::npos ? pezzo : pezzo.substr(x + 1)));
    }
    return r;
}

std::string nomi_file(const ImprontaCaso& c) {
    std::string r;
    for (const auto& f : c.file) r += (r.empty() ? "" : ",") + f.nome;
    return r.empty() ? "-" : r;
}

// "cella 40 (2000 m)", "tabella, riga 86", "piano, punti 0 ... 511": the record as decompile
// names it.
std::string nome_record(const std::string& file, std::size_t r, const Vista& v) {
    if (file == "dat") return "cella " + std::to_string(r) + " (" + std::to_string(r * 50) + " m)";
    if (file == "sim") return "tabella, riga " + std::to_string(r);
    return "piano, punti " + std::to_string(r * v.passo) + " ... " +
           std::to_string(std::min((r + 1) * v.passo, v.totale) - 1);
}

const char* nome_compilato(const std::string& file) {
    if (file == "dat") return "Brunavia_706.dat";
    if (file == "sim") return "Brunavia_706.sim";
    return "Brunavia_linea.dat";
}

// The first differing record: its name, the members whose digest over the file changed with
// the values they hold there now (every member when none did), and how many records differ.
std::string record_diverso(const ImprontaFile& fa, const ImprontaFile& fo, std::size_t rec) {
    const Vista v = fo.nome == "dat"   ? vista_celle(fo.byte, true)
                    : fo.nome == "sim" ? vista_tabella(fo.byte, true)
                                       : *fo.vista;
    std::vector<std::size_t> cambiati;
    for (std::size_t m = 0; m < v.membri.size() && m < fa.colonne.size(); ++m) {
        if (fa.colonne[m] != fo.colonne[m]) cambiati.push_back(m);
    }
    if (cambiati.empty()) {
        for (std::size_t m = 0; m < v.membri.size(); ++m) cambiati.push_back(m);
    }
    std::string r = nome_record(fo.nome, rec, v) + ":";
    if (fo.nome == "linea") {
        // A block holds many points: name the members that differ, then its first point.
        r += " diversi in";
        for (std::size_t i = 0; i < cambiati.size(); ++i)
            r += std::string(i == 0 ? " " : ", ") + v.membri[cambiati[i]];
        r += "; ora il punto " + std::to_string(rec * v.passo) + ":";
    }
    for (std::size_t i = 0; i < cambiati.size(); ++i) {
        const std::size_t m = cambiati[i];
        r += std::string(i == 0 ? " " : ", ") + v.membri[m] + (fo.nome == "linea" ? " " : " ora ") +
             v.testi[rec][m];
    }
    std::size_t diversi = 0;
    for (std::size_t i = 0; i < fa.righe.size(); ++i) diversi += fa.righe[i] != fo.righe[i];
    r += "\n  membri cambiati nel file:";
    for (const std::size_t m : cambiati) r += std::string(" ") + v.membri[m];
    r += "; " + std::to_string(diversi) + (fo.nome == "linea" ? " blocchi" : " record") +
         " diversi su " + std::to_string(fa.righe.size());
    return r;
}

// The first file whose bytes differ, decoded to its first differing record.
std::optional<std::string> primo_file_diverso(const ImprontaCaso& a, const ImprontaCaso& o) {
    for (std::size_t k = 0; k < a.file.size(); ++k) {
        const ImprontaFile& fa = a.file[k];
        const ImprontaFile& fo = o.file[k];
        if (fa.sha256 == fo.sha256) continue;
        const std::string r = std::string(nome_compilato(fa.nome)) + ": SHA-256 " + fo.sha256 +
                              " invece di " + fa.sha256 + "\n  ";
        if (fa.record != fo.record) {
            return r +
                   (fa.nome == "dat"   ? "celle: "
                    : fa.nome == "sim" ? "righe: "
                                       : "piano: ") +
                   std::to_string(fo.record) + (fa.nome == "linea" ? " punti" : "") +
                   " invece di " + std::to_string(fa.record);
        }
        const auto primo = std::mismatch(fa.righe.begin(), fa.righe.end(), fo.righe.begin());
        if (primo.first == fa.righe.end()) {
            return r +
                   "i valori di ogni record sono quelli attesi: cambia come il file e' "
                   "scritto (o le impronte brevi collidono)";
        }
        return r + record_diverso(fa, fo, static_cast<std::size_t>(primo.first - fa.righe.begin()));
    }
    return std::nullopt;
}

}  // namespace

ImprontaCaso impronta(const Caso& c) {
    ImprontaCaso r{c.famiglia, c.seme, c.descrizione, digest_ingressi(c), c.flag, "-", "-", {}};
    Form1 f;
    f.nome_scenario = "Brunavia";
    f.numero_treno = "706";
    DescrizioniInMemoria d(c.linea, c.treno);
    strumento::RegistroRighe registro(f, false);
    f.osservatore = &registro;
    try {
        if (compila(f, c.flag, d)) {
            if (c.flag != 0) {
                r.file.push_back(impronta_file("linea", serializza_tracciato(f.tracciato),
                                               vista_piano(f.tracciato)));
            }
            std::string tabella = serializza_tabella(f), celle = serializza_celle(f);
            Vista righe = vista_tabella(tabella, false), vista = vista_celle(celle, false);
            r.file.push_back(impronta_file("sim", std::move(tabella), std::move(righe)));
            r.file.push_back(impronta_file("dat", std::move(celle), std::move(vista)));
        }
    } catch (const Terminazione& t) {
        r.fermata = std::to_string(strumento::numero_della_terminazione(t));
    } catch (const std::exception& e) {
        r.fermata = "eccezione";
    }
    r.errori = testo_errori(f);
    return r;
}

std::string scrivi_impronte(const std::vector<ImprontaCaso>& casi) {
    std::string t =
        "# Golden corpus of the compile: per case (generated from its family and seed by\n"
        "# tests/golden/generatore.cpp) the digest of its descriptions, the errors recorded,\n"
        "# then per compiled file its SHA-256, record count, member digests and record digests.\n"
        "# Written by scripts/golden.sh --update; never edited by hand.\n";
    // A file fingerprinted exactly as in an earlier case is written as "=N", case N's.
    std::map<std::string, std::size_t> visti;
    for (std::size_t n = 0; n < casi.size(); ++n) {
        const ImprontaCaso& c = casi[n];
        t += "caso " + std::to_string(n) + " " + c.famiglia + " " + std::to_string(c.seme) +
             " i=" + esadecimale(c.ingressi, 8) + " f=" + std::to_string(c.flag) +
             " e=" + c.errori + " s=" + c.fermata + " w=" + nomi_file(c) + " | " + c.descrizione +
             "\n";
        for (const ImprontaFile& f : c.file) {
            std::string colonne;
            for (const auto x : f.colonne)
                colonne += (colonne.empty() ? "" : ".") + esadecimale(x, 3);
            const std::string resto = f.sha256 + " n=" + std::to_string(f.record) +
                                      " c=" + colonne + " r=" + serie(f.righe);
            const auto [visto, nuovo] = visti.try_emplace(f.nome + " " + resto, n);
            t += " " + f.nome + " " + (nuovo ? resto : "=" + std::to_string(visto->second)) + "\n";
        }
    }
    return t;
}

std::vector<ImprontaCaso> leggi_impronte(const std::string& testo) {
    std::vector<ImprontaCaso> casi;
    std::stringstream in(testo);
    int numero_riga = 0;
    for (std::string riga; std::getline(in, riga);) {
        ++numero_riga;
        if (riga.empty() || riga[0] == '#') continue;
        try {
            std::stringstream campi(riga);
            std::string parola;
            campi >> parola;
            if (parola == "caso") {
                ImprontaCaso c;
                std::string indice, i, f, e, s, w;
                campi >> indice >> c.famiglia >> c.seme >> i >> f >> e >> s >> w;
                c.ingressi = static_cast<std::uint32_t>(std::stoul(i.substr(2), nullptr, 16));
                c.flag = std::stoi(f.substr(2));
                c.errori = e.substr(2);
                c.fermata = s.substr(2);
                const auto barra = riga.find(" | ");
                c.descrizione = barra == std::string::npos ? "" : riga.substr(barra + 3);
                casi.push_back(std::move(c));
            } else if (!casi.empty()) {
                ImprontaFile file;
                file.nome = parola;
                campi >> file.sha256;
                if (file.sha256.starts_with("=")) {
                    const auto& altro = casi.at(std::stoul(file.sha256.substr(1))).file;
                    const auto stesso =
                        std::find_if(altro.begin(), altro.end(),
                                     [&](const ImprontaFile& x) { return x.nome == parola; });
                    if (stesso == altro.end()) throw std::runtime_error("riferimento");
                    file = *stesso;
                } else {
                    std::string n, c, r;
                    campi >> n >> c >> r;
                    file.record = std::stoul(n.substr(2));
                    file.colonne = leggi_serie(c.substr(2), ".");
                    file.righe = leggi_serie(r.substr(2), ",");
                    if (file.nome != "linea" && file.righe.size() != file.record)
                        throw std::runtime_error("record");
                }
                casi.back().file.push_back(std::move(file));
            } else {
                throw std::runtime_error("riga");
            }
        } catch (const std::exception&) {
            throw std::runtime_error("riga " + std::to_string(numero_riga) +
                                     " del corpus illeggibile: " + riga.substr(0, 80));
        }
    }
    return casi;
}

std::string differenza(const ImprontaCaso& a, const ImprontaCaso& o) {
    if (a.ingressi != o.ingressi || a.famiglia != o.famiglia || a.seme != o.seme) {
        return "il generatore ora fa altre descrizioni per questo caso (" + o.famiglia + " " +
               std::to_string(o.seme) + ": " + o.descrizione + ")";
    }
    std::vector<std::string> righe;
    if (a.errori != o.errori)
        righe.push_back("errori registrati: " + o.errori + " invece di " + a.errori);
    if (a.fermata != o.fermata)
        righe.push_back("fermata: " + o.fermata + " invece di " + a.fermata);
    if (nomi_file(a) != nomi_file(o)) {
        righe.push_back("file scritti: " + nomi_file(o) + " invece di " + nomi_file(a));
    } else if (const auto f = primo_file_diverso(a, o)) {
        righe.push_back(*f);
    }
    std::string r;
    for (const std::string& x : righe) r += (r.empty() ? "" : "\n  ") + x;
    return r;
}

}  // namespace brunavia::golden
