#include "compiler/lettore_campi.h"

#include <algorithm>

#include "compiler/osservatore.h"

namespace brunavia {
namespace {

char minuscola(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool spazio(char c) {
    return c == ' ' || c == '\t';
}
bool fine_riga(char c) {
    return c == '\r' || c == '\n';
}

// Parses an optional sign and decimal digits; false when the token is not such a number or
// its value leaves [minimo, massimo].
bool converti(std::string_view token, std::int64_t minimo, std::int64_t massimo,
              std::int64_t& valore, bool& fuori) {
    std::size_t i = 0;
    const bool negativo = !token.empty() && token[0] == '-';
    if (!token.empty() && (token[0] == '-' || token[0] == '+')) i = 1;
    if (i == token.size()) return false;
    std::int64_t assoluto = 0;
    for (; i < token.size(); ++i) {
        if (token[i] < '0' || token[i] > '9') return false;
        assoluto = assoluto * 10 + (token[i] - '0');
        if (assoluto > (std::int64_t{1} << 40)) fuori = true;  // far beyond any target
        if (fuori) assoluto = std::int64_t{1} << 40;
    }
    valore = negativo ? -assoluto : assoluto;
    if (valore < minimo || valore > massimo) fuori = true;
    return true;
}

}  // namespace

LettoreCampi::LettoreCampi(std::string_view dati, OsservatoreLettura* osservatore)
    : dati_(dati), osservatore_(osservatore) {
    fine_significativa_ = dati_.size();
    while (fine_significativa_ > 0 &&
           (spazio(dati_[fine_significativa_ - 1]) || fine_riga(dati_[fine_significativa_ - 1]))) {
        --fine_significativa_;
    }
}

bool LettoreCampi::a_fine_riga() const {
    return pos_ < dati_.size() && fine_riga(dati_[pos_]);
}
bool LettoreCampi::a_spazio() const {
    return pos_ < dati_.size() && spazio(dati_[pos_]);
}

void LettoreCampi::salta_fine_riga() {
    if (dati_[pos_] == '\r' && pos_ + 1 < dati_.size() && dati_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
    ++riga_;
    inizio_riga_ = pos_;
}

void LettoreCampi::salta_spazi() {
    while (a_spazio()) ++pos_;
}

PosizioneCampo LettoreCampi::posizione_attuale() const {
    return {riga_, static_cast<int>(pos_ - inizio_riga_) + 1};
}

void LettoreCampi::verifica_non_finito() {
    if (fine_file()) {
        // No field of its own: the error keeps the row being read.
        throw ErroreLettura("il file finisce dentro questa riga: mancano i suoi ultimi campi", {});
    }
}

std::string LettoreCampi::leggi_testo() {
    verifica_non_finito();
    salta_spazi();
    ultimo_ = posizione_attuale();
    const std::size_t inizio = pos_;
    while (pos_ < dati_.size() && dati_[pos_] != ',' && !fine_riga(dati_[pos_])) ++pos_;
    std::string campo(dati_.substr(inizio, pos_ - inizio));
    if (osservatore_) osservatore_->campo(false, ultimo_, campo);
    if (pos_ < dati_.size()) {
        if (dati_[pos_] == ',') {
            ++pos_;
        } else {
            salta_fine_riga();
        }
    }
    return campo;
}

std::int64_t LettoreCampi::leggi_intero(std::int64_t minimo, std::int64_t massimo) {
    verifica_non_finito();
    while (a_spazio() || a_fine_riga()) {
        if (a_spazio()) {
            ++pos_;
        } else {
            salta_fine_riga();
        }
    }
    ultimo_ = posizione_attuale();
    const std::size_t inizio = pos_;
    while (pos_ < dati_.size() && dati_[pos_] != ',' && !spazio(dati_[pos_]) &&
           !fine_riga(dati_[pos_])) {
        ++pos_;
    }
    const std::string_view token = dati_.substr(inizio, pos_ - inizio);
    if (osservatore_) osservatore_->campo(true, ultimo_, token);
    salta_spazi();
    if (pos_ < dati_.size() && dati_[pos_] == ',') {
        ++pos_;
    } else if (a_fine_riga()) {
        salta_fine_riga();
    }
    if (token.empty()) return 0;
    std::int64_t valore = 0;
    bool fuori = false;
    if (!converti(token, minimo, massimo, valore, fuori)) {
        throw ErroreLettura("\"" + std::string(token) + "\" non e' un numero intero", ultimo_);
    }
    if (fuori) throw ErroreLettura(fuori_intervallo(token, minimo, massimo), ultimo_);
    return valore;
}

void LettoreCampi::salta_resto_della_riga() {
    if (pos_ == inizio_riga_) return;
    while (pos_ < dati_.size() && !a_fine_riga()) ++pos_;
    if (pos_ < dati_.size()) salta_fine_riga();
}

std::string fuori_intervallo(std::string_view valore, std::int64_t minimo, std::int64_t massimo) {
    return "il valore " + std::string(valore) + " esce dall'intervallo " + std::to_string(minimo) +
           " ... " + std::to_string(massimo) + " del suo campo";
}

bool contiene(std::string_view campo, std::string_view chiave) {
    return campo.find(chiave) != std::string_view::npos;
}

bool contiene_senza_maiuscole(std::string_view campo, std::string_view chiave) {
    const auto uguali = [](char a, char b) { return minuscola(a) == minuscola(b); };
    return std::search(campo.begin(), campo.end(), chiave.begin(), chiave.end(), uguali) !=
           campo.end();
}

}  // namespace brunavia
