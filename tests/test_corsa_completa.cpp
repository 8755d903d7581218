#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "compiler/codici_gara.h"
#include "compiler/descrizioni_in_memoria.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza.h"
#include "tests/aiuti.h"
#include "writers/scrittore_testo.h"
#include "writers/scrittori.h"
#include "writers/tabelle_treno.h"

namespace brunavia {
namespace {

std::string testo_di(const std::vector<std::string>& lista) {
    std::size_t righe = 0;
    return codifica_righe(lista, righe);
}

// The shipped scenario compiled in memory, as the program compiles it.
const Form1& scenario_compilato() {
    static const Form1 f = [] {
        Form1 modello;
        DescrizioniInMemoria d(testo_di(righe_linea()), testo_di(righe_treno()));
        EXPECT_TRUE(compila(modello, 1, d));
        EXPECT_FALSE(d.linea_presente());
        EXPECT_FALSE(d.treno_presente());
        return modello;
    }();
    return f;
}

std::size_t conta_tipo(const Form1& f, std::uint8_t tipo_cella) {
    return static_cast<std::size_t>(
        std::count_if(f.celle.begin(), f.celle.end(),
                      [&](const cella& c) { return c.tipo_cella == tipo_cella; }));
}

TEST(CorsaCompleta, LasciaSeiFileSenzaErroriEIFileCompilatiDelModello) {
    prova::CartellaTemporanea cartella;
    const auto programma = prova::copia_programma(cartella.percorso());
    const auto esito = prova::esegui(programma, {}, cartella.percorso());
    EXPECT_EQ(esito.stato, 0);
    EXPECT_EQ(esito.uscita, "Attendere\n");
    EXPECT_EQ(esito.errori, "");

    std::set<std::string> presenti;
    for (const auto& voce_cartella : std::filesystem::directory_iterator(cartella.percorso())) {
        presenti.insert(voce_cartella.path().filename().string());
    }
    const std::set<std::string> attesi = {"brunavia",
                                          "Brunavia_706_note.txt",
                                          "Brunavia_706_rallentamenti.txt",
                                          "Brunavia_706_scheda_treno.txt",
                                          "Brunavia_linea.dat",
                                          "Brunavia_706.sim",
                                          "Brunavia_706.dat"};
    EXPECT_EQ(presenti, attesi);

    const Form1& f = scenario_compilato();
    EXPECT_EQ(prova::leggi_byte(cartella / "Brunavia_linea.dat"),
              serializza_tracciato(f.tracciato));
    EXPECT_EQ(prova::leggi_byte(cartella / "Brunavia_706.sim"), serializza_tabella(f));
    EXPECT_EQ(prova::leggi_byte(cartella / "Brunavia_706.dat"), serializza_celle(f));
}

TEST(CorsaCompleta, IlModelloPortaTrenoSegnaliEStazioni) {
    const Form1& f = scenario_compilato();
    ASSERT_EQ(f.codice_errore, 0) << f.posizione_errore;
    ASSERT_EQ(f.celle.size(), 2541u);
    const std::size_t n = f.celle.size() - 1;

    // Speed limit and adhesion reach every cell up to N - 3, none beyond.
    for (std::size_t k = 0; k <= n; ++k) {
        const bool riempita = k <= n - 3;
        EXPECT_EQ(f.celle[k].attributo4 != 0, riempita) << "velocita' cella " << k;
        EXPECT_EQ(f.celle[k].attributo6 != 0, riempita) << "aderenza cella " << k;
    }
    EXPECT_EQ(conta_tipo(f, tipo::segnale), treno::segnali().size());
    EXPECT_EQ(conta_tipo(f, tipo::cartello_indicatore), 55u);
    EXPECT_EQ(conta_tipo(f, tipo::indicatore_v_max), 31u);

    // One table row per station, in file order; type-10 cells for those below code 25.
    const auto stazioni = treno::stazioni();
    std::size_t marcate = 0;
    for (std::size_t k = 0; k < stazioni.size(); ++k) {
        const voce& v = f.tabella[k + 1];
        EXPECT_EQ(v.testo, stazioni[k].nome);
        EXPECT_EQ(v.valore3, stazioni[k].posizione);
        if (stazioni[k].tipo >= 25) continue;
        ++marcate;
        const auto c = static_cast<std::size_t>(v.valore2 / 50 - 1);
        EXPECT_EQ(f.celle[c].tipo_cella, tipo::fine_stazione) << stazioni[k].nome;
        EXPECT_EQ(static_cast<std::size_t>(f.celle[c].dato0), k + 1);
        for (std::uint8_t m = 1; m <= 4; ++m) EXPECT_EQ(f.celle[c - m].attributo2, 80 + m);
    }
    EXPECT_EQ(conta_tipo(f, tipo::fine_stazione), marcate);
    EXPECT_EQ(f.tabella[stazioni.size() + 1].testo, "");

    // Stamps and codes.
    EXPECT_EQ(f.celle[1].dato0, 5121);
    EXPECT_EQ(f.celle[1].dato1, codice_gara_og(f));
    EXPECT_EQ(f.tabella[85].numero1, 610);
    EXPECT_EQ(f.tabella[85].codice, codice_gara_st(f));
    EXPECT_EQ(f.tabella[85].testo, "Brunavia");
    EXPECT_EQ(f.tabella[86].testo, "706");
}

}  // namespace
}  // namespace brunavia
