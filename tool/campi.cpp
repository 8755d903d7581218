#include "tool/campi.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <set>
#include <stdexcept>

#include "writers/scrittori.h"

namespace brunavia::strumento {
namespace {

std::vector<FormaRiga> costruisci_forme() {
    std::vector<FormaRiga> f;
    // Line description, general section.
    f.push_back({TipoRiga::lunghezza,
                 false,
                 true,
                 "lunghezza percorso",
                 "`lunghezza` and `percorso` (any case)",
                 "[generale]",
                 "line length",
                 {{"lung", "line length", "m, 0 … 1000000 (error 1)",
                   "table row 84 `valore2`; sizes the cells (0 … U, U = round((length + 7000) / "
                   "50)) and the plan (metres 0 … length + 7000). Must come before every feature "
                   "row."}}});
    f.push_back(
        {TipoRiga::progressiva,
         false,
         true,
         "progressiva chilometrica uno",
         "`progressiva` and `uno` / `due` / `tre` (this case)",
         "[generale]",
         "kilometric reference point",
         {{"pos", "position", "m, multiple of 50 (error 2)",
           "`valore1` of table row 81, 82 or 83: the points are ordered, the largest position "
           "first; two points sharing the largest position, or all at 0 with no chainage, clear "
           "all three"},
          {"km", "chainage", "m, multiple of 50 (error 2)",
           "`valore2` of the same row; 100 is added when the direction is 1. The indication "
           "boards' `Km` texts follow it."},
          {"verso", "direction", "0 (chainage rises along the line) or 1 (it falls)",
           "`valore3` of the same row"}}});
    f.push_back({TipoRiga::sfondo,
                 false,
                 true,
                 "sfondo uno",
                 "`sfondo` and `uno` / `due` / `tre` (this case)",
                 "[generale]",
                 "scenery value",
                 {{"valore", "scenery value", "32-bit number",
                   "table row 85: `uno` into `valore1`, `due` into `valore3`, `tre` into "
                   "`valore2`, unchanged; nothing else in the compile reads it. The simulator's "
                   "meaning is not known from the compile (the shipped `due` and `tre` are "
                   "multiples of 50 within the line, as positions would be)."}}});
    f.push_back({TipoRiga::ripetizione,
                 false,
                 true,
                 "ripetizione segnali 4 codici",
                 "`ripetizione` and `segnali` (this case); the keyword names the code count, `4` "
                 "or `9` (error 5)",
                 "[generale]",
                 "cab-signal repetition",
                 {{"da", "first position", "m, multiple of 50 (error 3)", "table row 86 `valore1`"},
                  {"a", "second position", "m, multiple of 50 (error 4); 0: no repetition",
                   "table row 86 `valore2`; when 0 the code count in `valore3` is 0, else 4 or 9 "
                   "as the keyword names"}}});
    // Line description, feature rows.
    f.push_back({TipoRiga::pendenza,
                 false,
                 false,
                 "pendenza",
                 "`pendenza`",
                 "[pendenze]",
                 "gradient",
                 {{"pos", "position", "m, ascending",
                   "the gradient holds from cell round(position / 50) up to the next gradient "
                   "row's cell; the previous gradient (0 before the first row) fills the cells "
                   "before it"},
                  {"pend", "gradient", "per mille, signed, −100 … 155",
                   "`attributo5` of each cell = gradient + 100 (a level cell holds 100); the last "
                   "row's gradient runs to cell U − 3"}}});
    f.push_back({TipoRiga::curva,
                 false,
                 false,
                 "curvad4",
                 "`curva`; side `s` (left, else right) "
                 "and class, the lowest digit `1` … `6`, in the keyword (error 103)",
                 "[curve]",
                 "curve of the plan",
                 {{"inizio", "start", "m, ascending",
                   "the plan runs straight up to the start; a start behind the plan's last point "
                   "shortens the curve"},
                  {"lung", "length", "m",
                   "the plan turns over this length with curvature 0.0001, 0.0002, 0.0004, 0.001, "
                   "0.002, 0.003 per metre for classes 1 to 6 (radius 10000 … 333 m); a curve "
                   "past the plan's last point: error 15. Only the plan (`NAME_linea.dat`) "
                   "carries curves; no cell does."}}});
    f.push_back({TipoRiga::montagna,
                 false,
                 false,
                 "montagna",
                 "`montagna`",
                 "[montagne]",
                 "climbing stretch",
                 {{"inizio", "start", "m", "first cell round(start / 50)"},
                  {"fine", "end", "m, beyond the cells: error 15", "last cell round(end / 50 − 1)"},
                  {"tipo", "kind", "1 … 3, or 11 … 13 for the same kind with markers",
                   "`attributo3` of the stretch's cells; with 11 … 13 every fourth of them that "
                   "is free becomes type 11 (a marker that signals and boards may still take). "
                   "A stretch starting 150 m or less after the previous one's end gets kind 3."}}});
    f.push_back(
        {TipoRiga::indicatori_v_max,
         false,
         false,
         "indicatori_vmax",
         "`indicatori_v`",
         "[cartelli]",
         "maximum-speed board",
         {{"pos", "position", "m",
           "cell round(position / 50 + 1) becomes type 6; the cell must be free (error 21)"},
          {"vas", "speed a, left board", "km/h, empty = 0",
           "`dato0` = round(vad / 5 + vas × 20): the hundreds hold vas / 5"},
          {"vbs", "speed b, left board", "km/h, empty = 0", "`dato1` = round(vbd / 5 + vbs × 20)"},
          {"vcs", "speed c, left board", "km/h, empty = 0", "`dato2` = round(vcd / 5 + vcs × 20)"},
          {"strs", "stripes, left board", "16-bit", "`dato3` tens (strisces × 10 + strisced)"},
          {"vad", "speed a, right board", "km/h, empty = 0", "`dato0` units: vad / 5"},
          {"vbd", "speed b, right board", "km/h, empty = 0", "`dato1` units: vbd / 5"},
          {"vcd", "speed c, right board", "km/h, empty = 0", "`dato2` units: vcd / 5"},
          {"strd", "stripes, right board", "16-bit; 0 … 9 stays in the units", "`dato3` units"}}});
    f.push_back({TipoRiga::cartello_indicatore,
                 false,
                 false,
                 "cartello_indicatore",
                 "`indicat` and `cartello`",
                 "[indicazioni]",
                 "indication board",
                 {{"pos", "position", "m",
                   "cell round(position / 50 + 1) becomes type 14 with `dato0` = the table row "
                   "of its text; the cell must be free (error 6)"},
                  {"testo", "text", "the rest of the line, groups in parentheses",
                   "`testo` of table row 80 for the first board, 79 for the next, and so on down "
                   "(stations use rows 1 upward; error 6 when none is left)",
                   true}}});
    // Train description.
    f.push_back({TipoRiga::massa_frenata,
                 true,
                 false,
                 "percentuale massa frenata",
                 "`frenata` and `massa`",
                 "[generale]",
                 "braked-mass percentage",
                 {{"perc", "braked-mass percentage", "%, 32-bit", "table row 84 `valore1`"}}});
    f.push_back({TipoRiga::vetture,
                 true,
                 false,
                 "numero vetture",
                 "`vetture`",
                 "[generale]",
                 "number of cars",
                 {{"vetture", "number of cars", "count, 32-bit", "table row 84 `valore3`"}}});
    f.push_back({TipoRiga::sabbia,
                 true,
                 false,
                 "sabbia",
                 "`sabbia`",
                 "[generale]",
                 "sand",
                 {{"sabbia", "sand", "16-bit",
                   "table row 86 `numero1`, unchanged; nothing else in the compile reads it."
                   " The simulator's meaning is not known from the compile."}}});
    f.push_back(
        {TipoRiga::orologio,
         true,
         false,
         "orologio",
         "`orologio`",
         "[generale]",
         "start clock",
         {{"ore", "hours", "16-bit", "table row 86 `numero3`"},
          {"min", "minutes", "16-bit (separated by commas or blanks)", "table row 86 `numero4`"},
          {"sec", "seconds", "16-bit", "table row 86 `numero5`"}}});
    f.push_back({TipoRiga::aderenza,
                 true,
                 false,
                 "aderenza",
                 "`aderenza`",
                 "[aderenze]",
                 "adhesion",
                 {{"pos", "position", "m, ascending",
                   "the value holds from cell round(position / 50) up to the next row's cell"},
                  {"ader", "adhesion", "%, 0 … 100 (100 = full adhesion)",
                   "`attributo6` of each cell (its low byte); the last row's value runs to cell "
                   "U − 3"}}});
    f.push_back({TipoRiga::velocita,
                 true,
                 false,
                 "velocita",
                 "`velocit`",
                 "[vel_limite]",
                 "the train's speed limit",
                 {{"pos", "position", "m, ascending",
                   "the speed holds from cell round(position / 50) up to the next row's cell"},
                  {"vel", "speed", "km/h, 0 … 1275 (error 25), a multiple of 5",
                   "`attributo4` of each cell = round(speed / 5): 83 km/h is kept as 85"}}});
    f.push_back(
        {TipoRiga::stazione,
         true,
         false,
         "stazione",
         "`stazione`",
         "[stazioni]",
         "station",
         {{"pos", "position of the station's centre", "m, multiple of 50 (error 8)",
           "`valore3` of the station's table row (1, 2, 3 … in file order)"},
          {"tipo", "type code", "0 … 255",
           "`segno`; selects the zone (see `zona`): 5 and 6, 7 and 8 have zones of their own, "
           "every other code the centred zone; codes 25 and above mark no cell. So the shipped "
           "11, 12, 21 and 22 are alike for the compile and 25 differs only in marking no "
           "cell. The simulator's meaning is not known from the compile."},
          {"zona", "zone length", "m, multiple of 100 (error 9); not stored",
           "zone: codes 5 and 6 from position − length to position + 150; 7 and 8 from position "
           "− length to position + length; others position ± length / 2 (`valore1`, "
           "`valore2`). The cell before the zone end becomes type 10 with `dato0` = the "
           "station's row, and (codes other than 5, 6) the four before it get `attributo2` 81 … "
           "84. Zones 350 m apart at least (error 22), ending beyond 100 m (error 24)."},
          {"flag1", "first flag", "0 … 255",
           "`segno2`, stored only. The simulator's meaning is not known from the compile."},
          {"flag2", "second flag", "0 … 255",
           "`opzione4`; stored as 0 when the zone is under 600 m and for the first station."},
          {"est", "end-extension flag", "0 … 255",
           "`opzione3`; when not 0 the zone (codes other than 5 … 8) ends 50 m further; stored "
           "as 0 for the first station and for codes 5 … 8"},
          {"num1", "first number", "16-bit",
           "`numero1`, stored only. The simulator's meaning is not known from the compile."},
          {"num2", "second number", "16-bit",
           "`numero2`, stored only. The simulator's meaning is not known from the compile."},
          {"flag3", "third flag", "0 … 255",
           "`opzione1`, stored only. The simulator's meaning is not known from the compile."},
          {"num3", "third number", "16-bit",
           "`numero3`, stored only. The simulator's meaning is not known from the compile."},
          {"num4", "fourth number", "16-bit",
           "`numero4`, stored only. The simulator's meaning is not known from the compile."},
          {"num5", "fifth number", "16-bit",
           "`numero5`, stored only. The simulator's meaning is not known from the compile."},
          {"sosta", "stop value", "0 … 255 (shipped: 1 at the origin, 60 at a stop, 0 passing)",
           "`opzione2`, stored only; the train card shows a stop where it is not 0. The "
           "simulator's meaning is not known from the compile."},
          {"ore", "hours", "32-bit",
           "`codice` = (hours × 60 + minutes) × 60 + seconds: the departure, the arrival at the "
           "terminus, 0 0 0 when passing"},
          {"min", "minutes", "0 … 59", "into `codice`, as above"},
          {"sec", "seconds", "0 … 59", "into `codice`, as above"},
          {"nome", "name", "text up to the next comma", "`testo` of the station's row", true}}});
    f.push_back(
        {TipoRiga::segnale,
         true,
         false,
         "segnale",
         "`segnale`",
         "[segnali]",
         "signal",
         {{"pos", "position", "m",
           "cell i = round(position / 50 + 1) becomes type 1 (error 16 when taken); the cells i − "
           "2, i − 4, i − 6, i − 8 get approach codes (sx × 3 + dx) × 10 + 1 … 4 in "
           "`attributo2`. The finishing rules add a marker before a signal that follows a "
           "warning board (error 11)."},
          {"sx", "left aspect kind", "32-bit",
           "`dato3` = rapp × 10 + sx × 3 + dx, and the approach codes; with sx = 2 the low "
           "byte of `tempo` goes to `attributo1`. The simulator's meaning is not known from the "
           "compile."},
          {"s1", "left aspect 1", "32-bit; the member keeps the low 16 bits",
           "`dato0` tens: s1 × 10 + d1. The simulator's meaning is not known from the compile."},
          {"s2", "left aspect 2", "32-bit; the member keeps the low 16 bits",
           "`dato1` tens: s2 × 10 + d2. The simulator's meaning is not known from the compile."},
          {"s3", "left aspect 3", "32-bit; the member keeps the low 16 bits",
           "`dato2` tens: s3 × 10 + d3. The simulator's meaning is not known from the compile."},
          {"rapp", "ratio", "32-bit",
           "`dato3` tens. The simulator's meaning is not known from the compile."},
          {"dx", "right aspect kind", "0 … 2 keeps sx × 3 + dx apart for every sx",
           "`dato3` units (with sx × 3), and the approach codes. The simulator's meaning is not "
           "known from the compile."},
          {"d1", "right aspect 1", "0 … 9 stays in the units",
           "`dato0` units. The simulator's meaning is not known from the compile."},
          {"d2", "right aspect 2", "0 … 9 stays in the units",
           "`dato1` units. The simulator's meaning is not known from the compile."},
          {"d3", "right aspect 3", "0 … 9 stays in the units",
           "`dato2` units. The simulator's meaning is not known from the compile."},
          {"tempo", "time value", "32-bit; 1 … 100 become 101",
           "with sx = 2 its low byte goes to `attributo1`; otherwise unused. The simulator's "
           "meaning is not known from the compile."}}});
    f.push_back(
        {TipoRiga::rallentamento,
         true,
         false,
         "rallentamento",
         "`rallentamento`",
         "[rallentamenti]",
         "slowdown",
         {{"x", "start", "m",
           "start cell round(x / 50 + 1) becomes type 3 (error 18); beyond 1500 m a warning "
           "board 1200 m before, cell round((x − 1200) / 50 + 1), type 4 (error 17). The "
           "finishing rules add markers before it (error 12)."},
          {"v", "speed", "km/h",
           "`dato0` of the start, end and warning cells; below 110 km/h the finishing rules add "
           "markers inside it and at its exit (error 13)"},
          {"l", "length", "m", "end cell round((x + l) / 50 + 1) becomes type 2 (error 19)"},
          {"f_tt", "board value", "32-bit, low 16 bits kept",
           "`dato2` of the start and end cells, stored only. The simulator's meaning is not known "
           "from the compile."},
          {"f_ta", "warning switch", "0 or not 0",
           "when not 0 (and x beyond 1500 m) the four cells before the warning board become "
           "type 5 with `dato0` 1 … 4 (error 20)"},
          {"d_v", "second value", "32-bit, low 16 bits kept; 0 = none",
           "when not 0, `dato1` of the start, end and warning cells, and `dato1` 1 … 4 of the "
           "type-5 cells. The simulator's meaning is not known from the compile."}}});
    f.push_back({TipoRiga::abbattimento,
                 true,
                 false,
                 "abbattimento",
                 "`abbattimento`",
                 "[rallentamenti]",
                 "`abbattimento` marker",
                 {{"pos", "position", "m",
                   "cell round(position / 50) (no + 1); the cell must be free (error 7)"},
                  {"valore", "value", "32-bit; the cell keeps the low 16 bits; 0 or below: none",
                   "above 0: type 12 with `dato0` = value (the type of the finishing rules' "
                   "markers, which carry 180); 0 or below: type 13. The simulator's meaning is not "
                   "known from the compile."}}});
    return f;
}

const std::vector<FormaRiga>& forme() {
    static const std::vector<FormaRiga> f = [] { return costruisci_forme(); }();
    return f;
}

std::string minuscolo(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

bool ha(std::string_view testo, std::string_view parola) {
    return testo.find(parola) != std::string_view::npos;
}

bool e_spazio(char c) {
    return c == ' ' || c == '\t';
}

CampoScritto campo_in(std::string_view riga, std::size_t da, std::size_t a) {
    while (da < a && e_spazio(riga[da])) ++da;
    std::size_t fine = a;
    while (fine > da && e_spazio(riga[fine - 1])) --fine;
    return {da, fine, std::string(riga.substr(da, fine - da))};
}

// The number fields of one comma segment: blank-separated tokens, or one empty field.
void numeri_del_segmento(std::string_view riga, std::size_t da, std::size_t a,
                         std::vector<CampoScritto>& out) {
    bool trovato = false;
    std::size_t i = da;
    while (i < a) {
        while (i < a && e_spazio(riga[i])) ++i;
        if (i >= a) break;
        const std::size_t inizio = i;
        while (i < a && !e_spazio(riga[i])) ++i;
        out.push_back({inizio, i, std::string(riga.substr(inizio, i - inizio))});
        trovato = true;
    }
    if (!trovato) {
        const std::size_t p = std::min(da, a);
        out.push_back({p, p, {}});
    }
}

std::string riassumi(const std::vector<std::string>& valori, bool testo) {
    if (valori.empty()) return "not in the shipped scenario";
    if (testo) return std::to_string(valori.size()) + (valori.size() == 1 ? " text" : " texts");
    std::set<long long> distinti;
    for (const std::string& v : valori) distinti.insert(numero_del_campo(v).value_or(0));
    if (distinti.size() > 6)
        return std::to_string(*distinti.begin()) + " … " + std::to_string(*distinti.rbegin());
    std::string r;
    for (long long n : distinti) r += (r.empty() ? "" : ", ") + std::to_string(n);
    return r;
}

std::string cella_md(std::string_view s) {
    std::string r;
    for (char c : s) r += c == '|' ? std::string("\\|") : std::string(1, c);
    return r;
}

}  // namespace

std::span<const FormaRiga> forme_righe() {
    return forme();
}

const FormaRiga& forma_di(TipoRiga tipo) {
    for (const FormaRiga& f : forme())
        if (f.tipo == tipo) return f;
    throw std::logic_error("tipo di riga senza forma");
}

std::optional<TipoRiga> tipo_della_parola(std::string_view parola, bool treno) {
    const std::string m = minuscolo(parola);
    if (treno) {
        if (ha(m, "frenata") && ha(m, "massa")) return TipoRiga::massa_frenata;
        if (ha(m, "vetture")) return TipoRiga::vetture;
        if (ha(m, "velocit")) return TipoRiga::velocita;
        if (ha(m, "aderenza")) return TipoRiga::aderenza;
        if (ha(m, "orologio")) return TipoRiga::orologio;
        if (ha(m, "sabbia")) return TipoRiga::sabbia;
        if (ha(m, "segnale")) return TipoRiga::segnale;
        if (ha(m, "rallentamento")) return TipoRiga::rallentamento;
        if (ha(m, "abbattimento")) return TipoRiga::abbattimento;
        if (ha(m, "stazione")) return TipoRiga::stazione;
        return std::nullopt;
    }
    if (ha(m, "percorso") && ha(m, "lunghezza")) return TipoRiga::lunghezza;
    const bool numerale = ha(parola, "uno") || ha(parola, "due") || ha(parola, "tre");
    if (ha(parola, "progressiva") && numerale) return TipoRiga::progressiva;
    if (ha(parola, "sfondo") && numerale) return TipoRiga::sfondo;
    if (ha(parola, "segnali") && ha(parola, "ripetizione")) return TipoRiga::ripetizione;
    if (ha(m, "pendenza")) return TipoRiga::pendenza;
    if (ha(m, "curva")) return TipoRiga::curva;
    if (ha(m, "montagna")) return TipoRiga::montagna;
    if (ha(m, "indicatori_v")) return TipoRiga::indicatori_v_max;
    if (ha(m, "indicat") && ha(m, "cartello")) return TipoRiga::cartello_indicatore;
    return std::nullopt;
}

RigaScritta dividi_riga(std::string_view riga, bool treno) {
    RigaScritta r;
    const std::size_t virgola = riga.find(',');
    r.parola = campo_in(riga, 0, std::min(virgola, riga.size()));
    if (r.parola.testo.empty() || r.parola.testo.front() == '[') return r;
    r.tipo = tipo_della_parola(r.parola.testo, treno);
    if (virgola == std::string_view::npos) return r;
    const FormaRiga* forma = r.tipo ? &forma_di(*r.tipo) : nullptr;
    std::size_t da = virgola + 1;
    for (;;) {
        const bool testo =
            forma && r.campi.size() + 1 == forma->campi.size() && forma->campi.back().testo;
        std::size_t a = riga.find(',', da);
        if (testo && forma->tipo == TipoRiga::cartello_indicatore) a = std::string_view::npos;
        const std::size_t fine = std::min(a, riga.size());
        if (testo)
            r.campi.push_back(campo_in(riga, da, fine));
        else
            numeri_del_segmento(riga, da, fine, r.campi);
        if (a == std::string_view::npos) return r;
        da = a + 1;
    }
}

std::optional<long long> numero_del_campo(std::string_view s) {
    if (s.empty()) return 0;
    if (s.front() == '+') s.remove_prefix(1);
    long long n = 0;
    const auto [fine, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (s.empty() || ec != std::errc{} || fine != s.data() + s.size()) return std::nullopt;
    return n;
}

std::vector<std::string> valori_spediti(TipoRiga tipo) {
    const FormaRiga& forma = forma_di(tipo);
    std::vector<std::vector<std::string>> per_campo(forma.campi.size());
    for (const std::string& riga : forma.treno ? righe_treno() : righe_linea()) {
        const RigaScritta s = dividi_riga(riga, forma.treno);
        if (s.tipo != tipo) continue;
        for (std::size_t i = 0; i < s.campi.size() && i < per_campo.size(); ++i)
            per_campo[i].push_back(s.campi[i].testo);
    }
    std::vector<std::string> r;
    for (std::size_t i = 0; i < forma.campi.size(); ++i)
        r.push_back(riassumi(per_campo[i], forma.campi[i].testo));
    return r;
}

std::string tabelle_campi_markdown() {
    std::string r;
    for (const FormaRiga& f : forme()) {
        r += "#### `" + std::string(f.parola) + "`: " + std::string(f.descrizione) + " (" +
             (f.treno ? "train" : "line") + " description, keyword contains " +
             std::string(f.riconoscimento) + ")\n\n";
        r += "| # | name | field | unit and range | what the compile does | shipped scenario |\n";
        r += "|---|---|---|---|---|---|\n";
        const std::vector<std::string> spediti = valori_spediti(f.tipo);
        for (std::size_t i = 0; i < f.campi.size(); ++i) {
            const CampoRiga& c = f.campi[i];
            r += "| " + std::to_string(i + 1) + " | `" + std::string(c.nome) + "` | " +
                 cella_md(c.titolo) + " | " + cella_md(c.unita) + " | " + cella_md(c.effetto) +
                 " | " + cella_md(spediti[i]) + " |\n";
        }
        r += "\n";
    }
    return r;
}

}  // namespace brunavia::strumento
