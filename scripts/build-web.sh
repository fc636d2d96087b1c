#!/bin/sh
# Builds the game for the browser into build-web/: index.html, page.js, zarvox.js and
# zarvox.wasm, static files that any web server can serve. Installs what it
# needs first (Debian's emscripten). Play locally with
#   python3 -m http.server -d build-web --bind 127.0.0.1 8000
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh emscripten

# Debian's emscripten finds its JavaScript helpers through NODE_PATH.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
out=build-web
mkdir -p "$out/native"

# The resource embedder runs at build time, so it is built for this machine.
c++ -std=c++20 -O2 -o "$out/native/embed_resources" tools/embed/embed_resources.cpp

emcmake cmake -S src/hosts/web -B "$out/obj" -DCMAKE_BUILD_TYPE=Release \
    -DEMBED_RESOURCES="$PWD/$out/native/embed_resources" >/dev/null
cmake --build "$out/obj" -j2
cp "$out/obj/zarvox.js" "$out/obj/zarvox.wasm" src/hosts/web/index.html src/hosts/web/page.js "$out/"
echo "build-web/: index.html page.js zarvox.js zarvox.wasm"
