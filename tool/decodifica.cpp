#include "tool/decodifica.h"

#include <bit>
#include <fstream>
#include <iterator>
#include <system_error>

#include "compiler/disposizione.h"
#include "io/file_atomico.h"

namespace brunavia::strumento {
namespace {

// The plan's first two points of each column are 16-bit integers.
constexpr std::size_t kPuntiIniziali = 2;
// A compiled line is at most 1000000 m long, with 7000 m of margin: no file holds more cells
// or plan points than that, and a larger one is not a compiled file.
constexpr std::size_t kMetriMassimi = 1'000'000 + 7000;
constexpr std::size_t kCelleMassime = kMetriMassimi / 50 + 1;
constexpr std::size_t kValoriMassimi = 2 * (kMetriMassimi + 1);

// Little-endian reads over a compiled file, each checked against the bytes that remain.
class LetturaBinaria {
public:
    explicit LetturaBinaria(std::string_view byte) : byte_(byte) {}

    std::size_t posizione() const { return pos_; }
    std::size_t restanti() const { return byte_.size() - pos_; }
    bool finita() const { return pos_ == byte_.size(); }

    // `cosa` names the value for the error message.
    std::uint8_t u8(const char* cosa) { return static_cast<std::uint8_t>(intero(1, cosa)); }
    std::uint16_t u16(const char* cosa) { return static_cast<std::uint16_t>(intero(2, cosa)); }
    std::int16_t i16(const char* cosa) { return static_cast<std::int16_t>(u16(cosa)); }
    std::int32_t i32(const char* cosa) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(intero(4, cosa)));
    }
    double f64(const char* cosa) { return std::bit_cast<double>(intero(8, cosa)); }
    // One record member, by its type; `nome` is the member's name.
    void membro(std::uint8_t& v, const char* nome) { v = u8(nome); }
    void membro(std::int16_t& v, const char* nome) { v = i16(nome); }
    void membro(std::int32_t& v, const char* nome) { v = i32(nome); }
    void membro(std::string& t, const char* nome) {
        t = testo(("il " + std::string(nome)).c_str());
    }
    // A text member: its 16-bit length, then that many bytes; the length is checked against
    // what remains before anything is taken.
    std::string testo(const char* cosa) {
        const std::size_t inizio = pos_;
        const std::size_t n = u16(cosa);
        if (n > restanti()) {
            throw ErroreDecodifica(std::string(cosa) + " dichiara " + std::to_string(n) +
                                   " byte al byte " + std::to_string(inizio) + ", ma ne restano " +
                                   std::to_string(restanti()) + ": file troncato o danneggiato");
        }
        std::string t(byte_.substr(pos_, n));
        pos_ += n;
        return t;
    }

private:
    std::uint64_t intero(std::size_t larghezza, const char* cosa) {
        if (larghezza > restanti()) {
            throw ErroreDecodifica("file troncato: " + std::string(cosa) + " al byte " +
                                   std::to_string(pos_) + " richiede " + std::to_string(larghezza) +
                                   " byte, ne restano " + std::to_string(restanti()));
        }
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < larghezza; ++i) {
            v |= std::uint64_t{static_cast<unsigned char>(byte_[pos_ + i])} << (8 * i);
        }
        pos_ += larghezza;
        return v;
    }

    std::string_view byte_;
    std::size_t pos_ = 0;
};

voce leggi_voce(LetturaBinaria& l) {
    voce v;
    membri_voce(v, [&](auto& membro, const char* nome) { l.membro(membro, nome); });
    return v;
}

cella leggi_cella(LetturaBinaria& l) {
    cella c;
    membri_cella(c, [&](auto& membro, const char* nome) { l.membro(membro, nome); });
    return c;
}

// One value of the plan: its type code, then nothing, an i16 or a binary64.
struct ValorePunto {
    std::uint8_t tipo = Tracciato::non_impostato;
    double valore = 0;
};

ValorePunto leggi_valore(LetturaBinaria& l) {
    const std::size_t inizio = l.posizione();
    const std::uint16_t tipo = l.u16("il tipo di un valore");
    switch (tipo) {
        case Tracciato::non_impostato:
            return {};
        case Tracciato::intero16:
            return {Tracciato::intero16, static_cast<double>(l.i16("un valore a 16 bit"))};
        case Tracciato::reale64:
            return {Tracciato::reale64, l.f64("un valore a 64 bit")};
        default:
            throw ErroreDecodifica("tipo di valore " + std::to_string(tipo) +
                                   " sconosciuto al byte " + std::to_string(inizio) +
                                   " (ammessi 0, 2 e 5): file danneggiato");
    }
}

