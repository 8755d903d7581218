#!/usr/bin/env bash
# The same bytes on both systems. brunavia.exe under Wine, run twice in the same folder (the
# second run replaces the first run's files; the folder's name has an accented letter), writes exactly the Linux build's files; the
# tool's compile under Wine gives the Linux tool's bytes on the test corpora and on the
# benchmark's 900 km and 1,000 km scenarios, and stores an accented name as Windows-1252.
# Usage: stessi_byte.sh WINDOWS_BUILD LINUX_BUILD SOURCES
set -euo pipefail
export LC_ALL=C.UTF-8  # Wine turns the UTF-8 arguments into UTF-16 by the locale
win=$(realpath "$1")
lin=$(realpath "$2")
sorgenti=$(realpath "$3")
lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT
esito=0

confronta() {  # FOLDER_LINUX FOLDER_WINDOWS WHAT
    local a=$1 b=$2 cosa=$3 nomi
    nomi=$( (cd "$a" && ls) )
    if [ "$nomi" != "$( (cd "$b" && ls) )" ]; then
        echo "DIVERSI ($cosa): file diversi: $(cd "$a" && ls | tr '\n' ' ') / $(cd "$b" && ls | tr '\n' ' ')"
        esito=1
        return
    fi
    for f in $nomi; do
        if ! cmp -s "$a/$f" "$b/$f"; then
            echo "DIVERSI ($cosa): $f: $(cmp "$a/$f" "$b/$f" 2>&1 | head -1)"
            esito=1
        fi
    done
    if [ -z "$nomi" ]; then
        echo "VUOTE ($cosa): nessun file scritto"
        esito=1
        return
    fi
    echo "uguali ($cosa): $(echo "$nomi" | wc -l) file"
}

# The program: Linux once, Windows twice in the same folder, one with an accented letter.
mkdir -p "$lavoro/programma/linux" "$lavoro/programma/Vàlle"
cp "$lin/brunavia" "$lavoro/programma/linux/"
cp "$win/brunavia.exe" "$lavoro/programma/Vàlle/"
"$lavoro/programma/linux/brunavia" >/dev/null
rm "$lavoro/programma/linux/brunavia"
for corsa in prima seconda; do
    wine "$lavoro/programma/Vàlle/brunavia.exe"
    mkdir -p "$lavoro/programma/$corsa"
    (cd "$lavoro/programma/Vàlle" && cp Brunavia_* "$lavoro/programma/$corsa/")
    confronta "$lavoro/programma/linux" "$lavoro/programma/$corsa" "brunavia.exe, $corsa corsa"
done

# The tool's compile of a pair of descriptions on both systems, with the given options.
compila() {  # NAME LINE TRAIN [OPTIONS...]
    local nome=$1 linea=$2 treno=$3
    shift 3
    local l t
    mkdir -p "$lavoro/$nome/linea" "$lavoro/$nome/treno"
    cp "$linea" "$lavoro/$nome/linea/"
    cp "$treno" "$lavoro/$nome/treno/"
    l=linea/$(basename "$linea")
    t=treno/$(basename "$treno")
    (cd "$lavoro/$nome" && "$lin/brunavia-tool" compile "$l" "$t" -o linux "$@" >/dev/null) || true
    (cd "$lavoro/$nome" && wine "$win/brunavia-tool.exe" compile "$l" "$t" -o windows "$@" \
        >/dev/null) || true
    mkdir -p "$lavoro/$nome/linux" "$lavoro/$nome/windows"
    confronta "$lavoro/$nome/linux" "$lavoro/$nome/windows" "compile $nome"
}

corpus=$sorgenti/fuzz/corpus
compila corpus "$corpus/fuzz_linea/linea_corta" "$corpus/fuzz_treno/treno_con_rallentamenti"
compila corpus_maiuscole "$corpus/fuzz_linea/campi_e_maiuscole" "$corpus/fuzz_treno/campi_e_maiuscole"
for km in 20 900 1000; do
    mkdir -p "$lavoro/gen$km"
    "$lin/genera_descrizioni" $((km * 1000)) "$lavoro/gen$km"
    compila "km$km" "$lavoro/gen$km/Generata_linea.txt" "$lavoro/gen$km/Generata_1-.txt"
done
compila valle "$lavoro/gen20/Generata_linea.txt" "$lavoro/gen20/Generata_1-.txt" \
    --scenario "Vàlle" --train 42
for sistema in linux windows; do
    sim="$lavoro/valle/$sistema/Vàlle_42.sim"
    if [ ! -f "$sim" ]; then
        echo "MANCA ($sistema): Vàlle_42.sim"
        esito=1
    elif ! od -An -tx1 -v "$sim" | tr -d ' \n' | grep -q "050056e06c6c65"; then
        echo "DIVERSI ($sistema): la riga 85 non ha 05 00 56 E0 6C 6C 65"
        esito=1
    else
        echo "riga 85 ($sistema): 05 00 56 E0 6C 6C 65"
    fi
done
exit $esito
