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
