#include "tool/comandi.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <string_view>
#include <utility>

#include "app/versione.h"
#include "io/cp1252.h"
#include "io/flussi_standard.h"
#include "tool/check/verifica.h"
#include "tool/compile/compilazione.h"
#include "tool/decompile/decompila.h"
#include "tool/dump/comando.h"
#include "tool/lsp/server.h"
#include "tool/messaggi_file.h"
#include "tool/nomi.h"
#include "tool/plot/comando.h"

namespace brunavia::strumento {
namespace {

constexpr std::string_view kAiutoCompile =
    "uso: brunavia-tool compile LINEA TRENO [-o CARTELLA] [--scenario NOME] [--train NUMERO]\n"
    "                               [--no-warnings]\n"
    "\n"
    "Compila la descrizione della linea LINEA e quella del treno TRENO come il programma (stesse\n"
    "regole, stessi byte), senza cancellarle, e scrive in CARTELLA (predefinita: la cartella\n"
    "corrente, creata se manca) NOME_linea.dat, NOME_NUMERO.sim e NOME_NUMERO.dat. Un nome non\n"
    "dato con --scenario o --train viene dai nomi dei file quando entrambi seguono lo schema\n"
    "del programma con lo stesso NOME, NOME_linea.txt e NOME_NUMERO-.txt; altrimenti e'\n"
    "Brunavia o 706 (lo dice una riga \"nota:\"). NOME non contiene / o \\ e non e' . o ..;\n"
    "NUMERO ha solo cifre. I nomi entrano anche nella tabella e nei codici di gara.\n"
    "Ogni errore registrato e' riportato come\n"
    "  FILE:RIGA:COLONNA: Errore n. N, posizione P: spiegazione\n"
    "seguito dalla riga del file e da un segno ^ sotto il campo che lo ha causato (gli errori\n"
    "11-13 sotto la riga del segnale o del rallentamento); 1250 e 1251 nominano lo scenario.\n"
    "Dopo un errore che ferma la lettura, \"nota: righe A-B di FILE non lette (N righe)\".\n"
    "Seguono gli avvisi di check sulle righe lette (FILE:RIGA:COLONNA: warning: ... [codice]),\n"
    "che non cambiano lo stato di uscita; --no-warnings li toglie.\n"
    "\n"
    "Stato di uscita: 0 nessun errore; 1 compilazione fermata (un file non leggibile o non\n"
    "scrivibile, errore 1250 o 1251); 2 errore registrato (i file compilati sono scritti se la\n"
    "lunghezza del percorso e' stata letta); 64 riga di comando errata.\n";

constexpr std::string_view kAiutoCheck =
    "uso: brunavia-tool check LINEA TRENO [--json] [--all]\n"
    "\n"
    "Legge le due descrizioni (senza scrivere, spostare o cancellare nulla) e riporta, in ordine\n"
    "di file, ogni errore che la compilazione registrerebbe, anche quelli che si trovano solo\n"
    "proseguendo la lettura dopo un errore che la ferma (segnati come tali), e un avviso per\n"
    "ogni trappola silenziosa del formato:\n"
    "  FILE:RIGA:COLONNA: error: Errore n. N, posizione P: spiegazione\n"
    "  FILE:RIGA:COLONNA: warning: che cosa succede e che cosa scrivere [codice]\n"
    "ognuno seguito dalla riga del file e da un segno ^ sotto il campo; l'errore che ferma la\n"
    "lettura della compilazione, da \"nota: righe A-B di FILE non lette (N righe)\". Lo stesso\n"
    "avviso su piu' di tre righe consecutive mostra le prime tre, poi una riga \"... e altre N\n"
    "righe uguali, righe A-B\"; --all li scrive tutti. Con --json scrive un solo array di\n"
    "oggetti {file, line, column, severity, code, error, position, message,\n"
    "found_by_reading_on, notes}.\n"
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
    "                             [--from KM] [--to KM]\n"
    "\n"
    "Disegna in una pagina SVG lo scenario compilato in CARTELLA (NOME_NUMERO.dat,\n"
    "NOME_NUMERO.sim e, se c'e', NOME_linea.dat): la planimetria e, su un asse in chilometri,\n"
    "il profilo altimetrico con i tratti di montagna, la pendenza, la velocita' massima del\n"
    "treno e l'aderenza, con stazioni, segnali, cartelli, rallentamenti e marcatori nelle loro\n"
    "celle. Un nome non dato con --scenario o --train viene dall'unico file NOME_NUMERO.sim\n"
    "della cartella, se ce n'e' uno solo; se ce ne sono piu' d'uno, senza --scenario ne'\n"
    "--train il comando li elenca e si ferma; altrimenti e' Brunavia o 706. La cartella di\n"
    "FILE.svg e' creata se manca. File che non vengono da una stessa compilazione (nomi della\n"
    "tabella, numero di celle e di punti del piano contro la lunghezza della riga 84) non\n"
    "sono disegnati.\n"
    "--from e --to (chilometri lungo la linea, anche con decimali: 12.5) disegnano solo quel\n"
    "tratto, sulla larghezza della pagina: la sua planimetria, i pannelli sullo stesso\n"
    "intervallo e ogni cartello e segnale con la sua etichetta (i segnali con i metri della\n"
    "loro riga). Senza --from il tratto parte dall'origine, senza --to arriva alla fine della\n"
    "linea; un tratto vuoto, rovesciato o oltre la fine della linea e' rifiutato.\n"
    "\n"
    "Stato di uscita: 0 disegnato; 1 file mancante, danneggiato, non scrivibile o di\n"
    "compilazioni diverse; 64 riga di comando errata o scenario da scegliere.\n";

constexpr std::string_view kAiutoDecompile =
    "uso: brunavia-tool decompile CARTELLA -o USCITA [--scenario NOME] [--train NUMERO]\n"
    "                             [--force]\n"
    "\n"
    "Ricava dai file compilati di CARTELLA (NOME_NUMERO.dat, NOME_NUMERO.sim e, se c'e',\n"
    "NOME_linea.dat) le due descrizioni NOME_linea.txt e NOME_NUMERO-.txt e le scrive in USCITA\n"
    "(creata se manca), con le sezioni e le colonne che scrive il programma. Prima di scrivere\n"
    "le compila in memoria come compile e confronta i tre file byte per byte: se non li\n"
    "riproduce non scrive nulla e dice quali celle, righe della tabella o punti del piano non\n"
    "ha saputo spiegare. Senza piano (compilazione con flag 0) non ci sono curve. I nomi vengono\n"
    "da --scenario e --train o, senza, dall'unico file .sim della cartella (con piu' file\n"
    ".sim e nessuna delle due opzioni il comando li elenca e si ferma). Descrizioni gia'\n"
    "presenti in USCITA non sono sostituite senza --force.\n"
    "\n"
    "Stato di uscita: 0 scritte e provate; 1 rifiutato, o file mancante, troncato o danneggiato;\n"
    "64 riga di comando errata, nome non valido o scenario da scegliere.\n";

// What a command does once its command line has been read; returns the exit status.
using Azione = std::function<int(std::ostream& uscita, std::ostream& errori)>;

// A check of an option's value for CLI11: an empty text when the value is fine, otherwise
// why not (CLI11 puts the option's name in front).
CLI::Validator controllo(std::string (*motivo)(const std::string& valore)) {
    return CLI::Validator([motivo](std::string& valore) { return motivo(valore); }, "");
}

std::optional<std::int64_t> intero(const std::string& testo) {
    std::int64_t v = 0;
    const auto [fine, ec] = std::from_chars(testo.data(), testo.data() + testo.size(), v);
    if (ec != std::errc{} || fine != testo.data() + testo.size()) return std::nullopt;
    return v;
}

std::string motivo_nome_scenario(const std::string& nome) {
    if (!convertibile_in_cp1252(nome)) {
        return "il nome dello scenario \"" + nome +
               "\" ha un carattere che Windows-1252 non ha: il simulatore non lo leggerebbe";
    }
    return nome_scenario_valido(nome) ? ""
                                      : "il nome dello scenario \"" + nome +
                                            "\" non puo' nominare file nella cartella: niente "
                                            "\"/\", \"\\\", \".\" o \"..\"";
}

std::string motivo_numero_treno(const std::string& numero) {
    return numero_treno_valido(numero)
               ? ""
               : "il numero del treno vuole solo cifre, non \"" + numero + "\"";
}

std::string motivo_svg(const std::string& file) {
    return file.ends_with(".svg") && std::filesystem::path(file).filename() != ".svg"
               ? ""
               : "vuole il nome di un file .svg, non \"" + file + "\"";
}

std::string motivo_metri(const std::string& testo) {
    return intero(testo) ? "" : "vuole un numero intero di metri, non \"" + testo + "\"";
}

std::optional<double> chilometri(const std::string& testo) {
    double v = 0;
    const auto [fine, ec] = std::from_chars(testo.data(), testo.data() + testo.size(), v);
    if (ec != std::errc{} || fine != testo.data() + testo.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::string motivo_km(const std::string& testo) {
    const auto v = chilometri(testo);
    return v && *v >= 0 ? ""
                        : "vuole i chilometri lungo la linea, un numero non negativo con il punto "
                          "per i decimali, non \"" +
                              testo + "\"";
}

std::string motivo_metri_positivi(const std::string& testo) {
    const auto v = intero(testo);
    return v && *v > 0 ? ""
                       : "vuole un numero intero di metri maggiore di 0, non \"" + testo + "\"";
}

// ---- names, for the commands that take them ----

void dichiara_nomi(CLI::App& riga, const std::shared_ptr<NomiDati>& nomi) {
    riga.add_option_function<std::string>("--scenario",
                                          [nomi](const std::string& v) { nomi->scenario = v; })
        ->check(controllo(motivo_nome_scenario));
    riga.add_option_function<std::string>("--train",
                                          [nomi](const std::string& v) { nomi->treno = v; })
        ->check(controllo(motivo_numero_treno));
}

// ---- compile ----

Azione dichiara_compile(CLI::App& riga) {
    auto o = std::make_shared<OpzioniCompila>();
    auto nomi = std::make_shared<NomiDati>();
    riga.add_option("LINEA", o->linea);
    riga.add_option("TRENO", o->treno);
    riga.add_option("-o", o->cartella);
    riga.add_flag_callback("--no-warnings", [o] { o->avvisi = false; });
    dichiara_nomi(riga, nomi);
    return [o, nomi](std::ostream& uscita, std::ostream& errori) {
        const auto dai_file = nomi_dalle_descrizioni(o->linea, o->treno);
        const NomiScenario n = nomi_da_usare(dai_file, nomi->scenario, nomi->treno);
        o->nome_scenario = n.scenario;
        o->numero_treno = n.treno;
        o->scenario_predefinito = !dai_file && !nomi->scenario;
        o->treno_predefinito = !dai_file && !nomi->treno;
        return compila_descrizioni(*o, uscita, errori);
    };
}

// ---- check ----

Azione dichiara_check(CLI::App& riga) {
    auto o = std::make_shared<OpzioniVerifica>();
    riga.add_option("LINEA", o->linea);
    riga.add_option("TRENO", o->treno);
    riga.add_flag("--json", o->json);
    riga.add_flag("--all", o->tutte);
    return [o](std::ostream& uscita, std::ostream& errori) {
        const NomiScenario n =
            nomi_da_usare(nomi_dalle_descrizioni(o->linea, o->treno), std::nullopt, std::nullopt);
        o->nome_scenario = n.scenario;
        o->numero_treno = n.treno;
        return comando_check(*o, uscita, errori);
    };
}

// ---- dump ----

Azione dichiara_dump(CLI::App& riga) {
    auto o = std::make_shared<OpzioniDump>();
    riga.add_option("FILE", o->file);
    riga.add_flag("--json", o->elenco.json);
    riga.add_option_function<std::int64_t>("--from",
                                           [o](const std::int64_t& m) { o->elenco.da_metri = m; })
        ->check(controllo(motivo_metri));
    riga.add_option_function<std::int64_t>("--to",
                                           [o](const std::int64_t& m) { o->elenco.a_metri = m; })
        ->check(controllo(motivo_metri));
    riga.add_option("--every", o->elenco.ogni_metri)->check(controllo(motivo_metri_positivi));
    riga.add_option("--kind", o->tipo);
    return [o](std::ostream& uscita, std::ostream& errori) {
        return comando_dump(*o, uscita, errori);
    };
}

// ---- plot ----

Azione dichiara_plot(CLI::App& riga) {
    auto o = std::make_shared<OpzioniPlot>();
    riga.add_option("CARTELLA", o->cartella);
    riga.add_option("-o", o->destinazione)->check(controllo(motivo_svg));
    riga.add_option_function<std::string>("--from",
                                          [o](const std::string& km) { o->da_km = chilometri(km); })
        ->check(controllo(motivo_km));
    riga.add_option_function<std::string>("--to",
                                          [o](const std::string& km) { o->a_km = chilometri(km); })
        ->check(controllo(motivo_km));
    dichiara_nomi(riga, std::shared_ptr<NomiDati>(o, &o->nomi));
    return [o](std::ostream& uscita, std::ostream& errori) {
        return comando_plot(*o, uscita, errori);
    };
}

// ---- lsp ----

constexpr std::string_view kAiutoLsp =
    "uso: brunavia-tool lsp [--stdio]\n"
    "\n"
    "Server del protocollo LSP (3.17, JSON-RPC 2.0 su ingresso e uscita standard) per gli\n"
    "editor: diagnostica di check mentre si scrive, il significato di ogni campo al passaggio\n"
    "del mouse, i nomi dei campi nella riga, il completamento delle parole chiave, lo schema\n"
    "del file e le correzioni rapide. Le descrizioni NOME_linea.txt e NOME_N-.txt della stessa\n"
    "cartella sono verificate insieme. Lo avvia l'editor (vedere \"In your editor\" nel README);\n"
    "--stdio e' accettato e non cambia nulla.\n";

Azione dichiara_lsp(CLI::App& riga) {
    auto stdio = std::make_shared<bool>(false);
    riga.add_flag("--stdio", *stdio);
    return [stdio](std::ostream& uscita, std::ostream&) {
        flussi_standard_binari();
        return lsp::esegui_server(std::cin, uscita, true);
    };
}

// ---- decompile ----

Azione dichiara_decompile(CLI::App& riga) {
    auto o = std::make_shared<OpzioniDecompila>();
    auto nomi = std::make_shared<NomiDati>();
    riga.add_option("CARTELLA", o->cartella);
    riga.add_option("-o", o->uscita);
    riga.add_flag("--force", o->sostituisci);
    dichiara_nomi(riga, nomi);
    return [o, nomi](std::ostream& uscita, std::ostream& errori) {
        if (o->uscita.empty()) throw ErroreUso{"manca -o USCITA"};
        richiedi_scelta(o->cartella, *nomi);
        o->scenario = nomi->scenario;
        o->treno = nomi->treno;
        return comando_decompile(*o, uscita, errori);
    };
}

// ---- the commands ----

// One command: its name, one line for the general usage, the text of its --help, and the
// function that declares its arguments and options on the command's CLI11 parser and returns
// what the command does with their values. Positional arguments are all required.
//
// A new command X is one block like those above: its help text, an options struct and
// `int comando_X(const OpzioniX&, std::ostream&, std::ostream&)` in its own files, and
// `Azione dichiara_X(CLI::App& riga)` that binds the positional arguments
// (riga.add_option("NOME", o->campo)), the options (riga.add_option("--opzione", ...)), the
// switches (riga.add_flag(...)) and, when it takes them, dichiara_nomi; then one row below.
struct Comando {
    std::string_view nome;
    std::string_view riassunto;
    std::string_view aiuto;
    Azione (*dichiara)(CLI::App& riga);
};

const Comando kComandi[] = {
    {"compile", "compila una descrizione di linea e una di treno nei file compilati", kAiutoCompile,
     dichiara_compile},
    {"check", "verifica le due descrizioni: ogni errore e ogni trappola del formato", kAiutoCheck,
     dichiara_check},
    {"dump", "decodifica un file compilato (celle .dat, tabella .sim, piano _linea.dat)",
     kAiutoDump, dichiara_dump},
    {"plot", "disegna in una pagina SVG lo scenario compilato di una cartella", kAiutoPlot,
     dichiara_plot},
    {"lsp", "server per gli editor: diagnostica, campi spiegati, completamento", kAiutoLsp,
     dichiara_lsp},
    {"decompile", "riscrive le descrizioni di uno scenario compilato, provate byte per byte",
     kAiutoDecompile, dichiara_decompile},
};

std::string aiuto_generale() {
    std::string testo =
        "uso: brunavia-tool COMANDO [ARGOMENTI]\n"
        "\n"
        "Strumenti per gli autori dello scenario:\n";
    std::size_t larghezza = 0;
    for (const Comando& c : kComandi) larghezza = std::max(larghezza, c.nome.size());
    for (const Comando& c : kComandi) {
        testo += "  " + std::string(c.nome);
        testo.append(larghezza + 2 - c.nome.size(), ' ');
        testo += std::string(c.riassunto) + "\n";
    }
    return testo +
           "\n\"brunavia-tool COMANDO --help\" descrive ogni comando; \"brunavia-tool "
           "--version\" ne mostra la versione.\n";
}

// The parser of one command: no CLI11 help (the command's own text is shown instead), unknown
// options and extra arguments left over for an Italian message, the last of a repeated
// option kept.
struct RigaDiComando {
    CLI::App app;
    bool aiuto = false;

    RigaDiComando() {
        app.set_help_flag();
        app.allow_extras();
        app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
        app.add_flag("-h,--help", aiuto);
    }
};

// The named option (not a positional argument) that `argomento` names, if any.
const CLI::Option* opzione_nominata(const CLI::App& app, const std::string& argomento) {
    if (argomento.size() < 2 || argomento[0] != '-') return nullptr;
    const CLI::Option* o = app.get_option_no_throw(argomento);
    return o != nullptr && !o->get_positional() ? o : nullptr;
}

// Why CLI11 refused the command line, in Italian: the checks of the values give their own
// reason; otherwise an option that takes a value was left without one.
std::string motivo_di(const CLI::ParseError& e, const CLI::App& app,
                      const std::vector<std::string>& argomenti) {
    if (dynamic_cast<const CLI::ValidationError*>(&e) != nullptr) return e.what();
    for (std::size_t i = 0; i < argomenti.size(); ++i) {
        const CLI::Option* o = opzione_nominata(app, argomenti[i]);
        const bool senza_valore =
            i + 1 == argomenti.size() || opzione_nominata(app, argomenti[i + 1]) != nullptr;
        if (o != nullptr && o->get_expected_min() > 0 && senza_valore) {
            return "manca il valore di " + argomenti[i];
        }
    }
    return "riga di comando non valida";
}

// "serve 1 argomento, dati 2", "servono 2 argomenti, dato 1": the counts in agreement.
std::string argomenti_attesi(std::size_t attesi, std::size_t dati) {
    const std::string richiesti =
        attesi == 1 ? "serve 1 argomento" : "servono " + std::to_string(attesi) + " argomenti";
    if (dati == 0) return richiesti + ", nessuno dato";
    return richiesti + (dati == 1 ? ", dato 1" : ", dati " + std::to_string(dati));
}

// What is left once the options are read must be nothing: an unknown option, or positional
// arguments in another number than the command takes, is refused.
void controlla_avanzi(const CLI::App& app) {
    std::size_t attesi = 0, dati = 0;
    for (const CLI::Option* o : app.get_options()) {
        if (!o->get_positional()) continue;
        ++attesi;
        dati += o->count();
    }
    for (const std::string& x : app.remaining()) {
        if (x.size() > 1 && x[0] == '-') throw ErroreUso{"opzione sconosciuta: " + x};
        ++dati;
    }
    if (dati != attesi) throw ErroreUso{argomenti_attesi(attesi, dati)};
}

int esegui_comando(const Comando& c, const std::vector<std::string>& argomenti,
                   std::ostream& uscita, std::ostream& errori) {
    RigaDiComando riga;
    const Azione azione = c.dichiara(riga.app);
    try {
        try {
            // CLI11 takes the arguments last first.
            std::vector<std::string> al_contrario(argomenti.rbegin(), argomenti.rend());
            riga.app.parse(al_contrario);
        } catch (const CLI::ParseError& e) {
            throw ErroreUso{motivo_di(e, riga.app, argomenti)};
        }
        if (riga.aiuto) {
            uscita << c.aiuto;
            return kUscitaRegolare;
        }
        controlla_avanzi(riga.app);
        return azione(uscita, errori);
    } catch (const ErroreUso& e) {
        errori << "brunavia-tool " << c.nome << ": " << e.motivo << "\nvedi brunavia-tool "
               << c.nome << " --help\n";
        return kUscitaUso;
    }
}

}  // namespace

int esegui_strumento(const std::vector<std::string>& argomenti, std::ostream& uscita,
                     std::ostream& errori) {
    if (argomenti.empty()) {
        errori << aiuto_generale();
        return kUscitaUso;
    }
    const std::string& nome = argomenti[0];
    if (nome == "--help" || nome == "-h" || nome == "help") {
        uscita << aiuto_generale();
        return kUscitaRegolare;
    }
    if (nome == "--version") {
        uscita << "brunavia-tool " << kNumeroVersione << "\n";
        return kUscitaRegolare;
    }
    for (const Comando& c : kComandi) {
        if (c.nome == nome) {
            return esegui_comando(c,
                                  std::vector<std::string>(argomenti.begin() + 1, argomenti.end()),
                                  uscita, errori);
        }
    }
    errori << "brunavia-tool: comando sconosciuto \"" << nome << "\"\nvedi brunavia-tool --help\n";
    return kUscitaUso;
}

}  // namespace brunavia::strumento
