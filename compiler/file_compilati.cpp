#include "compiler/file_compilati.h"

#include <bit>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "compiler/codici_gara.h"
#include "compiler/disposizione.h"
#include "compiler/errori.h"
#include "io/nomi_file.h"
#include "io/file_atomico.h"

namespace brunavia {
namespace {

// Stamps of a compiled scenario.
constexpr std::int16_t kTimbroTabella = 610;  // row 85 `numero1`
constexpr std::int16_t kTimbroCelle = 5121;   // cell 1 `dato0`
constexpr std::size_t kCellaTimbro = 1;

// Fills a buffer of exactly the size of the file with little-endian values.
class Scrittura {
public:
    explicit Scrittura(std::size_t dimensione) : byte_(dimensione, '\0') {}

    void u8(std::uint8_t v) { byte_[pos_++] = static_cast<char>(v); }
    void i16(std::int16_t v) { intero(static_cast<std::uint16_t>(v), 2); }
    void u16(std::uint16_t v) { intero(v, 2); }
    void i32(std::int32_t v) { intero(static_cast<std::uint32_t>(v), 4); }
    void f64(double v) { intero(std::bit_cast<std::uint64_t>(v), 8); }
    // One record member, by its type.
    void membro(std::uint8_t v) { u8(v); }
    void membro(std::int16_t v) { i16(v); }
    void membro(std::int32_t v) { i32(v); }
    void membro(const std::string& t) { testo(t); }
    // A text member: its length in 16 bits, then its Windows-1252 bytes.
    void testo(const std::string& t) {
        if (t.size() > std::numeric_limits<std::uint16_t>::max()) {
            throw std::length_error("testo di una voce oltre 65535 byte");
        }
        u16(static_cast<std::uint16_t>(t.size()));
        byte_.replace(pos_, t.size(), t);
        pos_ += t.size();
    }
    std::string prendi() {
        if (pos_ != byte_.size()) throw std::logic_error("dimensione del file compilato errata");
        return std::move(byte_);
    }

private:
    void intero(std::uint64_t v, std::size_t larghezza) {
        for (std::size_t i = 0; i < larghezza; ++i) {
            byte_[pos_ + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        }
        pos_ += larghezza;
    }
    std::string byte_;
    std::size_t pos_ = 0;
};

std::size_t byte_punto(std::uint8_t tipo) {
    switch (tipo) {
        case Tracciato::intero16:
            return kByteTipoPunto + 2;
        case Tracciato::reale64:
            return kByteTipoPunto + 8;
        default:
            return kByteTipoPunto;
    }
}

void scrivi_colonna(Scrittura& s, const Tracciato& t, const std::vector<double>& colonna) {
    for (std::size_t i = 0; i < colonna.size(); ++i) {
        s.u16(t.tipo[i]);
        if (t.tipo[i] == Tracciato::intero16) s.i16(static_cast<std::int16_t>(colonna[i]));
        if (t.tipo[i] == Tracciato::reale64) s.f64(colonna[i]);
    }
}

void scrivi_voce(Scrittura& s, const voce& v) {
    membri_voce(v, [&](const auto& membro, const char*) { s.membro(membro); });
}

void scrivi_cella(Scrittura& s, const cella& c) {
    membri_cella(c, [&](const auto& membro, const char*) { s.membro(membro); });
}

}  // namespace

void timbra_modello(Form1& f) {
    if (f.celle.size() <= kCellaTimbro) throw std::logic_error("celle non dimensionate");
    voce& scenario = f.tabella[riga_tabella::scenario];
    cella& timbro = f.celle[kCellaTimbro];
    if (scenario.numero1 != 0 || timbro.dato0 != 0) errore(f, "1250");
    scenario.numero1 = kTimbroTabella;
    timbro.dato0 = kTimbroCelle;
    if (scenario.codice != 0 || timbro.dato1 != 0) errore(f, "1251");
    scenario.codice = codice_gara_st(f);
    timbro.dato1 = codice_gara_og(f);
}

std::string serializza_tracciato(const Tracciato& t) {
    std::size_t dimensione = 0;
    for (const std::uint8_t tipo : t.tipo) dimensione += 2 * byte_punto(tipo);
    Scrittura s(dimensione);
    scrivi_colonna(s, t, t.x);
    scrivi_colonna(s, t, t.y);
    return s.prendi();
}

std::string serializza_tabella(const Form1& f) {
    std::size_t dimensione = 0;
    for (const voce& v : f.tabella) dimensione += kByteVoceSenzaTesto + v.testo.size();
    Scrittura s(dimensione);
    for (const voce& v : f.tabella) scrivi_voce(s, v);
    return s.prendi();
}

std::string serializza_celle(const Form1& f) {
    Scrittura s(kByteCella * f.celle.size());
    for (const cella& c : f.celle) scrivi_cella(s, c);
    return s.prendi();
}

void scrivi_file_compilati(const Form1& f, const std::filesystem::path& cartella) {
    std::vector<FileNuovo> gruppo;
    if (f.flag_linea != 0) {
        gruppo.emplace_back(cartella / nomi_file::piano_linea(f),
                            serializza_tracciato(f.tracciato));
    }
    gruppo.emplace_back(cartella / nomi_file::tabella_scenario(f), serializza_tabella(f));
    gruppo.emplace_back(cartella / nomi_file::celle_treno(f), serializza_celle(f));
    sostituisci_file_insieme(gruppo);
}

}  // namespace brunavia
