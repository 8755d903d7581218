#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "compiler/descrizioni_in_memoria.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza.h"
#include "tests/aiuti.h"
#include "tool/comandi.h"
#include "tool/decodifica.h"
#include "tool/testo.h"
#include "writers/scrittori.h"

namespace brunavia::strumento {
namespace {

namespace fs = std::filesystem;

// The shipped scenario, compiled in memory from the descriptions the writers produce.
Form1 scenario_spedito() {
    prova::CartellaTemporanea c;
    Form1 f;
    f.cartella = c.percorso();
    dati_linea(f);
    dati_treno(f);
    DescrizioniInMemoria d(prova::leggi_byte(c / "Brunavia_linea.txt"),
                           prova::leggi_byte(c / "Brunavia_706-.txt"));
    EXPECT_TRUE(compila(f, 1, d));
    EXPECT_EQ(f.codice_errore, 0);
    return f;
}

const Form1& spedito() {
    static const Form1 f = scenario_spedito();
    return f;
}

auto membri(const cella& c) {
    return std::tie(c.tipo_cella, c.dato0, c.dato1, c.dato2, c.dato3, c.attributo1, c.attributo2,
                    c.attributo3, c.attributo4, c.attributo5, c.attributo6);
}
auto membri(const voce& v) {
    return std::tie(v.segno, v.valore1, v.valore2, v.valore3, v.segno2, v.testo, v.numero1,
                    v.numero2, v.numero3, v.numero4, v.numero5, v.opzione1, v.opzione2, v.opzione3,
                    v.opzione4, v.codice);
}

struct Esito {
    int stato = -1;
    std::string uscita;
    std::string errori;
};
Esito strumento(const std::vector<std::string>& argomenti) {
    std::ostringstream out, err;
    const int stato = esegui_strumento(argomenti, out, err);
    return {stato, out.str(), err.str()};
}

std::vector<std::string> righe(const std::string& testo) {
    std::vector<std::string> r;
    std::istringstream in(testo);
    for (std::string riga; std::getline(in, riga);) r.push_back(riga);
    return r;
}

std::vector<std::string> parole(const std::string& riga) {
    std::vector<std::string> p;
    std::istringstream in(riga);
    for (std::string parola; in >> parola;) p.push_back(parola);
    return p;
}

// The three compiled files of the shipped scenario in a folder.
struct FileCompilati {
    prova::CartellaTemporanea cartella;
    fs::path celle = cartella / "Brunavia_706.dat";
    fs::path tabella = cartella / "Brunavia_706.sim";
    fs::path piano = cartella / "Brunavia_linea.dat";
    FileCompilati() { scrivi_file_compilati(spedito(), cartella.percorso()); }
};

// ---- decoding ----

TEST(StrumentoDump, OgniCellaRigaEPuntoCompilatiSiRileggono) {
    const Form1& f = spedito();
    const auto celle = decodifica_celle(serializza_celle(f));
    ASSERT_EQ(celle.size(), f.celle.size());
    for (std::size_t k = 0; k < celle.size(); ++k) {
        EXPECT_TRUE(membri(celle[k]) == membri(f.celle[k])) << "cella " << k;
    }
    const Tabella t = decodifica_tabella(serializza_tabella(f));
    for (std::size_t r = 0; r < t.size(); ++r) {
        EXPECT_TRUE(membri(t[r]) == membri(f.tabella[r])) << "riga " << r;
    }
    const Tracciato p = decodifica_tracciato(serializza_tracciato(f.tracciato));
    EXPECT_EQ(p.tipo, f.tracciato.tipo);
    EXPECT_EQ(p.x, f.tracciato.x);
    EXPECT_EQ(p.y, f.tracciato.y);
}

TEST(StrumentoDump, FileTroncatiORovinatiDannoUnErroreChiaro) {
    const Form1& f = spedito();
    const std::string tabella = serializza_tabella(f);
    for (std::size_t n = 0; n < tabella.size(); ++n) {
        EXPECT_THROW(decodifica_tabella(tabella.substr(0, n)), ErroreDecodifica) << n;
    }
    const std::string celle = serializza_celle(f);
    for (const std::size_t n :
         {std::size_t{0}, std::size_t{1}, std::size_t{14}, celle.size() - 1}) {
        EXPECT_THROW(decodifica_celle(celle.substr(0, n)), ErroreDecodifica) << n;
    }
    const std::string piano = serializza_tracciato(f.tracciato);
    for (std::size_t n = 0; n < 16; ++n) {
        EXPECT_THROW(decodifica_tracciato(piano.substr(0, n)), ErroreDecodifica) << n;
        EXPECT_THROW(decodifica_tracciato(piano.substr(0, piano.size() - 1 - n)), ErroreDecodifica)
            << n;
        EXPECT_THROW(decodifica_tracciato(piano.substr(0, piano.size() / 2 + n)), ErroreDecodifica)
            << n;
    }

    // Damaged, not truncated: the message says what is wrong.
    struct Caso {
        std::string byte;
        std::string (*decodifica)(const std::string&);
        std::string messaggio;
    };
    const auto tab = [](const std::string& b) {
        decodifica_tabella(b);
        return std::string();
    };
    const auto pia = [](const std::string& b) {
        decodifica_tracciato(b);
        return std::string();
    };
    std::string testo_lungo = tabella;
    testo_lungo[14] = '\xFF';  // row 0's text length: 65535
    testo_lungo[15] = '\xFF';
    std::string tipo_ignoto = piano;
    tipo_ignoto[0] = 7;
    std::string colonne_diverse = piano;
    colonne_diverse[piano.size() / 2 + 100] ^= 1;
    const Caso casi[] = {
        {testo_lungo, tab, "riga 0: il testo dichiara 65535 byte"},
        {tabella + "x", tab, "1 byte in piu' dopo la riga 86"},
        {tipo_ignoto, pia, "tipo di valore 7 sconosciuto al byte 0"},
        {piano + piano.substr(0, 4), pia, "file troncato o danneggiato"},
        {std::string(2 * 2'014'004, '\0'), pia, "piu' punti di quanti"},
    };
    for (const auto& c : casi) {
        try {
            c.decodifica(c.byte);
            ADD_FAILURE() << "nessun errore per: " << c.messaggio;
        } catch (const ErroreDecodifica& e) {
            EXPECT_NE(std::string(e.what()).find(c.messaggio), std::string::npos) << e.what();
        }
    }
}

// ---- the command ----

TEST(StrumentoDump, CelleElencateUnaPerRigaComeNelModello) {
    const Form1& f = spedito();
    FileCompilati file;
    const Esito e = strumento({"dump", file.celle.string()});
    ASSERT_EQ(e.stato, 0) << e.errori;
    const auto r = righe(e.uscita);
    ASSERT_EQ(r.size(), f.celle.size() + 2);
    for (std::size_t k = 0; k < f.celle.size(); ++k) {
        auto p = parole(r[k + 2]);
        const cella& c = f.celle[k];
        // A speed board's line goes on with its speeds read back (checked below).
        ASSERT_GE(p.size(), 13u) << r[k + 2];
        if (c.tipo_cella != tipo::indicatore_v_max) {
            ASSERT_EQ(p.size(), 13u) << r[k + 2];
        }
        p.resize(13);
        const std::vector<long> attesi = {static_cast<long>(k),
                                          static_cast<long>(k) * 50,
                                          c.dato0,
                                          c.dato1,
                                          c.dato2,
                                          c.dato3,
                                          c.attributo1,
                                          c.attributo2,
                                          c.attributo3,
                                          c.attributo4,
                                          c.attributo5,
                                          c.attributo6};
        std::vector<long> letti;
        for (std::size_t i = 0; i < p.size(); ++i) {
            if (i != 2) letti.push_back(std::stol(p[i]));
        }
        EXPECT_EQ(letti, attesi) << r[k + 2];
    }
    EXPECT_EQ(parole(r[2 + 29])[2], "segnale");
    EXPECT_EQ(parole(r[2 + 16])[2], "indicatore_v_max");
    EXPECT_TRUE(
        r[2 + 16].ends_with("  V max km/h sinistra|destra: a 85|0, b 90|0, c 90|0; strisce 0|0"))
        << r[2 + 16];

    // --from / --to keep the cells that meet the stretch: 1000 ... 1500 m is cells 20 to 30.
    const auto tratto =
        righe(strumento({"dump", file.celle.string(), "--from", "1000", "--to", "1500"}).uscita);
    ASSERT_EQ(tratto.size(), 2u + 11u);
    EXPECT_EQ(parole(tratto[2])[0], "20");
    EXPECT_EQ(parole(tratto.back())[0], "30");
}

// A speed board's codes read back: the speeds when a code has one reading, the raw number and
// both readings when it is ambiguous (a board of 100 km/h on both sides is never 101).
TEST(StrumentoDump, CartelloVMaxConCodiceAmbiguo) {
    Form1 f;
    f.celle.assign(3, cella{});
    cella& c = f.celle[2];
    c.tipo_cella = tipo::indicatore_v_max;
    c.dato0 = 1700;  // 85 | 0
    c.dato1 = 2020;  // 100 | 100, or 101 | 0
    c.dato2 = 19;    // 0 | 95
    c.dato3 = 21;
    prova::CartellaTemporanea cartella;
    const auto file = cartella / "x.dat";
    prova::scrivi_byte(file, serializza_celle(f));

    const Esito testo = strumento({"dump", file.string()});
    ASSERT_EQ(testo.stato, 0) << testo.errori;
    EXPECT_TRUE(righe(testo.uscita)
                    .back()
                    .ends_with("V max km/h sinistra|destra: a 85|0, b ambiguo, grezzo 2020: 101|0 "
                               "o 100|100, c 0|95; "
                               "strisce 2|1"))
        << testo.uscita;
    EXPECT_EQ(testo.uscita.find("101|0,"), std::string::npos);

    const Esito json = strumento({"dump", file.string(), "--json"});
    ASSERT_EQ(json.stato, 0) << json.errori;
    const auto celle = nlohmann::json::parse(json.uscita)["celle"];
    EXPECT_FALSE(celle[1].contains("indicatore_v_max"));  // only on a speed board
    EXPECT_EQ(celle[2]["indicatore_v_max"], nlohmann::json::parse(R"({
        "a": {"grezzo": 1700, "sinistra": 85, "destra": 0},
        "b": {"grezzo": 2020, "ambiguo": true,
              "letture": [{"sinistra": 101, "destra": 0}, {"sinistra": 100, "destra": 100}]},
        "c": {"grezzo": 19, "sinistra": 0, "destra": 95},
        "strisce_sinistra": 2, "strisce_destra": 1})"));
}

TEST(StrumentoDump, TabellaConIRuoliEPianoACampioni) {
    const Form1& f = spedito();
    FileCompilati file;
    const Esito t = strumento({"dump", file.tabella.string()});
    ASSERT_EQ(t.stato, 0) << t.errori;
    for (std::size_t r = 1; r <= 23; ++r) {
        const voce& v = f.tabella[r];
        const std::string attesa =
            "\"" + da_cp1252(v.testo) + "\": posizione " + std::to_string(v.valore3) + " m";
        EXPECT_NE(t.uscita.find(attesa), std::string::npos) << attesa;
    }
    for (const char* attesa :
         {"riga  1  stazione             \"ORVADA CENTRALE\": posizione 0 m, zona -400 ... 450 m, "
          "tipo 11, orario 08:25:00",
          // a station passed without stopping has no time, not midnight
          "\"VALDORNO\": posizione 1500 m, zona 1300 ... 1700 m, tipo 21, orario transito\n",
          "riga 80  cartello indicatore", "riga 81  punto chilometrico   posizione 115050 m",
          // the description's chainage beside the stored one, which has 100 more in direction 1
          "riga 82  punto chilometrico   posizione 0 m, progressiva 240800 m, verso 1 "
          "(decrescente); nella descrizione progressiva 240700: la compilazione aggiunge 100\n",
          "riga 84  percorso             lunghezza 120000 m",
          "riga 86  treno                \"706\"", "orologio 08:24:35"}) {
        EXPECT_NE(t.uscita.find(attesa), std::string::npos) << attesa;
    }
    EXPECT_NE(t.uscita.find("timbro 610, codice di gara " + std::to_string(f.tabella[85].codice)),
              std::string::npos);
    // A text with a control byte, from a file passed on: shown as \xNN, never sent raw.
    std::string byte = prova::leggi_byte(file.tabella);
    byte[byte.find("ORVADA")] = '\x1b';
    prova::scrivi_byte(file.tabella, byte);
    const Esito c = strumento({"dump", file.tabella.string()});
    ASSERT_EQ(c.stato, 0) << c.errori;
    EXPECT_NE(c.uscita.find("\"\\x1BRVADA CENTRALE\""), std::string::npos);
    EXPECT_EQ(c.uscita.find('\x1b'), std::string::npos);

    const Esito p = strumento({"dump", file.piano.string(), "--every", "20000"});
    ASSERT_EQ(p.stato, 0) << p.errori;
    const auto r = righe(p.uscita);
    EXPECT_EQ(r[0], "tracciato: 127001 punti (metri 0 ... 127000), 126999 impostati");
    ASSERT_EQ(r.size(), 3u + 8u);  // 0, 20000, ..., 120000 and the last point, unset
    EXPECT_EQ(parole(r[3]), (std::vector<std::string>{"0", "0.000", "0.000"}));
    EXPECT_EQ(parole(r.back()), (std::vector<std::string>{"127000", "-", "-"}));

    // A step beyond the plan shows the range's first and last point.
    const auto estremi = righe(
        strumento({"dump", file.piano.string(), "--from", "5", "--every", "9223372036854775807"})
            .uscita);
    ASSERT_EQ(estremi.size(), 3u + 2u);
    EXPECT_EQ(parole(estremi[3])[0], "5");
    EXPECT_EQ(parole(estremi[4])[0], "127000");
}

TEST(StrumentoDump, JsonValidoLettoDaPython) {
    const Form1& f = spedito();
    FileCompilati file;
    prova::CartellaTemporanea json;
    for (const auto& [nome, sorgente] : {std::pair{"celle.json", file.celle},
                                         {"tabella.json", file.tabella},
                                         {"piano.json", file.piano}}) {
        const Esito e = strumento({"dump", sorgente.string(), "--json"});
        ASSERT_EQ(e.stato, 0) << e.errori;
        prova::scrivi_byte(json / nome, e.uscita);
    }
    // Python reads the three documents and prints what the test compares with the model.
    const std::string programma =
        "import json\n"
        "c = json.load(open('celle.json'))['celle']\n"
        "t = json.load(open('tabella.json'))['righe']\n"
        "p = json.load(open('piano.json'))\n"
        "print(len(c), sum(x['dato0'] for x in c), sum(x['attributo5'] for x in c))\n"
        "print(len(t), t[1]['testo'], t[1]['orario'], t[85]['ruolo'], t[85]['codice'])\n"
        "print(p['punti'], p['campioni'][1]['metro'], p['campioni'][-1]['x'])\n";
    prova::scrivi_byte(json / "leggi.py", programma);
    const auto esito = prova::esegui("/bin/sh", {"-c", "python3 leggi.py"}, json.percorso());
    ASSERT_EQ(esito.stato, 0) << esito.errori;
    long dato0 = 0, attributo5 = 0;
    for (const cella& c : f.celle) {
        dato0 += c.dato0;
        attributo5 += c.attributo5;
    }
    EXPECT_EQ(esito.uscita, std::to_string(f.celle.size()) + " " + std::to_string(dato0) + " " +
                                std::to_string(attributo5) +
                                "\n87 ORVADA CENTRALE 08:25:00 scenario " +
                                std::to_string(f.tabella[85].codice) + "\n127001 1000 None\n");
}

TEST(StrumentoDump, IlComandoRifiutaUnFileTroncatoConStato1) {
    FileCompilati file;
    const std::string byte = prova::leggi_byte(file.tabella);
    prova::scrivi_byte(file.tabella, byte.substr(0, byte.size() / 2));
    const auto esito =
        prova::esegui(BRUNAVIA_TOOL_EXE, {"dump", file.tabella.string()}, file.cartella.percorso());
    EXPECT_EQ(esito.stato, 1);
    EXPECT_EQ(esito.uscita, "");
    EXPECT_NE(esito.errori.find(file.tabella.string() + ": riga "), std::string::npos)
        << esito.errori;

    // A name that does not tell the kind needs --kind; a missing file is a file error.
    EXPECT_EQ(strumento({"dump", (file.cartella / "celle.bin").string()}).stato, kUscitaUso);
    const Esito mancante = strumento({"dump", (file.cartella / "nessuno.dat").string()});
    EXPECT_EQ(mancante.stato, 1);
    EXPECT_EQ(mancante.errori, "Errore sul file " + (file.cartella / "nessuno.dat").string() +
                                   ": file inesistente\n");
}

}  // namespace
}  // namespace brunavia::strumento

