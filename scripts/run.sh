#!/usr/bin/env bash
# Builds the program and runs it; every file lands beside the executable, in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target brunavia
build/brunavia
