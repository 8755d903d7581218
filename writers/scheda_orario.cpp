#include "writers/scheda_orario.h"

#include <cstdio>
#include <stdexcept>

#include "writers/scheda_colonne.h"

namespace brunavia::scheda {
namespace {

// The columns of a timetable row, counted from 0.
constexpr std::size_t kLarghezza = 96;  // up to and including the last bar
constexpr std::size_t kFineVelMax = 6;
constexpr std::size_t kFineVelMarcia = 12;
constexpr std::size_t kProgressiva = 15;
constexpr std::size_t kSegni[] = {23, 25, 26};
constexpr std::size_t kEtichetta = 28;  // "°", or the first character of a point's label
constexpr std::size_t kNome = 29;
constexpr std::size_t kFineLocalita = 47;
constexpr std::size_t kFineArrivo = 53;
constexpr std::size_t kFinePartenza = 62;
constexpr std::size_t kFineTransito = 57;
constexpr std::size_t kFineRec = 67;
constexpr std::size_t kNessunBinDx = 72;
constexpr std::size_t kFineBinDx = 73;
constexpr std::size_t kSimbolo = 85;

RigaAColonne riga_vuota(bool spazio_finale) {
    RigaAColonne r(kLarghezza + (spazio_finale ? 1 : 0));
    r.barre({2, 8, 14, 24, 48, 64, 68, 75, 95});
    return r;
}

std::string con_decimali(int valore, int divisore, const char* formato) {
    char testo[32];
    std::snprintf(testo, sizeof testo, formato, valore / divisore, valore % divisore);
    return testo;
}

void metti_numero(RigaAColonne& r, std::size_t ultima, int valore) {
    if (valore != 0) r.a_destra(ultima, std::to_string(valore));
}

void metti_segni(RigaAColonne& r, std::string_view segni) {
    if (segni.size() != std::size(kSegni)) {
        throw std::logic_error("segni di linea: servono tre colonne, non \"" + std::string(segni) +
                               "\"");
    }
    for (std::size_t k = 0; k < segni.size(); ++k) {
        if (segni[k] == '|') {
            r.barre({kSegni[k]});
        } else if (segni[k] != ' ') {
            r.a_sinistra(kSegni[k], segni.substr(k, 1));
        }
    }
}

// Hours without a leading zero, two-digit minutes; the half minute takes the next column.
void metti_ora(RigaAColonne& r, std::size_t fine_minuti, const std::optional<Ora>& ora) {
    if (!ora) throw std::logic_error("orario mancante in una riga di stazione");
    if (ora->minuti < 0 || ora->minuti > 59) throw std::logic_error("minuti fuori intervallo");
    char testo[16];
    std::snprintf(testo, sizeof testo, "%d.%02d", ora->ore, ora->minuti);
    r.a_destra(fine_minuti, testo);
    if (ora->mezzo) r.a_sinistra(fine_minuti + 1, "½");
}

std::string_view stazione_protetta(std::span<const RigaOrario> righe, std::size_t i) {
    std::optional<std::size_t> trovata;
    switch (righe[i].protetta) {
        case Protetta::origine:
            for (std::size_t k = 0; k < righe.size() && !trovata; ++k) {
                if (e_stazione(righe[k])) trovata = k;
            }
            break;
        case Protetta::precedente:
            for (std::size_t k = i; k > 0 && !trovata; --k) {
                if (e_stazione(righe[k - 1])) trovata = k - 1;
            }
            break;
        case Protetta::successiva:
            for (std::size_t k = i + 1; k < righe.size() && !trovata; ++k) {
                if (e_stazione(righe[k])) trovata = k;
            }
            break;
        case Protetta::nessuna:
            break;
    }
    if (!trovata) throw std::logic_error("segnale di protezione senza la sua stazione");
    return righe[*trovata].testo;
}

void metti_localita(RigaAColonne& r, std::span<const RigaOrario> righe, std::size_t i) {
    const RigaOrario& riga = righe[i];
    switch (riga.genere) {
        case Genere::fermata:
            r.a_sinistra(kNome, riga.testo).riempi(kNome, kFineLocalita, '.');
            break;
        case Genere::transito:
            r.a_sinistra(kNome, riga.testo);
            break;
        case Genere::punto:
            r.a_sinistra(kEtichetta, riga.testo);
            break;
        case Genere::segnale:
            r.a_sinistra(kEtichetta,
                         std::string(riga.testo) + " " + std::string(stazione_protetta(righe, i)));
            break;
    }
    if (riga.grado) r.a_sinistra(kEtichetta, "°");
}

void metti_orario(RigaAColonne& r, const RigaOrario& riga) {
    if (riga.genere == Genere::fermata) {
        metti_ora(r, kFineArrivo, riga.arrivo);
        metti_ora(r, kFinePartenza, riga.partenza);
    } else if (riga.genere == Genere::transito) {
        if (riga.arrivo) throw std::logic_error("una stazione di transito non ha arrivo");
        metti_ora(r, kFineTransito, riga.partenza);
    } else if (riga.arrivo || riga.partenza) {
        throw std::logic_error("un punto di linea non ha orario");
    }
}

void metti_colonne_destre(RigaAColonne& r, const RigaOrario& riga) {
    if (riga.rec_decimi != 0) r.a_destra(kFineRec, con_decimali(riga.rec_decimi, 10, "%d.%d"));
    if (riga.bin_dx == 0) {
        r.a_sinistra(kNessunBinDx, "/");
    } else {
        r.a_destra(kFineBinDx, std::to_string(riga.bin_dx));
    }
    if (riga.simbolo < 0 || riga.simbolo > 9) throw std::logic_error("simbolo di piu' cifre");
    if (riga.simbolo != 0) r.a_sinistra(kSimbolo, std::to_string(riga.simbolo));
}

}  // namespace

std::string componi_riga(std::span<const RigaOrario> righe, std::size_t i) {
    const RigaOrario& riga = righe[i];
    RigaAColonne r = riga_vuota(riga.spazio_finale);
    metti_numero(r, kFineVelMax, riga.vel_max);
    metti_numero(r, kFineVelMarcia, riga.vel_marcia);
    if (riga.progressiva != 0) {
        r.a_sinistra(kProgressiva, con_decimali(riga.progressiva, 1000, "%d.%03d"));
    }
    metti_segni(r, riga.segni);
    metti_localita(r, righe, i);
    metti_orario(r, riga);
    metti_colonne_destre(r, riga);
    return r.testo();
}

}  // namespace brunavia::scheda
