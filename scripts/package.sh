#!/usr/bin/env bash
# Makes the two packages of a release in dist/, each with its .sha256 file:
#   brunavia-VERSION-windows-x86_64.zip    brunavia.exe, brunavia-tool.exe, README.md, docs/*.png
#   brunavia-VERSION-linux-x86_64.tar.gz   brunavia, brunavia-tool, README.md, docs/*.png
# VERSION is the one in the file VERSION, which --version prints too. Builds in Release first
# (build-release/ and build-windows-release/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/deps.sh --windows
versione=$(head -1 VERSION)
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRUNAVIA_TESTS=OFF \
    -DBRUNAVIA_BENCH=OFF >/dev/null
cmake --build build-release --target brunavia brunavia-tool
cmake -S . -B build-windows-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DBRUNAVIA_TESTS=OFF -DBRUNAVIA_BENCH=OFF \
    >/dev/null
cmake --build build-windows-release --target brunavia brunavia-tool
mkdir -p dist
lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT

windows=brunavia-$versione-windows-x86_64
mkdir "$lavoro/$windows"
cp build-windows-release/brunavia.exe build-windows-release/brunavia-tool.exe README.md \
    "$lavoro/$windows/"
x86_64-w64-mingw32-strip "$lavoro/$windows"/*.exe
mkdir "$lavoro/$windows/docs"
cp docs/*.png "$lavoro/$windows/docs/"  # the README's pictures
rm -f "dist/$windows.zip"
(cd "$lavoro" && zip -qr -X "$OLDPWD/dist/$windows.zip" "$windows")

linux=brunavia-$versione-linux-x86_64
mkdir "$lavoro/$linux"
cp build-release/brunavia build-release/brunavia-tool README.md "$lavoro/$linux/"
strip "$lavoro/$linux/brunavia" "$lavoro/$linux/brunavia-tool"
mkdir "$lavoro/$linux/docs"
cp docs/*.png "$lavoro/$linux/docs/"
tar -C "$lavoro" --owner=0 --group=0 --numeric-owner -czf "dist/$linux.tar.gz" "$linux"

for pacchetto in "$windows.zip" "$linux.tar.gz"; do
    (cd dist && sha256sum "$pacchetto" >"$pacchetto.sha256")
    echo "dist/$pacchetto"
done
