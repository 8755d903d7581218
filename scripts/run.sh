#!/usr/bin/env bash
# Builds the program and the authors' tool, then runs the program; every file lands beside
# the executable, in build/, where build/brunavia-tool is too.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target brunavia brunavia-tool
build/brunavia
