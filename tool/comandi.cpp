#include "tool/comandi.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string_view>
#include <tuple>

#include "io/file_atomico.h"
#include "tool/compilazione.h"
#include "tool/decodifica.h"
#include "tool/disegno.h"
#include "tool/elenco.h"
#include "tool/nomi.h"
#include "tool/verifica.h"

namespace brunavia::strumento {
namespace {

constexpr int kUscitaRegolare = 0;
constexpr int kUscitaFallita = 1;

constexpr std::string_view kAiuto =
    "uso: brunavia-tool COMANDO [ARGOMENTI]\n"
    "\n"
    "Strumenti per gli autori dello scenario:\n"
    "  compile  compila una descrizione di linea e una di treno nei file compilati\n"
    "  check    verifica le due descrizioni: ogni errore e ogni trappola del formato\n"
    "  dump     decodifica un file compilato (celle .dat, tabella .sim, piano _linea.dat)\n"
    "  plot     disegna in una pagina SVG lo scenario compilato di una cartella\n"
    "\n"
    "\"brunavia-tool COMANDO --help\" descrive ogni comando.\n";

constexpr std::string_view kAiutoCompile =
    "uso: brunavia-tool compile LINEA TRENO [-o CARTELLA] [--scenario NOME] [--train NUMERO]\n"
    "\n"
    "Compila la descrizione della linea LINEA e quella del treno TRENO come il programma (stesse\n"
    "regole, stessi byte), senza cancellarle, e scrive in CARTELLA (predefinita: la cartella\n"
    "corrente) NOME_linea.dat, NOME_NUMERO.sim e NOME_NUMERO.dat (predefiniti: Brunavia, 706).\n"
    "Ogni errore registrato e' riportato come\n"
    "  FILE:RIGA:COLONNA: Errore n. N, posizione P: spiegazione\n"
    "seguito dalla riga del file e da un segno ^ sotto il campo che lo ha causato (gli errori\n"
    "11-13 sotto la riga del segnale o del rallentamento); 1250 e 1251 nominano lo scenario.\n"
    "\n"
    "Stato di uscita: 0 nessun errore; 1 compilazione fermata (un file non leggibile o non\n"
    "scrivibile, errore 1250 o 1251); 2 errore registrato (i file compilati sono scritti se la\n"
    "lunghezza del percorso e' stata letta); 64 riga di comando errata.\n";

constexpr std::string_view kAiutoCheck =
    "uso: brunavia-tool check LINEA TRENO [--json]\n"
    "\n"
    "Legge le due descrizioni (senza scrivere, spostare o cancellare nulla) e riporta, in ordine\n"
    "di file, ogni errore che la compilazione registrerebbe, anche quelli che si trovano solo\n"
    "proseguendo la lettura dopo un errore che la ferma (segnati come tali), e un avviso per\n"
    "ogni trappola silenziosa del formato:\n"
    "  FILE:RIGA:COLONNA: error: Errore n. N, posizione P: spiegazione\n"
    "  FILE:RIGA:COLONNA: warning: che cosa succede e che cosa scrivere [codice]\n"
    "ognuno seguito dalla riga del file e da un segno ^ sotto il campo. Con --json scrive un\n"
    "solo array di oggetti {file, line, column, severity, code, error, position, message,\n"
    "found_by_reading_on}.\n"
    "\n"
    "Stato di uscita: 0 nulla da segnalare; 1 un file non leggibile; 2 almeno un errore;\n"
    "3 solo avvisi; 64 riga di comando errata.\n";

constexpr std::string_view kAiutoDump =
    "uso: brunavia-tool dump FILE [--json] [--from M] [--to M] [--every M]\n"
    "                             [--kind cells|table|plan]\n"
    "\n"
    "Decodifica un file compilato secondo il suo formato; il tipo viene dal nome (.sim la\n"
    "tabella, _linea.dat il piano, ogni altro .dat le celle) o da --kind.\n"
    "  celle:   indice, metri, tipo per nome, dato0-dato3, attributo1-attributo6\n"
    "  tabella: le 87 righe con il loro ruolo (stazioni con orario hh:mm:ss, testi dei\n"
    "           cartelli, punti chilometrici, sfondi, codici) e ogni membro impostato\n"
    "  piano:   numero di punti, riquadro, un punto ogni --every metri (predefinito 1000)\n"
    "--from e --to limitano celle e punti del piano ai metri indicati; --json scrive JSON.\n"
    "\n"
    "Stato di uscita: 0 decodificato; 1 file mancante, troncato o danneggiato; 64 riga di\n"
    "comando errata.\n";

constexpr std::string_view kAiutoPlot =
    "uso: brunavia-tool plot CARTELLA -o FILE.svg [--scenario NOME] [--train NUMERO]\n"
    "\n"
    "Disegna in una pagina SVG lo scenario compilato in CARTELLA (NOME_NUMERO.dat,\n"
    "NOME_NUMERO.sim e, se c'e', NOME_linea.dat): la planimetria e, su un asse in chilometri,\n"
    "il profilo altimetrico con i tratti di montagna, la pendenza, la velocita' massima del\n"
    "treno e l'aderenza, con stazioni, segnali, cartelli, rallentamenti e marcatori nelle loro\n"
    "celle. Senza --scenario e --train i nomi vengono dall'unico file .sim della cartella, se\n"
    "ce n'e' uno solo, altrimenti sono Brunavia e 706.\n"
    "\n"
    "Stato di uscita: 0 disegnato; 1 file mancante, danneggiato o non scrivibile; 64 riga di\n"
    "comando errata.\n";

// The options a command takes: those followed by a value and the switches.
struct Forma {
    std::size_t posizionali;
    std::set<std::string, std::less<>> con_valore;
    std::set<std::string, std::less<>> interruttori;
};

struct Argomenti {
    std::vector<std::string> posizionali;
    std::map<std::string, std::string, std::less<>> valori;
    std::set<std::string, std::less<>> interruttori;
    bool aiuto = false;

