#include "compiler/errori.h"

namespace brunavia {
namespace {

constexpr VoceErrore kSpiegazioni[] = {
    {1, "lunghezza del percorso fuori dall'intervallo 0 ... 1000000"},
    {2, "posizione o progressiva di un punto chilometrico non multipla di 50"},
    {3, "prima posizione della ripetizione segnali non multipla di 50"},
    {4, "seconda posizione della ripetizione segnali non multipla di 50"},
    {5, "la riga della ripetizione segnali non indica ne' 4 ne' 9 codici"},
    {6, "cartello indicatore su una cella occupata o senza riga libera in tabella"},
    {7, "abbattimento su una cella occupata"},
    {8, "posizione di stazione non multipla di 50"},
    {9, "lunghezza di stazione non multipla di 100"},
    {10, "troppe stazioni: nessuna riga libera in tabella"},
    {11, "nessuna cella libera per il marcatore davanti a un segnale vicino a un avviso"},
    {12, "nessuna cella libera per un marcatore di avvicinamento a un rallentamento"},
    {13, "nessuna cella libera per un marcatore interno o di uscita di un rallentamento"},
    {15, "posizione oltre le celle del percorso (lunghezza + 7000 m)"},
    {16, "segnale su una cella occupata"},
    {17, "cartello di avviso del rallentamento su una cella occupata"},
    {18, "inizio del rallentamento su una cella occupata"},
    {19, "fine del rallentamento su una cella occupata"},
    {20, "una delle quattro celle prima dell'avviso del rallentamento e' occupata"},
    {21, "indicatore di velocita' massima su una cella occupata"},
    {22, "stazione a meno di 350 m dalla fine della precedente"},
    {24, "fine della zona di stazione a 100 m o meno"},
    {25,
     "errore di lettura di una descrizione: file del treno mancante, numero non valido, "
     "fuori intervallo o lettura oltre la fine"},
    {101, "file di descrizione della linea non trovato"},
    {102, "manca la sezione [generale] nel file della linea"},
    {103, "curva senza classe o tracciato oltre 1000000 punti"},
    {1250, "valori riservati al timbro gia' occupati"},
    {1251, "valori riservati ai codici di gara gia' occupati"},
};

}  // namespace

void errore(Form1& f, const std::string& a) {
    f.risposta = 1;  // the only button, OK
    throw Terminazione(" Errore n. " + a);
}

std::span<const VoceErrore> tabella_errori() {
    return kSpiegazioni;
}

std::string_view spiegazione_errore(std::int32_t codice) {
    if (codice == 0) return "nessun errore";
    for (const auto& [numero, testo] : kSpiegazioni) {
        if (numero == codice) return testo;
    }
    return "errore sconosciuto";
}

std::string riga_errore_registrato(const Form1& f) {
    return "Errore n. " + std::to_string(f.codice_errore) + ", posizione " +
           std::to_string(f.posizione_errore) + " - " +
           std::string(spiegazione_errore(f.codice_errore));
}

}  // namespace brunavia
