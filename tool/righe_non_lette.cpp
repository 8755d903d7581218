#include "tool/righe_non_lette.h"

#include "tool/diagnosi.h"
#include "tool/registro_righe.h"

namespace brunavia::strumento {
namespace {

// The error that stopped the reader of `file` after its line `ultima_letta`: the last one
// recorded on the latest line up to it.
Diagnosi* errore_che_ferma(std::vector<Diagnosi>& errori, FileDescrizione file, int ultima_letta) {
    Diagnosi* r = nullptr;
    for (Diagnosi& d : errori) {
        const int riga = d.luogo.campo.riga;
        if (!d.errore || d.dopo_ripresa || d.luogo.file != file || riga > ultima_letta) continue;
        if (!r || riga >= r->luogo.campo.riga) r = &d;
    }
    return r;
}

Diagnosi* ultimo_errore(std::vector<Diagnosi>& errori) {
    for (auto i = errori.rbegin(); i != errori.rend(); ++i) {
        if (i->errore && !i->dopo_ripresa) return &*i;
    }
    return nullptr;
}

}  // namespace

std::optional<RigheNonLette> righe_dopo(FileDescrizione file, std::string_view testo,
                                        int ultima_letta) {
    RigheNonLette r{file, 0, 0};
    int riga = 1;
    for (std::size_t i = 0; i < testo.size(); ++i) {
        const char c = testo[i];
        if (c == '\r' || c == '\n') {
            // CR LF, a lone CR and a lone LF each end a line, as the field reader takes them.
            if (c == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n') ++i;
            ++riga;
        } else if (c != ' ' && c != '\t' && riga > ultima_letta) {
            if (r.prima == 0) r.prima = riga;
            r.ultima = riga;
        }
    }
    if (r.prima == 0) return std::nullopt;
    return r;
}

void segna_righe_non_lette(std::vector<Diagnosi>& errori, const RegistroRighe& registro,
                           std::optional<std::string_view> linea,
                           std::optional<std::string_view> treno) {
    Diagnosi* fermata_linea = nullptr;
    for (const bool di_treno : {false, true}) {
        const auto testo = di_treno ? treno : linea;
        if (!testo) continue;
        const FileDescrizione file = di_treno ? FileDescrizione::treno : FileDescrizione::linea;
        const FileLetto& letto = registro.file(di_treno);
        const int ultima = letto.letto ? letto.ultima_riga : 0;
        const auto non_lette = righe_dopo(file, *testo, ultima);
        if (!non_lette) continue;
        Diagnosi* d = errore_che_ferma(errori, file, ultima);
        if (!d) d = fermata_linea ? fermata_linea : ultimo_errore(errori);
        if (!d) continue;
        d->non_lette.push_back(*non_lette);
        if (!di_treno) fermata_linea = d;
    }
}

std::string testo_righe_non_lette(const RigheNonLette& r, std::string_view nome_file) {
    const std::string file(nome_file);
    if (r.prima == r.ultima)
        return "riga " + std::to_string(r.prima) + " di " + file + " non letta";
    return "righe " + std::to_string(r.prima) + "-" + std::to_string(r.ultima) + " di " + file +
           " non lette (" + std::to_string(r.ultima - r.prima + 1) + " righe)";
}

}  // namespace brunavia::strumento
