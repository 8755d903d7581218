#include "compiler/file_compilati.h"

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <type_traits>

#include "compiler/codici_gara.h"
#include "compiler/disposizione.h"
#include "compiler/errori.h"
#include "io/file_atomico.h"
#include "io/nomi_file.h"

namespace brunavia {
namespace {

// Stamps of a compiled scenario.
constexpr std::int16_t kTimbroTabella = 610;  // row 85 `numero1`
constexpr std::int16_t kTimbroCelle = 5121;   // cell 1 `dato0`
constexpr std::size_t kCellaTimbro = 1;

// The bytes of a plan value: its 2-byte type code, then the value the type carries.
BRUNAVIA_PASSO_BUFFER void scrivi_punto(FlussoByte& s, std::uint8_t tipo, double valore) {
    const auto codice = static_cast<std::uint16_t>(tipo);
    switch (tipo) {
        case Tracciato::reale64: {
            char* p = s.riserva(kByteTipoPunto + sizeof(double));
            FlussoByte::metti(p, codice);
            FlussoByte::metti(p + kByteTipoPunto, valore);
            break;
        }
        case Tracciato::intero16: {
            char* p = s.riserva(kByteTipoPunto + sizeof(std::int16_t));
            FlussoByte::metti(p, codice);
            FlussoByte::metti(p + kByteTipoPunto, static_cast<std::int16_t>(valore));
            break;
        }
        default:
            FlussoByte::metti(s.riserva(kByteTipoPunto), codice);
    }
}

// One column of the plan, every point with its type code; the column and the type codes are
// checked once to be of the same length, then copied without a check per point.
BRUNAVIA_COPIA_IN_BLOCCO
void scrivi_colonna(FlussoByte& s, const Tracciato& t, const std::vector<double>& colonna) {
    if (t.tipo.size() != colonna.size()) {
        throw std::logic_error("colonna del tracciato e tipi di lunghezza diversa");
    }
    const std::uint8_t* tipo = t.tipo.data();
    const double* valore = colonna.data();
    const std::size_t punti = colonna.size();
    for (std::size_t i = 0; i < punti; ++i) scrivi_punto(s, tipo[i], valore[i]);
}

// A text member: its length in 16 bits, then its Windows-1252 bytes.
void scrivi_testo(FlussoByte& s, const std::string& t) {
    if (t.size() > std::numeric_limits<std::uint16_t>::max()) {
        throw std::length_error("testo di una voce oltre 65535 byte");
    }
    s.u16(static_cast<std::uint16_t>(t.size()));
    s.byte(t);
}

void scrivi_voce(FlussoByte& s, const voce& v) {
    membri_voce(v, [&s](const auto& membro, const char*) {
        if constexpr (std::is_same_v<std::decay_t<decltype(membro)>, std::string>) {
            scrivi_testo(s, membro);
        } else {
            FlussoByte::metti(s.riserva(sizeof membro), membro);
        }
    });
}

BRUNAVIA_SENZA_COPERTURA
void scrivi_cella(FlussoByte& s, const cella& c) {
    char* p = s.riserva(kByteCella);
    membri_cella(c, [&p](const auto& membro, const char*) {
        FlussoByte::metti(p, membro);
        p += sizeof membro;
    });
}

// The bytes a content function writes, collected in memory.
template <typename Scrivi>
std::string in_memoria(Scrivi&& scrivi) {
    DestinazioneStringa d;
    {
        FlussoByte s(d);
        scrivi(s);
        s.svuota();
    }
    return std::move(d.byte());
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

void scrivi_tracciato(FlussoByte& s, const Tracciato& t) {
    scrivi_colonna(s, t, t.x);
    scrivi_colonna(s, t, t.y);
}

void scrivi_tabella(FlussoByte& s, const Form1& f) {
    for (const voce& v : f.tabella) scrivi_voce(s, v);
}

void scrivi_celle(FlussoByte& s, const Form1& f) {
    for (const cella& c : f.celle) scrivi_cella(s, c);
}

std::string serializza_tracciato(const Tracciato& t) {
    return in_memoria([&t](FlussoByte& s) { scrivi_tracciato(s, t); });
}

std::string serializza_tabella(const Form1& f) {
    return in_memoria([&f](FlussoByte& s) { scrivi_tabella(s, f); });
}

std::string serializza_celle(const Form1& f) {
    return in_memoria([&f](FlussoByte& s) { scrivi_celle(s, f); });
}

void scrivi_file_compilati(const Form1& f, const std::filesystem::path& cartella) {
    std::vector<FileDaScrivere> gruppo;
    if (f.flag_linea != 0) {
        gruppo.push_back({cartella / percorso_utf8(nomi_file::piano_linea(f)),
                          [&f](FlussoByte& s) { scrivi_tracciato(s, f.tracciato); }});
    }
    gruppo.push_back({cartella / percorso_utf8(nomi_file::tabella_scenario(f)),
                      [&f](FlussoByte& s) { scrivi_tabella(s, f); }});
    gruppo.push_back({cartella / percorso_utf8(nomi_file::celle_treno(f)),
                      [&f](FlussoByte& s) { scrivi_celle(s, f); }});
    sostituisci_file_insieme(gruppo);
}

}  // namespace brunavia
