// A row's values are stored as they are read: when field k of a row fails to read (error 25),
// the fields before k are in the model and field k and those after it are not. Rows whose
// values the readers first take into locals (signals, slowdowns, gradients, boards ...) store
// nothing before their placement.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "compiler/lettore_campi.h"
#include "compiler/lettore_linea.h"
#include "compiler/lettore_treno.h"
#include "compiler/modello.h"

namespace brunavia {
namespace {

// A token that no number field can hold, whatever its width.
constexpr const char* kIlleggibile = "99999999999";

// A member of the model that a field stores into; empty for a field read into a local.
using Membro = std::function<std::int64_t(const Form1&)>;

struct Campo {
    std::string testo;
    Membro membro;
};

struct Riga {
    const char* nome;
    bool treno;
    bool generale;  // a line row of the general section
    std::string parola;
    std::vector<Campo> campi;
};

Membro tab(std::size_t r, std::int32_t voce::*m) {
    return [r, m](const Form1& f) { return f.tabella[r].*m; };
}
Membro tab16(std::size_t r, std::int16_t voce::*m) {
    return [r, m](const Form1& f) { return f.tabella[r].*m; };
}
Membro tab8(std::size_t r, std::uint8_t voce::*m) {
    return [r, m](const Form1& f) { return f.tabella[r].*m; };
}

std::vector<Campo> locali(const std::vector<std::string>& testi) {
    std::vector<Campo> campi;
    for (const auto& t : testi) campi.push_back({t, {}});
    return campi;
}

std::vector<Riga> righe() {
    return {
        {"lunghezza", false, true, "lunghezza percorso", {{"20000", tab(84, &voce::valore2)}}},
        {"progressiva",
         false,
         true,
         "progressiva chilometrica due",
         {{"1000", tab(82, &voce::valore1)},
          {"2000", tab(82, &voce::valore2)},
          {"1", tab(82, &voce::valore3)}}},
        {"sfondo", false, true, "sfondo tre", {{"7", tab(85, &voce::valore2)}}},
        {"ripetizione",
         false,
         true,
         "ripetizione segnali 4 codici",
         {{"100", tab(86, &voce::valore1)}, {"200", tab(86, &voce::valore2)}}},
        {"pendenza", false, false, "pendenza", locali({"500", "-5"})},
        {"curva", false, false, "curvad5", locali({"0", "150"})},
        {"montagna", false, false, "montagna", locali({"1650", "2300", "12"})},
        {"indicatori_v", false, false, "indicatori_vmax",
         locali({"750", "85", "90", "90", "1", "80", "0", "0", "2"})},
        {"cartello", false, false, "cartello_indicatore", locali({"10350"})},
        {"massa frenata",
         true,
         false,
         "percentuale massa frenata",
         {{"105", tab(84, &voce::valore1)}}},
        {"vetture", true, false, "numero vetture", {{"8", tab(84, &voce::valore3)}}},
        {"sabbia", true, false, "sabbia", {{"300", tab16(86, &voce::numero1)}}},
        {"orologio",
         true,
         false,
         "orologio",
         {{"8", tab16(86, &voce::numero3)},
          {"24", tab16(86, &voce::numero4)},
          {"35", tab16(86, &voce::numero5)}}},
        {"velocita", true, false, "velocita", locali({"1000", "90"})},
        {"aderenza", true, false, "aderenza", locali({"1000", "80"})},
        {"segnale", true, false, "segnale",
         locali({"5000", "1", "2", "3", "1", "0", "0", "0", "0", "0", "0"})},
        {"rallentamento", true, false, "rallentamento",
         locali({"6000", "30", "300", "1", "1", "5"})},
        {"abbattimento", true, false, "abbattimento", locali({"7000", "10"})},
        {"stazione",
         true,
         false,
         "stazione",
         {{"1000", tab(1, &voce::valore3)},
          {"11", tab8(1, &voce::segno)},
          {"400", {}},
          {"3", tab8(1, &voce::segno2)},
          {"4", tab8(1, &voce::opzione4)},
          {"5", tab8(1, &voce::opzione3)},
          {"6", tab16(1, &voce::numero1)},
          {"7", tab16(1, &voce::numero2)},
          {"8", tab8(1, &voce::opzione1)},
          {"9", tab16(1, &voce::numero3)},
          {"10", tab16(1, &voce::numero4)},
          {"11", tab16(1, &voce::numero5)},
          {"12", tab8(1, &voce::opzione2)},
          {"9", {}},
          {"50", {}},
          {"30", {}}}},
    };
}

// The row with field `k` replaced by a token that fails to read.
std::string riga_rotta(const Riga& r, std::size_t k) {
    std::string t = r.parola;
    for (std::size_t i = 0; i < r.campi.size(); ++i) {
        t += ",  " + (i == k ? std::string(kIlleggibile) : r.campi[i].testo);
    }
    return t + ", NOME";
}

std::string con_crlf(const std::vector<std::string>& righe) {
    std::string t;
    for (const auto& r : righe) t += r + "\r\n";
    return t;
}

// Reads the row broken at field `k` through its own reader; returns the model as the failure
// left it.
Form1 leggi_rotta(const Riga& r, std::size_t k) {
    Form1 f;
    f.flag_linea = 1;
    const std::string riga = riga_rotta(r, k);
    if (r.treno) {
        f.celle.assign(541, {});
        EXPECT_THROW(leggi_descrizione_treno(f, con_crlf({"[generale]", riga, "[fine]"}), 25),
                     ErroreLettura);
        return f;
    }
    std::vector<std::string> righe = {"[generale]"};
    if (r.parola != "lunghezza percorso") righe.push_back("lunghezza percorso, 20000");
    if (!r.generale) righe.push_back("[pendenze]");
    righe.push_back(riga);
    righe.push_back("[fine]");
    StatoLinea stato;
    EXPECT_THROW(leggi_descrizione_linea(f, con_crlf(righe), stato), ErroreLettura);
    return f;
}

// No cell holds anything: a row whose values are locals placed nothing.
bool celle_intatte(const Form1& f) {
    for (const cella& c : f.celle) {
        if (c.tipo_cella != 0 || c.dato0 != 0 || c.attributo2 != 0 || c.attributo3 != 0 ||
            c.attributo4 != 0 || c.attributo5 != 0 || c.attributo6 != 0) {
            return false;
        }
    }
    return true;
}

TEST(OrdineMemorizzazione, IlCampoCheFallisceLasciaMemorizzatiIPrecedenti) {
    for (const Riga& r : righe()) {
        for (std::size_t k = 0; k < r.campi.size(); ++k) {
            SCOPED_TRACE(std::string(r.nome) + ", campo " + std::to_string(k + 1) + " illeggibile");
            const Form1 f = leggi_rotta(r, k);
            for (std::size_t i = 0; i < r.campi.size(); ++i) {
                const Campo& c = r.campi[i];
                if (!c.membro) continue;
                const std::int64_t atteso = i < k ? std::stoll(c.testo) : 0;
                EXPECT_EQ(c.membro(f), atteso) << "campo " << i + 1;
            }
            EXPECT_TRUE(celle_intatte(f));
        }
    }
}

// The fixture of the regression: the hours stay stored when the minutes do not fit 16 bits.
TEST(OrdineMemorizzazione, OrologioConMinutiOltre16Bit) {
    Form1 f;
    f.celle.assign(541, {});
    EXPECT_THROW(
        leggi_descrizione_treno(
            f,
            con_crlf({"[generale]", "orologio,    8               70000            0", "[fine]"}),
            25),
        ErroreLettura);
    EXPECT_EQ(f.tabella[86].numero3, 8);
    EXPECT_EQ(f.tabella[86].numero4, 0);
    EXPECT_EQ(f.tabella[86].numero5, 0);
}

}  // namespace
}  // namespace brunavia
