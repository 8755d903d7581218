#!/usr/bin/env bash
# Builds everything and runs all tests. With --sanitize: the same under address and
# undefined-behaviour sanitizers, in build-san/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
dir=build
flags=()
if [ "${1:-}" = "--sanitize" ]; then
    dir=build-san
    flags=(-DBRUNAVIA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