namespace brunavia::strumento {
namespace {

// A --kind that does not fit the file says which kind the file reads as.
TEST(StrumentoDump, UnKindSbagliatoDiceChiIlFileSembra) {
    FileCompilati file;
    struct Caso {
        fs::path file;
        std::string tipo;
        std::string nota;
    };
    const Caso casi[] = {
        {file.celle, "table", "nota: il file sembra le celle di un .dat (--kind cells)\n"},
        {file.tabella, "cells", "nota: il file sembra la tabella di un .sim (--kind table)\n"},
        {file.piano, "table", "nota: il file sembra il piano di un _linea.dat (--kind plan)\n"},
    };
    for (const Caso& c : casi) {
        const Esito e = strumento({"dump", c.file.string(), "--kind", c.tipo});
        EXPECT_EQ(e.stato, 1) << c.file;
        EXPECT_TRUE(e.errori.ends_with(c.nota)) << e.errori;
    }
    prova::scrivi_byte(file.cartella / "vuoto.bin", "\x07");
    const Esito nessuno =
        strumento({"dump", (file.cartella / "vuoto.bin").string(), "--kind", "plan"});
    EXPECT_TRUE(nessuno.errori.ends_with(
        "nota: non si legge nemmeno come un altro tipo di file compilato\n"))
        << nessuno.errori;
}

}  // namespace
}  // namespace brunavia::strumento
