#!/bin/sh
# Builds the page, then plays it in headless Chromium against the headless
# runner (build/zarvox-sim, from the native build). Installs Chromium, and
# npm where it is missing; puppeteer-core brings no browser of its own.
set -e
cd "$(dirname "$0")/../.."
extra=chromium
command -v npm >/dev/null 2>&1 || extra="$extra npm"
scripts/install-deps.sh $extra
scripts/build-web.sh
cd tests/web
PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund
exec node web_test.mjs
