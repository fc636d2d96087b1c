#!/bin/sh
# Builds the game for the browser into build-web/: index.html, page.js, zarvox.js,
# zarvox.wasm, the service worker (sw.js), the manifest and the icons: static
# files that any web server can serve. Installs what it needs first (Debian's
# emscripten). Play locally with
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
web=src/hosts/web
cp "$out/obj/zarvox.js" "$out/obj/zarvox.wasm" $web/index.html $web/page.js \
    $web/manifest.webmanifest $web/favicon.png $web/icon-192.png $web/icon-512.png "$out/"
# The service worker's cache is named after this build's files, so a new
# build replaces the cache of the last one on the next visit.
version=$(cd "$out" && cat index.html page.js zarvox.js zarvox.wasm manifest.webmanifest \
    favicon.png icon-192.png icon-512.png | sha256sum | cut -c1-16)
sed "s/^const VERSION = 'dev';/const VERSION = '$version';/" $web/sw.js >"$out/sw.js"
echo "build-web/: index.html page.js sw.js manifest.webmanifest icons zarvox.js zarvox.wasm"