    std::optional<std::string> valore(std::string_view nome) const {
        const auto i = valori.find(nome);
        return i == valori.end() ? std::nullopt : std::optional(i->second);
    }
};

// A command line that does not fit the command's form: the reason.
struct ErroreUso {
    std::string motivo;
};

Argomenti analizza(const std::vector<std::string>& a, const Forma& forma) {
    Argomenti r;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::string& x = a[i];
        if (x == "--help" || x == "-h") {
            r.aiuto = true;
        } else if (forma.con_valore.contains(x)) {
            if (i + 1 == a.size()) throw ErroreUso{"manca il valore di " + x};
            r.valori[x] = a[++i];
        } else if (forma.interruttori.contains(x)) {
            r.interruttori.insert(x);
        } else if (x.size() > 1 && x[0] == '-') {
            throw ErroreUso{"opzione sconosciuta: " + x};
        } else {
            r.posizionali.push_back(x);
        }
    }
    if (!r.aiuto && r.posizionali.size() != forma.posizionali) {
        throw ErroreUso{"servono " + std::to_string(forma.posizionali) + " argomenti, dati " +
                        std::to_string(r.posizionali.size())};
    }
    return r;
}

std::int64_t metri(const std::string& nome, const std::string& testo, std::int64_t minimo) {
    std::int64_t v = 0;
    const auto [fine, ec] = std::from_chars(testo.data(), testo.data() + testo.size(), v);
    if (ec != std::errc{} || fine != testo.data() + testo.size() || v < minimo) {
        throw ErroreUso{nome + " vuole un numero intero di metri" +
                        (minimo > 0 ? " maggiore di 0" : "") + ", non \"" + testo + "\""};
    }
    return v;
}

// ---- compile ----

int comando_compile(const Argomenti& a, std::ostream& uscita, std::ostream& errori) {
    OpzioniCompila o;
    o.linea = a.posizionali[0];
    o.treno = a.posizionali[1];
    o.cartella = a.valore("-o").value_or(".");
    o.nome_scenario = a.valore("--scenario").value_or(o.nome_scenario);
    o.numero_treno = a.valore("--train").value_or(o.numero_treno);
    return compila_descrizioni(o, uscita, errori);
}

// ---- check ----

int esegui_check(const Argomenti& a, std::ostream& uscita, std::ostream& errori) {
    OpzioniVerifica o;
    o.linea = a.posizionali[0];
    o.treno = a.posizionali[1];
    o.json = a.interruttori.contains("--json");
    return comando_check(o, uscita, errori);
}

// ---- dump ----

TipoCompilato tipo_per_dump(const Argomenti& a) {
    if (const auto tipo = a.valore("--kind")) {
        if (*tipo == "cells") return TipoCompilato::celle;
        if (*tipo == "table") return TipoCompilato::tabella;
        if (*tipo == "plan") return TipoCompilato::tracciato;
        throw ErroreUso{"--kind vuole cells, table o plan, non \"" + *tipo + "\""};
    }
    if (const auto tipo = tipo_dal_nome(a.posizionali[0])) return *tipo;
    throw ErroreUso{"il nome \"" + a.posizionali[0] +
                    "\" non dice il tipo di file compilato: usare --kind cells|table|plan"};
}

int comando_dump(const Argomenti& a, std::ostream& uscita, std::ostream& errori) {
    const std::filesystem::path file = a.posizionali[0];
    OpzioniElenco o;
    o.json = a.interruttori.contains("--json");
    if (const auto v = a.valore("--from")) o.da_metri = metri("--from", *v, INT64_MIN);
    if (const auto v = a.valore("--to")) o.a_metri = metri("--to", *v, INT64_MIN);
    if (const auto v = a.valore("--every")) o.ogni_metri = metri("--every", *v, 1);
    const TipoCompilato tipo = tipo_per_dump(a);
    try {
        const std::string byte = leggi_tutto(file);
        switch (tipo) {
            case TipoCompilato::celle:
                elenca_celle(decodifica_celle(byte), o, uscita);
                break;
            case TipoCompilato::tabella:
                elenca_tabella(decodifica_tabella(byte), o, uscita);
                break;
            case TipoCompilato::tracciato:
                elenca_tracciato(decodifica_tracciato(byte), o, uscita);
                break;
        }
        return kUscitaRegolare;
    } catch (const ErroreDecodifica& e) {
        errori << file.string() << ": " << e.what() << "\n";
    } catch (const ErroreFile& e) {
        errori << e.riga() << "\n";
    }
    return kUscitaFallita;
}

// ---- plot ----

int comando_plot(const Argomenti& a, std::ostream& uscita, std::ostream& errori) {
    const std::filesystem::path cartella = a.posizionali[0];
    const auto destinazione = a.valore("-o");
    if (!destinazione) throw ErroreUso{"manca -o FILE.svg"};
    std::string scenario = "Brunavia", treno = "706";
    if (!a.valore("--scenario") && !a.valore("--train")) {
        if (const auto nomi = nomi_dalla_cartella(cartella)) {
            scenario = nomi->scenario;
            treno = nomi->treno;
        }
    }
    scenario = a.valore("--scenario").value_or(scenario);
    treno = a.valore("--train").value_or(treno);
    try {
        const ScenarioCompilato s = leggi_scenario(cartella, scenario, treno);
        const Disegno d = disegna_scenario(s, scenario + ", treno " + treno);
        sostituisci_file(*destinazione, d.svg);
        uscita << *destinazione << "\n";
        return kUscitaRegolare;
    } catch (const ErroreDecodifica& e) {
        errori << cartella.string() << ": " << e.what() << "\n";
    } catch (const ErroreFile& e) {
        errori << e.riga() << "\n";
    }
    return kUscitaFallita;
}

// ---- the commands ----

struct Comando {
    std::string_view nome;
    std::string_view aiuto;
    Forma forma;
    int (*esegui)(const Argomenti&, std::ostream&, std::ostream&);
};

const Comando kComandi[] = {
    {"compile", kAiutoCompile, {2, {"-o", "--scenario", "--train"}, {}}, comando_compile},
    {"check", kAiutoCheck, {2, {}, {"--json"}}, esegui_check},
    {"dump", kAiutoDump, {1, {"--from", "--to", "--every", "--kind"}, {"--json"}}, comando_dump},
    {"plot", kAiutoPlot, {1, {"-o", "--scenario", "--train"}, {}}, comando_plot},
};

}  // namespace

int esegui_strumento(const std::vector<std::string>& argomenti, std::ostream& uscita,
                     std::ostream& errori) {
    if (argomenti.empty()) {
        errori << kAiuto;
        return kUscitaUso;
    }
    const std::string& nome = argomenti[0];
    if (nome == "--help" || nome == "-h" || nome == "help") {
        uscita << kAiuto;
        return kUscitaRegolare;
    }
    for (const Comando& c : kComandi) {
        if (c.nome != nome) continue;
        try {
            const Argomenti a =
                analizza(std::vector<std::string>(argomenti.begin() + 1, argomenti.end()), c.forma);
            if (a.aiuto) {
                uscita << c.aiuto;
                return kUscitaRegolare;
            }
            return c.esegui(a, uscita, errori);
        } catch (const ErroreUso& e) {
            errori << "brunavia-tool " << nome << ": " << e.motivo << "\n\n" << c.aiuto;
            return kUscitaUso;
        }
    }
    errori << "brunavia-tool: comando sconosciuto \"" << nome << "\"\n\n" << kAiuto;
    return kUscitaUso;
}

}  // namespace brunavia::strumento
