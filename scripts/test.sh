#!/usr/bin/env bash
# Builds everything and runs all tests. With --sanitize: the same under address and
# undefined-behaviour sanitizers, in build-san/. With --windows: both programs cross-built for
# 64-bit Windows in build-windows/ (MinGW-w64), and the Windows suite run under Wine, headless
# (Xvfb for the window test), against the Linux build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
if [ "${1:-}" = "--windows" ]; then
    scripts/deps.sh --windows
    cmake -S . -B build -G Ninja >/dev/null
    cmake --build build --target brunavia brunavia-tool genera_descrizioni
    cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
        -DBRUNAVIA_TESTS=ON -DBRUNAVIA_BENCH=OFF -DBRUNAVIA_BUILD_LINUX="$PWD/build" >/dev/null
    cmake --build build-windows
    export WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        xvfb-run -a wineboot --init
        wineserver --wait
    fi
    ctest --test-dir build-windows --output-on-failure -j "$(nproc)"
    exit 0
fi
dir=build
flags=()
if [ "${1:-}" = "--sanitize" ]; then
    dir=build-san
    flags=(-DBRUNAVIA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
