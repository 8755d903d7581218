// Page geometry, fonts and colours of the scenario drawing: one place for all of them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace brunavia::strumento::disegno {

inline constexpr double kLarghezzaPagina = 1600;
inline constexpr double kMargineSinistro = 130;  // track names and y-axis values
inline constexpr double kMargineDestro = 30;
inline constexpr double kLarghezzaArea = kLarghezzaPagina - kMargineSinistro - kMargineDestro;
inline constexpr double kDestraArea = kMargineSinistro + kLarghezzaArea;

inline constexpr double kAltezzaPiano = 380;  // at most; a plan that fills the width may take less
inline constexpr double kAltezzaPianoMinima = 150;
inline constexpr double kAltezzaProfilo = 150;
inline constexpr double kAltezzaPendenza = 90;
inline constexpr double kAltezzaVelocita = 110;
inline constexpr double kAltezzaAderenza = 80;
inline constexpr double kSpazioTitolo = 22;    // panel title above its area
inline constexpr double kSpazioPannelli = 18;  // between two panels
inline constexpr double kRigaSimboli = 16;     // a track's symbol row
inline constexpr double kCorsia = 14;          // one lane of labels
inline constexpr double kDistaccoEtichette = 6;
inline constexpr std::size_t kCorsieMassime = 4;  // lanes of labels of a track on a whole page
inline constexpr double kPassoPianoMetri = 50;    // the plan is drawn from one point every 50 m
inline constexpr double kPixelTraTacche = 70;     // at least this far between two km ticks
inline constexpr std::int64_t kRipetiEtichettaMetri =
    3000;  // a board speed is named again after this

inline constexpr double kCorpoTitolo = 18;
inline constexpr double kCorpoSottotitolo = 12;
inline constexpr double kCorpoPannello = 13;
inline constexpr double kCorpoAsse = 10;
inline constexpr double kCorpoTraccia = 11;
inline constexpr double kCorpoEtichetta = 10;

inline constexpr const char* kCarattere = "DejaVu Sans, Arial, Helvetica, sans-serif";

namespace colore {
inline constexpr const char* profilo = "#dcc29b";
inline constexpr const char* profilo_bordo = "#8a6a43";
inline constexpr const char* montagna[3] = {"#efe3f7", "#dcc6ee", "#c4a3e3"};  // kinds 1, 2, 3
inline constexpr const char* pendenza = "#6b4f2c";
inline constexpr const char* velocita = "#1f5fbf";
inline constexpr const char* aderenza = "#2a9d4b";
inline constexpr const char* stazione = "#222222";
inline constexpr const char* zona = "#cfcfcf";
inline constexpr const char* segnale = "#d62728";
inline constexpr const char* indicatore_v = "#1f77b4";
inline constexpr const char* ambiguo = "#c0392b";  // a speed code with no single reading
inline constexpr const char* cartello = "#7f7f7f";
inline constexpr const char* rallentamento = "#ff7f0e";
inline constexpr const char* marcatore = "#9467bd";
inline constexpr const char* griglia = "#e4e4e4";
inline constexpr const char* guida = "#b0b0b0";
inline constexpr const char* asse = "#555555";
inline constexpr const char* linea = "#303030";
inline constexpr const char* margine = "#9a9a9a";
}  // namespace colore

}  // namespace brunavia::strumento::disegno
