#!/usr/bin/env bash
# Installs the Debian packages the build needs (with --windows: those of the Windows build) when
# any is missing (as root, or through sudo); the sanitizer and fuzzer runtimes of clang are only
# recommended by its package.
set -euo pipefail
needed=(cmake ninja-build g++ clang libclang-rt-dev libgtest-dev libbenchmark-dev librsvg2-bin python3
        nlohmann-json3-dev libcli11-dev librapidcheck-dev libssl-dev neovim)
# With --windows: the cross compiler, Wine and the headless display of the Windows suite,
# ImageMagick for its screenshots, zip for the package, GoogleTest's sources for the target.
if [ "${1:-}" = "--windows" ]; then
    needed=(g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth xdotool imagemagick zip googletest)
fi
missing=()
for p in "${needed[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
run_as_root=()
[ "$(id -u)" -ne 0 ] && run_as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${run_as_root[@]}" apt-get update -q
"${run_as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