// Each column starts with the two 16-bit points of the plan's start.
void verifica_inizio_colonna(const std::vector<ValorePunto>& valori, std::size_t primo,
                             const char* colonna) {
    for (std::size_t i = 0; i < kPuntiIniziali; ++i) {
        if (valori[primo + i].tipo != Tracciato::intero16) {
            throw ErroreDecodifica(std::string("la colonna ") + colonna + " non inizia con due " +
                                   "valori a 16 bit: file troncato o danneggiato");
        }
    }
}

}  // namespace

std::vector<cella> decodifica_celle(std::string_view byte) {
    if (byte.empty()) throw ErroreDecodifica("file vuoto: nessuna cella");
    if (byte.size() % kByteCella != 0) {
        throw ErroreDecodifica("la dimensione di " + std::to_string(byte.size()) +
                               " byte non e' un multiplo di 15 (una cella): file troncato o "
                               "danneggiato");
    }
    if (byte.size() / kByteCella > kCelleMassime) {
        throw ErroreDecodifica(std::to_string(byte.size() / kByteCella) +
                               " celle: piu' di quante ne abbia una linea di 1000000 m (" +
                               std::to_string(kCelleMassime) + ")");
    }
    LetturaBinaria l(byte);
    std::vector<cella> celle;
    celle.reserve(byte.size() / kByteCella);
    while (!l.finita()) celle.push_back(leggi_cella(l));
    return celle;
}

Tabella decodifica_tabella(std::string_view byte) {
    LetturaBinaria l(byte);
    Tabella t;
    for (std::size_t r = 0; r < t.size(); ++r) {
        try {
            t[r] = leggi_voce(l);
        } catch (const ErroreDecodifica& e) {
            throw ErroreDecodifica("riga " + std::to_string(r) + ": " + e.what());
        }
    }
    if (!l.finita()) {
        throw ErroreDecodifica(std::to_string(l.restanti()) +
                               " byte in piu' dopo la riga 86: non e' una tabella di 87 righe");
    }
    return t;
}

Tracciato decodifica_tracciato(std::string_view byte) {
    LetturaBinaria l(byte);
    std::vector<ValorePunto> valori;
    while (!l.finita()) {
        if (valori.size() == kValoriMassimi) {
            throw ErroreDecodifica("piu' di " + std::to_string(kValoriMassimi) +
                                   " valori: piu' punti di quanti ne abbia una linea di 1000000 m");
        }
        valori.push_back(leggi_valore(l));
    }
    if (valori.size() % 2 != 0 || valori.size() < 2 * kPuntiIniziali) {
        throw ErroreDecodifica(std::to_string(valori.size()) +
                               " valori: il piano ne ha due colonne uguali di almeno 2 punti; "
                               "file troncato o danneggiato");
    }
    const std::size_t punti = valori.size() / 2;
    verifica_inizio_colonna(valori, 0, "x");
    verifica_inizio_colonna(valori, punti, "y");
    Tracciato t;
    t.dimensiona(punti - 1);
    for (std::size_t i = 0; i < punti; ++i) {
        const ValorePunto& x = valori[i];
        const ValorePunto& y = valori[punti + i];
        if (x.tipo != y.tipo) {
            throw ErroreDecodifica("il punto " + std::to_string(i) + " ha x e y di tipo diverso (" +
                                   std::to_string(x.tipo) + " e " + std::to_string(y.tipo) +
                                   "): file danneggiato");
        }
        t.tipo[i] = x.tipo;
        t.x[i] = x.valore;
        t.y[i] = y.valore;
    }
    return t;
}

std::optional<TipoCompilato> tipo_dal_nome(const std::filesystem::path& file) {
    const std::string nome = file.filename().string();
    if (nome.ends_with(".sim")) return TipoCompilato::tabella;
    if (nome.ends_with("_linea.dat")) return TipoCompilato::tracciato;
    if (nome.ends_with(".dat")) return TipoCompilato::celle;
    return std::nullopt;
}

std::string leggi_tutto(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        throw ErroreFile(file, std::filesystem::exists(file, ec) ? "non e' un file regolare"
                                                                 : "file inesistente");
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) throw ErroreFile(file, "impossibile aprire il file in lettura");
    // One read of the whole size, then whatever a growing file still holds.
    const auto dimensione = std::filesystem::file_size(file, ec);
    std::string byte(ec ? 0 : static_cast<std::size_t>(dimensione), '\0');
    in.read(byte.data(), static_cast<std::streamsize>(byte.size()));
    byte.resize(static_cast<std::size_t>(in.gcount()));
    if (!in.bad() && in.good()) {
        byte.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (in.bad()) throw ErroreFile(file, "errore di lettura");
    return byte;
}

}  // namespace brunavia::strumento
