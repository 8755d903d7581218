#include "tool/scenario.h"

#include "compiler/lettore_linea.h"
#include "io/cp1252.h"
#include "tool/testo.h"

namespace brunavia::strumento {
namespace {

struct NomeTipo {
    std::uint8_t tipo;
    std::string_view nome;
};
constexpr NomeTipo kNomiTipo[] = {
    {tipo::libera, "libera"},
    {tipo::segnale, "segnale"},
    {tipo::fine_rallentamento, "fine_rallentamento"},
    {tipo::inizio_rallentamento, "inizio_rallentamento"},
    {tipo::avviso_rallentamento, "avviso_rallentamento"},
    {tipo::prima_dell_avviso, "prima_dell_avviso"},
    {tipo::indicatore_v_max, "indicatore_v_max"},
    {tipo::fine_stazione, "fine_stazione"},
    {tipo::libera_montagna, "libera_montagna"},
    {tipo::marcatore, "marcatore"},
    {tipo::abbattimento_nullo, "abbattimento_nullo"},
    {tipo::cartello_indicatore, "cartello_indicatore"},
};

constexpr std::string_view kNomiRuolo[] = {
    "riservata", "stazione", "cartello indicatore", "vuota", "punto chilometrico", "percorso",
    "scenario",  "treno",
};

// Readings of a speed code: any left speed with a right one below 100 km/h (20 fifths); with
// both speeds multiples of 5, a right one below 500 km/h (100 fifths).
constexpr std::int32_t kQuintiSempre = 20;
constexpr std::int32_t kQuintiMultipliDi5 = 100;

constexpr const char* kNomiCategorie[3] = {"a", "b", "c"};

bool numeri_a_zero(const voce& v) {
    return v.segno == 0 && v.valore1 == 0 && v.valore2 == 0 && v.valore3 == 0 && v.segno2 == 0 &&
           v.numero1 == 0 && v.numero2 == 0 && v.numero3 == 0 && v.numero4 == 0 && v.numero5 == 0 &&
           v.opzione1 == 0 && v.opzione2 == 0 && v.opzione3 == 0 && v.opzione4 == 0 &&
           v.codice == 0;
}

}  // namespace

std::string nome_tipo_cella(std::uint8_t t) {
    for (const auto& [codice, nome] : kNomiTipo) {
        if (codice == t) return std::string(nome);
    }
    return "tipo_" + std::to_string(t);
}

Ruolo ruolo_riga(const Tabella& t, std::size_t r) {
    switch (r) {
        case 0:
            return Ruolo::riservata;
        case riga_tabella::progressiva_1:
        case riga_tabella::progressiva_2:
        case riga_tabella::progressiva_3:
            return Ruolo::punto_chilometrico;
        case riga_tabella::percorso:
            return Ruolo::percorso;
        case riga_tabella::scenario:
            return Ruolo::scenario;
        case riga_tabella::treno:
            return Ruolo::treno;
        default:
            break;
    }
    const voce& v = t[r];
    if (!numeri_a_zero(v)) return Ruolo::stazione;
    return v.testo.empty() ? Ruolo::vuota : Ruolo::cartello_indicatore;
}

std::string_view nome_ruolo(Ruolo r) {
    return kNomiRuolo[static_cast<std::size_t>(r)];
}

std::vector<Stazione> stazioni(const Tabella& t) {
    std::vector<Stazione> elenco;
    for (std::size_t r = 1; r <= riga_tabella::prima_indicazione; ++r) {
        if (ruolo_riga(t, r) != Ruolo::stazione) continue;
        const voce& v = t[r];
        elenco.push_back(
            {r, v.valore3, v.valore1, v.valore2, v.segno, orario_stazione(v), da_cp1252(v.testo)});
    }
    return elenco;
}

std::string orario_stazione(const voce& v) {
    return v.opzione2 == 0 && v.codice == 0 ? "transito" : orario(v.codice);
}

CodiceVelocita leggi_codice_velocita(std::int16_t grezzo) {
    CodiceVelocita c{grezzo, {}};
    // From the highest left speed down, each step moves 20 fifths (100 km/h) to the right.
    for (std::int32_t sinistra = grezzo / 20; sinistra >= 0 && grezzo >= 0; --sinistra) {
        const std::int32_t quinti = grezzo - sinistra * 20;  // right speed / 5
        if (quinti >= kQuintiMultipliDi5) break;
        if (quinti < kQuintiSempre || sinistra % 5 == 0)
            c.letture.push_back({sinistra, quinti * 5});
    }
    return c;
}

std::string testo_codice_velocita(const CodiceVelocita& c) {
    const auto coppia = [](const VelocitaCartello& v) {
        return std::to_string(v.sinistra) + "|" + std::to_string(v.destra);
    };
    if (c.unica()) return coppia(c.letture.front());
    if (c.letture.empty()) return "illeggibile, grezzo " + std::to_string(c.grezzo);
    std::string s = "ambiguo, grezzo " + std::to_string(c.grezzo) + ": ";
    for (std::size_t i = 0; i < c.letture.size(); ++i) {
        s += (i == 0 ? "" : " o ") + coppia(c.letture[i]);
    }
    return s;
}

IndicatoreVMax indicatore_v_max(const cella& c) {
    IndicatoreVMax i;
    const std::int16_t codici[3] = {c.dato0, c.dato1, c.dato2};
    for (std::size_t k = 0; k < 3; ++k) i.categorie[k] = leggi_codice_velocita(codici[k]);
    i.strisce_sinistra = c.dato3 / 10;
    i.strisce_destra = c.dato3 % 10;
    return i;
}

std::string testo_indicatore_v_max(const IndicatoreVMax& i) {
    std::string s;
    for (std::size_t k = 0; k < 3; ++k) {
        s += std::string(k == 0 ? "" : ", ") + kNomiCategorie[k] + " " +
             testo_codice_velocita(i.categorie[k]);
    }
    return s;
}

std::vector<std::string> file_discordanti(const Tabella& t, std::size_t celle,
                                          const Tracciato* piano, std::string_view scenario,
                                          std::string_view treno) {
    std::vector<std::string> motivi;
    const auto nome = [&](std::size_t riga, std::string_view atteso, std::string_view cosa,
                          std::string_view opzione) {
        if (t[riga].testo == atteso) return;
        motivi.push_back("riga " + std::to_string(riga) + " della tabella: " + std::string(cosa) +
                         " e' \"" + da_cp1252(t[riga].testo) + "\", non \"" + std::string(atteso) +
                         "\" (" + std::string(opzione) + ")");
    };
    nome(riga_tabella::scenario, scenario, "il nome dello scenario", "--scenario");
    nome(riga_tabella::treno, treno, "il numero del treno", "--train");
    const std::int64_t lunghezza = t[riga_tabella::percorso].valore2;
    if (lunghezza < 0) {
        motivi.push_back("la tabella (riga 84) ha una lunghezza della linea negativa, " +
                         std::to_string(lunghezza) + " m");
        return motivi;
    }
    const std::string linea =
        "la tabella (riga 84) e' di una linea di " + std::to_string(lunghezza) + " m";
    if (celle != celle_di_linea(lunghezza)) {
        motivi.push_back("le celle sono " + std::to_string(celle) + ", ma " + linea +
                         ", che ne ha " + std::to_string(celle_di_linea(lunghezza)));
    }
    const auto punti = static_cast<std::size_t>(lunghezza + kMargineMetri) + 1;
    if (piano != nullptr && piano->tipo.size() != punti) {
        motivi.push_back("il piano ha " + std::to_string(piano->tipo.size()) + " punti, ma " +
                         linea + ", che ne ha " + std::to_string(punti));
    }
    return motivi;
}

}  // namespace brunavia::strumento
