#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/descrizioni_in_memoria.h"
#include "compiler/errori.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza.h"
#include "tests/aiuti.h"
#include "tests/aiuti_strumento.h"
#include "tool/check/verifica.h"
#include "tool/comandi.h"
#include "tool/compile/compilazione.h"
#include "tool/trappole.h"
#include "writers/scrittori.h"

namespace brunavia::strumento {
namespace {

namespace fs = std::filesystem;
using prova::errori_compilati;
using prova::esito_compilazione;
using prova::linea_spedita;
using prova::treno_spedito;

// The text with the one occurrence of `vecchio` replaced.
std::string con(const std::string& testo, const std::string& vecchio, const std::string& nuovo) {
    const auto i = testo.find(vecchio);
    EXPECT_NE(i, std::string::npos) << vecchio;
    EXPECT_EQ(testo.find(vecchio, i + 1), std::string::npos) << vecchio;
    if (i == std::string::npos) return testo;
    return std::string(testo).replace(i, vecchio.size(), nuovo);
}

std::string elenco(const std::vector<Diagnosi>& d) {
    std::string r;
    for (const Diagnosi& x : d) {
        r += std::to_string(x.luogo.campo.riga) + ":" + std::to_string(x.luogo.campo.colonna) +
             " " + (x.errore ? "E" + std::to_string(x.numero.value_or(0)) : x.codice) + " " +
             x.messaggio + "\n";
    }
    return r;
}

TEST(Verifica, LaCoppiaSpeditaNonDaNessunaDiagnosi) {
    const auto d = verifica_descrizioni(linea_spedita(), treno_spedito());
    EXPECT_TRUE(d.empty()) << elenco(d);
}

// One warning kind per case: a change that shows the trap, and a near-identical one that
// does not (and leaves the pair without any diagnostic).
struct CasoAvviso {
    const char* codice;
    bool treno;  // the change is in the train description
    std::string vecchio;
    std::string trappola;
    std::string innocuo;
    int riga;  // the line the warning points at
};

void PrintTo(const CasoAvviso& c, std::ostream* os) {
    *os << c.codice;
}

class Avvisi : public testing::TestWithParam<CasoAvviso> {};

TEST_P(Avvisi, LaTrappolaAvvisaEIlQuasiUgualeNo) {
    const CasoAvviso& c = GetParam();
    const auto verifica = [&](const std::string& nuovo) {
        return c.treno
                   ? verifica_descrizioni(linea_spedita(), con(treno_spedito(), c.vecchio, nuovo))
                   : verifica_descrizioni(con(linea_spedita(), c.vecchio, nuovo), treno_spedito());
    };
    const auto con_trappola = verifica(c.trappola);
    const auto avviso = std::find_if(con_trappola.begin(), con_trappola.end(),
                                     [&](const Diagnosi& d) { return d.codice == c.codice; });
    ASSERT_NE(avviso, con_trappola.end()) << elenco(con_trappola);
    EXPECT_FALSE(avviso->errore);
    EXPECT_EQ(avviso->luogo.file, c.treno ? FileDescrizione::treno : FileDescrizione::linea);
    EXPECT_EQ(avviso->luogo.campo.riga, c.riga) << elenco(con_trappola);
    const auto innocua = verifica(c.innocuo);
    EXPECT_TRUE(innocua.empty()) << elenco(innocua);
}

// Lines of the shipped files: line description 2 to 9 general rows, 11 the first curve, 207
// the first gradient, 310 "[montagne]", 332 the first speed board; train description 2 to 5
// general rows, 6 "[aderenze]", 7 the first adhesion row, 46 the first speed row, 70 the
// first station, 93 "[rallentamenti]", 95 the first signal.
const CasoAvviso kCasi[] = {
    {"parola-sconosciuta", false, "pendenza,  1200,   7", "pendneza,  1200,   7",
     "x pendenza,  1200,   7", 209},
    {"parola-sconosciuta", true, "segnale,    2200,", "segnal,    2200,", "SEGNALE,    2200,", 96},
    {"intestazione-letta-come-riga", true, "[aderenze]", "[aderenza]", "[aderenze ]", 6},
    {"campi-mancanti", true, "segnale,    5600,   1, 5, 6,  0, 0,    1,  3,1,0, 0",
     "segnale,    5600,   1, 5, 6,  0, 0,    1,  3,1,0",
     "segnale,    5600,   1, 5, 6,  0, 0,    1,  3,1,0,0", 97},
    {"campi-in-piu", false, "pendenza,  500,   -5", "pendenza,  500,   -5, 3",
     "pendenza,  500,   -5 ", 208},
    {"parole-multiple", true, "sabbia,    300", "sabbia vetture,    8, 300", "sabbia,    300 ", 4},
    {"fuori-ordine", true, "aderenza,   10600,   100", "aderenza,   9000,   100",
     "aderenza,   9300,   100", 11},
    {"fuori-ordine", false, "curvas5,  500,  150", "curvas5,  100,  150", "curvas5,  150,  150",
     12},
    {"pendenza-fuori-intervallo", false, "pendenza,  2400,   -2", "pendenza,  2400,   200",
     "pendenza,  2400,   155", 210},
    {"aderenza-fuori-intervallo", true, "aderenza,    2600,    95", "aderenza,    2600,    150",
     "aderenza,    2600,    100", 8},
    {"velocita-non-multipla-di-5", true, "velocita,     750,    90", "velocita,     750,    83",
     "velocita,     750,    85", 46},
    {"cartello-velocita-ambigua", false, "indicatori_vmax,  750,  85,  90,  90,  0,  ,",
     "indicatori_vmax,  750,  85,  90,  90,  0,  100,",
     "indicatori_vmax,  750,  85,  90,  90,  0,  95,", 332},
    {"valore-troncato", true, "[codici]", "abbattimento,  50000,  40000\r\n[codici]",
     "abbattimento,  50000,  30000\r\n[codici]", 139},
    {"maiuscole", false, "sfondo uno,", "Sfondo uno,", "sfondo  uno,", 6},
    {"senza-generale", true, "[generale]", "[generali]", "[GENERALE]", 1},
    {"trattino-nella-parola", false, "pendenza,  3300,   4", "pend-enza,  3300,   4",
     "---- salite ----\r\npendenza,  3300,   4", 211},
    {"classe-curva-multipla", false, "curvad3,  850,  500", "curvad35,  850,  500",
     "curvad3 ,  850,  500", 13},
    {"virgola-nel-nome", true, "ROSTENA", "ROSTENA, NORD", "ROSTENA NORD", 73},
    {"testo-utf8", true, "ROSTENA", "ROST\xC3\xA0NA", "ROST\xE0NA", 73},
    {"orario-fuori-giornata", true, "8,25, 0, ORVADA", "24,25, 0, ORVADA", "23,25, 0, ORVADA", 70},
    {"orario-all-indietro", true, "9,23, 0, BORGO ALTINO", "8,59, 0, BORGO ALTINO",
     "9, 2, 0, BORGO ALTINO", 84},
    {"curva-senza-lato", false, "curvad3,  850,  500", "curva3,  850,  500", "CURVAD3,  850,  500",
     13},
    {"spazio-nel-numero", true, "segnale,    2200,", "segnale,    2 200,", "segnale,    2200 ,",
     96},
    {"tabulatore-nella-parola", false, "pendenza,  1200,   7", "pendenza\t1200,   7",
     "pendenza,\t1200,   7", 209},
};

INSTANTIATE_TEST_SUITE_P(Trappole, Avvisi, testing::ValuesIn(kCasi),
                         [](const testing::TestParamInfo<CasoAvviso>& i) {
                             std::string nome =
                                 std::string(i.param.codice) + "_" + std::to_string(i.index);
                             std::replace(nome.begin(), nome.end(), '-', '_');
                             return nome;
                         });

TEST(Verifica, OgniTipoDiAvvisoHaUnCasoEUnCodiceStabile) {
    // Tested on their own: the warning of a whole pair of files.
    const std::vector<std::string_view> da_soli = {"descrizioni-scambiate"};
    for (const TipoAvviso& t : tipi_di_avviso()) {
        const bool provato =
            std::any_of(std::begin(kCasi), std::end(kCasi),
                        [&](const CasoAvviso& c) { return c.codice == t.codice; }) ||
            std::find(da_soli.begin(), da_soli.end(), t.codice) != da_soli.end();
        EXPECT_TRUE(provato) << t.codice;
    }
}

// Watching the reading changes nothing the compile does, whatever the texts.
TEST(Verifica, OsservareNonCambiaLaCompilazione) {
    for (const CasoAvviso& c : kCasi) {
        for (const std::string& nuovo : {c.trappola, c.innocuo}) {
            const std::string linea =
                c.treno ? linea_spedita() : con(linea_spedita(), c.vecchio, nuovo);
            const std::string treno =
                c.treno ? con(treno_spedito(), c.vecchio, nuovo) : treno_spedito();
            EXPECT_TRUE(esito_compilazione(linea, treno, true) ==
                        esito_compilazione(linea, treno, false))
                << c.codice << " " << nuovo;
        }
    }
}

TEST(Verifica, UnErroreDellaLineaNonNascondeQuelliDelTreno) {
    const std::string linea =
        con(linea_spedita(), "indicatori_vmax,  6000,  80", "indicatori_vmax,  5510,  80");
    const std::string treno = con(treno_spedito(), "segnale,    2200,", "segnale,    1410,");
    const auto compilati = errori_compilati(linea, treno);
    ASSERT_EQ(compilati.size(), 1u);
    EXPECT_EQ(compilati[0].codice, 21);

    const auto d = verifica_descrizioni(linea, treno);
    ASSERT_EQ(d.size(), 2u) << elenco(d);
    // The compile's own error, exactly as recorded and not marked.
    EXPECT_EQ(d[0].numero, 21);
    EXPECT_EQ(d[0].posizione, 5510);
    EXPECT_EQ(d[0].luogo.file, FileDescrizione::linea);
    EXPECT_FALSE(d[0].dopo_ripresa);
    // The train's error, found by reading on.
    EXPECT_EQ(d[1].numero, 16);
    EXPECT_EQ(d[1].posizione, 1410);
    EXPECT_EQ(d[1].luogo.file, FileDescrizione::treno);
    EXPECT_EQ(d[1].luogo.campo.riga, 96);
    EXPECT_TRUE(d[1].dopo_ripresa);
}

TEST(Verifica, DopoUnaRigaRifiutataLeggeLeRigheSeguenti) {
    // Two refused signals and a read failure in one train description: the compile stops at
    // the first, check reports all three.
    std::string treno = con(treno_spedito(), "segnale,    2200,", "segnale,    1410,");
    treno = con(treno, "segnale,    6600,", "segnale,    5610,");
    treno = con(treno, "segnale,   11100,   2", "segnale,   11100,   x");
    const auto compilati = errori_compilati(linea_spedita(), treno);
    const auto d = verifica_descrizioni(linea_spedita(), treno);
    ASSERT_EQ(d.size(), 3u) << elenco(d);
    for (const ErroreRegistrato& e : compilati) {
        const bool trovato = std::any_of(d.begin(), d.end(), [&](const Diagnosi& x) {
            return x.numero == e.codice && x.posizione == e.posizione && !x.dopo_ripresa;
        });
        EXPECT_TRUE(trovato) << e.codice;
    }
    EXPECT_EQ(d[1].numero, 16);
    EXPECT_EQ(d[1].posizione, 5610);
    EXPECT_TRUE(d[1].dopo_ripresa);
    EXPECT_EQ(d[2].numero, 25);
    EXPECT_TRUE(d[2].dopo_ripresa);
    EXPECT_NE(d[2].messaggio.find("\"x\""), std::string::npos) << d[2].messaggio;
}

TEST(Verifica, SenzaLunghezzaLoDiceAllaSezioneGenerale) {
    const std::string linea = con(linea_spedita(), "lunghezza percorso,    120000\r\n", "");
    const auto d = verifica_descrizioni(linea, treno_spedito());
    ASSERT_FALSE(d.empty());
    EXPECT_TRUE(d[0].errore);
    EXPECT_EQ(d[0].numero, 25);
    EXPECT_EQ(d[0].luogo.campo.riga, 1);  // the "[generale]" header
    EXPECT_NE(d[0].messaggio.find("lunghezza percorso"), std::string::npos) << d[0].messaggio;
    EXPECT_FALSE(d[0].dopo_ripresa);
    // The rows are still read, on the longest line: the shipped rows give nothing more.
    EXPECT_EQ(d.size(), 1u) << elenco(d);
}

// The message of an error names its real cause: the error of the given number and line
// (0: the whole file), and how its message starts.
struct CasoCausa {
    const char* nome;
    std::string linea;
    std::string treno;
    std::int32_t numero;
    int riga;
    std::string messaggio;
};

void PrintTo(const CasoCausa& c, std::ostream* os) {
    *os << c.nome;
}

std::string volte(int n, const std::string& riga) {
    std::string r;
    for (int i = 0; i < n; ++i) r += riga;
    return r;
}

// A line of 1000 m: cells 0 to 160.
const std::string kLineaCorta = "[generale]\r\nlunghezza percorso, 1000\r\n[pendenze]\r\n";
const std::string kTrenoVuoto = "[generale]\r\n[fine]\r\n";

const CasoCausa kCause[] = {
    // The first row at 500 m sets the cursor at cell 10, each row after it pushes it one on.
    {"pendenze_alla_stessa_cella", kLineaCorta + volte(200, "pendenza, 500, 1\r\n") + "[fine]\r\n",
     kTrenoVuoto, 15, 156,
     "il cursore delle pendenze e' oltre l'ultima cella (160): ogni riga 'pendenza' alla cella "
     "del cursore o prima lo sposta avanti di una cella, e le righe 5-155 (151 righe, alla cella "
     "10) lo hanno portato alla cella 161;"},
    {"aderenza_alla_stessa_cella", kLineaCorta + "[fine]\r\n",
     "[generale]\r\n" + volte(200, "aderenza, 500, 90\r\n") + "[fine]\r\n", 15, 154,
     "il cursore dell'aderenza e' oltre l'ultima cella (160): ogni riga 'aderenza' alla cella del "
     "cursore o prima lo sposta avanti di una cella, e le righe 3-153 (151 righe, alla cella 10) "
     "lo hanno portato alla cella 161;"},
    // Rows at growing cells push it too, each to its own cell or one further.
    {"pendenze_in_avanti_di_mezza_cella",
     kLineaCorta + "pendenza, 7000, 1\r\npendenza, 7000, 2\r\npendenza, 7025, 3\r\n" +
         volte(20, "pendenza, 7050, 1\r\n") + "[fine]\r\n",
     kTrenoVuoto, 15, 26,
     "il cursore delle pendenze e' oltre l'ultima cella (160): ogni riga 'pendenza' alla cella "
     "del cursore o prima lo sposta avanti di una cella, e le righe 5-25 (21 righe, alle celle "
     "140-141) lo hanno portato alla cella 161;"},
    // A position that does lie beyond the cells keeps its words, after the cursor ran past too.
    {"oltre_le_celle", kLineaCorta + "pendenza, 8000, 1\r\n[fine]\r\n", kTrenoVuoto, 15, 4,
     "posizione oltre le celle del percorso"},
    {"oltre_le_celle_dopo_il_cursore",
     kLineaCorta + volte(200, "pendenza, 500, 1\r\n") + "pendenza, 8000, 1\r\n[fine]\r\n",
     kTrenoVuoto, 15, 204, "posizione oltre le celle del percorso"},
    // The only "[generale]" is the last field: never examined.
    {"generale_sull_ultima_riga", "lunghezza percorso, 1000\r\n[generale]", kTrenoVuoto, 102, 2,
     "manca la sezione [generale] nel file della linea: l'unico [generale] e' sull'ultima riga, "
     "che non e' mai esaminata"},
    {"generale_sull_ultima_riga_con_a_capo", "lunghezza percorso, 1000\r\n[GENERALE]\r\n\r\n",
     kTrenoVuoto, 102, 2, "manca la sezione [generale] nel file della linea: l'unico [generale]"},
    {"linea_vuota", "", kTrenoVuoto, 25, 0, "file vuoto"},
    {"linea_di_soli_spazi", " \r\n\t\r\n", kTrenoVuoto, 25, 0, "file vuoto"},
};

class Cause : public testing::TestWithParam<CasoCausa> {};

TEST_P(Cause, IlMessaggioDiceLaCausa) {
    const CasoCausa& c = GetParam();
    const auto d = verifica_descrizioni(c.linea, c.treno);
    const auto errore = std::find_if(d.begin(), d.end(), [&](const Diagnosi& x) {
        return x.errore && x.numero == c.numero && x.luogo.campo.riga == c.riga;
    });
    ASSERT_NE(errore, d.end()) << elenco(d);
    EXPECT_EQ(errore->messaggio.rfind(c.messaggio, 0), 0u) << errore->messaggio;
}

INSTANTIATE_TEST_SUITE_P(Errori, Cause, testing::ValuesIn(kCause),
                         [](const testing::TestParamInfo<CasoCausa>& i) {
                             return std::string(i.param.nome);
                         });

struct EsitoCheck {
    int stato = -1;
    std::string uscita;
    std::string errori;
};

EsitoCheck check(const fs::path& linea, const fs::path& treno, bool json, bool tutte = false) {
    OpzioniVerifica o;
    o.linea = linea;
    o.treno = treno;
    o.json = json;
    o.tutte = tutte;
    std::ostringstream uscita, errori;
    const int stato = comando_check(o, uscita, errori);
    return {stato, uscita.str(), errori.str()};
}

TEST(Verifica, StatoDiUscitaEFormatoDelleRighe) {
    prova::CartellaTemporanea c;
    const fs::path linea = c / "L.txt", treno = c / "T.txt";
    prova::scrivi_byte(linea, linea_spedita());
    prova::scrivi_byte(treno, treno_spedito());
    EXPECT_EQ(check(linea, treno, false).stato, 0);

    prova::scrivi_byte(
        treno, con(treno_spedito(), "velocita,     750,    90", "velocita,     750,    83"));
    const auto avvisi = check(linea, treno, false);
    EXPECT_EQ(avvisi.stato, 3);
    EXPECT_EQ(avvisi.uscita,
              treno.string() +
                  ":46:23: warning: velocita' 83 km/h: le celle la tengono in passi di 5 km/h, "
                  "cioe' 85 km/h; scrivere un multiplo di 5 [velocita-non-multipla-di-5]\n"
                  "    velocita,     750,    83\n"
                  "                          ^\n");

    prova::scrivi_byte(treno, con(treno_spedito(), "segnale,    2200,", "segnale,    1410,"));
    const auto errori = check(linea, treno, false);
    EXPECT_EQ(errori.stato, 2);
    EXPECT_EQ(errori.uscita.rfind(treno.string() + ":96:13: error: Errore n. 16, posizione 1410: "
                                                   "segnale su una cella occupata",
                                  0),
              0u)
        << errori.uscita;

    // Nothing is written, moved or deleted.
    std::vector<fs::path> presenti;
    for (const auto& voce : fs::directory_iterator(c.percorso())) presenti.push_back(voce.path());
    EXPECT_EQ(presenti.size(), 2u);

    fs::remove(treno);
    const auto mancante = check(linea, treno, false);
    EXPECT_EQ(mancante.stato, 1);
    EXPECT_NE(mancante.errori.find(treno.string()), std::string::npos);
}

// A binary file is refused in one line, by check and by compile, before anything is read.
TEST(Verifica, UnFileNonDiTestoHaUnaSolaRiga) {
    prova::CartellaTemporanea c;
    const fs::path linea = c / "L.txt", treno = c / "T.txt";
    prova::scrivi_byte(linea, "[generale]\r\nlunghezza percorso, 1000\r\n" +
                                  std::string(13000, '\0') + std::string(7000, 'x'));
    prova::scrivi_byte(treno, treno_spedito());
    const std::string riga =
        "Errore sul file " + linea.string() + ": non e' un file di testo (byte 0x00 alla riga 3)\n";
    const auto e = check(linea, treno, false);
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.uscita, "");
    EXPECT_EQ(e.errori, riga);

