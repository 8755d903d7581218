#!/usr/bin/env bash
# brunavia.exe as a windowed program under Wine, on the display of Xvfb: a folder in the way of
# the table stops the run with a message box that names the file, its folder and the reason;
# --version answers in a box too. Each box is found by its title, photographed together with
# the waiting window behind it, closed with OK, and the exit status is checked.
# Usage: finestra_messaggio.sh WINDOWS_BUILD [SCREENSHOT_FOLDER]
set -euo pipefail
win=$(realpath "$1")
foto=${2:-}
lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT

# Runs brunavia.exe with ARGS in FOLDER, presses OK on its box; prints the exit status.
con_scatola() {  # FOLDER PHOTO ARGS...
    local cartella=$1 nome_foto=$2
    shift 2
    wine "$cartella/brunavia.exe" "$@" &
    local pid=$! finestra=""
    for _ in $(seq 1 120); do
        finestra=$(xdotool search --name '^brunavia$' 2>/dev/null | head -1) || true
        [ -n "$finestra" ] && break
        sleep 0.5
    done
    if [ -z "$finestra" ]; then
        echo "nessuna finestra \"brunavia\"" >&2
        kill "$pid" 2>/dev/null || true
        return 1
    fi
    sleep 1  # painted
    if [ -n "$foto" ]; then import -window root "$foto/$nome_foto.png"; fi
    xdotool windowactivate --sync "$finestra" 2>/dev/null || true
    xdotool key --window "$finestra" Return
    local stato=0
    wait "$pid" || stato=$?
    echo "$stato"
}

esito=0
# A folder where the table goes.
mkdir -p "$lavoro/cartella"
cp "$win/brunavia.exe" "$lavoro/cartella/"
mkdir "$lavoro/cartella/Brunavia_706.sim"
stato=$(con_scatola "$lavoro/cartella" messaggio)
if [ "$stato" != 1 ]; then
    echo "cartella al posto della tabella: stato $stato, atteso 1"
    esito=1
else
    echo "cartella al posto della tabella: scatola chiusa con OK, stato 1"
fi
if ls -a "$lavoro/cartella" | grep -q '\.tmp$'; then
    echo "file temporanei rimasti"
    esito=1
fi

# The table held open by another program (the simulator loading it). Held for a moment, it is
# replaced once released; held for longer than the retries last, the run stops with a box
# that names it, and the old compiled files stay, all three (the plan, which comes first, is
# not replaced either), with no temporary file left.
mkdir -p "$lavoro/tenuta"
cp "$win/brunavia.exe" "$lavoro/tenuta/"
wine "$lavoro/tenuta/brunavia.exe"
cp "$lavoro/tenuta/Brunavia_706.sim" "$lavoro/tabella"
tieni() {  # MILLISECONDS
    rm -f "$lavoro/segnale"
    wine "$win/tieni_aperto.exe" "$lavoro/tenuta/Brunavia_706.sim" "$1" "$lavoro/segnale" &
    for _ in $(seq 1 100); do
        [ -f "$lavoro/segnale" ] && return 0
        sleep 0.1
    done
    echo "il file non e' stato aperto" >&2
    return 1
}
tieni 800
stato=0
wine "$lavoro/tenuta/brunavia.exe" || stato=$?
wait
if [ "$stato" != 0 ] || ! cmp -s "$lavoro/tabella" "$lavoro/tenuta/Brunavia_706.sim"; then
    echo "tabella tenuta per 0,8 s: stato $stato, atteso 0 e la tabella riscritta"
    esito=1
else
    echo "tabella tenuta per 0,8 s: sostituita dopo i tentativi, stato 0"
fi
printf 'vecchia' >"$lavoro/tenuta/Brunavia_706.sim"
printf 'vecchio' >"$lavoro/tenuta/Brunavia_linea.dat"
tieni 20000
stato=$(con_scatola "$lavoro/tenuta" in_uso)
wait
if [ "$stato" != 1 ] || [ "$(cat "$lavoro/tenuta/Brunavia_706.sim")" != vecchia ] ||
    [ "$(cat "$lavoro/tenuta/Brunavia_linea.dat")" != vecchio ] ||
    ls -a "$lavoro/tenuta" | grep -q '\.tmp$'; then
    echo "tabella tenuta per 20 s: stato $stato, atteso 1, i vecchi compilati e nessun temporaneo"
    esito=1
else
    echo "tabella tenuta per 20 s: scatola chiusa con OK, stato 1, vecchi compilati intatti"
fi

mkdir -p "$lavoro/versione"
cp "$win/brunavia.exe" "$lavoro/versione/"
stato=$(con_scatola "$lavoro/versione" versione --version)
if [ "$stato" != 0 ]; then
    echo "--version: stato $stato, atteso 0"
    esito=1
else
    echo "--version: scatola chiusa con OK, stato 0"
fi
if [ "$(ls "$lavoro/versione")" != "brunavia.exe" ]; then
    echo "--version ha scritto file"
    esito=1
fi
exit $esito
