#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time (default 60 s)
# from the seed corpus; any finding (crash, sanitizer report, leak, timeout) fails the run and
# leaves the reproducer in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
secondi=${1:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DBRUNAVIA_FUZZ=ON -DBRUNAVIA_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz
corpus=build-fuzz/corpus
rm -rf "$corpus"
build-fuzz/fuzz/fuzz_semi "$corpus"
for extra in fuzz/corpus/*/; do
    [ -d "$extra" ] && cp -r "$extra" "$corpus/" 2>/dev/null || true
done
mkdir -p build-fuzz/findings
for bersaglio in fuzz_linea fuzz_treno fuzz_compila; do
    echo "== $bersaglio for ${secondi}s"
    mkdir -p "$corpus/$bersaglio"
    stato=0
    build-fuzz/fuzz/$bersaglio -max_total_time="$secondi" -timeout=20 -rss_limit_mb=2560 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix=build-fuzz/findings/$bersaglio- \
        "$corpus/$bersaglio" >build-fuzz/$bersaglio.log 2>&1 || stato=$?
    grep -E "ERROR|SUMMARY" build-fuzz/$bersaglio.log || true
    if [ "$stato" -ne 0 ] || ls build-fuzz/findings/$bersaglio-* >/dev/null 2>&1; then
        tail -40 build-fuzz/$bersaglio.log >&2
        echo "$bersaglio: finding (exit $stato), reproducer in build-fuzz/findings" >&2
        exit 1
    fi
    esecuzioni=$(sed -n 's/^stat::number_of_executed_units: *//p' build-fuzz/$bersaglio.log)
    echo "$bersaglio: ${esecuzioni:-0} executions, no finding"
done