    OpzioniCompila o;
    o.linea = linea;
    o.treno = treno;
    o.cartella = c / "compilati";
    std::ostringstream uscita, errori;
    EXPECT_EQ(compila_descrizioni(o, uscita, errori), 1);
    EXPECT_EQ(errori.str(), riga);
    EXPECT_FALSE(fs::exists(c / "compilati"));
}

// What a line holds never reaches the terminal as a command: control bytes are shown as \xNN,
// in the message and in the line under it, and the caret still stands under its field.
TEST(Verifica, IByteDiControlloMostratiComeEsadecimali) {
    prova::CartellaTemporanea c;
    const fs::path linea = c / "L.txt", treno = c / "T.txt";
    prova::scrivi_byte(linea,
                       "[generale]\r\nlunghezza percorso, 1000\r\n[pendenze]\r\n"
                       "pend\x1b[31menza, 100, 1\r\n\x07pendenza, 1x, 1\r\n[fine]\r\n");
    prova::scrivi_byte(treno, kTrenoVuoto);
    const auto e = check(linea, treno, false);
    EXPECT_EQ(e.stato, 2);
    for (const char b : e.uscita) {
        EXPECT_TRUE(static_cast<unsigned char>(b) >= 0x20 || b == '\n' || b == '\t')
            << static_cast<int>(b) << "\n"
            << e.uscita;
    }
    EXPECT_NE(e.uscita.find("la parola chiave 'pend\\x1B[31menza'"), std::string::npos) << e.uscita;
    EXPECT_NE(e.uscita.find("\n    \\x07pendenza, 1x, 1\n    " + std::string(14, ' ') + "^\n"),
              std::string::npos)
        << e.uscita;
}

std::size_t conta(const std::string& testo, const std::string& parola) {
    std::size_t n = 0;
    for (auto i = testo.find(parola); i != std::string::npos; i = testo.find(parola, i + 1)) ++n;
    return n;
}

// The same gradient row repeated after an earlier one: each after the first is out of order. The
// run shows its first three, then one line before the next message; --all and --json keep
// every one.
TEST(Verifica, RipetizioniSuRigheConsecutiveRipiegate) {
    constexpr int kRipetute = 400;
    std::string righe;
    for (int i = 0; i < kRipetute; ++i) righe += "pendenza,  16000,   0\r\n";
    const std::string ultima = "pendenza,  1200,   7\r\n";
    const auto i = linea_spedita().find(ultima);
    ASSERT_NE(i, std::string::npos);
    prova::CartellaTemporanea c;
    const fs::path linea = c / "L.txt", treno = c / "T.txt";
    prova::scrivi_byte(linea, std::string(linea_spedita()).insert(i + ultima.size(), righe));
    prova::scrivi_byte(treno, treno_spedito());

    const auto ripiegato = check(linea, treno, false);
    const std::string ripetuta = "(cella 320) non viene dopo la precedente (cella 320)";
    EXPECT_EQ(ripiegato.stato, 3);
    EXPECT_EQ(conta(ripiegato.uscita, ripetuta), 3u) << ripiegato.uscita;
    const std::string piega = "\n... e altre 396 righe uguali, righe 214-609 [fuori-ordine]\n" +
                              linea.string() + ":610:12: warning: la riga 'pendenza' a 2400 m";
    EXPECT_NE(ripiegato.uscita.find(piega), std::string::npos) << ripiegato.uscita;

    const auto tutte = check(linea, treno, false, true);
    EXPECT_EQ(conta(tutte.uscita, ripetuta), static_cast<std::size_t>(kRipetute - 1));
    EXPECT_EQ(tutte.uscita.find("righe uguali"), std::string::npos);
    EXPECT_EQ(conta(check(linea, treno, true).uscita, ripetuta),
              static_cast<std::size_t>(kRipetute - 1));
}

TEST(Verifica, JsonUnSoloArrayConIlSegnoDellaRipresa) {
    prova::CartellaTemporanea c;
    const fs::path linea = c / "L.txt", treno = c / "T.txt";
    prova::scrivi_byte(
        linea, con(linea_spedita(), "indicatori_vmax,  6000,  80", "indicatori_vmax,  5510,  80"));
    prova::scrivi_byte(
        treno, con(treno_spedito(), "velocita,     750,    90", "velocita,     750,    83"));
    const auto e = check(linea, treno, true);
    EXPECT_EQ(e.stato, 2);
    const auto j = nlohmann::json::parse(e.uscita);
    ASSERT_TRUE(j.is_array());
    ASSERT_EQ(j.size(), 2u) << e.uscita;
    // Written one element at a time, laid out as the whole array.
    EXPECT_EQ(e.uscita, nlohmann::ordered_json::parse(e.uscita).dump(2) + "\n");
    prova::scrivi_byte(linea, linea_spedita());
    prova::scrivi_byte(treno, treno_spedito());
    EXPECT_EQ(check(linea, treno, true).uscita, "[]\n");
    EXPECT_EQ(j[0]["file"], linea.string());
    EXPECT_EQ(j[0]["severity"], "error");
    EXPECT_EQ(j[0]["error"], 21);
    EXPECT_EQ(j[0]["position"], 5510);
    EXPECT_TRUE(j[0]["code"].is_null());
    EXPECT_EQ(j[0]["found_by_reading_on"], false);
    EXPECT_EQ(j[1]["file"], treno.string());
    EXPECT_EQ(j[1]["line"], 46);
    EXPECT_EQ(j[1]["column"], 23);
    EXPECT_EQ(j[1]["severity"], "warning");
    EXPECT_EQ(j[1]["code"], "velocita-non-multipla-di-5");
    EXPECT_TRUE(j[1]["error"].is_null());
}

TEST(Verifica, JsonSegnaGliErroriTrovatiProseguendo) {
    prova::CartellaTemporanea c;
    const fs::path linea = c / "L.txt", treno = c / "T.txt";
    prova::scrivi_byte(
        linea, con(linea_spedita(), "indicatori_vmax,  6000,  80", "indicatori_vmax,  5510,  80"));
    prova::scrivi_byte(treno, con(treno_spedito(), "segnale,    2200,", "segnale,    1410,"));
    const auto e = check(linea, treno, true);
    const auto j = nlohmann::json::parse(e.uscita);
    ASSERT_EQ(j.size(), 2u) << e.uscita;
    EXPECT_EQ(j[1]["error"], 16);
    EXPECT_EQ(j[1]["found_by_reading_on"], true);
    EXPECT_NE(j[1]["message"].get<std::string>().find("proseguendo la lettura"), std::string::npos);
    const auto testo = check(linea, treno, false);
    EXPECT_NE(testo.uscita.find("(trovato proseguendo la lettura)\n    segnale,    1410,"),
              std::string::npos)
        << testo.uscita;
}

// Diagnostics made out of order by several passes come out in file order, each as soon as
// nothing can come before it; at one place the earlier pass first, then the order they came in.
TEST(Verifica, OrdineDiagnosiInOrdineDiFileAppenaPossibile) {
    const auto d = [](FileDescrizione file, int riga, int colonna, std::string nome) {
        Diagnosi x;
        x.luogo = {file, {riga, colonna}};
        x.messaggio = std::move(nome);
        return x;
    };
    const auto L = FileDescrizione::linea;
    const auto T = FileDescrizione::treno;
    std::vector<std::string> usciti;
    OrdineDiagnosi ordine([&](Diagnosi&& x) { usciti.push_back(x.messaggio); });
    FonteElenco errori({d(T, 2, 1, "e-T2"), d(L, 7, 3, "e-L7"), d(L, 3, 5, "e-L3"),
                        d(FileDescrizione::nessuno, 0, 0, "e-nessuno")});
    ordine.aggiungi_fonte(errori, passo::compilazione);
    ordine.aggiungi(d(L, 3, 9, "r-L3c9"), passo::righe);
    ordine.aggiungi(d(L, 3, 5, "r-L3c5"), passo::righe);
    ordine.aggiungi(d(L, 8, 1, "r-L8"), passo::righe);
    ordine.fino_a(chiave_di({L, {7, 3}}));
    EXPECT_EQ(usciti, (std::vector<std::string>{"e-L3", "r-L3c5", "r-L3c9"}));
    ordine.aggiungi(d(L, 7, 3, "r-L7"), passo::righe);
    ordine.fino_a(inizio_dopo(L));
    EXPECT_EQ(usciti,
              (std::vector<std::string>{"e-L3", "r-L3c5", "r-L3c9", "e-L7", "r-L7", "r-L8"}));
    ordine.aggiungi(d(T, 2, 1, "r-T2"), passo::righe);
    ordine.fine();
    EXPECT_EQ(usciti, (std::vector<std::string>{"e-L3", "r-L3c5", "r-L3c9", "e-L7", "r-L7", "r-L8",
                                                "e-T2", "r-T2", "e-nessuno"}));
}

// The README's table documents every warning code.
TEST(Verifica, IlLeggimiSpiegaOgniCodice) {
    const std::string leggimi = prova::leggi_byte(BRUNAVIA_README);
    const auto inizio = leggimi.find("### Checking descriptions");
    ASSERT_NE(inizio, std::string::npos);
    for (const TipoAvviso& t : tipi_di_avviso()) {
        EXPECT_NE(leggimi.find("| `" + std::string(t.codice) + "` |", inizio), std::string::npos)
            << t.codice;
    }
}

TEST(Verifica, RigaDiComando) {
    std::ostringstream out, err;
    EXPECT_EQ(esegui_strumento({"check", "--help"}, out, err), 0);
    EXPECT_EQ(out.str().rfind("uso: brunavia-tool check LINEA TRENO [--json]", 0), 0u);
    std::ostringstream out2, err2;
    EXPECT_EQ(esegui_strumento({"check", "linea.txt"}, out2, err2), kUscitaUso);
    EXPECT_EQ(out2.str(), "");
    std::ostringstream out3, err3;
    EXPECT_EQ(esegui_strumento({"check", "a", "b", "--xml"}, out3, err3), kUscitaUso);
}

TEST(Verifica, SuggerisceSoloParoleVicine) {
    EXPECT_EQ(distanza("pendneza", "pendenza"), 1u);
    EXPECT_EQ(distanza("rallentamneto", "rallentamento"), 1u);
    EXPECT_EQ(distanza("curva", "montagna"), 7u);
    EXPECT_EQ(distanza("segnal", "segnale"), 1u);
    const std::string linea = con(linea_spedita(), "pendenza,  1200,   7", "zzzzz,  1200,   7");
    const auto d = verifica_descrizioni(linea, treno_spedito());
    ASSERT_EQ(d.size(), 1u) << elenco(d);
    EXPECT_EQ(d[0].messaggio.find("forse"), std::string::npos) << d[0].messaggio;

    // A row of the other description, or of the other part of the line, says where it belongs.
    const struct {
        std::string linea;
        std::string atteso;
    } altrove[] = {
        {con(linea_spedita(), "pendenza,  1200,   7", "velocita,  1200,   7"),
         "descrizione del treno"},
        {con(linea_spedita(), "pendenza,  1200,   7", "sfondo uno,  1200"), "sezione [generale]"},
    };
    for (const auto& c : altrove) {
        const auto x = verifica_descrizioni(c.linea, treno_spedito());
        ASSERT_EQ(x.size(), 1u) << elenco(x);
        EXPECT_EQ(x[0].codice, "parola-sconosciuta");
        EXPECT_NE(x[0].messaggio.find(c.atteso), std::string::npos) << x[0].messaggio;
    }
}

}  // namespace
}  // namespace brunavia::strumento
