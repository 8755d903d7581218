#!/usr/bin/env bash
# The golden corpus of the compile (tests/golden/).
#   scripts/golden.sh            recompile every case and compare with tests/golden/attesi.txt
#   scripts/golden.sh --update   write the fingerprints of the current compile into it; commit
#                                them with a line in the message that says why the bytes changed
#   scripts/golden.sh --show N   print case N's two descriptions
set -euo pipefail
cd "$(dirname "$0")/.."
attesi=tests/golden/attesi.txt
case "${1:-}" in
    "" | --update | --show) ;;
    *)
        echo "uso: scripts/golden.sh [--update | --show N]" >&2
        exit 64
        ;;
esac
scripts/deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target brunavia_golden >/dev/null
case "${1:-}" in
    "") exec build/tests/brunavia_golden "$attesi" ;;
    --show) exec build/tests/brunavia_golden --show "${2:?N}" ;;
    --update)
        build/tests/brunavia_golden --update "$attesi"
        git --no-pager diff --stat -- "$attesi"
        echo "Commit $attesi with a line in the message that says why the compiled bytes changed."
        ;;
esac
