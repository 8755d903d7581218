#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time (default 60 s)
# from the seed corpus, with the readers' keyword dictionary; any finding (crash, sanitizer
# report, leak, timeout) fails the run and leaves the reproducer in build-fuzz/findings/.
# Each target takes its own dictionary (the table below; the description readers' keywords
# when it has none there).
# Usage: scripts/fuzz.sh [SECONDS [TARGET...]] (all six targets by default).
set -euo pipefail
cd "$(dirname "$0")/.."
secondi=${1:-60}
shift || true
bersagli=("$@")
[ ${#bersagli[@]} -gt 0 ] || bersagli=(fuzz_linea fuzz_treno fuzz_compila fuzz_lsp fuzz_compilati
    fuzz_decompila)
declare -A dizionari=(
    [fuzz_linea]=fuzz/descrizioni.dict
    [fuzz_treno]=fuzz/descrizioni.dict
    [fuzz_compila]=fuzz/descrizioni.dict
    [fuzz_lsp]=fuzz/fuzz_lsp.dict
    [fuzz_compilati]=fuzz/compilati.dict
    [fuzz_decompila]=fuzz/compilati.dict
)
# Longest input per target (65536 when not listed): compiled files are listed and drawn whole
# on every run, so their targets take a short line's files (the seed of 3 km is 7 KB).
declare -A lunghezze=(
    [fuzz_compilati]=8192
    [fuzz_decompila]=8192
)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DBRUNAVIA_FUZZ=ON -DBRUNAVIA_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz
corpus=build-fuzz/corpus
semi=$(mktemp -d)
trap 'rm -rf "$semi"' EXIT
build-fuzz/fuzz/fuzz_semi "$semi"
mkdir -p build-fuzz/findings
for bersaglio in "${bersagli[@]}"; do
    echo "== $bersaglio for ${secondi}s"
    rm -rf "${corpus:?}/$bersaglio"
    mkdir -p "$corpus/$bersaglio"
    if [ -d "$semi/$bersaglio" ]; then cp "$semi/$bersaglio"/* "$corpus/$bersaglio/"; fi
    if [ -d "fuzz/corpus/$bersaglio" ]; then cp "fuzz/corpus/$bersaglio"/* "$corpus/$bersaglio/"; fi
    dizionario=${dizionari[$bersaglio]:-fuzz/descrizioni.dict}
    stato=0
    build-fuzz/fuzz/$bersaglio -max_total_time="$secondi" -timeout=20 -rss_limit_mb=2560 \
        -max_len="${lunghezze[$bersaglio]:-65536}" -dict="$dizionario" -print_final_stats=1 \
        -artifact_prefix=build-fuzz/findings/$bersaglio- \
        "$corpus/$bersaglio" >build-fuzz/$bersaglio.log 2>&1 || stato=$?
    grep -E "ERROR|SUMMARY" build-fuzz/$bersaglio.log || true
    if [ "$stato" -ne 0 ] || ls build-fuzz/findings/$bersaglio-* >/dev/null 2>&1; then
        tail -40 build-fuzz/$bersaglio.log >&2
        echo "$bersaglio: finding (exit $stato), reproducer in build-fuzz/findings" >&2
        exit 1
    fi
    esecuzioni=$(sed -n 's/^stat::number_of_executed_units: *//p' build-fuzz/$bersaglio.log)
    al_secondo=$(sed -n 's/^stat::average_exec_per_sec: *//p' build-fuzz/$bersaglio.log)
    echo "$bersaglio: ${esecuzioni:-0} executions (${al_secondo:-0}/s), no finding"
done
