#include "tests/aiuti_strumento.h"

#include <gtest/gtest.h>

#include "compiler/descrizioni_in_memoria.h"
#include "compiler/errori.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza.h"
#include "compiler/posa_linea.h"
#include "tool/registro_righe.h"
#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"

namespace brunavia::prova {
namespace {

std::string testo_di(const std::vector<std::string>& lista) {
    std::size_t righe = 0;
    return codifica_righe(lista, righe);
}

}  // namespace

const std::string& linea_spedita() {
    static const std::string t = testo_di(righe_linea());
    return t;
}

const std::string& treno_spedito() {
    static const std::string t = testo_di(righe_treno());
    return t;
}

std::string esito_compilazione(const std::string& linea, const std::string& treno, bool osservata) {
    Form1 f;
    strumento::RegistroRighe registro(f, false);
    if (osservata) f.osservatore = &registro;
    DescrizioniInMemoria d(linea, treno);
    std::string r;
    try {
        if (compila(f, 1, d)) timbra_modello(f);
    } catch (const Terminazione& t) {
        r += t.what();
    }
    for (const ErroreRegistrato& e : f.errori_registrati) {
        r += std::to_string(e.codice) + "," + std::to_string(e.posizione.value_or(-1)) + "," +
             std::to_string(e.luogo.campo.riga) + ";";
    }
    if (f.celle_dimensionate()) r += serializza_tabella(f) + serializza_celle(f);
    return r;
}

std::vector<ErroreRegistrato> errori_compilati(const std::string& linea, const std::string& treno) {
    Form1 f;
    DescrizioniInMemoria d(linea, treno);
    try {
        compila(f, 1, d);
    } catch (const Terminazione& t) {
        // The error report ended the compile: its number, without a position.
        const std::string prompt = t.what();
        f.errori_registrati.push_back(
            {std::stoi(prompt.substr(prompt.find_last_of(' ') + 1)), std::nullopt, {}, {}});
    }
    return f.errori_registrati;
}

std::optional<strumento::Compilati> compila_testi(const std::string& linea,
                                                  const std::string& treno, int flag,
                                                  const strumento::NomiScenario& nomi) {
    Form1 f;
    f.nome_scenario = nomi.scenario;
    f.numero_treno = nomi.treno;
    DescrizioniInMemoria d(linea, treno);
    if (!compila(f, flag, d) || f.codice_errore != 0) return std::nullopt;
    std::optional<std::string> piano;
    if (flag != 0) piano = serializza_tracciato(f.tracciato);
    return strumento::compilati_da_byte(serializza_celle(f), serializza_tabella(f), piano);
}

std::int16_t codice_compilato(std::int32_t sinistra, std::int32_t destra) {
    Form1 f;
    f.celle.assign(4, cella{});
    IndicatoriVMax r;
    r.vas = sinistra;
    r.vad = destra;
    EXPECT_EQ(memo_indicatori_v_max(f, r), EsitoPosa::posata);
    return f.celle[1].dato0;
}

}  // namespace brunavia::prova
